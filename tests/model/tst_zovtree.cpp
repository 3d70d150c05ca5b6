#include "model/zovtree.h"
#include "xmltext.h"

#include <QStringEncoder>
#include <QTemporaryFile>
#include <QtTest>

namespace {

// Readable shape of a small subtree: name{attributes}[children], "text", kind(text).
QString dump(const Zovnode* node)
{
    switch (node->kind()) {
    case Text:
        return QLatin1Char('"') + node->text() + QLatin1Char('"');
    case Comment:
        return QStringLiteral("comment(%1)").arg(node->text());
    case Cdata:
        return QStringLiteral("cdata(%1)").arg(node->text());
    case Pi:
        return QStringLiteral("pi(%1|%2)").arg(node->text(), node->value());
    default:
        break;
    }
    QString out = node->text();
    if (node->kind() == Attrelement) {
        QStringList pairs;
        for (int i = 0; i < node->attributeStringCount(); i += 2)
            pairs << node->attributeString(i) + QLatin1Char('=') + node->attributeString(i + 1);
        out += QLatin1Char('{') + pairs.join(QLatin1Char(',')) + QLatin1Char('}');
    }
    if (node->hasChildren()) {
        QStringList children;
        for (const Zovnode* child : *node->children())
            children << dump(child);
        out += QLatin1Char('[') + children.join(QLatin1Char(',')) + QLatin1Char(']');
    }
    return out;
}

QByteArray nested(int depth)
{
    return QByteArray("<d>").repeated(depth) + "x" + QByteArray("</d>").repeated(depth);
}

} // namespace

class Tst_zovtree : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void loadBuildsNodes_data();
    void loadBuildsNodes();
    void encoding_data();
    void encoding();
    void parseErrorKeepsPartialTree_data();
    void parseErrorKeepsPartialTree();
    void setRoot();
    void secondLoadIsRefused();
    void deepDocument();
    void entityBombFails();
    void externalEntityIsNeverRead_data();
    void externalEntityIsNeverRead();
    void manyDistinctNamesStayIntact();
};

void Tst_zovtree::loadBuildsNodes_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("shape");

    QTest::newRow("indentation dropped") << QByteArray("<a>\n  <b/>\n\t<c/>\n</a>") << "a[b,c]";
    QTest::newRow("text kept exactly") << QByteArray("<a>  a </a>") << "a[\"  a \"]";
    QTest::newRow("blank cdata kept") << QByteArray("<a><![CDATA[  ]]></a>") << "a[cdata(  )]";
    QTest::newRow("comment and pi outside root dropped")
        << QByteArray("<?xml version=\"1.0\"?><!--c--><?p d?><a><!--i--><?q e?></a><!--z-->")
        << "a[comment(i),pi(q|e)]";
    QTest::newRow("attributes in document order")
        << QByteArray("<a b=\"2\" a=\"1\"/>") << "a{b=2,a=1}";
    QTest::newRow("namespace declaration is an attribute")
        << QByteArray("<a xmlns=\"urn:x\"/>") << "a{xmlns=urn:x}";
    QTest::newRow("prefixes kept") << QByteArray("<p:a xmlns:p=\"urn:p\"><p:b p:k=\"v\"/></p:a>")
                                   << "p:a{xmlns:p=urn:p}[p:b{p:k=v}]";
    QTest::newRow("prefix declared by an ancestor")
        << QByteArray("<a xmlns:p=\"urn:p\"><b><p:c/></b></a>") << "a{xmlns:p=urn:p}[b[p:c]]";
    const QString utf16Text
        = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?><a>\u00e9</a>");
    QTest::newRow("UTF-16BE without byte-order mark")
        << QByteArray(QStringEncoder(QStringEncoder::Utf16BE).encode(utf16Text)) << "a[\"\u00e9\"]";
    QTest::newRow("xml prefix needs no declaration")
        << QByteArray("<a xml:lang=\"de\"/>") << "a{xml:lang=de}";
    QTest::newRow("one local name under two namespaces")
        << QByteArray("<a xmlns:p=\"urn:p\" xmlns:q=\"urn:q\" p:k=\"1\" q:k=\"2\"/>")
        << "a{xmlns:p=urn:p,xmlns:q=urn:q,p:k=1,q:k=2}";
    QTest::newRow("prefix rebound below") << QByteArray(
        "<a xmlns:p=\"urn:s\"><b xmlns:p=\"urn:t\" xmlns:q=\"urn:s\" p:k=\"1\" "
        "q:k=\"2\"/></a>") << "a{xmlns:p=urn:s}[b{xmlns:p=urn:t,xmlns:q=urn:s,p:k=1,q:k=2}]";
    QTest::newRow("undeclared entity in text") << QByteArray("<a>1 &x; 2</a>") << "a[\"1 &x; 2\"]";
    QTest::newRow("predefined and character references")
        << QByteArray("<a>&lt;&#65;&amp;</a>") << "a[\"<A&\"]";
    QTest::newRow("text split by comment stays split")
        << QByteArray("<a>x<!--c-->y</a>") << "a[\"x\",comment(c),\"y\"]";
}

void Tst_zovtree::loadBuildsNodes()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, shape);

    QString error;
    const auto tree = loadXml(xml, &error);
    QCOMPARE(error, QString());
    QVERIFY(tree->root());
    QCOMPARE(dump(tree->root()), shape);
}

void Tst_zovtree::encoding_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("encoding");

    QTest::newRow("no declaration") << QByteArray("<a/>") << "UTF-8";
    QTest::newRow("named encoding")
        << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xe9</a>") << "ISO-8859-1";
}

void Tst_zovtree::encoding()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, encoding);

    QString error;
    const auto tree = loadXml(xml, &error);
    QCOMPARE(error, QString());
    QCOMPARE(tree->encoding(), encoding);
}

void Tst_zovtree::parseErrorKeepsPartialTree_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("shape");

    QTest::newRow("mismatched tag") << QByteArray("<a><b>x</a>") << "a[b[\"x\"]]";
    QTest::newRow("unclosed elements") << QByteArray("<a><b><c/>") << "a[b[c]]";
    QTest::newRow("second document element") << QByteArray("<a/><b/>") << "a";
    QTest::newRow("empty input") << QByteArray() << "";
    QTest::newRow("undeclared element prefix") << QByteArray("<a><x:b/></a>") << "a";
    QTest::newRow("prefix out of scope after its element")
        << QByteArray("<a><b xmlns:p=\"urn:p\"><p:c/></b><p:d/></a>") << "a[b{xmlns:p=urn:p}[p:c]]";
    QTest::newRow("truncated UTF-16BE without byte-order mark")
        << QByteArray(QStringEncoder(QStringEncoder::Utf16BE).encode(QStringLiteral("<a><b>x</b>")))
        << "a[b[\"x\"]]";
    QTest::newRow("prefix bound to the empty name")
        << QByteArray("<a><b xmlns:p=\"\"/></a>") << "a";
    QTest::newRow("xmlns prefix declared") << QByteArray("<a xmlns:xmlns=\"urn:x\"/>") << "";
    QTest::newRow("xml prefix bound elsewhere") << QByteArray("<a xmlns:xml=\"urn:x\"/>") << "";
    QTest::newRow("default namespace is the xml one")
        << QByteArray("<a xmlns=\"http://www.w3.org/XML/1998/namespace\"/>") << "";
    QTest::newRow("one attribute under two prefixes")
        << QByteArray("<a xmlns:p=\"urn:s\" xmlns:q=\"urn:s\"><b p:k=\"1\" q:k=\"2\"/></a>")
        << "a{xmlns:p=urn:s,xmlns:q=urn:s}";
}

void Tst_zovtree::parseErrorKeepsPartialTree()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, shape);

    QString error;
    const auto tree = loadXml(xml, &error);
    QVERIFY(!error.isEmpty());
    QCOMPARE(tree->root() ? dump(tree->root()) : QString(), shape);
}

void Tst_zovtree::setRoot()
{
    const auto source = loadXml("<a k=\"v\"><b/></a>");
    Zovnode partner(QStringLiteral("p"), Text);
    source->root()->linkPartner(&partner);

    Zovtree result;
    QCOMPARE(result.setRoot(source->root()), 0);
    QCOMPARE(dump(result.root()), QStringLiteral("a{k=v}"));
    QVERIFY(!result.root()->partner());
    QCOMPARE(result.setRoot(source->root()), -1100);

    Zovtree plain;
    QCOMPARE(plain.setRoot(source->root()->children()->at(0)), 0);
    QCOMPARE(plain.root()->kind(), Element);

    Zovtree wrong;
    Zovnode text(QStringLiteral("t"), Text);
    QTest::ignoreMessage(QtDebugMsg, "Error: called setroot with invalide node type!");
    QCOMPARE(wrong.setRoot(&text), -1105);
    QVERIFY(!wrong.root());
}

void Tst_zovtree::secondLoadIsRefused()
{
    QString error;
    const auto tree = loadXml("<a><b/></a>", &error);
    QCOMPARE(error, QString());
    QBuffer again;
    again.setData("<c/>");
    again.open(QIODevice::ReadOnly);
    QVERIFY(!tree->load(&again).isEmpty());
    QCOMPARE(dump(tree->root()), QStringLiteral("a[b]"));
}

void Tst_zovtree::deepDocument()
{
    const int depth = 200000;
    QString error;
    auto tree = loadXml(nested(depth), &error);
    QCOMPARE(error, QString());

    int levels = 1;
    const Zovnode* node = tree->root();
    while (node->hasChildren() && node->children()->at(0)->kind() == Element) {
        node = node->children()->at(0);
        ++levels;
    }
    QCOMPARE(levels, depth);
    QCOMPARE(node->children()->at(0)->text(), QStringLiteral("x"));

    const QString fingerprint = tree->root()->contentString(true, false, true);
    auto host = std::make_unique<Zovelementnode>(QStringLiteral("host"));
    const Zovnode* const copy = host->copyChild(tree->root(), true);
    QCOMPARE(copy->contentString(true, false, true), fingerprint);
    QCOMPARE(tree->root()->descendantAttributeText(true), QString());
    host.reset();
    tree.reset();
}

void Tst_zovtree::entityBombFails()
{
    QByteArray xml = "<!DOCTYPE b [<!ENTITY l0 \"lol\">";
    for (int i = 1; i <= 9; ++i) {
        xml += "<!ENTITY l" + QByteArray::number(i) + " \"";
        xml += QByteArray("&l" + QByteArray::number(i - 1) + ";").repeated(10) + "\">";
    }
    xml += "]><b>&l9;</b>";

    QString error;
    const auto tree = loadXml(xml, &error);
    QVERIFY(!error.isEmpty());
    QVERIFY(tree->root());
    QVERIFY(!tree->root()->hasChildren());
}

void Tst_zovtree::externalEntityIsNeverRead_data()
{
    QTest::addColumn<QByteArray>("declaration");
    QTest::addColumn<QByteArray>("body");

    QTest::newRow("general entity")
        << QByteArray("<!ENTITY e SYSTEM \"%1\">") << QByteArray("<a k=\"v\">[&e;]</a>");
    QTest::newRow("parameter entity")
        << QByteArray("<!ENTITY % p SYSTEM \"%1\"> %p;") << QByteArray("<a k=\"v\">[]</a>");
    QTest::newRow("entity in attribute")
        << QByteArray("<!ENTITY e SYSTEM \"%1\">") << QByteArray("<a k=\"&e;\">[]</a>");
}

void Tst_zovtree::externalEntityIsNeverRead()
{
    QFETCH(QByteArray, declaration);
    QFETCH(QByteArray, body);

    QTemporaryFile secret;
    QVERIFY(secret.open());
    secret.write("<x>SECRET-CONTENT</x>SECRET-CONTENT");
    secret.close();
    const QByteArray url = QUrl::fromLocalFile(secret.fileName()).toEncoded();

    const QByteArray xml = "<!DOCTYPE a [" + declaration.replace("%1", url) + "]>" + body;
    QString error;
    const auto tree = loadXml(xml, &error);
    QVERIFY(tree->root() || !error.isEmpty());
    if (tree->root()) {
        const QString everything = tree->root()->contentString(false, false, false);
        QVERIFY2(!everything.contains(QStringLiteral("SECRET")), qPrintable(everything));
    }
}

void Tst_zovtree::manyDistinctNamesStayIntact()
{
    // More distinct values than the table keeps, and enough names to make it grow repeatedly.
    QByteArray xml = "<r>";
    for (int i = 0; i < 9000; ++i)
        xml += "<e" + QByteArray::number(i) + " v=\"" + QByteArray::number(i) + "\"/>";
    xml += "</r>";
    const auto tree = loadXml(xml);
    QVERIFY(tree->root());
    const QVector<Zovnode*>& children = *tree->root()->children();
    QCOMPARE(children.size(), 9000);
    for (int i = 0; i < 9000; ++i) {
        QCOMPARE(children[i]->text(), QStringLiteral("e%1").arg(i));
        QCOMPARE(children[i]->attributeString(1), QString::number(i));
    }
}

QTEST_GUILESS_MAIN(Tst_zovtree)
#include "tst_zovtree.moc"
