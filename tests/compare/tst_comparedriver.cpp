#include "../testfiles.h"
#include "compare/changekind.h"
#include "compare/comparedriver.h"
#include "testsupport.h"

#include <QDir>
#include <QProcess>
#include <QSet>
#include <QtTest>

namespace {

bool isMark(const Zovnode* node)
{
    return node->kind() == Pi && node->text() == QLatin1String("ZOV");
}

// The first node below element whose partner is wrong for the view, empty when there is none.
// A matched node points to a tree-1 node of its name, which points back; an added or deleted
// copy, everything inside it, and every node of a headless run point nowhere.
QString wrongPartner(const Zovnode* element, bool matched, bool linked,
    const QSet<const Zovnode*>& tree1, const QSet<const Zovnode*>& tree2)
{
    const Childspan children = element->children();
    if (!children)
        return QString();
    const bool marked = !children->isEmpty() && isMark(children->first());
    const QString added = markText(element_added, 0, QString());
    QString mark;
    for (const Zovnode* child : *children) {
        if (marked && isMark(child)) {
            mark = child->value();
            continue;
        }
        const bool childMatched = marked
            ? mark != added && mark != markText(element_deleted, 0, child->name())
            : matched;
        const Zovnode* const partner = child->partner();
        const bool right = linked && childMatched
            ? partner && tree1.contains(partner) && partner->name() == child->name()
                && tree2.contains(partner->partner()) && partner->partner()->partner() == partner
            : !partner;
        if (!right)
            return child->name();
        const QString below = wrongPartner(child, childMatched, linked, tree1, tree2);
        if (!below.isEmpty())
            return below;
    }
    return QString();
}

QSet<const Zovnode*> nodesOf(Zovnode* root)
{
    const QVector<Zovnode*> nodes = preorder(root);
    return QSet<const Zovnode*>(nodes.cbegin(), nodes.cend());
}

// A chain of c elements, depth deep, ending in a text.
Zovnodeptr chain(int depth, const QString& bottom)
{
    Zovnodeptr root(new Zovelementnode(QStringLiteral("c")));
    Zovnode* node = root.get();
    for (int level = 1; level < depth; ++level)
        node = node->appendChild(new Zovelementnode(QStringLiteral("c")));
    node->appendChild(new Zovtextnode(bottom, Text));
    return root;
}

} // namespace

// The case folders run headless and hand tree 2 over to the result; these runs keep tree 2 and
// copy from it, with and without the partner links of the view.
class TestComparedriver : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { Cfgstore::instance().useBuiltins(); }

    void copiedRuns_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("guiRun");
        const QDir cases(QStringLiteral(ZOV_CASES));
        for (const QString& name : cases.entryList({ "compare-*" }, QDir::Dirs, QDir::Name)) {
            QTest::addRow("%s, view", qPrintable(name)) << cases.filePath(name) << true;
            QTest::addRow("%s, headless", qPrintable(name)) << cases.filePath(name) << false;
        }
    }

    // The same result as the case folder's headless run, and partners exactly for the view.
    void copiedRuns()
    {
        QFETCH(QString, folder);
        QFETCH(bool, guiRun);
        const QDir dir(folder);
        const QStringList cmd
            = QProcess::splitCommand(QString::fromUtf8(readTextFile(dir.filePath("cmd"))));
        Cfgstore& store = Cfgstore::instance();
        if (cmd.contains("-cfg")) {
            store.setPath(dir.filePath(cmd.value(cmd.indexOf("-cfg") + 1)));
            QCOMPARE(store.readcfg(), 0);
        } else {
            configure(QString::fromUtf8(readTextFile(dir.filePath("settings")))
                          .split('\n', Qt::SkipEmptyParts));
        }
        const std::unique_ptr<Zovtree> tree1 = parseTree(readTextFile(dir.filePath("old.xml")));
        const std::unique_ptr<Zovtree> tree2 = parseTree(readTextFile(dir.filePath("new.xml")));
        QVERIFY(tree1 && tree2);
        Zovtree result;
        QCOMPARE(result.setRoot(tree2->root()), 0);
        Worklist work;
        compareTrees(work, guiRun, tree1->root(), tree2->root(), result.root());
        QVERIFY(work.entries.isEmpty());

        QCOMPARE(writtenTree(result), readTextFile(dir.filePath("expected/result.xml")));
        const QString wrong = wrongPartner(
            result.root(), true, guiRun, nodesOf(tree1->root()), nodesOf(tree2->root()));
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    }

    // A run that releases tree 2 afterwards moves every node of tree 2 into the result instead
    // of copying it, changed elements too, and equal marks share one node.
    void consumedRunMovesTreeTwo()
    {
        configure({});
        const std::unique_ptr<Zovtree> tree1 = parseTree("<r><a><x/></a><b>1</b><d/></r>");
        const std::unique_ptr<Zovtree> tree2 = parseTree("<r><a><x/></a><b>2</b><d/><n/></r>");
        QVERIFY(tree1 && tree2);
        const Childspan children = tree2->root()->children();
        const QVector<Zovnode*> before(children.cbegin(), children.cend());
        const Zovnode* const text = before[1]->children()->first();
        Zovtree result;
        QCOMPARE(result.setRoot(tree2->root()), 0);
        Worklist work;
        work.consumeSecondTree = true;
        work.arena = &result.arena();
        compareTrees(work, false, tree1->root(), tree2->root(), result.root());
        result.shareStorage(*tree2);
        // [complete match] a [content change] b [complete match] d [element added] n
        const Childspan placed = result.root()->children();
        QCOMPARE(placed.size(), 8);
        QCOMPARE(placed[1], before[0]);
        QCOMPARE(placed[3], before[1]);
        QCOMPARE(placed[5], before[2]);
        QCOMPARE(placed[7], before[3]);
        QCOMPARE(placed[0], placed[4]);
        QVERIFY(placed[0] != placed[2]);
        // b holds its own marks now: [content change] 2
        QCOMPARE(placed[3]->children().size(), 2);
        QCOMPARE(placed[3]->children()->at(1), text);
        QVERIFY(work.parked.empty());
        for (const Zovnode* left : children)
            QVERIFY(!left);
    }

    void consumedRunWritesWhatCopiesWrite_data()
    {
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("second");
        QTest::addColumn<QStringList>("settings");
        QTest::newRow("changes three levels down")
            << QByteArray("<r><p><q><s>1</s><t/></q></p><u/></r>")
            << QByteArray("<r><u/><p><q><t/><s>2</s></q></p></r>") << QStringList();
        // b cannot hold its marked attributes: a copy takes them, and b waits for its level.
        QTest::newRow("marked attributes below a moved element")
            << QByteArray("<r><p><b k=\"1\"><t>1</t></b></p></r>")
            << QByteArray("<r><p><b><t>2</t></b></p></r>")
            << QStringList { "cmp_attr_contents=true" };
        QTest::newRow("text differences in moved elements")
            << QByteArray("<r><p><q>one two three</q></p></r>")
            << QByteArray("<r><p><q>one 2 three</q></p></r>") << QStringList { "do_txtdiff=true" };
        QTest::newRow("added and deleted beside changed")
            << QByteArray("<r><p><a/><q>1</q></p><z/></r>")
            << QByteArray("<r><p><q>2</q><b/></p><y>new</y></r>")
            << QStringList { "add_del_nodes_2_res=true" };
    }

    void consumedRunWritesWhatCopiesWrite()
    {
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, second);
        QFETCH(QStringList, settings);
        configure(settings);
        const auto run = [&](bool consume) {
            const std::unique_ptr<Zovtree> tree1 = parseTree(first);
            std::unique_ptr<Zovtree> tree2 = parseTree(second);
            Zovtree result;
            result.setRoot(tree2->root());
            Worklist work;
            work.consumeSecondTree = consume;
            work.arena = &result.arena();
            compareTrees(work, false, tree1->root(), tree2->root(), result.root());
            result.shareStorage(*tree2);
            tree2.reset();
            return writtenTree(result);
        };
        const QByteArray copied = run(false);
        QVERIFY(copied.contains("<?ZOV"));
        QCOMPARE(run(true), copied);
    }

    // Hash mode takes a shared fingerprint for equal subtrees, whatever their shapes.
    void collisionLinksUpToTheShorterList_data()
    {
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("second");
        QTest::addColumn<QString>("linked");
        QTest::newRow("shorter old list") << QByteArray("<r><a><b/></a></r>")
                                          << QByteArray("<r><a><x><d/></x><c/></a></r>") << "a b";
        QTest::newRow("shorter new list") << QByteArray("<r><a><b><d/></b><c/></a></r>")
                                          << QByteArray("<r><a><x/></a></r>") << "a b";
    }

    void collisionLinksUpToTheShorterList()
    {
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, second);
        QFETCH(QString, linked);
        configure({ "use_hashmode=true" });
        std::unique_ptr<Zovtree> tree1;
        std::unique_ptr<Zovtree> tree2;
        QVERIFY(parseColliding(first, second, tree1, tree2));
        Zovelementnode result(QStringLiteral("r"));
        Worklist work;
        work.fingerprintsStored = true;
        compareTrees(work, true, tree1->root(), tree2->root(), &result);
        QStringList names;
        for (const Zovnode* node : preorder(&result)) {
            if (node->partner())
                names << node->partner()->name();
        }
        QCOMPARE(names.join(' '), linked);
    }

    // Levels, copies, links and fingerprints must not need a call frame per level.
    void deepChain_data()
    {
        QTest::addColumn<QString>("bottom");
        QTest::addColumn<int>("marks");
        QTest::newRow("equal chains: one mark, one deep copy") << "old" << 1;
        QTest::newRow("changed at the bottom: a mark on every level") << "new" << depth;
    }

    void deepChain()
    {
        QFETCH(QString, bottom);
        QFETCH(int, marks);
        configure({});
        const Zovnodeptr first = chain(depth, QStringLiteral("old"));
        const Zovnodeptr second = chain(depth, bottom);
        Zovelementnode result(QStringLiteral("c"));
        Worklist work;
        compareTrees(work, true, first.get(), second.get(), &result);
        const Zovnode* node = &result;
        int levels = 0;
        int seen = 0;
        while (node->hasChildren()) {
            for (const Zovnode* child : *node->children())
                seen += isMark(child) ? 1 : 0;
            node = node->children()->last();
            ++levels;
        }
        QCOMPARE(levels, depth);
        QCOMPARE(seen, marks);
        QCOMPARE(node->text(), bottom);
        const Zovnode* deepest = first.get();
        while (deepest->hasChildren())
            deepest = deepest->children()->first();
        QCOMPARE(node->partner(), deepest);
    }

private:
    static constexpr int depth = 200000;
};

QTEST_GUILESS_MAIN(TestComparedriver)
#include "tst_comparedriver.moc"
