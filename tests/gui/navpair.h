#pragma once

#include "gui/vtreeitem.h"
#include "model/zovnode.h"
#include "model/zovtree.h"

#include <QTreeWidget>
#include <memory>

// A document and its merged result with changes at several depths:
//   x(x1)            complete match
//   a                content change
//     p              complete match
//     q              content change
//       'text'       complete match
//       r(r1)        element added; r1 inherits the mark
//     s(s1)          element deleted; s1 inherits the mark
//   b(b1)            position change; b1 shows a complete match
//   c                attribute change
//   e(e1)            complete match
// So the changes in document order are a, q, r, s, b, c; r1 and s1 only inherit their marks.
struct Navpair {
    std::unique_ptr<Zovtree> left;
    std::unique_ptr<Zovtree> right;

    Navpair()
        : left(rooted())
        , right(rooted())
    {
        Zovnode* l = left->root();
        Zovnode* r = right->root();
        Zovnode* x = pair(l, r, "complete match", "x");
        pair(x, x->partner(), QString(), "x1");
        Zovnode* a = pair(l, r, "content change", "a");
        pair(a, a->partner(), "complete match", "p");
        Zovnode* q = pair(a, a->partner(), "content change", "q");
        pair(q, q->partner(), "complete match", QString());
        q->partner()->appendMark(QStringLiteral("element added"));
        element(element(q->partner(), "r"), "r1");
        element(element(a, "s"), "s1");
        a->partner()->appendMark(QStringLiteral("element deleted s"));
        element(element(a->partner(), "s"), "s1");
        Zovnode* b = pair(l, r, "position change 1", "b");
        pair(b, b->partner(), QString(), "b1");
        pair(l, r, "attribute change", "c");
        Zovnode* e = pair(l, r, "complete match", "e");
        pair(e, e->partner(), QString(), "e1");
    }

    static std::unique_ptr<Zovtree> rooted()
    {
        auto tree = std::make_unique<Zovtree>();
        const Zovelementnode root(QStringLiteral("doc"));
        tree->setRoot(&root);
        return tree;
    }

    static Zovnode* element(Zovnode* parent, const char* name)
    {
        return parent->appendChild(new Zovelementnode(QLatin1String(name)));
    }

    // A left node and its right copy after mark, linked as partners; an empty name makes text.
    static Zovnode* pair(
        Zovnode* leftParent, Zovnode* rightParent, const QString& mark, const QString& name)
    {
        if (!mark.isEmpty())
            rightParent->appendMark(mark);
        auto make = [&name](Zovnode* parent) {
            return parent->appendChild(name.isEmpty()
                    ? new Zovnode(QStringLiteral("text"), Text)
                    : static_cast<Zovnode*>(new Zovelementnode(name)));
        };
        Zovnode* leftNode = make(leftParent);
        Zovnode* rightNode = make(rightParent);
        leftNode->linkPartner(rightNode);
        rightNode->linkPartner(leftNode);
        return leftNode;
    }
    static Zovnode* pair(
        Zovnode* leftParent, Zovnode* rightParent, const char* mark, const char* name)
    {
        return pair(leftParent, rightParent, QLatin1String(mark), QLatin1String(name));
    }
};

// The visible item of a right tree whose path of column 0 texts is path, or null.
inline QTreeWidgetItem* itemAt(QTreeWidget* tree, const QStringList& path)
{
    QTreeWidgetItem* item = tree->topLevelItem(0);
    for (const QString& name : path) {
        QTreeWidgetItem* found = nullptr;
        for (int i = 0; item && i < item->childCount() && !found; ++i) {
            if (item->child(i)->text(0) == name)
                found = item->child(i);
        }
        item = found;
    }
    return item;
}
