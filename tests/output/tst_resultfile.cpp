#include "config/cfgstore.h"
#include "model/zovtree.h"
#include "output/markcount.h"
#include "output/prolog.h"
#include "output/textdiff.h"

#include <QBuffer>
#include <QStringEncoder>
#include <QTest>
#include <QXmlStreamWriter>

// What goes into the result file, where the unit shows it more directly than a whole run: text
// differences, awkwardly configured mark texts, reading the prolog and documents too deep for the
// call stack. The file's name, form and mark filter are pinned by the output-* case folders.
class Tst_resultfile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { Cfgstore::instance().useBuiltins(); }

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
        Cfgstore::instance().setParameter(
            QStringLiteral("txt_minsubstr"), QString::number(minLength));
        QCOMPARE(diffText(oldText, newText, caseSensitive), expected);
    }

    // Long texts are split finely; beyond the search budget they are shown whole.
    void searchBudget()
    {
        for (const int size : { 400000, 1100000 }) {
            const QString common(size, QLatin1Char('c'));
            const QString merged
                = diffText(QLatin1Char('1') + common, common + QLatin1Char('2'), true);
            QVERIFY(merged
                == (size < 1000000 ? "[-]1[/-]" + common + "[+]2[/+]"
                                   : "[-]1" + common + "[/-][+]" + common + "2[/+]"));
        }
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
    // key and text change one configured mark text first; an empty key keeps the built-ins.
    void kind_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("mark");
        QTest::addColumn<int>("kind");
        const auto row
            = [](const char* name, const char* key, const char* text, const char* mark, int kind) {
                  QTest::newRow(name) << QString(key) << QString(text) << QString(mark) << kind;
              };
        row("position kind without offset", "", "", "position change", 0);
        row("unknown", "", "", "hello", 0);
        row("empty exact text", "element_added", "", "", 9);
        row("longest prefix wins", "element_deleted", "position", "position change 1", 2);
        row("empty prefix text still classifies", "position_change", "", " 4", 2);
        row("exact beats prefix", "content_change", "position change 1", "position change 1", 3);
        row("prefix needs a blank", "position_change", "pc", "pcx 1", 0);
    }
    void kind()
    {
        QFETCH(QString, key);
        QFETCH(QString, text);
        QFETCH(QString, mark);
        QFETCH(int, kind);
        if (!key.isEmpty())
            Cfgstore::instance().setParameter(key, text);
        QCOMPARE(Markclassifier().kind(mark), kind);
    }

    // The prolog is read in chunks, and only as far as the document element.
    void prolog_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QString>("prolog");
        const QString comment
            = QStringLiteral("<!-- ") + QString(40000, QChar(0x00e9)) + QStringLiteral(" <x> -->");
        QTest::newRow("long prolog") << (comment + QStringLiteral("<r/>")).toUtf8() << comment;
        QTest::newRow("no document element") << QByteArray("<!-- only -->") << "<!-- only -->";
        QTest::newRow("long document")
            << "<?xml version=\"1.0\"?><r>" + QByteArray(1 << 20, 'x') + "</r>"
            << "<?xml version=\"1.0\"?>";
    }
    void prolog()
    {
        QFETCH(QByteArray, document);
        QFETCH(QString, prolog);
        QBuffer buffer(&document);
        buffer.open(QIODevice::ReadOnly);
        QCOMPARE(readPrologText(&buffer), prolog);
        QVERIFY(buffer.pos() < (1 << 20));
    }

    // The result is written as the toolkit's stream writer writes the same calls, encoded as
    // its UTF-8 encoder does, for texts of every width, and for long texts that go out in
    // several pieces.
    void writtenAsTheStreamWriterWrites_data()
    {
        QTest::addColumn<QString>("text");
        const QString wide = QStringLiteral("a\u00e9\u20ac\U0001F600&<");
        QTest::newRow("ASCII") << QStringLiteral("plain text");
        QTest::newRow("two and three bytes") << QStringLiteral("\u00e9 \u00df \u20ac \u4e2d");
        QTest::newRow("outside the basic plane") << QStringLiteral("a\U0001F600b");
        QTest::newRow("pair across a slice")
            << QString(4095, QLatin1Char('x')) + QStringLiteral("\U0001F600y");
        QTest::newRow("references across slices") << QStringLiteral("<&>\"").repeated(3000);
        QTest::newRow("several pieces") << wide.repeated(20000);
        QTest::newRow("lone surrogates")
            << QString(QChar(0xd800)) + QStringLiteral("a") + QChar(0xdc00);
        QTest::newRow("characters XML cannot hold") << QStringLiteral("a\x01b\ufffec\uffff");
    }
    void writtenAsTheStreamWriterWrites()
    {
        QFETCH(QString, text);
        Cfgstore::instance().setParameter(QStringLiteral("savemode"), QStringLiteral("0"));
        QXmlStreamAttributes attributes;
        attributes.append(QStringLiteral("a"), text);
        Zovtree tree;
        tree.setRoot(std::make_unique<Zovattrelementnode>(QStringLiteral("r"), attributes).get());
        tree.root()->appendChild(new Zovtextnode(text, Text));
        tree.root()->appendChild(new Zovtextnode(text, Comment));
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        tree.write(&buffer);

        // Into a string, then encoded: written to bytes, the toolkit's writer stops at a lone
        // surrogate.
        QString xml;
        QXmlStreamWriter writer(&xml);
        writer.writeStartElement(QStringLiteral("r"));
        writer.writeAttribute(QStringLiteral("a"), text);
        writer.writeCharacters(text);
        writer.writeComment(text);
        writer.writeEndElement();
        QStringEncoder utf8(QStringEncoder::Utf8);
        const QByteArray expected = utf8.encode(xml);
        QCOMPARE(buffer.data(), expected);
    }

    // A chain r(d(d(...))) a million deep; human-readable output stops indenting at depth 100
    // so that the file stays proportional to the document.
    void veryDeepDocument_data()
    {
        QTest::addColumn<QString>("savemode");
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<QByteArray>("end");
        QTest::addColumn<int>("lineFeeds");
        QTest::newRow("no whitespace")
            << "0" << QByteArray("<r><d><d>") << QByteArray("</d></d></r>") << 0;
        QTest::newRow("human readable") << "1" << QByteArray("<r>\n  <d>\n    <d>\n")
                                        << QByteArray("</d>\n  </d>\n</r>\n") << 100 + 99;
    }
    void veryDeepDocument()
    {
        QFETCH(QString, savemode);
        QFETCH(QByteArray, start);
        QFETCH(QByteArray, end);
        QFETCH(int, lineFeeds);
        Cfgstore::instance().setParameter(QStringLiteral("savemode"), savemode);
        const int depth = 1000000;
        Zovtree tree;
        tree.setRoot(std::make_unique<Zovelementnode>(QStringLiteral("r")).get());
        Zovnode* node = tree.root();
        for (int i = 0; i < depth; ++i)
            node = node->appendChild(new Zovelementnode(QStringLiteral("d")));
        node->appendChild(new Zovtextnode(QStringLiteral("end"), Text));
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        tree.write(&buffer);
        const QByteArray xml = buffer.data();
        QVERIFY(xml.startsWith(start));
        QVERIFY(xml.endsWith(end));
        QVERIFY(xml.contains("<d>end</d></d>"));
        QCOMPARE(xml.count('\n'), lineFeeds);
        QCOMPARE(xml.count("<d>"), depth);
        QVERIFY(xml.size() < depth * 7 + 100 * 100 * 2);
    }
};

QTEST_GUILESS_MAIN(Tst_resultfile)
#include "tst_resultfile.moc"
