#include "model/nametable.h"
#include "model/nodearena.h"
#include "model/zovnode.h"
#include "model/zovtree.h"

#include <QBuffer>
#include <QTest>

#include <memory>
#include <thread>

namespace {

QString escaped(const QString& value) { return value.toHtmlEscaped(); }

// A document of one element per value, each with the value in attribute a and "en" in b.
std::unique_ptr<Zovtree> treeOf(const QStringList& values, bool streamed)
{
    QString xml = QStringLiteral("<r>");
    for (const QString& value : values)
        xml += QStringLiteral("<e a=\"%1\" b=\"en\"/>").arg(escaped(value));
    xml += QStringLiteral("</r>");
    QBuffer buffer;
    buffer.setData(xml.toUtf8());
    buffer.open(QIODevice::ReadOnly);
    auto tree = std::make_unique<Zovtree>();
    const QString error = streamed ? tree->loadStreamed(&buffer) : tree->load(&buffer);
    return error.isEmpty() && tree->root() ? std::move(tree) : nullptr;
}

} // namespace

// The tables are process-wide, so this program has one of its own: the last cases fill them.
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
        Zovnode* const copies[]
            = { Zovnode::shallowCopy(element, &target), Zovnode::shallowCopy(attributed, &target),
                  Zovnode::shallowCopy(pi, &target), Zovnode::shallowCopy(element) };
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

    void valuesOutliveTheirTree_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("shared");
        QTest::addColumn<bool>("streamed");
        const QString longValue = QString(300, QLatin1Char('x')) + QStringLiteral("<&\"'>");
        for (const bool streamed : { false, true }) {
            const char* const reader = streamed ? "stream reader" : "own reader";
            QTest::addRow("short, shared (%s)", reader) << QStringLiteral("de") << true << streamed;
            QTest::addRow("17 characters (%s)", reader)
                << QStringLiteral("abcdefghijklmnopq") << false << streamed;
            QTest::addRow("long, with markup (%s)", reader) << longValue << false << streamed;
            QTest::addRow("non-ASCII (%s)", reader)
                << QStringLiteral("gr\u00f6\u00dfe \u20ac \U0001f600 long") << false << streamed;
            QTest::addRow("empty (%s)", reader) << QString() << false << streamed;
        }
    }

    void valuesOutliveTheirTree()
    {
        QFETCH(QString, value);
        QFETCH(bool, shared);
        QFETCH(bool, streamed);
        auto tree = treeOf({ value }, streamed);
        QVERIFY(tree);
        const Zovnode* const element = tree->root()->children()[0];
        QCOMPARE(element->attributeValue(QStringLiteral("a")), value);
        QCOMPARE(element->attributeView(1), value);
        if (shared)
            QCOMPARE(element->attributeView(1).data(), Nametable::keepValue(value)->constData());

        Nodearena arena;
        Zovnode* const inArena = Zovnode::shallowCopy(element, &arena);
        Zovnode* const onHeap = Zovnode::shallowCopy(element);
        Zovnode* const relisted = Zovnode::shallowCopy(element);
        relisted->setAttributeList(element->attributeList() + QStringList { "c", value });
        tree.reset();
        for (const Zovnode* const copy : { inArena, onHeap, relisted }) {
            QCOMPARE(copy->attributeString(1), value);
            QCOMPARE(copy->attributeValue(QStringLiteral("b")), QStringLiteral("en"));
        }
        QCOMPARE(relisted->attributeList(), QStringList({ "a", value, "b", "en", "c", value }));
        for (Zovnode* const node : { inArena, onHeap, relisted })
            Zovnode::destroy(node);
    }

    void threadsFillTheValueTableAtOnce()
    {
        // Together more distinct short values than the table takes, so that it fills while
        // both threads ask it; each reads its own values back.
        QStringList values[2];
        for (int i = 0; i < 12000; ++i) {
            values[0].append(QStringLiteral("a%1").arg(i));
            values[1].append(QStringLiteral("b%1").arg(i));
        }
        bool whole[2] = { false, false };
        const auto load = [&values, &whole](int k) {
            const auto tree = treeOf(values[k], false);
            if (!tree)
                return;
            const Childspan elements = tree->root()->children();
            bool same = elements.size() == values[k].size();
            for (qsizetype i = 0; same && i < elements.size(); ++i)
                same = elements[i]->attributeView(1) == values[k][i];
            whole[k] = same;
        };
        std::thread other(load, 1);
        load(0);
        other.join();
        QVERIFY(whole[0]);
        QVERIFY(whole[1]);
        QVERIFY(!Nametable::keepValue(u"unseen"));
        // The first value of each thread came while the table still had room.
        QVERIFY(Nametable::keepValue(u"a0"));
        QVERIFY(Nametable::keepValue(u"b0"));
    }

    void fullValueTableLeavesValuesTheirOwn()
    {
        // Values the table no longer takes, read on both readers.
        QStringList values;
        for (int i = 0; i < 20000; ++i)
            values.append(QStringLiteral("v%1").arg(i));
        for (const bool streamed : { false, true }) {
            auto tree = treeOf(values, streamed);
            QVERIFY(tree);
            const Childspan elements = tree->root()->children();
            QCOMPARE(elements.size(), values.size());
            Nodearena arena;
            Zovnode* const last = Zovnode::shallowCopy(elements[elements.size() - 1], &arena);
            for (qsizetype i = 0; i < values.size(); ++i) {
                QCOMPARE(elements[i]->attributeView(1), values[i]);
                QCOMPARE(elements[i]->attributeView(3), u"en");
            }
            tree.reset();
            QCOMPARE(last->attributeString(1), values.last());
            Zovnode::destroy(last);
        }
        QVERIFY(!Nametable::keepValue(u"v0"));
        QVERIFY(Nametable::keepValue(u"en"));
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
