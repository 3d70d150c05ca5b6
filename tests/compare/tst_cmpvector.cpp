#include "compare/cmpvector.h"
#include "compare/fingerprint.h"
#include "compare/passsettings.h"
#include "testsupport.h"

#include <QtTest>

namespace {

QString joined(const QVector<int>& values)
{
    QStringList parts;
    for (const int value : values)
        parts << QString::number(value);
    return parts.join(QLatin1Char(' '));
}

// A list of c elements holding the given texts.
QByteArray list(const QStringList& texts)
{
    return "<r><c>" + texts.join(QStringLiteral("</c><c>")).toUtf8() + "</c></r>";
}

// States of both sides and side-2 partners after the equal-subtree passes over the children.
QString equalPasses(Zovnode* first, Zovnode* second, bool hashMode)
{
    const Passsettings settings = Passsettings::fromConfig();
    std::unique_ptr<Cmpvector> vector;
    if (hashMode)
        vector = std::make_unique<Cmpvector_hash>(first, second, settings);
    else
        vector = std::make_unique<Cmpvector_str>(first, second, settings);
    vector->matchEqualInPlace();
    vector->matchEqualMoved();
    return joined(vector->state1) + " | " + joined(vector->state2) + " | "
        + joined(vector->partner2);
}

// count texts out of kinds different ones, from a fixed pseudo-random sequence.
QStringList texts(int count, int kinds, quint32 seed)
{
    QStringList result;
    for (int k = 0; k < count; ++k) {
        seed = seed * 1664525u + 1013904223u;
        result << QString::number((seed >> 16) % quint32(kinds));
    }
    return result;
}

// States and partners the equal-subtree passes must give, by direct search: equal texts at the
// same index match in place, then each open side-1 child in order takes the nearest open equal
// side-2 child, the lower index on equal distance.
QString nearestPairs(const QStringList& first, const QStringList& second)
{
    QVector<int> state1(first.size(), 0);
    QVector<int> state2(second.size(), 0);
    QVector<int> partner2(second.size(), 0);
    for (int i = 0; i < qMin(first.size(), second.size()); ++i) {
        if (first[i] == second[i])
            state1[i] = state2[i] = 1;
    }
    for (int i = 0; i < first.size(); ++i) {
        if (state1[i])
            continue;
        int best = -1;
        for (int j = 0; j < second.size(); ++j) {
            if (!state2[j] && second[j] == first[i] && (best < 0 || qAbs(i - j) < qAbs(i - best)))
                best = j;
        }
        if (best >= 0) {
            state1[i] = state2[best] = 2;
            partner2[best] = i;
        }
    }
    return joined(state1) + " | " + joined(state2) + " | " + joined(partner2);
}

} // namespace

// Whole documents are compared by the case folders; what no document can reach is a 64-bit
// fingerprint shared by different subtrees, forced here.
class TestCmpvector : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { Cfgstore::instance().useBuiltins(); }

    void forcedCollision_data()
    {
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("second");
        QTest::addColumn<bool>("hashMode");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("expected");
        const QStringList digits = QString("0 1 2 3 4 5 6 7 8 9").split(' ');
        QStringList reversed = digits;
        std::reverse(reversed.begin(), reversed.end());
        QTest::newRow("hash mode trusts the fingerprint")
            << QByteArray("<r><a><b>1</b></a></r>") << QByteArray("<r><a><b>2</b></a></r>") << true
            << ""
            << "1 | 1 | 0";
        QTest::newRow("string mode confirms it, short list")
            << QByteArray("<r><a><b>1</b></a></r>") << QByteArray("<r><a><b>2</b></a></r>") << false
            << ""
            << "0 | 0 | 0";
        QTest::newRow("hash mode, long list") << list(digits) << list(reversed) << true << ""
                                              << "1 1 1 1 1 1 1 1 1 1 | 1 1 1 1 1 1 1 1 1 1 | "
                                                 "0 0 0 0 0 0 0 0 0 0";
        QTest::newRow("string mode, long list: equal subtrees still find each other")
            << list(digits) << list(reversed) << false << ""
            << "2 2 2 2 2 2 2 2 2 2 | 2 2 2 2 2 2 2 2 2 2 | 9 8 7 6 5 4 3 2 1 0";
        QTest::newRow("string mode counts the attribute order when told to")
            << QByteArray("<r><a x='1' y='2'/></r>") << QByteArray("<r><a y='2' x='1'/></r>")
            << false << "ignore_attribute_order=false"
            << "0 | 0 | 0";
        QTest::newRow("string mode ignores the attribute order by default")
            << QByteArray("<r><a x='1' y='2'/></r>") << QByteArray("<r><a y='2' x='1'/></r>")
            << false << ""
            << "1 | 1 | 0";
    }

    void forcedCollision()
    {
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, second);
        QFETCH(bool, hashMode);
        QFETCH(QString, settings);
        QFETCH(QString, expected);
        configure(settings.split(' ', Qt::SkipEmptyParts));
        std::unique_ptr<Zovtree> tree1;
        std::unique_ptr<Zovtree> tree2;
        QVERIFY(parseColliding(first, second, tree1, tree2));
        QCOMPARE(equalPasses(tree1->root(), tree2->root(), hashMode), expected);
    }

    // Long lists with many equal children: each key's candidates are settled apart, and the
    // result must be the one of the plain nearest-first search.
    void equalMovesPairNearest_data()
    {
        QTest::addColumn<QStringList>("first");
        QTest::addColumn<QStringList>("second");
        const QStringList few = texts(60, 3, 1);
        QStringList rotated = few.mid(1);
        rotated << few.first();
        QStringList edited = texts(400, 25, 2);
        edited.insert(7, QStringLiteral("new"));
        edited.removeAt(300);
        std::reverse(edited.begin() + 100, edited.begin() + 180);
        QTest::newRow("three kinds, unrelated orders") << few << texts(70, 3, 5);
        QTest::newRow("three kinds, rotated by one") << few << rotated;
        QTest::newRow("many kinds, insertion, deletion and a reversed run")
            << texts(400, 25, 2) << edited;
        QTest::newRow("side 2 much longer") << texts(30, 4, 3) << texts(500, 4, 4);
        QTest::newRow("only unique keys, nothing equal")
            << texts(40, 1000000, 6) << texts(40, 1000000, 7);
    }

    void equalMovesPairNearest()
    {
        QFETCH(QStringList, first);
        QFETCH(QStringList, second);
        const QString expected = nearestPairs(first, second);
        for (const bool hashMode : { false, true }) {
            std::unique_ptr<Zovtree> tree1 = parseTree(list(first));
            std::unique_ptr<Zovtree> tree2 = parseTree(list(second));
            QVERIFY(tree1 && tree2);
            const Keyflags flags = Keyflags::fromConfig();
            storeFingerprints(tree1->root(), flags);
            storeFingerprints(tree2->root(), flags);
            QCOMPARE(equalPasses(tree1->root(), tree2->root(), hashMode), expected);
        }
    }
};

QTEST_GUILESS_MAIN(TestCmpvector)
#include "tst_cmpvector.moc"
