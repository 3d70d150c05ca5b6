#pragma once

#include "config/cfgkeys.h"
#include "config/cfgwriter.h"

#include <QFile>
#include <QHash>
#include <QStringList>

// The key table's built-in values in table order, with the given keys' values replaced.
inline QStringList builtinValues(const QHash<QString, QString>& overrides = {})
{
    QStringList values;
    for (const Cfgkey& key : cfgKeys())
        values << overrides.value(QLatin1String(key.key), QLatin1String(key.builtin));
    return values;
}

// False when the file cannot be written completely.
inline bool writeTextFile(const QString& path, const QByteArray& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
}

// Empty when the file cannot be read.
inline QByteArray readTextFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
