#pragma once

#include "model/zovnode.h"
#include "model/zovtree.h"

#include <functional>
#include <memory>

// A document and its merged result with changes at several depths:
//   x(x1)            complete match
//   a[id=1]          content change
//     p              complete match
//     q              content change
//       '[-]old..'   content change, with inline difference markers
//       r(r1)        element added; r1 inherits the mark
//     s(s1)          element deleted; s1 inherits the mark
//   b(b1)            position change of a pair that kept its order; b1 inherits a match
//   c[k=w](c1)       attribute change; c1 inherits a match
//   <?pi data?>      complete match
//   m                position change
//   e(e1)            complete match
// The changes in document order are a, q, the text, r, s, c, m; b too when shifted pairs are
// shown as moved.
struct Navpair {
    using Make = std::function<Zovnode*()>;

    std::unique_ptr<Zovtree> left = rooted();
    std::unique_ptr<Zovtree> right = rooted();

    Navpair()
    {
        Zovnode* l = left->root();
        Zovnode* r = right->root();
        Zovnode* x = pair(l, r, "complete match", element("x"));
        pair(x, x->partner(), "", element("x1"));
        Zovnode* a = pair(l, r, "content change", element("a", { "id", "1" }));
        pair(a, a->partner(), "complete match", element("p"));
        Zovnode* q = pair(a, a->partner(), "content change", element("q"));
        pair(q, q->partner(), "content change",
            [] { return new Zovtextnode(QStringLiteral("  [-]old[/-][+]new[/+] \n"), Text); });
        q->partner()->appendMark(QStringLiteral("element added"));
        add(add(q->partner(), "r"), "r1");
        add(add(a, "s"), "s1");
        a->partner()->appendMark(QStringLiteral("element deleted s"));
        add(add(a->partner(), "s"), "s1");
        Zovnode* b = pair(l, r, "position change 1", element("b"), true);
        pair(b, b->partner(), "", element("b1"));
        Zovnode* c = pair(l, r, "attribute change", element("c", { "k", "w" }));
        pair(c, c->partner(), "", element("c1"));
        pair(l, r, "complete match",
            [] { return new Zovpinode(QStringLiteral("pi"), QStringLiteral("data")); });
        pair(l, r, "position change 2", element("m"));
        Zovnode* e = pair(l, r, "complete match", element("e"));
        pair(e, e->partner(), "", element("e1"));
    }

    static std::unique_ptr<Zovtree> rooted()
    {
        auto tree = std::make_unique<Zovtree>();
        const Zovelementnode root(QStringLiteral("doc"));
        tree->setRoot(&root);
        return tree;
    }

    static Make element(const char* name, const QStringList& attributes = {})
    {
        return [name, attributes]() -> Zovnode* {
            if (attributes.isEmpty())
                return new Zovelementnode(QString::fromLatin1(name));
            return new Zovattrelementnode(
                QString::fromLatin1(name), int(attributes.size()), attributes.constData());
        };
    }

    static Zovnode* add(Zovnode* parent, const char* name)
    {
        return parent->appendChild(element(name)());
    }

    // A left node and its right copy after mark (none when empty), linked as partners.
    static Zovnode* pair(Zovnode* leftParent, Zovnode* rightParent, const char* mark,
        const Make& make, bool shifted = false)
    {
        if (*mark)
            rightParent->appendMark(QLatin1String(mark))->setShifted(shifted);
        Zovnode* leftNode = leftParent->appendChild(make());
        Zovnode* rightNode = rightParent->appendChild(make());
        leftNode->linkPartner(rightNode);
        rightNode->linkPartner(leftNode);
        return leftNode;
    }
};
