#pragma once

#include "model/zovtree.h"

#include <QBuffer>

#include <memory>

// Loads xml into a new tree; error receives the loader's message.
inline std::unique_ptr<Zovtree> loadXml(const QByteArray& xml, QString* error = nullptr)
{
    QBuffer buffer;
    buffer.setData(xml);
    buffer.open(QIODevice::ReadOnly);
    auto tree = std::make_unique<Zovtree>();
    const QString message = tree->load(&buffer);
    if (error)
        *error = message;
    return tree;
}

// Fingerprint of the document element of xml, or "<no root>".
inline QString fingerprintOf(
    const QByteArray& xml, bool simplify, bool ignoreAttributes, bool ignoreAttributeOrder)
{
    const auto tree = loadXml(xml);
    if (!tree->root())
        return QStringLiteral("<no root>");
    return tree->root()->contentString(simplify, ignoreAttributes, ignoreAttributeOrder);
}
