#pragma once

#include "config/cfgstore.h"
#include "model/zovtree.h"

#include <QBuffer>
#include <QStringList>
#include <memory>

// The document parsed from xml; null when it is not well-formed.
inline std::unique_ptr<Zovtree> parseTree(QByteArray xml)
{
    auto tree = std::make_unique<Zovtree>();
    QBuffer buffer(&xml);
    buffer.open(QIODevice::ReadOnly);
    if (!tree->load(&buffer).isEmpty() || !tree->root())
        return nullptr;
    return tree;
}

// The bytes tree writes under the current settings.
inline QByteArray writtenTree(Zovtree& tree)
{
    QByteArray written;
    QBuffer buffer(&written);
    buffer.open(QIODevice::WriteOnly);
    tree.write(&buffer);
    return written;
}

// The built-in settings with "key=value" changes.
inline void configure(const QStringList& settings)
{
    Cfgstore& store = Cfgstore::instance();
    store.useBuiltins();
    for (const QString& setting : settings) {
        store.setParameter(setting.section(QLatin1Char('='), 0, 0).trimmed(),
            setting.section(QLatin1Char('='), 1).trimmed());
    }
}

// root and every node below it, in document order.
inline QVector<Zovnode*> preorder(Zovnode* root)
{
    QVector<Zovnode*> order;
    QVector<Zovnode*> pending { root };
    while (!pending.isEmpty()) {
        Zovnode* const node = pending.takeLast();
        order.append(node);
        if (const Childspan children = node->children()) {
            for (qsizetype k = children->size() - 1; k >= 0; --k)
                pending.append(children->at(k));
        }
    }
    return order;
}

// Both documents parsed, every node of both given one fingerprint, so that every pair of keys
// collides; false when either document is not well-formed.
inline bool parseColliding(const QByteArray& first, const QByteArray& second,
    std::unique_ptr<Zovtree>& tree1, std::unique_ptr<Zovtree>& tree2)
{
    tree1 = parseTree(first);
    tree2 = parseTree(second);
    if (!tree1 || !tree2)
        return false;
    for (Zovnode* root : { tree1->root(), tree2->root() }) {
        for (Zovnode* node : preorder(root))
            node->setFingerprint(7);
    }
    return true;
}
