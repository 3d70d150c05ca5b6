#pragma once

#include "config/cfgkeys.h"
#include "config/cfgwriter.h"

#include <QFile>
#include <QStringList>

// The key table's built-in values, in table order.
inline QStringList builtinValues()
{
    QStringList values;
    for (const Cfgkey& key : cfgKeys())
        values << QLatin1String(key.builtin);
    return values;
}

inline bool writeTextFile(const QString& path, const QByteArray& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
}
