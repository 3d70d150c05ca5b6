#include "config/cfgstore.h"
#include "model/zovtree.h"
#include "output/markcount.h"
#include "output/prolog.h"
#include "output/resultwriter.h"

#include <QBuffer>
#include <QTest>

// Telling and filtering marks, reading the prolog and writing documents too deep for the call
// stack; the result file's name and form are pinned by the output-* case folders.
class Tst_resultwriter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { Cfgstore::instance().useBuiltins(); }

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
        row("complete match", "", "", "complete match", 1);
        row("position change", "", "", "position change -3", 2);
        row("content change", "", "", "content change", 3);
        row("attribute change", "", "", "attribute change", 4);
        row("attribute and content", "", "", "attribute and content change", 5);
        row("position and content", "", "", "position and content change 2", 6);
        row("position and attribute", "", "", "position and attribute change 1", 7);
        row("all three", "", "", "position and content and attribute change -1", 8);
        row("added", "", "", "element added", 9);
        row("deleted", "", "", "element deleted #comment", 10);
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

    // Each use flag alone lets exactly its own kind of mark pass.
    void isMarkWritten_data()
    {
        QTest::addColumn<QString>("flag");
        QTest::addColumn<QString>("emptyText");
        QTest::addColumn<QString>("mark");
        QTest::addColumn<bool>("expected");
        const struct {
            const char* flag;
            const char* mark;
        } kinds[] = {
            { "usecm_cm", "complete match" },
            { "usecm_pc", "position change 2" },
            { "usecm_cc", "content change" },
            { "usecm_ac", "attribute change" },
            { "usecm_acc", "attribute and content change" },
            { "usecm_pcc", "position and content change -1" },
            { "usecm_pac", "position and attribute change 3" },
            { "usecm_pcac", "position and content and attribute change -2" },
            { "usecm_add", "element added" },
            { "usecm_del", "element deleted c" },
        };
        for (const auto& kind : kinds) {
            const bool added = QByteArray(kind.mark) == "element added";
            QTest::addRow("%s on", kind.flag) << kind.flag << QString() << kind.mark << true;
            QTest::addRow("%s on, other mark", kind.flag)
                << kind.flag << QString() << (added ? "content change" : "element added") << false;
        }
        QTest::newRow("exact kind with suffix")
            << "usecm_cc" << QString() << "content change 1" << false;
        QTest::newRow("exact kind is case-sensitive")
            << "usecm_add" << QString() << "Element added" << false;
        QTest::newRow("deleted mark through add_del_nodes_2_res")
            << "add_del_nodes_2_res" << QString() << "element deleted x" << true;
        QTest::newRow("empty position text: every mark passes") << "usecm_pc"
                                                                << "position_change"
                                                                << "anything" << true;
        QTest::newRow("empty position text, flag off") << "usecm_cc"
                                                       << "position_change"
                                                       << "anything" << false;
    }
    void isMarkWritten()
    {
        QFETCH(QString, flag);
        QFETCH(QString, emptyText);
        QFETCH(QString, mark);
        QFETCH(bool, expected);
        Cfgstore& cfg = Cfgstore::instance();
        for (const char* key :
            { "usecm_cm", "usecm_pc", "usecm_cc", "usecm_ac", "usecm_acc", "usecm_pcc", "usecm_pac",
                "usecm_pcac", "usecm_add", "usecm_del", "add_del_nodes_2_res" })
            cfg.setParameter(QLatin1String(key), QStringLiteral("false"));
        cfg.setParameter(flag, QStringLiteral("true"));
        if (!emptyText.isEmpty())
            cfg.setParameter(emptyText, QString());
        QCOMPARE(::isMarkWritten(mark), expected);
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

    void treeWithoutRootWritesNothing()
    {
        Zovtree tree;
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QCOMPARE(tree.write(&buffer), QString());
        QCOMPARE(buffer.data(), QByteArray());
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
        node->appendChild(new Zovnode(QStringLiteral("end"), Text));
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

QTEST_GUILESS_MAIN(Tst_resultwriter)
#include "tst_resultwriter.moc"
