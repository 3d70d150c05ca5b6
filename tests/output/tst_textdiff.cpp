#include "config/cfgstore.h"
#include "output/textdiff.h"

#include <QtTest>

namespace {

void set(const char* key, const QString& value)
{
    Cfgstore::instance().setParameter(QLatin1String(key), value);
}

void setMarkers(const char* insStart, const char* insEnd, const char* delStart, const char* delEnd)
{
    set("txtinsstart", QLatin1String(insStart));
    set("txtinsend", QLatin1String(insEnd));
    set("txtdelstart", QLatin1String(delStart));
    set("txtdelend", QLatin1String(delEnd));
}

} // namespace

class TestTextdiff : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        Cfgstore::instance().clear();
        setMarkers("[+]", "[/+]", "[-]", "[/-]");
    }

    void merged_data()
    {
        QTest::addColumn<QString>("oldText");
        QTest::addColumn<QString>("newText");
        QTest::addColumn<bool>("caseSensitive");
        QTest::addColumn<int>("minLength");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const char* oldText, const char* newText, bool cs,
                             int minLength, const char* expected) {
            QTest::newRow(name) << QString(oldText) << QString(newText) << cs << minLength
                                << QString(expected);
        };
        row("equal texts", "same", "same", true, 1, "same");
        row("case only, insensitive", "ABC", "abc", false, 1, "abc");
        row("case only, sensitive", "ABC", "abc", true, 1, "[-]ABC[/-][+]abc[/+]");
        row("inserted character", "abc", "abXc", true, 1, "ab[+]X[/+]c");
        row("appended text", "abc", "abcde", true, 3, "abc[+]de[/+]");
        row("surrounding insertion", "abc", "xabcy", true, 3, "[+]x[/+]abc[+]y[/+]");
        row("surrounding deletion", "xabcy", "abc", true, 3, "[-]x[/-]abc[-]y[/-]");
        row("nothing in common", "abc", "xyz", true, 1, "[-]abc[/-][+]xyz[/+]");
        row("minimum longer than both", "abcd", "abXd", true, 10, "[-]abcd[/-][+]abXd[/+]");
        row("insensitive containment keeps old characters", "ABC", "abcd", false, 1, "ABC[+]d[/+]");
        row("insensitive deletion keeps new characters", "xABC", "abc", false, 1, "[-]x[/-]abc");
        row("empty old", "", "new", true, 1, "[+]new[/+]");
        row("empty new", "old", "", true, 1, "[-]old[/-]");
        row("insensitive split writes old case", "ABxCD", "abyCd", false, 1,
            "AB[-]x[/-][+]y[/+]CD");
        row("negative minimum counts as one", "abc", "abXc", true, -4, "ab[+]X[/+]c");
        row("short piece below minimum", "hello world", "hello there", true, 3,
            "hello [-]world[/-][+]there[/+]");
        row("piece at minimum is kept", "one two three", "one xx three", true, 3,
            "one [-]two[/-][+]xx[/+] three");
        // U+0130 lower-cases to two code units under a full mapping; positions must not shift.
        row("case mapping that changes the length", "\u0130stanbul", "i\u0307stanbul!", false, 1,
            "[-]\u0130[/-][+]i\u0307[/+]stanbul[+]![/+]");
    }

    void merged()
    {
        QFETCH(QString, oldText);
        QFETCH(QString, newText);
        QFETCH(bool, caseSensitive);
        QFETCH(int, minLength);
        QFETCH(QString, expected);
        set("txt_minsubstr", QString::number(minLength));
        QCOMPARE(diffText(oldText, newText, caseSensitive), expected);
    }

    // Beyond the cell budget of the quadratic search the texts are shown whole.
    void cellBudget_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("split");
        QTest::newRow("below the budget: split at the common piece") << 4000 << true;
        QTest::newRow("above the budget: whole texts") << 400000 << false;
    }

    void cellBudget()
    {
        QFETCH(int, size);
        QFETCH(bool, split);
        const QString common(size, QLatin1Char('c'));
        const QString merged = diffText(QLatin1Char('1') + common, common + QLatin1Char('2'), true);
        const QString expected = split
            ? QStringLiteral("[-]1[/-]") + common + QStringLiteral("[+]2[/+]")
            : QStringLiteral("[-]1") + common + QStringLiteral("[/-][+]") + common
                + QStringLiteral("2[/+]");
        QVERIFY(merged == expected);
    }

    void longestCommonSubstring_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("caseSensitive");
        QTest::addColumn<QString>("expected");
        const auto row
            = [](const char* name, const char* a, const char* b, bool cs, const char* expected) {
                  QTest::newRow(name) << QString(a) << QString(b) << cs << QString(expected);
              };
        row("empty a", "", "abc", true, "");
        row("nothing in common", "abc", "xyz", true, "");
        row("first row: last match in a wins", "Axa", "a", false, "a");
        row("later row: first column only while nothing found", "aB", "ba", false, "B");
        row("later row: first column when nothing found yet", "Ab", "xa", false, "A");
        row("equal lengths: first reached scanning b wins", "xyab", "abxy", true, "ab");
        row("equal lengths in one row: first in a wins", "abXAB", "ab", false, "ab");
        row("taken from a", "HeLLo", "xhellox", false, "HeLLo");
        row("case matters when sensitive", "HeLLo", "xhellox", true, "e");
    }

    void longestCommonSubstring()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, caseSensitive);
        QFETCH(QString, expected);
        QCOMPARE(::longestCommonSubstring(a, b, caseSensitive), expected);
    }

    void similarity_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("expected");
        const auto row = [](const char* name, const char* a, const char* b, int expected) {
            QTest::newRow(name) << QString(a) << QString(b) << expected;
        };
        row("only four-character pieces", "abcdXefgh", "abcdYefgh", 0);
        row("exactly five", "abcde", "xabcdey", 5);
        row("two pieces", "hello world", "hello there world", 11);
        row("short remainder not counted", "abcdefXgh", "abcdefYgh", 6);
        row("always case-sensitive", "ABCDEF", "abcdef", 0);
        row("empty", "", "abcdef", 0);
        row("pieces crossing the first split", "11111-common-22222", "22222+common+11111", 6);
        row("pieces on both sides of the split", "11111-common-22222", "11111+common+22222", 16);
    }

    void similarity()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, expected);
        QCOMPARE(similarityScore(a, b), expected);
    }
};

QTEST_GUILESS_MAIN(TestTextdiff)
#include "tst_textdiff.moc"
