#include "compare/cmpvector.h"
#include "compare/comparedriver.h"
#include "compare/fingerprint.h"
#include "config/cfgstore.h"
#include "refimpl.h"
#include "testsupport.h"

#include <QtTest>

namespace {

std::unique_ptr<Cmpvector> makeVector(Zovnode* first, Zovnode* second)
{
    if (Cfgstore::instance().getBool(QStringLiteral("use_hashmode")))
        return std::make_unique<Cmpvector_hash>(first, second);
    return std::make_unique<Cmpvector_str>(first, second);
}

// Partner of every node as an index into the other tree's document order; -1 for none.
QVector<int> partnerIndices(const Zovnode* root, const Zovnode* otherRoot)
{
    const QVector<const Zovnode*> others = preorder(otherRoot);
    QVector<int> indices;
    for (const Zovnode* node : preorder(root))
        indices.append(node->partner() ? int(others.indexOf(node->partner())) : -1);
    return indices;
}

QString describe(const Gennode& first, const Gennode& second)
{
    return dumpNode(materialize(first).get()) + QStringLiteral("  vs  ")
        + dumpNode(materialize(second).get());
}

} // namespace

// Indexed passes against the plain nested loops over random child lists and documents.
class TestDifferential : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { Cfgstore::instance().useBuiltins(); }

    void childLists_data()
    {
        QTest::addColumn<int>("firstSeed");
        QTest::addColumn<int>("seeds");
        QTest::addColumn<int>("maxChildren");
        QTest::newRow("short lists, deep children") << 1 << 2500 << 6;
        QTest::newRow("long lists, shallow children") << 100000 << 1000 << 30;
    }

    void childLists()
    {
        QFETCH(int, firstSeed);
        QFETCH(int, seeds);
        QFETCH(int, maxChildren);
        for (int seed = firstSeed; seed < firstSeed + seeds; ++seed) {
            QRandomGenerator random(seed);
            randomConfiguration(random);
            const int depth = maxChildren > 10 ? 1 : 2;
            const Gennode first = randomElement(random, depth, maxChildren);
            const Gennode second = random.bounded(4) == 0
                ? randomElement(random, depth, maxChildren)
                : mutate(first, random, depth);
            const std::unique_ptr<Zovnode> engine1 = materialize(first);
            const std::unique_ptr<Zovnode> engine2 = materialize(second);
            const std::unique_ptr<Zovnode> plain1 = materialize(first);
            const std::unique_ptr<Zovnode> plain2 = materialize(second);

            const Keyflags flags = Keyflags::fromConfig();
            storeFingerprints(engine1.get(), flags);
            storeFingerprints(engine2.get(), flags);
            const std::unique_ptr<Cmpvector> vector = makeVector(engine1.get(), engine2.get());
            vector->runPasses();
            Refvector reference(plain1.get(), plain2.get(),
                Cfgstore::instance().getBool(QStringLiteral("use_hashmode")));
            reference.runPasses();

            const QByteArray context
                = QStringLiteral("seed %1: %2").arg(seed).arg(describe(first, second)).toUtf8();
            QVERIFY2(vector->state1 == reference.state1, context);
            QVERIFY2(vector->state2 == reference.state2, context);
            QVERIFY2(vector->partner1 == reference.partner1, context);
            QVERIFY2(vector->partner2 == reference.partner2, context);
            QVERIFY2(dumpNode(engine2.get()) == dumpNode(plain2.get()), context);
            for (int j = 0; j < vector->count2; ++j) {
                const QStringList* const marked = vector->markedAttributes(j);
                QVERIFY2((marked ? *marked : QStringList()) == reference.marked.value(j), context);
            }
        }
    }

    void documents_data()
    {
        QTest::addColumn<int>("firstSeed");
        QTest::addColumn<int>("seeds");
        QTest::newRow("random documents") << 1 << 2000;
    }

    void documents()
    {
        QFETCH(int, firstSeed);
        QFETCH(int, seeds);
        for (int seed = firstSeed; seed < firstSeed + seeds; ++seed) {
            QRandomGenerator random(seed);
            randomConfiguration(random);
            const Gennode first = randomElement(random, 3, 5);
            const Gennode second = mutate(first, random, 3);
            const std::unique_ptr<Zovnode> engine1 = materialize(first);
            const std::unique_ptr<Zovnode> engine2 = materialize(second);
            const std::unique_ptr<Zovnode> plain1 = materialize(first);
            const std::unique_ptr<Zovnode> plain2 = materialize(second);
            Zovelementnode engineResult(QStringLiteral("r"));
            Zovelementnode plainResult(QStringLiteral("r"));

            Worklist work;
            compareTrees(work, true, engine1.get(), engine2.get(), &engineResult);
            refCompareTrees(true, plain1.get(), plain2.get(), &plainResult);

            const QByteArray context
                = QStringLiteral("seed %1: %2").arg(seed).arg(describe(first, second)).toUtf8();
            QVERIFY2(dumpNode(&engineResult) == dumpNode(&plainResult), context);
            QVERIFY2(partnerIndices(&engineResult, engine1.get())
                    == partnerIndices(&plainResult, plain1.get()),
                context);
            QVERIFY2(partnerIndices(engine1.get(), engine2.get())
                    == partnerIndices(plain1.get(), plain2.get()),
                context);
            QVERIFY2(partnerIndices(engine2.get(), engine1.get())
                    == partnerIndices(plain2.get(), plain1.get()),
                context);
            QVERIFY(work.entries.isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(TestDifferential)
#include "tst_differential.moc"
