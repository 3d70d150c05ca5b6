#include "config/cfgstore.h"
#include "model/zovtree.h"

#include <QBuffer>
#include <QTest>

namespace {

// Loads xml into tree; a merged result tree is just a document with marks in it.
void load(Zovtree& tree, const QByteArray& xml)
{
    QBuffer buffer;
    buffer.setData(xml);
    buffer.open(QIODevice::ReadOnly);
    QCOMPARE(tree.load(&buffer), QString());
}

QByteArray written(Zovtree& tree)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const QString result = tree.write(&buffer);
    if (!result.isEmpty())
        qWarning("write returned %s", qPrintable(result));
    return buffer.data();
}

QByteArray roundTrip(const QByteArray& xml)
{
    Zovtree tree;
    load(tree, xml);
    return written(tree);
}

// Makes tree a chain r(d(d(...))) of depth d elements; returns the deepest one.
Zovnode* deepTree(Zovtree& tree, int depth)
{
    tree.setRoot(std::make_unique<Zovelementnode>(QStringLiteral("r")).get());
    Zovnode* node = tree.root();
    for (int i = 0; i < depth; ++i)
        node = node->appendChild(new Zovelementnode(QStringLiteral("d")));
    return node;
}

void set(const char* key, const QString& value)
{
    Cfgstore::instance().setParameter(QLatin1String(key), value);
}

const QByteArray allKinds = "<r>"
                            "<?ZOV complete match?><cm/>"
                            "<?ZOV position change 1?><pc/>"
                            "<?ZOV content change?><cc/>"
                            "<?ZOV attribute change?><ac/>"
                            "<?ZOV attribute and content change?><acc/>"
                            "<?ZOV position and content change -1?><pcc/>"
                            "<?ZOV position and attribute change 2?><pac/>"
                            "<?ZOV position and content and attribute change 3?><pcac/>"
                            "<?ZOV element added?><add/>"
                            "<?ZOV element deleted del?><del/>"
                            "</r>";

} // namespace

class Tst_treewriter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        Cfgstore::instance().useBuiltins();
        set("savemode", QStringLiteral("0"));
    }

    // Human-readable output opens every element below the document element on a fresh line and
    // ends with a line feed; the caller places the document element after the prolog.
    void saveModes_data()
    {
        QTest::addColumn<QString>("savemode");
        QTest::addColumn<QString>("indent");
        QTest::addColumn<QByteArray>("expected");
        const auto row
            = [](const char* name, const char* mode, const char* indent, const char* expected) {
                  QTest::newRow(name) << QString(mode) << QString(indent) << QByteArray(expected);
              };
        row("no whitespace", "0", "2", "<r><a k=\"v\">x y</a><b/></r>");
        row("true reads as no whitespace", "true", "2", "<r><a k=\"v\">x y</a><b/></r>");
        row("human readable, indent 3", "1", "3", "<r>\n   <a k=\"v\">x y</a>\n   <b/>\n</r>\n");
        row("human readable, indent 0 keeps the writer's own", "1", "0",
            "<r>\n    <a k=\"v\">x y</a>\n    <b/>\n</r>\n");
    }
    void saveModes()
    {
        QFETCH(QString, savemode);
        QFETCH(QString, indent);
        QFETCH(QByteArray, expected);
        set("savemode", savemode);
        set("element_indent", indent);
        QCOMPARE(roundTrip("<r>\n   <a k='v'>x y</a>\n <b></b></r>"), expected);
    }

    void nestedIndent()
    {
        set("savemode", QStringLiteral("1"));
        set("element_indent", QStringLiteral("2"));
        QCOMPARE(roundTrip("<r><a><b><c/></b></a></r>"),
            QByteArray("<r>\n  <a>\n    <b>\n      <c/>\n    </b>\n  </a>\n</r>\n"));
    }

    void nodeKindsAndEscaping()
    {
        QCOMPARE(
            roundTrip("<p:r xmlns:p=\"u\" b=\"2\" a=\"&lt;&amp;&quot;\"><!-- c --><![CDATA[<x> ]]>"
                      "a &amp; &lt;b&gt;<?other some data?><e/></p:r>"),
            QByteArray("<p:r xmlns:p=\"u\" b=\"2\" a=\"&lt;&amp;&quot;\"><!-- c --><![CDATA[<x> ]]>"
                       "a &amp; &lt;b&gt;<?other some data?><e/></p:r>"));
    }

    void markFilter_data()
    {
        QTest::addColumn<QString>("flag");
        QTest::addColumn<QByteArray>("expected");
        const auto row = [](const char* flag, const char* mark) {
            QByteArray expected = "<r><cm/><pc/><cc/><ac/><acc/><pcc/><pac/><pcac/><add/></r>";
            if (mark) {
                const QByteArray element = QByteArray(flag).mid(6);
                expected.replace(
                    "<" + element + "/>", "<?ZOV " + QByteArray(mark) + "?><" + element + "/>");
            }
            QTest::newRow(flag) << QString::fromLatin1(flag) << expected;
        };
        row("none", nullptr);
        row("usecm_cm", "complete match");
        row("usecm_pc", "position change 1");
        row("usecm_cc", "content change");
        row("usecm_ac", "attribute change");
        row("usecm_acc", "attribute and content change");
        row("usecm_pcc", "position and content change -1");
        row("usecm_pac", "position and attribute change 2");
        row("usecm_pcac", "position and content and attribute change 3");
        row("usecm_add", "element added");
        QTest::newRow("usecm_del")
            << "usecm_del"
            << QByteArray("<r><cm/><pc/><cc/><ac/><acc/><pcc/><pac/><pcac/><add/>"
                          "<?ZOV element deleted del?></r>");
    }
    void markFilter()
    {
        QFETCH(QString, flag);
        QFETCH(QByteArray, expected);
        for (const char* key : { "usecm_cm", "usecm_pc", "usecm_cc", "usecm_ac", "usecm_acc",
                 "usecm_pcc", "usecm_pac", "usecm_pcac", "usecm_add", "usecm_del" })
            set(key, QStringLiteral("false"));
        set("add_del_nodes_2_res", QStringLiteral("false"));
        set(flag.toLatin1().constData(), QStringLiteral("true"));
        QCOMPARE(roundTrip(allKinds), expected);
    }

    void deletedNodes_data()
    {
        QTest::addColumn<bool>("useDel");
        QTest::addColumn<bool>("addDeleted");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("both off") << false << false << QByteArray("<r><b/></r>");
        QTest::newRow("mark only")
            << true << false << QByteArray("<r><?ZOV element deleted c?><b/></r>");
        QTest::newRow("deleted nodes, usecm_del off")
            << false << true << QByteArray("<r><?ZOV element deleted c?><c><x/></c><b/></r>");
    }
    void deletedNodes()
    {
        QFETCH(bool, useDel);
        QFETCH(bool, addDeleted);
        QFETCH(QByteArray, expected);
        set("usecm_add", QStringLiteral("false"));
        set("usecm_del", useDel ? QStringLiteral("true") : QStringLiteral("false"));
        set("add_del_nodes_2_res", addDeleted ? QStringLiteral("true") : QStringLiteral("false"));
        QCOMPARE(roundTrip("<r><?ZOV element deleted c?><c><x/></c><?ZOV element added?><b/></r>"),
            expected);
    }

    void emptyDeletedTextSkipsAfterEveryMark()
    {
        set("element_deleted", QString());
        set("usecm_cc", QStringLiteral("false"));
        QCOMPARE(roundTrip("<r><?ZOV content change?><a/><?ZOV element added?><b/><c/></r>"),
            QByteArray("<r><?ZOV element added?><c/></r>"));
    }

    void zovInstructionOfTheInputIsFiltered()
    {
        // Inside a plainly copied subtree the input's own ZOV instructions meet the same
        // filter: unknown texts vanish, a deletion-like text drops the following node.
        QCOMPARE(roundTrip("<r><?ZOV element added?><a><?ZOV note?><x/>"
                           "<?ZOV element deleted y?><y/><z/></a></r>"),
            QByteArray("<r><?ZOV element added?><a><x/><z/></a></r>"));
        set("add_del_nodes_2_res", QStringLiteral("true"));
        QCOMPARE(roundTrip("<r><a><?ZOV element deleted y?><y/></a></r>"),
            QByteArray("<r><a><?ZOV element deleted y?><y/></a></r>"));
    }

    void treeWithoutRootWritesNothing()
    {
        Zovtree tree;
        QCOMPARE(written(tree), QByteArray());
    }

    void veryDeepDocument()
    {
        const int depth = 1000000;
        Zovtree tree;
        deepTree(tree, depth)->appendChild(new Zovnode(QStringLiteral("end"), Text));
        const QByteArray xml = written(tree);
        QCOMPARE(xml.size(), qsizetype(3 + depth * 7 + 3 + 4));
        QVERIFY(xml.startsWith("<r><d><d>"));
        QVERIFY(xml.contains("<d>end</d></d>"));
        QVERIFY(xml.endsWith("</d></d></r>"));
    }

    void veryDeepDocumentHumanReadable()
    {
        // Indentation stops at a fixed depth, so the file stays proportional to the document.
        set("savemode", QStringLiteral("1"));
        set("element_indent", QStringLiteral("2"));
        const int depth = 1000000;
        Zovtree tree;
        deepTree(tree, depth);
        const QByteArray xml = written(tree);
        QVERIFY(xml.startsWith("<r>\n  <d>\n    <d>\n"));
        QVERIFY(xml.endsWith("</d>\n  </d>\n</r>\n"));
        QCOMPARE(xml.count('\n'), 100 + 99);
        QVERIFY(xml.size() < depth * 7 + 100 * 100 * 2);
    }
};

QTEST_GUILESS_MAIN(Tst_treewriter)
#include "tst_treewriter.moc"
