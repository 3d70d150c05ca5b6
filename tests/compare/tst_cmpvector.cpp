#include "compare/changekind.h"
#include "compare/cmpvector.h"
#include "compare/fingerprint.h"
#include "config/anchor.h"
#include "config/cfgstore.h"
#include "output/textdiff.h"
#include "testsupport.h"

#include <QtTest>

namespace {

struct Level {
    std::unique_ptr<Zovnode> first;
    std::unique_ptr<Zovnode> second;
    std::unique_ptr<Cmpvector> vector;
};

Level makeLevel(const QString& first, const QString& second, bool hashMode)
{
    Level level { buildTree(first), buildTree(second), nullptr };
    if (!level.first || !level.second)
        return level;
    const Keyflags flags = Keyflags::fromConfig();
    storeFingerprints(level.first.get(), flags);
    storeFingerprints(level.second.get(), flags);
    if (hashMode)
        level.vector = std::make_unique<Cmpvector_hash>(level.first.get(), level.second.get());
    else
        level.vector = std::make_unique<Cmpvector_str>(level.first.get(), level.second.get());
    return level;
}

QString joined(const QVector<int>& values)
{
    QStringList parts;
    for (const int value : values)
        parts << QString::number(value);
    return parts.join(QLatin1Char(' '));
}

// "state1 | state2 | partner2"
QString codes(const Cmpvector& vector)
{
    return joined(vector.state1) + QStringLiteral(" | ") + joined(vector.state2)
        + QStringLiteral(" | ") + joined(vector.partner2);
}

void addBothModes(const char* name, const QString& first, const QString& second,
    const QStringList& settings, const QString& expected)
{
    QTest::addRow("%s, string mode", name) << first << second << settings << false << expected;
    QTest::addRow("%s, hash mode", name) << first << second << settings << true << expected;
}

void addColumns()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<bool>("hashMode");
    QTest::addColumn<QString>("expected");
}

} // namespace

class TestCmpvector : public QObject {
    Q_OBJECT

private:
    // Runs the whole pass sequence on the row's two trees and compares the codes.
    void checkPasses()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QStringList, settings);
        QFETCH(bool, hashMode);
        QFETCH(QString, expected);
        configure(settings);
        const Level level = makeLevel(first, second, hashMode);
        QVERIFY(level.vector);
        level.vector->runPasses();
        QCOMPARE(codes(*level.vector), expected);
    }

private Q_SLOTS:
    void cleanup() { Cfgstore::instance().useBuiltins(); }

    void equalSubtrees_data()
    {
        addColumns();
        addBothModes(
            "identical lists", "r(a b('t') !'c')", "r(a b('t') !'c')", {}, "1 1 1 | 1 1 1 | 0 0 0");
        addBothModes("swapped pair", "r(a('1') b('2'))", "r(b('2') a('1'))", {}, "2 2 | 2 2 | 1 0");
        addBothModes(
            "nearest candidate wins", "r(x('k'))", "r(y x('k') x('k'))", {}, "2 | 0 2 0 | 0 0 0");
        addBothModes("greedy in side-1 order", "r(x('k') b x('k'))", "r(c d e x('k'))", {},
            "2 0 0 | 0 0 0 2 | 0 0 0 0");
        addBothModes("equal distance goes to the lower index", "r(p x('k') q)",
            "r(x('k') s x('k'))", {}, "0 2 0 | 2 0 0 | 1 0 0");
        addBothModes("ignored attribute values", "r(a{x=1})", "r(a{x=2})",
            { "ignore_attributes=true" }, "1 | 1 | 0");
        addBothModes("attribute order ignored", "r(a{x=1,y=2})", "r(a{y=2,x=1})", {}, "1 | 1 | 0");
        addBothModes("attribute order counted", "r(a{x=1,y=2})", "r(a{y=2,x=1})",
            { "ignore_attribute_order=false" }, "0 | 0 | 0");
        addBothModes("no children on side 1", "r", "r(a b c)", {}, " | 0 0 0 | 0 0 0");
        addBothModes(
            "empty element against an empty comment child", "r(x)", "r(x(!''))", {}, "0 | 0 | 0");
        addBothModes("text split differently", "r(a('bc'))", "r(a('b' 'c'))", {}, "0 | 0 | 0");
        addBothModes(
            "attribute name and value boundary", "r(x{a=bc})", "r(x{ab=c})", {}, "0 | 0 | 0");
        addBothModes("spaces normalized", "r('a  b')", "r(' a b ')", {}, "1 | 1 | 0");
        addBothModes(
            "spaces kept", "r('a  b')", "r(' a b ')", { "normalize_spaces=false" }, "0 | 0 | 0");
        addBothModes("processing instruction target counts", "r(?t'd' ?t'd')", "r(?u'd' ?t'd')", {},
            "0 1 | 0 1 | 0 0");
    }

    void equalSubtrees()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QStringList, settings);
        QFETCH(bool, hashMode);
        QFETCH(QString, expected);
        configure(settings);
        const Level level = makeLevel(first, second, hashMode);
        QVERIFY(level.vector);
        level.vector->matchEqualInPlace();
        level.vector->matchEqualMoved();
        QCOMPARE(codes(*level.vector), expected);
    }

    void forcedCollision_data()
    {
        QTest::addColumn<bool>("hashMode");
        QTest::addColumn<QString>("expected");
        QTest::newRow("hash mode trusts the fingerprint") << true << "1 | 1 | 0";
        QTest::newRow("string mode confirms it") << false << "0 | 0 | 0";
    }

    void forcedCollision()
    {
        QFETCH(bool, hashMode);
        QFETCH(QString, expected);
        configure({});
        const Level level = makeLevel("r(a(b('1')))", "r(a(b('2')))", hashMode);
        QVERIFY(level.vector);
        for (const auto* root : { level.first.get(), level.second.get() }) {
            for (const Zovnode* node : preorder(root))
                const_cast<Zovnode*>(node)->setFingerprint(7);
        }
        level.vector->matchEqualInPlace();
        level.vector->matchEqualMoved();
        QCOMPARE(codes(*level.vector), expected);
    }

    void anchors_data()
    {
        addColumns();
        addBothModes("absolute key attribute pairs far apart",
            "r(item{id=1}('a') item{id=2}('b') item{id=3}('c'))",
            "r(item{id=3}('c2') item{id=9}('x') item{id=1}('a2'))", { "anchor=item|@id|yes|no" },
            "6 10 6 | 6 9 6 | 2 0 0");
        addBothModes("same ids without absolute still pair by key",
            "r(item{id=1}('a') item{id=2}('b'))", "r(item{id=2}('b2') item{id=1}('a2'))",
            { "anchor=item|@id|no|no" }, "6 6 | 6 6 | 1 0");
        addBothModes("item without the key attribute waits", "r(item('a'))", "r(item('b'))",
            { "anchor=item|@id|yes|no" }, "3 | 3 | 0");
        addBothModes("absolute, attribute missing, no keyed candidate", "r(item('a'))",
            "r(item(k))", { "anchor=item|k/@id|yes|no" }, "10 | 9 | 0");
        addBothModes("absolute, attribute missing beside a keyed candidate", "r(item(k 'a'))",
            "r(item(k))", { "anchor=item|k/@id|yes|no" }, "3 | 3 | 0");
        addBothModes("absolute, no key node on either side", "r(item('a'))", "r(item('b'))",
            { "anchor=item|k|yes|no" }, "3 | 3 | 0");
        addBothModes("absolute content key without an equal is final", "r(item(k('1') 'a'))",
            "r(item(k('2') 'a'))", { "anchor=item|k|yes|no" }, "10 | 9 | 0");
        addBothModes("plain content key without an equal is left open", "r(item(k('1') 'a'))",
            "r(item(k('2') 'a'))", { "anchor=item|k|no|no" }, "3 | 3 | 0");
        addBothModes("first equal candidate in index order", "r(item{id=1}('a') item{id=1}('b'))",
            "r(x item{id=1}('c'))", { "anchor=item|@id|no|no" }, "6 10 | 9 6 | 0 0");
        addBothModes("content key with normalized spaces", "r(item(k('a  b') 'x'))",
            "r(z item(k(' a b ') 'y'))", { "anchor=item|k|no|yes", "enable_shiftmode=false" },
            "6 | 9 6 | 0 0");
        addBothModes("content key with spaces kept", "r(item(k('a  b') 'x'))",
            "r(z item(k(' a b ') 'y'))", { "anchor=item|k|no|no", "enable_shiftmode=false" },
            "10 | 9 9 | 0 0");
        addBothModes("leading slash never finds a key", "r(item(k('1')))", "r(item(k('2')))",
            { "anchor=item|/k|yes|no" }, "3 | 3 | 0");
        addBothModes("content key compares the key subtree with its attributes",
            "r(item(k{v=1}('1') 'a'))", "r(item(k{v=2}('1') 'b'))", { "anchor=item|k|yes|no" },
            "10 | 9 | 0");
    }

    void anchors() { checkPasses(); }

    void contentMode_data()
    {
        addColumns();
        const QStringList content { "enable_contentmode=true", "enable_shiftmode=false" };
        addBothModes("lone pair left to later passes", "r(p item('alpha beta gamma'))",
            "r(item('alpha beta delta') q)", content, "10 10 | 9 9 | 0 0");
        addBothModes("equal scores favour the later child", "r(item('alpha beta gamma'))",
            "r(item('alpha beta gamma 1') item('alpha beta gamma 2'))", content, "6 | 9 6 | 0 0");
        addBothModes("higher score first", "r(item('alpha beta gamma'))",
            "r(item('alpha beta gamma delta') item('zzzzzz alpha zzzzzz'))", content,
            "3 | 3 9 | 0 0");
        addBothModes("zero scores record nothing", "r(i('aaaa') x)", "r(y i(!'bbbb') i(!'cccc'))",
            content, "10 10 | 9 9 9 | 0 0 0");
        addBothModes("excluded names skipped", "r(item('alpha beta gamma'))",
            "r(item('alpha beta gamma 1') item('alpha beta gamma 2'))",
            content + QStringList { "excluded=item" }, "3 | 3 9 | 0 0");
        addBothModes("character data never scored", "r('alpha beta gamma' x)",
            "r(y 'alpha beta gamma 1' 'alpha beta gamma 2')", content, "10 10 | 9 9 9 | 0 0 0");
    }

    void contentMode() { checkPasses(); }

    void nameAndShift_data()
    {
        addColumns();
        addBothModes("swapped changed pair without modes", "r(a('1') b('2'))", "r(b('3') a('4'))",
            { "enable_shiftmode=false" }, "10 10 | 9 9 | 0 0");
        addBothModes("swapped changed pair with shift mode", "r(a('1') b('2'))", "r(b('3') a('4'))",
            {}, "6 6 | 6 6 | 1 0");
        addBothModes("equal distance goes to the lower side-1 index", "r(x('1') p x('2'))",
            "r(q x('3'))", {}, "6 10 10 | 9 6 | 0 0");
        addBothModes("second sweep takes the next nearest", "r(x('1') c c c x('2'))",
            "r(d x('3') x('4'))", {}, "6 10 10 10 6 | 9 6 6 | 0 0 4");
        addBothModes("equal distance records favour the later child", "r(q a('1'))",
            "r(a('2') s a('3'))", {}, "10 6 | 9 9 6 | 0 0 1");
        addBothModes("character data shifts too", "r('a' q)", "r(z 'b')", {}, "6 10 | 9 6 | 0 0");
        addBothModes("text in place", "r('a')", "r('b')", {}, "3 | 3 | 0");
    }

    void nameAndShift() { checkPasses(); }

    void attributes_data()
    {
        addColumns();
        addBothModes("reordered attributes, content differs", "r(a{x=1,y=2}('t'))",
            "r(a{y=2,x=1}('u'))", {}, "3 | 3 | 0");
        addBothModes("reordered attributes counted", "r(a{x=1,y=2}('t'))", "r(a{y=2,x=1}('u'))",
            { "ignore_attribute_order=false" }, "5 | 5 | 0");
        addBothModes("only the order differs and counts", "r(a{x=1,y=2})", "r(a{y=2,x=1})",
            { "ignore_attribute_order=false" }, "4 | 4 | 0");
        addBothModes(
            "values swapped between names", "r(a{x=1,y=2})", "r(a{x=2,y=1})", {}, "4 | 4 | 0");
        addBothModes("name and value boundary", "r(a{x=bc})", "r(a{xb=c})", {}, "4 | 4 | 0");
        addBothModes("deeper attributes are not examined", "r(a{x=1}(b{y=1}))", "r(a{x=2}(b{y=2}))",
            {}, "4 | 4 | 0");
        addBothModes(
            "attributes and content differ", "r(a{x=1}('t'))", "r(a{x=2}('u'))", {}, "5 | 5 | 0");
        addBothModes(
            "moved, attributes differ", "r(q a{x=1})", "r(a{x=2} s)", {}, "10 7 | 7 9 | 1 0");
        addBothModes("moved, attributes and content differ", "r(q a{x=1}('t'))", "r(a{x=2}('u') s)",
            {}, "10 8 | 8 9 | 1 0");
        addBothModes("attributes gained", "r(a('t'))", "r(a{x=1}('t'))", {}, "4 | 4 | 0");
        addBothModes("content compared with spaces normalized", "r(a{x=1}('t  u'))",
            "r(a{x=2}(' t u'))", {}, "4 | 4 | 0");
        addBothModes("content compared with spaces kept", "r(a{x=1}('t  u'))", "r(a{x=2}(' t u'))",
            { "normalize_spaces=false" }, "5 | 5 | 0");
    }

    void attributes() { checkPasses(); }

    void attributeMarks_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("expectedNode");
        QTest::addColumn<QStringList>("expectedMarked");
        QTest::newRow("marks written into the new element")
            << "r(a{x=1,y=2,z=3})"
            << "r(a{y=2,x=5,w=4})"
            << "a{y_cm=2,x_chg=DIFF,w_add=4,z_del=3}" << QStringList();
        QTest::newRow("element without attributes keeps the marks aside")
            << "r(a{x=1}('t'))"
            << "r(a('u'))"
            << "a('u')" << QStringList { "x_del", "1" };
    }

    void attributeMarks()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, expectedNode);
        QFETCH(QStringList, expectedMarked);
        configure({ "cmp_attr_contents=true" });
        const Level level = makeLevel(first, second, false);
        QVERIFY(level.vector);
        level.vector->runPasses();
        expectedNode.replace(QStringLiteral("DIFF"), diffText("1", "5", true));
        QCOMPARE(dumpNode(level.vector->child2(0)), expectedNode);
        const QStringList* const marked = level.vector->markedAttributes(0);
        QCOMPARE(marked ? *marked : QStringList(), expectedMarked);
    }

    void diffAttributeLists_data()
    {
        QTest::addColumn<QStringList>("oldList");
        QTest::addColumn<QStringList>("newList");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("unchanged, changed, added, deleted")
            << QStringList { "a", "1", "b", "2", "d", "4" }
            << QStringList { "a", "1", "b", "3", "c", "5" }
            << QStringList { "a_cm", "1", "b_chg", diffText("2", "3", true), "c_add", "5", "d_del",
                   "4" };
        QTest::newRow("new name first seen as an old value counts as added")
            << QStringList { "x", "b", "b", "1" } << QStringList { "b", "1" }
            << QStringList { "b_add", "1", "x_del", "b" };
        QTest::newRow("old name first seen as a new value counts as deleted")
            << QStringList { "b", "1" } << QStringList { "x", "b", "b", "1" }
            << QStringList { "x_add", "b", "b_cm", "1", "b_del", "1" };
        QTest::newRow("nothing old")
            << QStringList() << QStringList { "a", "1" } << QStringList { "a_add", "1" };
        QTest::newRow("nothing new")
            << QStringList { "a", "1" } << QStringList() << QStringList { "a_del", "1" };
    }

    void diffAttributeLists()
    {
        QFETCH(QStringList, oldList);
        QFETCH(QStringList, newList);
        QFETCH(QStringList, expected);
        configure({});
        QCOMPARE(diffAttributes(oldList, newList), expected);
    }

    void textDiffs_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("caseSensitive");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("oldText");
        const auto row = [](const char* name, const char* first, const char* second,
                             bool caseSensitive, const QString& oldText) {
            QTest::newRow(name) << QString(first) << QString(second) << caseSensitive << 0
                                << oldText;
        };
        row("case ignored keeps the new text", "r('Hello')", "r('hello')", false, "Hello");
        row("case counted", "r('Hello')", "r('hello')", true, "Hello");
        row("moved text diffed against its partner", "r(x 'alpha')", "r('alphabet' y)", false,
            "alpha");
        row("comments are not diffed", "r(!'Hello')", "r(!'hello')", true, QString());
        row("text paired with a processing instruction is not diffed", "r(?t'#text')", "r('x')",
            true, QString());
    }

    void textDiffs()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, caseSensitive);
        QFETCH(int, index);
        QFETCH(QString, oldText);
        configure({ "do_txtdiff=true",
            caseSensitive ? "txtdiff_casesensitive=true" : "txtdiff_casesensitive=false" });
        const Level level = makeLevel(first, second, false);
        QVERIFY(level.vector);
        const QString newText = level.vector->child2(index)->text();
        level.vector->runPasses();
        const QString expected
            = oldText.isNull() ? newText : diffText(oldText, newText, caseSensitive);
        QCOMPARE(level.vector->child2(index)->text(), expected);
    }

    void markTexts_data()
    {
        QTest::addColumn<bool>("builtins");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("shift");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, bool builtins, int kind, int shift, const char* node,
                             const char* expected) {
            QTest::newRow(name) << builtins << kind << shift << QString(node) << QString(expected);
        };
        row("complete match", true, 1, 5, "x", "complete match");
        row("moved forward", true, 2, 2, "", "position change 2");
        row("moved back", true, 2, -1, "", "position change -1");
        row("moved and changed", true, 6, -2, "", "position and content change -2");
        row("moved, all", true, 8, 1, "", "position and content and attribute change 1");
        row("attributes", true, 4, 1, "", "attribute change");
        row("added", true, 9, 4, "a", "element added");
        row("deleted comment", true, 10, 0, "#comment", "element deleted #comment");
        row("open", true, 0, 0, "", "");
        row("pending", true, 99, 0, "", "");
        row("unconfigured position kind", false, 2, 3, "", " 3");
        row("unconfigured deleted", false, 10, 0, "a", " a");
        row("unconfigured plain kind", false, 3, 0, "", "");
    }

    void markTexts()
    {
        QFETCH(bool, builtins);
        QFETCH(int, kind);
        QFETCH(int, shift);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        if (builtins)
            Cfgstore::instance().useBuiltins();
        else
            Cfgstore::instance().clear();
        QCOMPARE(markText(kind, shift, name), expected);
    }
};

QTEST_GUILESS_MAIN(TestCmpvector)
#include "tst_cmpvector.moc"
