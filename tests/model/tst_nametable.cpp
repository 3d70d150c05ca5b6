#include "model/nametable.h"
#include "model/nodearena.h"
#include "model/zovnode.h"

#include <QTest>

#include <memory>
#include <thread>

// The table is process-wide, so this program has one of its own: the last case fills it.
class tst_Nametable : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void equalNamesShareOneCopy()
    {
        const QString* const first = Nametable::keep(u"record");
        QVERIFY(first);
        QCOMPARE(*first, QStringLiteral("record"));
        QCOMPARE(Nametable::keep(QStringLiteral("record")), first);
        QVERIFY(Nametable::keep(u"recorD") != first);
        const QString* other = nullptr;
        std::thread([&other] { other = Nametable::keep(u"record"); }).join();
        QCOMPARE(other, first);
        QVERIFY(!Nametable::keep(QString(1025, QLatin1Char('n'))));
    }

    void namesOutliveTheirTree()
    {
        auto source = std::make_unique<Nodearena>();
        const QString strings[] = { QStringLiteral("k"), QStringLiteral("v") };
        Zovnode* const element = Zovnode::inArena<Zovelementnode>(*source, u"moved");
        Zovnode* const attributed
            = Zovnode::inArena<Zovattrelementnode>(*source, u"kept", 2, strings, *source);
        Zovnode* const pi = Zovnode::inArena<Zovpinode>(*source, QStringLiteral("t"), QString());
        Nodearena target;
        Zovnode* const copies[] = { Zovnode::shallowCopy(element, &target),
            Zovnode::shallowCopy(attributed, &target), Zovnode::shallowCopy(pi, &target),
            Zovnode::shallowCopy(element) };
        for (Zovnode* const node : { element, attributed, pi })
            Zovnode::destroy(node);
        source.reset();
        QCOMPARE(copies[0]->name(), QStringLiteral("moved"));
        QCOMPARE(copies[1]->name(), QStringLiteral("kept"));
        QCOMPARE(copies[1]->attributeValue(QStringLiteral("k")), QStringLiteral("v"));
        QCOMPARE(copies[2]->text(), QStringLiteral("t"));
        QCOMPARE(copies[3]->text(), QStringLiteral("moved"));
        for (Zovnode* const node : copies)
            Zovnode::destroy(node);
    }

    void fullTableLeavesNodesTheirOwnNames()
    {
        int added = 0;
        while (Nametable::keep(QStringLiteral("filler%1").arg(added)))
            QVERIFY2(++added <= (1 << 16), "the table takes names without bound");
        QVERIFY(added > 0);
        QVERIFY(Nametable::keep(u"record"));

        const QString strings[] = { QStringLiteral("k"), QStringLiteral("v") };
        auto own = std::make_unique<Zovelementnode>(u"unkept");
        auto attributed = std::make_unique<Zovattrelementnode>(u"unkept2", 2, strings);
        Zovpinode pi(QStringLiteral("unkept3"), QStringLiteral("d"));
        QCOMPARE(own->name(), QStringLiteral("unkept"));
        QCOMPARE(attributed->text(), QStringLiteral("unkept2"));
        QCOMPARE(pi.text(), QStringLiteral("unkept3"));
        // Copies of a name the source owns are copies of their own.
        Nodearena arena;
        Zovnode* const copy = Zovnode::shallowCopy(own.get(), &arena);
        Zovnode* const attributedCopy = Zovnode::shallowCopy(attributed.get(), &arena);
        own.reset();
        attributed.reset();
        QCOMPARE(copy->name(), QStringLiteral("unkept"));
        QCOMPARE(attributedCopy->name(), QStringLiteral("unkept2"));
        Zovnode::destroy(copy);
        Zovnode::destroy(attributedCopy);
    }
};

QTEST_GUILESS_MAIN(tst_Nametable)
#include "tst_nametable.moc"
