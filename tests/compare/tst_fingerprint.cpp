#include "compare/fingerprint.h"
#include "compare/openpositions.h"
#include "testsupport.h"

#include <QtTest>

namespace {

Keyflags flagsFrom(int bits)
{
    Keyflags flags;
    flags.simplify = bits & 1;
    flags.ignoreAttributes = bits & 2;
    flags.ignoreAttributeOrder = bits & 4;
    return flags;
}

} // namespace

class TestFingerprint : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Equal hashes and exact equality must follow equality of the unambiguous content string.
    void agreesWithContentStrings()
    {
        int equalPairs = 0;
        for (int seed = 1; seed <= 4000; ++seed) {
            QRandomGenerator random(seed);
            const Keyflags flags = flagsFrom(random.bounded(8));
            const Gennode base = randomNode(random, 3);
            const Gennode other
                = random.bounded(2) == 0 ? mutate(base, random, 2) : randomNode(random, 3);
            const std::unique_ptr<Zovnode> a = materialize(base);
            const std::unique_ptr<Zovnode> b = materialize(other);
            const bool same = a->contentString(flags.simplify, flags.ignoreAttributes,
                                  flags.ignoreAttributeOrder)
                == b->contentString(
                    flags.simplify, flags.ignoreAttributes, flags.ignoreAttributeOrder);
            equalPairs += same ? 1 : 0;
            const QByteArray context = QStringLiteral("seed %1: %2 vs %3")
                                           .arg(seed)
                                           .arg(dumpNode(a.get()), dumpNode(b.get()))
                                           .toUtf8();
            QVERIFY2((subtreeHash(a.get(), flags) == subtreeHash(b.get(), flags)) == same, context);
            QVERIFY2(subtreesEqual(a.get(), b.get(), flags) == same, context);
            storeFingerprints(a.get(), flags);
            storeFingerprints(b.get(), flags);
            QVERIFY2(storedSubtreesEqual(a.get(), b.get(), flags) == same, context);
            QCOMPARE(quint64(a->fingerprint()), subtreeHash(a.get(), flags));
            QHash<const Zovnode*, quint64> cache;
            QCOMPARE(subtreeHash(a.get(), flags, &cache), subtreeHash(a.get(), flags));
            QCOMPARE(subtreeHash(a.get(), flags, &cache), subtreeHash(a.get(), flags));
        }
        // The generator must give both outcomes often for the check above to mean anything.
        QVERIFY(equalPairs > 400);
        QVERIFY(equalPairs < 3600);
    }

    void deepChains_data()
    {
        QTest::addColumn<QString>("bottom1");
        QTest::addColumn<QString>("bottom2");
        QTest::addColumn<bool>("equal");
        QTest::newRow("equal chains") << "x"
                                      << "x" << true;
        QTest::newRow("changed at the bottom") << "x"
                                               << "y" << false;
    }

    void deepChains()
    {
        QFETCH(QString, bottom1);
        QFETCH(QString, bottom2);
        QFETCH(bool, equal);
        const int depth = 200000;
        const std::unique_ptr<Zovnode> a = chain(depth, bottom1);
        const std::unique_ptr<Zovnode> b = chain(depth, bottom2);
        const Keyflags flags;
        storeFingerprints(a.get(), flags);
        storeFingerprints(b.get(), flags);
        QCOMPARE(a->fingerprint() == b->fingerprint(), equal);
        QCOMPARE(subtreesEqual(a.get(), b.get(), flags), equal);
        QCOMPARE(storedSubtreesEqual(a.get(), b.get(), flags), equal);
    }

    // Content mode measures similarity on names and texts alone, without the delimiters that
    // make the fingerprint unambiguous.
    void similarityText_data()
    {
        QTest::addColumn<QString>("tree");
        QTest::addColumn<QString>("text");
        QTest::newRow("names and simplified texts") << "a{k=v}('  hello   you ' b('world'))"
                                                    << "ahello youbworld";
        QTest::newRow("comment, cdata and pi kept") << "a(!' c ' %'d' ?t'x')"
                                                    << "a c dtx";
        QTest::newRow("text node alone") << "'  x  y '"
                                         << "x y";
    }

    void similarityText()
    {
        QFETCH(QString, tree);
        QFETCH(QString, text);
        const std::unique_ptr<Zovnode> root = buildTree(tree);
        QVERIFY(root);
        QCOMPARE(::similarityText(root.get()), text);
    }

    void ownAttributes_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("ignoreOrder");
        QTest::addColumn<bool>("equal");
        const auto row = [](const char* name, const char* first, const char* second,
                             bool ignoreOrder, bool equal) {
            QTest::newRow(name) << QString(first) << QString(second) << ignoreOrder << equal;
        };
        row("other order counted", "a{x=1,y=2}", "a{y=2,x=1}", false, false);
        row("other order ignored", "a{x=1,y=2}", "a{y=2,x=1}", true, true);
        row("values swapped", "a{x=1,y=2}", "a{x=2,y=1}", true, false);
        row("boundary moved", "a{x=bc}", "a{xb=c}", false, false);
        row("none against none", "a", "b", false, true);
        row("none against one", "a", "a{x=1}", true, false);
    }

    void ownAttributes()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, ignoreOrder);
        QFETCH(bool, equal);
        const std::unique_ptr<Zovnode> a = buildTree(first);
        const std::unique_ptr<Zovnode> b = buildTree(second);
        QVERIFY(a && b);
        QCOMPARE(ownAttributesEqual(a.get(), b.get(), ignoreOrder), equal);
    }

    void openPositions_data()
    {
        QTest::addColumn<QVector<int>>("positions");
        QTest::addColumn<QString>("operations");
        QTest::addColumn<QString>("answers");
        // nK: nearest to K, rK: remove K, f: first.
        const auto row = [](const char* name, const QVector<int>& positions, const char* operations,
                             const char* answers) {
            QTest::newRow(name) << positions << QString(operations) << QString(answers);
        };
        row("exact hit", { 1, 4, 9 }, "n4", "4");
        row("tie goes low", { 2, 6 }, "n4", "2");
        row("beyond both ends", { 2, 6 }, "n0 n100", "2 6");
        row("removal reaches over gaps", { 1, 2, 3, 4, 5 }, "r3 r2 r4 n3 r1 n3 f", "1 5 5");
        row("emptied", { 7 }, "r7 n7 f r7", "-1 -1");
        row("unknown removal ignored", { 3 }, "r4 n0", "3");
    }

    void openPositions()
    {
        QFETCH(QVector<int>, positions);
        QFETCH(QString, operations);
        QFETCH(QString, answers);
        Openpositions set(positions);
        QStringList results;
        for (const QString& operation : operations.split(QLatin1Char(' '))) {
            const int value = operation.mid(1).toInt();
            if (operation.startsWith(QLatin1Char('n')))
                results << QString::number(set.nearest(value));
            else if (operation.startsWith(QLatin1Char('r')))
                set.remove(value);
            else
                results << QString::number(set.first());
        }
        QCOMPARE(results.join(QLatin1Char(' ')), answers);
    }
};

QTEST_GUILESS_MAIN(TestFingerprint)
#include "tst_fingerprint.moc"
