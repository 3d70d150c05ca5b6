#include "config/cfgstore.h"
#include "output/textdiff.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

void setMarkers(
    const QString& insStart, const QString& insEnd, const QString& delStart, const QString& delEnd)
{
    Cfgstore& store = Cfgstore::instance();
    store.setParameter(QStringLiteral("txtinsstart"), insStart);
    store.setParameter(QStringLiteral("txtinsend"), insEnd);
    store.setParameter(QStringLiteral("txtdelstart"), delStart);
    store.setParameter(QStringLiteral("txtdelend"), delEnd);
}

// Splits a merged text written with the one-character markers { } (insertion) and [ ]
// (deletion) back into the old and the new text.
bool unmerge(const QString& merged, QString* oldText, QString* newText)
{
    QChar open;
    for (const QChar c : merged) {
        if (c == u'{' || c == u'[') {
            if (!open.isNull())
                return false;
            open = c;
        } else if (c == u'}' || c == u']') {
            if (open != (c == u'}' ? u'{' : u'['))
                return false;
            open = QChar();
        } else {
            if (open != u'{')
                *oldText += c;
            if (open != u'[')
                *newText += c;
        }
    }
    return open.isNull();
}

QString randomText(QRandomGenerator& random, int length)
{
    QString text;
    for (int i = 0; i < length; ++i)
        text += QChar(u'a' + char16_t(random.bounded(3)));
    return text;
}

} // namespace

class TestTextdiff : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        Cfgstore::instance().clear();
        setMarkers(QStringLiteral("[+]"), QStringLiteral("[/+]"), QStringLiteral("[-]"),
            QStringLiteral("[/-]"));
    }

    void merged_data()
    {
        QTest::addColumn<QString>("oldText");
        QTest::addColumn<QString>("newText");
        QTest::addColumn<bool>("caseSensitive");
        QTest::addColumn<QString>("minLength");
        QTest::addColumn<QString>("expected");

        const auto row = [](const char* name, const char* oldText, const char* newText,
                             bool caseSensitive, const char* minLength, const char* expected) {
            QTest::newRow(name) << QString(oldText) << QString(newText) << caseSensitive
                                << QString(minLength) << QString(expected);
        };
        row("equal texts", "same", "same", true, "1", "same");
        row("case only, insensitive", "ABC", "abc", false, "1", "abc");
        row("case only, sensitive", "ABC", "abc", true, "1", "[-]ABC[/-][+]abc[/+]");
        row("inserted character", "abc", "abXc", true, "1", "ab[+]X[/+]c");
        row("appended text", "abc", "abcde", true, "3", "abc[+]de[/+]");
        row("surrounding insertion", "abc", "xabcy", true, "3", "[+]x[/+]abc[+]y[/+]");
        row("surrounding deletion", "xabcy", "abc", true, "3", "[-]x[/-]abc[-]y[/-]");
        row("nothing in common", "abc", "xyz", true, "1", "[-]abc[/-][+]xyz[/+]");
        row("minimum longer than both", "abcd", "abXd", true, "10", "[-]abcd[/-][+]abXd[/+]");
        row("insensitive containment keeps old characters", "ABC", "abcd", false, "1",
            "ABC[+]d[/+]");
        row("insensitive deletion keeps new characters", "xABC", "abc", false, "1", "[-]x[/-]abc");
        row("empty old", "", "new", true, "1", "[+]new[/+]");
        row("empty new", "old", "", true, "1", "[-]old[/-]");
        row("insensitive split writes old case", "ABxCD", "abyCd", false, "1",
            "AB[-]x[/-][+]y[/+]CD");
        row("negative minimum counts as one", "abc", "abXc", true, "-4", "ab[+]X[/+]c");
        row("missing minimum counts as one", "abc", "abXc", true, "", "ab[+]X[/+]c");
        row("short piece below minimum", "hello world", "hello there", true, "3",
            "hello [-]world[/-][+]there[/+]");
        row("piece at minimum is kept", "one two three", "one xx three", true, "3",
            "one [-]two[/-][+]xx[/+] three");
    }

    void merged()
    {
        QFETCH(QString, oldText);
        QFETCH(QString, newText);
        QFETCH(bool, caseSensitive);
        QFETCH(QString, minLength);
        QFETCH(QString, expected);
        if (!minLength.isEmpty())
            Cfgstore::instance().setParameter(QStringLiteral("txt_minsubstr"), minLength);
        QCOMPARE(diffText(oldText, newText, caseSensitive), expected);
    }

    void containmentOnlyForContainedTexts()
    {
        QCOMPARE(containmentDiff(QStringLiteral("abc"), QStringLiteral("xyz"), true), QString());
        QCOMPARE(containmentDiff(QStringLiteral("ABC"), QStringLiteral("xabc"), true), QString());
        QCOMPARE(containmentDiff(QStringLiteral("ABC"), QStringLiteral("xabc"), false),
            QStringLiteral("[+]x[/+]ABC"));
    }

    void markersAreReadAtCallTime()
    {
        QCOMPARE(diffText(QStringLiteral("ab"), QStringLiteral("abc"), true),
            QStringLiteral("ab[+]c[/+]"));
        setMarkers(QStringLiteral("<ins>"), QStringLiteral("</ins>"), QString(), QString());
        QCOMPARE(diffText(QStringLiteral("ab"), QStringLiteral("abc"), true),
            QStringLiteral("ab<ins>c</ins>"));
        Cfgstore::instance().clear();
        QCOMPARE(
            diffText(QStringLiteral("abc"), QStringLiteral("xyz"), true), QStringLiteral("abcxyz"));
    }

    void substringDiffWithoutUsableMinimumStillEnds()
    {
        QCOMPARE(substringDiff(QStringLiteral("ab"), QStringLiteral("xy"), true, 0),
            QStringLiteral("[-]ab[/-][+]xy[/+]"));
        QCOMPARE(substringDiff(QString(), QString(), true, 1), QString());
    }

    // Large differing texts (embedded data) must not keep the quadratic search busy for hours:
    // beyond its budget the rest is shown as deleted and inserted as a whole.
    void hugeTextsAreDiffedWithinTheBudget_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("split");
        QTest::newRow("below the budget: split at the common piece") << 4000 << true;
        QTest::newRow("above the budget: whole texts") << 400000 << false;
    }

    void hugeTextsAreDiffedWithinTheBudget()
    {
        QFETCH(int, size);
        QFETCH(bool, split);
        const QString common(size, QLatin1Char('c'));
        const QString oldText = QStringLiteral("1") + common;
        const QString newText = common + QStringLiteral("2");
        const QString merged = diffText(oldText, newText, true);
        const QString whole = QStringLiteral("[-]") + oldText + QStringLiteral("[/-][+]") + newText
            + QStringLiteral("[/+]");
        const QString splitAt = QStringLiteral("[-]1[/-]") + common + QStringLiteral("[+]2[/+]");
        QCOMPARE(merged == splitAt, split);
        QCOMPARE(merged == whole, !split);
    }

    void longestCommonSubstring_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("caseSensitive");
        QTest::addColumn<QString>("expected");

        const auto row = [](const char* name, const char* a, const char* b, bool caseSensitive,
                             const char* expected) {
            QTest::newRow(name) << QString(a) << QString(b) << caseSensitive << QString(expected);
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
        row("pieces crossing the first split are not counted", "11111-common-22222",
            "22222+common+11111", 6);
        row("pieces on both sides of the split", "11111-common-22222", "11111+common+22222", 16);
    }

    void similarity()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, expected);
        Cfgstore::instance().setParameter(QStringLiteral("txt_minsubstr"), QStringLiteral("1"));
        QCOMPARE(similarityScore(a, b), expected);
    }

    void mergedTextRestoresBothTexts_data()
    {
        QTest::addColumn<int>("minLength");
        QTest::addColumn<bool>("caseSensitive");

        QTest::newRow("minimum 1") << 1 << true;
        QTest::newRow("minimum 3") << 3 << true;
        QTest::newRow("minimum 1, case-insensitive") << 1 << false;
    }

    void mergedTextRestoresBothTexts()
    {
        QFETCH(int, minLength);
        QFETCH(bool, caseSensitive);
        setMarkers(
            QStringLiteral("{"), QStringLiteral("}"), QStringLiteral("["), QStringLiteral("]"));
        Cfgstore::instance().setParameter(
            QStringLiteral("txt_minsubstr"), QString::number(minLength));
        QRandomGenerator random(1234);
        for (int round = 0; round < 200; ++round) {
            const QString oldText = randomText(random, random.bounded(40));
            const QString newText = randomText(random, random.bounded(40));
            const QString merged = diffText(oldText, newText, caseSensitive);
            if (oldText == newText) {
                QCOMPARE(merged, newText);
                continue;
            }
            QString restoredOld;
            QString restoredNew;
            QVERIFY2(unmerge(merged, &restoredOld, &restoredNew), qPrintable(merged));
            QCOMPARE(restoredOld, oldText);
            QCOMPARE(restoredNew, newText);
        }
    }

    void manyShortCommonPieces()
    {
        setMarkers(
            QStringLiteral("{"), QStringLiteral("}"), QStringLiteral("["), QStringLiteral("]"));
        QString oldText;
        QString newText;
        for (int i = 0; i < 400; ++i) {
            oldText += QStringLiteral("xA");
            newText += QStringLiteral("yA");
        }
        const QString merged = substringDiff(oldText, newText, true, 1);
        QCOMPARE(merged.count(QStringLiteral("[x]{y}A")), 400);
        QCOMPARE(merged.size(), 400 * 7);
    }

    void caseMappingThatChangesLengthKeepsPositions()
    {
        // U+0130 lower-cases to two code units under a full mapping.
        const QString oldText = QStringLiteral("\u0130stanbul");
        const QString newText = QStringLiteral("i\u0307stanbul!");
        const QString merged = diffText(oldText, newText, false);
        QVERIFY(merged.endsWith(QStringLiteral("stanbul[+]![/+]")));
        QCOMPARE(::longestCommonSubstring(oldText, QStringLiteral("STANBUL"), false),
            QStringLiteral("stanbul"));
    }
};

QTEST_GUILESS_MAIN(TestTextdiff)
#include "tst_textdiff.moc"
