#include "config/cfgstore.h"
#include "model/zovtree.h"

#include <QBuffer>
#include <QDirIterator>
#include <QtTest>

namespace {

struct Outcome {
    QString error;
    QString encoding;
    QString nodes;
    bool fast = false;
};

// Every node in document order with its kind, strings and number of children.
QString dump(const Zovnode* root)
{
    QString out;
    QVector<const Zovnode*> pending;
    if (root)
        pending.append(root);
    while (!pending.isEmpty()) {
        const Zovnode* const node = pending.takeLast();
        // An instruction without data must stay apart from one with empty data: the writer
        // writes the blank only for the latter.
        out += QString::number(node->kind()) + QLatin1Char('|') + node->text() + QLatin1Char('|')
            + (node->value().isNull() ? QStringLiteral("(null)") : node->value());
        for (int k = 0; k < node->attributeStringCount(); ++k)
            out += QLatin1Char('|') + node->attributeString(k);
        const Childspan children = node->children();
        out += QLatin1Char('|') + QString::number(children ? children->size() : 0)
            + QLatin1Char('\n');
        for (qsizetype k = children ? children->size() - 1 : -1; k >= 0; --k)
            pending.append(children->at(k));
    }
    return out;
}

Outcome read(QIODevice* device, bool streamed)
{
    Zovtree tree;
    Outcome outcome;
    outcome.error = streamed ? tree.loadStreamed(device) : tree.load(device);
    outcome.encoding = tree.encoding();
    outcome.nodes = dump(tree.root());
    outcome.fast = tree.readFast();
    return outcome;
}

Outcome readBytes(const QByteArray& xml, bool streamed)
{
    QBuffer buffer;
    buffer.setData(xml);
    buffer.open(QIODevice::ReadOnly);
    return read(&buffer, streamed);
}

} // namespace

// The loader's own UTF-8 reader must build exactly the nodes QXmlStreamReader builds, and leave
// every document it does not fully check (and every error, for its wording) to that reader.
class Tst_utf8reader : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sameNodesAsStreamReader_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<bool>("fast");
        const auto row = [](const char* name, const QByteArray& xml, bool fast) {
            QTest::newRow(name) << xml << fast;
        };
        row("declaration naming the encoding",
            "<?xml version='1.0' encoding=\"utf-8\" standalone='yes'?>\n<a/>", true);
        row("byte-order mark", "\xEF\xBB\xBF<a>x</a>", true);
        row("references", "<a x=\"1&#9;&lt;&#x10437;\" y='\"&quot;'>a &amp; b &#x41;&#66;&gt;</a>",
            true);
        row("tab and line feed in an attribute", "<a x=\"1\t2\n3\"/>", true);
        row("whitespace dropped unless a reference is in it", "<a>\n  <b/>\t<c/>  &#32; <d/> </a>",
            true);
        row("comments, CDATA, instructions",
            "<a><!----><!-- c - d --><![CDATA[]]><![CDATA[ <x> ]] ]]><?p?><?p  data  ?></a>", true);
        row("text around markup stays split", "<a>x<!--c-->y<b/>z</a>", true);
        row("non-ASCII texts", "<a t=\"\xC3\xA9\">\xE4\xB8\xAD \xF0\x9D\x84\x9E \xEF\xBB\xBFx</a>",
            true);
        row("prolog and epilog", "<?xml version=\"1.0\"?><!--a--><?s x?>\n<a/>\n<!--b--><?e?>\n",
            true);
        row("namespaced names", "<p:a xmlns:p=\"urn:p\" p:x=\"1\"><p:b/></p:a>", true);
        row("greater-than and brackets in values", "<a x=\"]]>\" y='>'>]] ></a>", true);
        row("carriage returns everywhere",
            "<?xml version=\"1.0\"?>\r\n<a\r\nx=\"1\r\n2\r3\"\r\n>\r\n  <!--c\r\nd\re-->"
            "<![CDATA[x\r\ny\rz]]><?p a\r\nb\rc?>\r\n t\r\n</a\r\n>\r\n",
            true);
        row("document type declarations", "<?xml version=\"1.0\"?>\n<!DOCTYPE TS>\n<TS/><!-- -->",
            true);
        row("public and system identifiers",
            "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\"\n"
            "  'http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd' ><html/>",
            true);
        row("system identifier", "<!DOCTYPE a SYSTEM \"a \xC3\xA9.dtd\"><a/>", true);
        row("internal subset", "<!DOCTYPE a [<!ENTITY e \"v\">]><a>&e;</a>", false);
        row("entity of an external subset", "<!DOCTYPE a SYSTEM \"a.dtd\"><a>a&nbsp;b</a>", false);
        row("two document type declarations", "<!DOCTYPE a><!DOCTYPE a><a/>", false);
        row("document type declaration after the element", "<a/><!DOCTYPE a>", false);
        row("character not allowed in a public identifier", "<!DOCTYPE a PUBLIC \"{\" \"s\"><a/>",
            false);
        row("other encoding", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xE9</a>", false);
        row("non-ASCII name", "<\xC3\xA9/>", false);
        row("undeclared entity", "<a>&nbsp;</a>", false);
        QByteArray many = "<a";
        for (int k = 0; k < 70; ++k)
            many += " a" + QByteArray::number(k) + "=\"" + QByteArray::number(k) + "\"";
        row("many attributes", many + "/>", false);
        row("mismatched end tag", "<a><b></a></b>", false);
        row("end tag shorter than its start tag", "<ab><a></a></a>", false);
        row("end tag longer than its start tag", "<a><ab></abc></a>", false);
        const QByteArray longName(200, 'n');
        const QByteArray longestName(4096, 'm');
        row("long names nested",
            "<" + longName + "><" + longestName + "><a/></" + longestName + "></" + longName + ">",
            true);
        for (const QByteArray& xml : { "<" + longestName + "m/>", "<a " + longestName + "m=\"1\"/>",
                 "<a><?" + longestName + "m x?></a>", "<p:" + longestName + " xmlns:p=\"u\"/>" })
            row(qPrintable("name over 4096 characters: " + xml.left(4) + "..."), xml, false);
        row("prefix declared again inside", "<a xmlns:p=\"u\"><b xmlns:p=\"w\"/><p:d/></a>", true);
        row("prefix used after its declaring element ended",
            "<a xmlns:p=\"u\"><b><c xmlns:q=\"v\"/></b><p:d/><q:e/></a>", false);
        row("repeated attribute", "<a x=\"1\" x=\"2\"/>", false);
        row("attributes without space", "<a x=\"1\"y=\"2\"/>", false);
        row("']]>' in text", "<a>x]]>y</a>", false);
        row("text after the document element", "<a/>x", false);
        row("second document element", "<a/><b/>", false);
        row("undeclared prefix", "<p:a/>", false);
        row("control character", "<a>\x01</a>", false);
        row("invalid UTF-8", "<a>\xC3\x28</a>", false);
        row("overlong UTF-8", "<a>\xC0\xAF</a>", false);
        row("encoded surrogate", "<a>\xED\xA0\x80</a>", false);
        row("U+FFFE", "<a>\xEF\xBF\xBE</a>", false);
        row("reference to U+0", "<a>&#0;</a>", false);
        row("upper-case hexadecimal mark", "<a>&#X41;</a>", false);
        row("version 1.1", "<?xml version=\"1.1\"?><a/>", false);
        row("declaration not at the start", " <?xml version=\"1.0\"?><a/>", false);
        row("double colon", "<a:b:c/>", false);
        row("local part not a name", "<xml:._/>", false);
        row("instruction target with a colon", "<a><?p:q d?></a>", false);
        row("empty local part", "<a: x=\"1\"/>", false);
        row("comment with two dashes", "<a><!-- a--b --></a>", false);
        row("truncated", "<a><b>text", false);
        row("empty document", "", false);
        row("less-than in a value", "<a x=\"<\"/>", false);
    }

    void sameNodesAsStreamReader()
    {
        QFETCH(QByteArray, xml);
        QFETCH(bool, fast);
        const Outcome mine = readBytes(xml, false);
        const Outcome theirs = readBytes(xml, true);
        QCOMPARE(mine.fast, fast);
        QVERIFY(!theirs.fast);
        QCOMPARE(mine.error, theirs.error);
        QCOMPARE(mine.encoding, theirs.encoding);
        QCOMPARE(mine.nodes, theirs.nodes);
    }

    // Written back, an instruction keeps its form, whichever reader read it and whatever came
    // before it.
    void instructionDataKeepsItsForm_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("own reader") << QByteArray("r");
        QTest::newRow("stream reader") << QByteArray("r\xc3\xa9");
    }

    void instructionDataKeepsItsForm()
    {
        QFETCH(QByteArray, name);
        Cfgstore::instance().useBuiltins();
        QByteArray xml = "<" + name + "><?u ?><?t?><?v d?><?u?></" + name + ">";
        QBuffer input(&xml);
        input.open(QIODevice::ReadOnly);
        Zovtree tree;
        QCOMPARE(tree.load(&input), QString());
        QCOMPARE(tree.readFast(), name == "r");
        QByteArray written;
        QBuffer output(&written);
        output.open(QIODevice::WriteOnly);
        tree.write(&output);
        QVERIFY2(written.contains("<?u ?>") && written.contains("<?t?>")
                && written.contains("<?v d?>") && written.contains("<?u?>"),
            written.constData());
    }

    // Tokens longer than one read of the device, and many of them.
    void tokensAcrossReads()
    {
        QByteArray xml = "<r><t a=\"" + QByteArray(1500000, 'v') + "\">" + QByteArray(3000000, 'x')
            + "&amp;" + QByteArray(10, 'y') + "</t>";
        for (int k = 0; k < 100000; ++k)
            xml += "<e n=\"" + QByteArray::number(k) + "\">\xC3\xA9" + QByteArray::number(k)
                + "</e>\n";
        xml += "</r>";
        const Outcome mine = readBytes(xml, false);
        QVERIFY(mine.fast);
        QCOMPARE(mine.error, QString());
        QCOMPARE(mine.nodes, readBytes(xml, true).nodes);
    }

    // Every document the case folders and the examples hold, read from files.
    void sameNodesForEveryStoredDocument()
    {
        int files = 0;
        int fast = 0;
        for (const char* folder : { "/../../cases", "/../../../examples" }) {
            QDirIterator it(QDir::cleanPath(QStringLiteral(ZOV_TEST_DATA) + QLatin1String(folder)),
                { QStringLiteral("*.xml") }, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                QFile file(it.next());
                if (!file.open(QIODevice::ReadOnly))
                    continue;
                const Outcome mine = read(&file, false);
                file.seek(0);
                const Outcome theirs = read(&file, true);
                QVERIFY2(mine.error == theirs.error && mine.encoding == theirs.encoding
                        && mine.nodes == theirs.nodes,
                    qPrintable(file.fileName()));
                ++files;
                fast += mine.fast;
            }
        }
        QVERIFY(files > 100);
        QVERIFY(fast > files / 2);
    }
};

QTEST_GUILESS_MAIN(Tst_utf8reader)
#include "tst_utf8reader.moc"
