#include "compare/cmpvector.h"
#include "compare/comparedriver.h"
#include "config/cfgstore.h"
#include "output/markcount.h"
#include "output/textdiff.h"
#include "testsupport.h"

#include <QtTest>

namespace {

struct Run {
    std::unique_ptr<Zovnode> first;
    std::unique_ptr<Zovnode> second;
    std::unique_ptr<Zovnode> result;
};

Run compare(const QString& first, const QString& second, bool guiRun)
{
    Run run { buildTree(first), buildTree(second), nullptr };
    if (!run.first || !run.second)
        return run;
    run.result = std::make_unique<Zovelementnode>(run.second->text());
    Worklist work;
    compareTrees(work, guiRun, run.first.get(), run.second.get(), run.result.get());
    return run;
}

} // namespace

class TestComparedriver : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { Cfgstore::instance().useBuiltins(); }

    void documents_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<QString>("expected");

        const auto row = [](const char* name, const char* first, const char* second,
                             const QStringList& settings, const char* expected) {
            QTest::newRow(name) << QString(first) << QString(second) << settings
                                << QString(expected);
        };
        row("equal documents", "r(a b('t'))", "r(a b('t'))", {},
            "[complete match] a [complete match] b('t')");
        row("deleted before a moved child", "r(a b)", "r(b)", {},
            "[element deleted a] a [position change -1] b");
        row("added before a moved child", "r(a)", "r(b a)", {},
            "[element added] b [position change 1] a");
        row("moved, changed and missing children", "r(a('1') b c)", "r(b a('2'))", {},
            "[position change -1] b [position and content change 1] a([content change] '2') "
            "[element deleted c] c");
        row("different root names", "old(a)", "new(a)", {}, "[complete match] a");
        row("empty element gains a child", "r(x)", "r(x(y))", {},
            "[content change] x([element added] y)");
        row("deleted children placed where the walk meets them", "r(p a q b)", "r(a b)", {},
            "[element deleted p] p [position change -1] a [element deleted q] q [position change "
            "-2] b");
        row("trailing deleted children last", "r(a p q)", "r(a)", {},
            "[complete match] a [element deleted p] p [element deleted q] q");
        row("deleted comment named by its kind", "r(!'c' a)", "r(a)", {},
            "[element deleted #comment] !'c' [position change -1] a");
        row("deleted processing instruction named by its data", "r(?t'd')", "r", {},
            "[element deleted d] ?t'd'");
        row("attribute change copied whole", "r(a{x=1}(b{y=1}))", "r(a{x=2}(b{y=2}))", {},
            "[attribute change] a{x=2}(b{y=2})");
        row("levels below a changed pair", "r(a(b('1') c) d)", "r(a(b('2') c) d)", {},
            "[content change] a([content change] b([content change] '2') [complete match] c) "
            "[complete match] d");
        row("attribute marks on an element with attributes", "r(a{x=1,y=2}('t'))",
            "r(a{y=2,z=3}('u'))", { "cmp_attr_contents=true" },
            "[attribute and content change] a{y_cm=2,z_add=3,x_del=1}([content change] 'u')");
        row("attribute marks on an element that lost all attributes", "r(a{x=1}('t'))", "r(a('u'))",
            { "cmp_attr_contents=true" },
            "[attribute and content change] a{x_del=1}([content change] 'u')");
        row("attribute marks on a moved element copied whole", "r(q a{x=1}(b))", "r(a(b) s)",
            { "cmp_attr_contents=true" },
            "[element deleted q] q [position and attribute change -1] a{x_del=1}(b) [element "
            "added] s");
    }

    void documents()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QStringList, settings);
        QFETCH(QString, expected);
        for (const bool hashMode : { false, true }) {
            configure(settings);
            Cfgstore::instance().setParameter(
                QStringLiteral("use_hashmode"), hashMode ? "true" : "false");
            const Run run = compare(first, second, false);
            QVERIFY(run.result);
            QCOMPARE(dumpChildren(run.result.get()), expected);
        }
    }

    void elementWithoutAttributesKeepsItsKindInTreeTwo()
    {
        configure({ "cmp_attr_contents=true" });
        const Run run = compare("r(a{x=1}('t'))", "r(a('u'))", false);
        QVERIFY(run.result);
        QCOMPARE(run.second->children()->at(0)->kind(), Element);
        QCOMPARE(run.result->children()->at(1)->kind(), Attrelement);
    }

    void textDiffReachesTheResult()
    {
        configure({ "do_txtdiff=true" });
        const Run run = compare("r(a('alpha'))", "r(a('alphabet'))", false);
        QVERIFY(run.result);
        QCOMPARE(dumpChildren(run.result.get()),
            QStringLiteral("[content change] a([content change] '%1')")
                .arg(diffText("alpha", "alphabet", false)));
    }

    void shiftedOrMoved_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("expected");

        QTest::newRow("front insertion shifts every later sibling")
            << "r(a b c d)"
            << "r(x a b c d)"
            << "a:shifted b:shifted c:shifted d:shifted";
        QTest::newRow("deletion shifts, a changed pair too") << "r(x a b('1'))"
                                                             << "r(a b('2'))"
                                                             << "a:shifted b:shifted";
        QTest::newRow("block moved to the end")
            << "r(a b c d e f g)"
            << "r(a d e f g b c)"
            << "d:shifted e:shifted f:shifted g:shifted b:moved c:moved";
        QTest::newRow("block moved to the front")
            << "r(a b c d e)"
            << "r(d e a b c)"
            << "d:moved e:moved a:shifted b:shifted c:shifted";
        QTest::newRow("reversal keeps the pair at its own index") << "r(a b c)"
                                                                  << "r(c b a)"
                                                                  << "c:moved a:moved";
        QTest::newRow("equal sets: the one with more pairs in place wins")
            << "r(a b c d e)"
            << "r(b c e d a)"
            << "b:shifted c:shifted e:moved a:moved";
        QTest::newRow("levels are ordered on their own")
            << "r(k(a b) y z)"
            << "r(y z k(n a b))"
            << "y:shifted z:shifted k:moved a:shifted b:shifted";
    }

    void shiftedOrMoved()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, expected);
        const Run run = compare(first, second, false);
        QVERIFY(run.result);
        const QVector<const Zovnode*> nodes = preorder(run.result.get());
        QStringList seen;
        int shiftedSeen = 0;
        for (qsizetype k = 0; k + 1 < nodes.size(); ++k) {
            const Zovnode* const mark = nodes.at(k);
            if (mark->kind() != Pi || !mark->value().startsWith(QLatin1String("position")))
                continue;
            seen << nodes.at(k + 1)->text() + (mark->isShifted() ? ":shifted" : ":moved");
            shiftedSeen += mark->isShifted() ? 1 : 0;
        }
        QCOMPARE(seen.join(QLatin1Char(' ')), expected);
        int shifted = -1;
        countMarks(run.result.get(), &shifted);
        QCOMPARE(shifted, shiftedSeen);
    }

    void partnersForTheView_data()
    {
        QTest::addColumn<bool>("guiRun");
        QTest::newRow("view run links") << true;
        QTest::newRow("headless run leaves nodes alone") << false;
    }

    void partnersForTheView()
    {
        QFETCH(bool, guiRun);
        configure({});
        const Run run = compare("r(a('1') b(x y) c)", "r(b(x y) a('2') n)", guiRun);
        QVERIFY(run.result);
        const QVector<Zovnode*>& old = *run.first->children();
        const QVector<Zovnode*>& result = *run.result->children();
        // [pc -1] b(x y) [pcc 1] a('2') [added] n [deleted c] c
        QCOMPARE(result.size(), 8);
        const Zovnode* const movedB = result[1];
        const Zovnode* const changedA = result[3];
        if (!guiRun) {
            for (const Zovnode* node : preorder(run.result.get()))
                QVERIFY(!node->partner());
            for (const Zovnode* node : preorder(run.first.get()))
                QVERIFY(!node->partner());
            return;
        }
        QCOMPARE(movedB->partner(), old[1]);
        QCOMPARE(movedB->children()->at(0)->partner(), old[1]->children()->at(0));
        QCOMPARE(movedB->children()->at(1)->partner(), old[1]->children()->at(1));
        QCOMPARE(changedA->partner(), old[0]);
        QCOMPARE(changedA->children()->at(1)->partner(), old[0]->children()->at(0));
        QCOMPARE(result[5]->partner(), nullptr);
        QCOMPARE(result[7]->partner(), nullptr);
        QCOMPARE(old[2]->partner(), nullptr);
        QCOMPARE(old[1]->partner(), run.second->children()->at(0));
    }

    void linkSubtreesStopsAtTheShorterList_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("linked");
        QTest::newRow("shorter side 2") << "a(x y(p q) z)"
                                        << "b(x y(p))"
                                        << "1 1 1 0 0";
        QTest::newRow("shorter side 1") << "a(x)"
                                        << "b(x y(p))"
                                        << "1";
        QTest::newRow("no children") << "a"
                                     << "b(x)"
                                     << "0";
    }

    void linkSubtreesStopsAtTheShorterList()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, linked);
        const std::unique_ptr<Zovnode> a = buildTree(first);
        const std::unique_ptr<Zovnode> b = buildTree(second);
        QVERIFY(a && b);
        linkSubtrees(a.get(), b.get());
        const QVector<const Zovnode*> firstOrder = preorder(a.get());
        const QVector<const Zovnode*> secondOrder = preorder(b.get());
        QStringList marks;
        for (const Zovnode* node : firstOrder.mid(1))
            marks << (node->partner() ? QStringLiteral("1") : QStringLiteral("0"));
        if (marks.isEmpty())
            marks << QStringLiteral("0");
        QCOMPARE(marks.join(QLatin1Char(' ')), linked);
        for (const Zovnode* node : secondOrder.mid(1)) {
            if (node->partner())
                QCOMPARE(node->partner()->partner(), node);
        }
    }

    void resultWithoutMarksIsTheNewDocument_data()
    {
        QTest::addColumn<bool>("hashMode");
        QTest::newRow("string mode") << false;
        QTest::newRow("hash mode") << true;
    }

    void resultWithoutMarksIsTheNewDocument()
    {
        QFETCH(bool, hashMode);
        for (int seed = 1; seed <= 1500; ++seed) {
            QRandomGenerator random(seed);
            randomConfiguration(random);
            Cfgstore& store = Cfgstore::instance();
            store.setParameter(QStringLiteral("use_hashmode"), hashMode ? "true" : "false");
            store.setParameter(QStringLiteral("do_txtdiff"), QStringLiteral("false"));
            store.setParameter(QStringLiteral("cmp_attr_contents"), QStringLiteral("false"));
            const Gennode old = randomElement(random, 3, 6);
            const Gennode changed
                = random.bounded(5) == 0 ? randomElement(random, 3, 6) : mutate(old, random, 3);
            const std::unique_ptr<Zovnode> first = materialize(old);
            const std::unique_ptr<Zovnode> second = materialize(changed);
            Zovelementnode result(QStringLiteral("r"));
            Worklist work;
            compareTrees(work, random.bounded(2) == 0, first.get(), second.get(), &result);
            QCOMPARE(stripResult(&result, store.getString(QStringLiteral("element_deleted"))),
                dumpChildren(second.get()));
        }
    }

    void consumingTreeTwoGivesTheSameResult_data()
    {
        QTest::addColumn<bool>("hashMode");
        QTest::newRow("string mode") << false;
        QTest::newRow("hash mode") << true;
    }

    void consumingTreeTwoGivesTheSameResult()
    {
        QFETCH(bool, hashMode);
        for (int seed = 1; seed <= 800; ++seed) {
            QRandomGenerator random(seed);
            randomConfiguration(random);
            Cfgstore& store = Cfgstore::instance();
            store.setParameter(QStringLiteral("use_hashmode"), hashMode ? "true" : "false");
            const Gennode old = randomElement(random, 3, 6);
            const Gennode changed = mutate(old, random, 3);
            const bool guiRun = random.bounded(4) == 0;
            QString dumps[2];
            for (const bool consume : { false, true }) {
                const std::unique_ptr<Zovnode> first = materialize(old);
                const std::unique_ptr<Zovnode> second = materialize(changed);
                Zovelementnode result(QStringLiteral("r"));
                Worklist work;
                work.consumeSecondTree = consume;
                compareTrees(work, guiRun, first.get(), second.get(), &result);
                dumps[consume] = dumpNode(&result);
                // A view run must leave every node of tree 2 in place whatever the owner allows.
                if (guiRun) {
                    const QVector<const Zovnode*> nodes = preorder(second.get());
                    QVERIFY(!nodes.contains(nullptr));
                    QCOMPARE(nodes.size(), preorder(materialize(changed).get()).size());
                }
            }
            QVERIFY2(dumps[0] == dumps[1], qPrintable(QStringLiteral("seed %1").arg(seed)));
        }
    }

    void consumingTreeTwoMovesWholeSubtrees()
    {
        configure({});
        const std::unique_ptr<Zovnode> first = buildTree("r(a(x) b('1'))");
        const std::unique_ptr<Zovnode> second = buildTree("r(a(x) b('2') n(y))");
        const Zovnode* const same = second->children()->at(0);
        const Zovnode* const added = second->children()->at(2);
        Zovelementnode result(QStringLiteral("r"));
        Worklist work;
        work.consumeSecondTree = true;
        compareTrees(work, false, first.get(), second.get(), &result);
        QCOMPARE(dumpChildren(&result),
            QStringLiteral("[complete match] a(x) [content change] b([content change] '2') "
                           "[element added] n(y)"));
        QCOMPARE(result.children()->at(1), same);
        QCOMPARE(result.children()->at(5), added);
        QCOMPARE(second->children()->at(0), nullptr);
        QCOMPARE(second->children()->at(2), nullptr);
        // The changed element is compared one level down, so it stays in tree 2.
        QVERIFY(second->children()->at(1));
        QVERIFY(result.children()->at(3) != second->children()->at(1));
    }

    void deepChainChangedAtTheBottom()
    {
        configure({});
        const int depth = 200000;
        const std::unique_ptr<Zovnode> first = chain(depth, QStringLiteral("old"));
        const std::unique_ptr<Zovnode> second = chain(depth, QStringLiteral("new"));
        Zovelementnode result(QStringLiteral("c"));
        Worklist work;
        compareTrees(work, true, first.get(), second.get(), &result);
        QVERIFY(work.entries.isEmpty());
        // Every level holds one content-change mark and one copy; the bottom holds the text.
        const Zovnode* node = &result;
        int levels = 0;
        while (node->hasChildren() && node->children()->size() == 2
            && node->children()->at(1)->kind() == Element) {
            QCOMPARE(node->children()->at(0)->value(), QStringLiteral("content change"));
            node = node->children()->at(1);
            ++levels;
        }
        QCOMPARE(levels, depth - 1);
        QCOMPARE(dumpChildren(node), QStringLiteral("[content change] 'new'"));
        const Zovnode* deepest = first.get();
        while (deepest->children()->at(0)->kind() == Element)
            deepest = deepest->children()->at(0);
        QCOMPARE(node->partner(), deepest);
    }

    void longListWithOneRecordInsertedAtTheFront()
    {
        configure({});
        const int count = 100000;
        const std::unique_ptr<Zovnode> first = std::make_unique<Zovelementnode>("r");
        const std::unique_ptr<Zovnode> second = std::make_unique<Zovelementnode>("r");
        second->appendChild(new Zovelementnode(QStringLiteral("new")));
        for (int k = 0; k < count; ++k) {
            for (Zovnode* list : { first.get(), second.get() }) {
                const QString strings[2] = { QStringLiteral("id"), QString::number(k) };
                list->appendChild(new Zovattrelementnode(QStringLiteral("rec"), 2, strings));
            }
        }
        Zovelementnode result(QStringLiteral("r"));
        Worklist work;
        compareTrees(work, false, first.get(), second.get(), &result);
        const QVector<Zovnode*>& marks = *result.children();
        QCOMPARE(marks.size(), 2 * (count + 1));
        QCOMPARE(marks[0]->value(), QStringLiteral("element added"));
        for (int k = 1; k <= count; ++k)
            QCOMPARE(marks[2 * k]->value(), QStringLiteral("position change 1"));
    }
};

QTEST_GUILESS_MAIN(TestComparedriver)
#include "tst_comparedriver.moc"
