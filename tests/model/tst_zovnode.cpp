#include "model/zovnode.h"
#include "xmltext.h"

#include <QtTest>

class Tst_zovnode : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fingerprintEquality_data();
    void fingerprintEquality();
    void sortedAttributeTextPairsNamesWithValues_data();
    void sortedAttributeTextPairsNamesWithValues();
    void attributeLookupScansNamesOnly();
    void descendantAttributeTextIsPreOrder();
    void findPath_data();
    void findPath();
    void wrongKindOperationsAnswerEmpty();
    void copyChildDeepCopiesSubtreeAndPartners();
    void copyChildOfItselfTerminates();
    void linkPartnerLinksOnce();
    void emptyAttributeListKeepsKind();
};

void Tst_zovnode::fingerprintEquality_data()
{
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<QByteArray>("second");
    QTest::addColumn<QString>("flags");
    QTest::addColumn<bool>("equal");
    // flags: s = simplify, a = ignore attributes, o = ignore attribute order
    const auto row = [](const char* name, const char* first, const char* second, const char* flags,
                         bool equal) {
        QTest::newRow(name) << QByteArray(first) << QByteArray(second) << QString(flags) << equal;
    };

    // Pairs that a plain concatenation confuses.
    row("text moved into child", "<p><b>Hello</b> world</p>", "<p><b>Hello world</b></p>", "sao",
        false);
    row("attribute boundary", "<a x=\"bc\"/>", "<a xb=\"c\"/>", "", false);
    row("empty comment", "<a/>", "<a><!----></a>", "sao", false);
    row("name runs into text", "<ab/>", "<a>b</a>", "", false);
    row("text vs comment", "<a>x</a>", "<a><!--x--></a>", "", false);
    row("pi target/data boundary", "<a><?ab c?></a>", "<a><?a bc?></a>", "", false);
    row("siblings vs nesting", "<a><b/><c/></a>", "<a><b><c/></b></a>", "", false);
    row("one text vs two texts", "<a>xy</a>", "<a>x<!---->y</a>", "", false);
    row("values swapped between names", "<a p=\"1\" q=\"2\"/>", "<a p=\"2\" q=\"1\"/>", "o", false);

    // Pairs whose equality depends on the flags.
    row("indentation dropped", "<a>\n  <b/>\n</a>", "<a><b/></a>", "", true);
    row("spaces simplified", "<a>  x \n  y </a>", "<a>x y</a>", "s", true);
    row("spaces kept without simplify", "<a>  x  y </a>", "<a>x y</a>", "", false);
    row("comment never simplified", "<a><!-- x --></a>", "<a><!--x--></a>", "s", false);
    row("cdata never simplified", "<a><![CDATA[ x ]]></a>", "<a><![CDATA[x]]></a>", "s", false);
    row("attribute values never simplified", "<a p=\" 1\"/>", "<a p=\"1\"/>", "s", false);
    row("attribute order ignored", "<a p=\"1\" q=\"2\"/>", "<a q=\"2\" p=\"1\"/>", "o", true);
    row("attribute order counts", "<a p=\"1\" q=\"2\"/>", "<a q=\"2\" p=\"1\"/>", "", false);
    row("attributes ignored at every depth", "<a p=\"1\"><b q=\"2\">t</b></a>", "<a><b>t</b></a>",
        "a", true);
}

void Tst_zovnode::fingerprintEquality()
{
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, second);
    QFETCH(QString, flags);
    QFETCH(bool, equal);

    const bool simplify = flags.contains(QLatin1Char('s'));
    const bool ignoreAttributes = flags.contains(QLatin1Char('a'));
    const bool ignoreOrder = flags.contains(QLatin1Char('o'));
    const QString a = fingerprintOf(first, simplify, ignoreAttributes, ignoreOrder);
    const QString b = fingerprintOf(second, simplify, ignoreAttributes, ignoreOrder);
    QVERIFY(a != QStringLiteral("<no root>"));
    QVERIFY(b != QStringLiteral("<no root>"));
    QCOMPARE(a == b, equal);
}

void Tst_zovnode::sortedAttributeTextPairsNamesWithValues_data()
{
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<QByteArray>("second");
    QTest::addColumn<bool>("equal");

    const auto row = [](const char* name, const char* first, const char* second, bool equal) {
        QTest::newRow(name) << QByteArray(first) << QByteArray(second) << equal;
    };
    row("values swapped", "<e a=\"2\" b=\"1\"/>", "<e a=\"1\" b=\"2\"/>", false);
    row("same pairs, other order", "<e b=\"1\" a=\"2\"/>", "<e a=\"2\" b=\"1\"/>", true);
    row("name/value boundary", "<e ab=\"c\"/>", "<e a=\"bc\"/>", false);
    row("one attribute vs two", "<e a=\"1b2\"/>", "<e a=\"1\" b=\"2\"/>", false);
}

void Tst_zovnode::sortedAttributeTextPairsNamesWithValues()
{
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, second);
    QFETCH(bool, equal);

    const auto a = loadXml(first);
    const auto b = loadXml(second);
    QVERIFY(a->root() && b->root());
    QCOMPARE(a->root()->sortedAttributeText() == b->root()->sortedAttributeText(), equal);
}

void Tst_zovnode::attributeLookupScansNamesOnly()
{
    const auto tree = loadXml("<e y=\"x\" z=\"2\"/>");
    const Zovnode* root = tree->root();
    QCOMPARE(root->attributeValue(QStringLiteral("x")), QString());
    QCOMPARE(root->attributeIndex(QStringLiteral("x")), -1);
    QCOMPARE(root->attributeIndex(QStringLiteral("z")), 2);
    QCOMPARE(root->attributeValue(QStringLiteral("z")), QStringLiteral("2"));
    QCOMPARE(root->attributeString(4), QString());
}

void Tst_zovnode::descendantAttributeTextIsPreOrder()
{
    const auto tree
        = loadXml("<r o=\"0\"><x b=\"2\" a=\"1\"><y c=\"3\"/>t</x><z/><w d=\"4\"/></r>");
    const Zovnode* const root = tree->root();
    QCOMPARE(root->descendantAttributeText(false), QStringLiteral("b2a1c3d4"));
    const QVector<Zovnode*>& top = *root->children();
    const QString sorted = top.at(0)->sortedAttributeText()
        + top.at(0)->children()->at(0)->sortedAttributeText() + top.at(2)->sortedAttributeText();
    QCOMPARE(root->descendantAttributeText(true), sorted);
}

void Tst_zovnode::findPath_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<QString>("found");

    QTest::newRow("nested") << QByteArray("<r><a><x/><b k=\"found\"/></a></r>")
                            << QStringList { "a", "b" } << "found";
    QTest::newRow("first match is text")
        << QByteArray("<r>a<a><b k=\"found\"/></a></r>") << QStringList { "a", "b" } << "";
    QTest::newRow("first same-named element wins")
        << QByteArray("<r><a/><a><b k=\"second\"/></a></r>") << QStringList { "a", "b" } << "";
    QTest::newRow("empty path") << QByteArray("<r><a/></r>") << QStringList() << "";
}

void Tst_zovnode::findPath()
{
    QFETCH(QByteArray, xml);
    QFETCH(QStringList, path);
    QFETCH(QString, found);

    const auto tree = loadXml(xml);
    const Zovnode* node = tree->root()->findPath(path);
    QCOMPARE(node != nullptr, !found.isEmpty());
    if (node)
        QCOMPARE(node->attributeValue(QStringLiteral("k")), found);
}

void Tst_zovnode::wrongKindOperationsAnswerEmpty()
{
    Zovnode text(QStringLiteral("t"), Text);
    Zovpinode pi(QStringLiteral("t"), QStringLiteral("d"));
    Zovnode child(QStringLiteral("c"), Text);
    for (Zovnode* node : { &text, static_cast<Zovnode*>(&pi) }) {
        QVERIFY(!node->appendChild(&child));
        QVERIFY(!node->appendMark(QStringLiteral("m")));
        QVERIFY(!node->copyChild(&child, true));
        QVERIFY(!node->copyWithoutChildren());
        QVERIFY(!node->findPath({ QStringLiteral("c") }));
        QCOMPARE(node->attributeString(0), QString());
    }
}

void Tst_zovnode::copyChildDeepCopiesSubtreeAndPartners()
{
    const auto tree = loadXml("<r><a k=\"v\">x<b><!--c--><?p d?></b></a></r>");
    Zovnode* const source = tree->root()->children()->at(0);
    Zovnode partner(QStringLiteral("P"), Text);
    Zovnode* const inner = source->children()->at(1);
    Zovnode innerPartner(QStringLiteral("Q"), Text);
    source->linkPartner(&partner);
    inner->linkPartner(&innerPartner);

    Zovelementnode host(QStringLiteral("host"));
    Zovnode* const deep = host.copyChild(source, true);
    QVERIFY(deep && deep != source);
    QCOMPARE(deep->contentString(false, false, false), source->contentString(false, false, false));
    QCOMPARE(deep->partner(), &partner);
    QCOMPARE(partner.partner(), source);
    QCOMPARE(deep->children()->at(1)->partner(), &innerPartner);

    Zovnode* const shallow = host.copyChild(source, false);
    QCOMPARE(shallow->kind(), Attrelement);
    QCOMPARE(shallow->attributeValue(QStringLiteral("k")), QStringLiteral("v"));
    QVERIFY(!shallow->children());
    QCOMPARE(host.children()->size(), 2);
}

void Tst_zovnode::copyChildOfItselfTerminates()
{
    const auto tree = loadXml("<r><a/>t</r>");
    Zovnode* const root = tree->root();
    const QString before = root->contentString(false, false, false);
    Zovnode* const copy = root->copyChild(root, true);
    QCOMPARE(root->children()->size(), 3);
    QCOMPARE(copy->contentString(false, false, false), before);
}

void Tst_zovnode::linkPartnerLinksOnce()
{
    Zovnode a(QStringLiteral("a"), Text);
    Zovnode b(QStringLiteral("b"), Text);
    Zovnode c(QStringLiteral("c"), Text);
    a.linkPartner(&b);
    QCOMPARE(a.partner(), &b);
    QCOMPARE(b.partner(), &a);
    a.linkPartner(&c);
    c.linkPartner(&a);
    QCOMPARE(a.partner(), &b);
    QCOMPARE(c.partner(), &a);
}

void Tst_zovnode::emptyAttributeListKeepsKind()
{
    const auto tree = loadXml("<e k=\"v\"/>");
    Zovnode* const root = tree->root();
    QCOMPARE(root->kind(), Attrelement);
    QCOMPARE(root->attributeStringCount(), 2);
    root->setAttributeList({});
    QCOMPARE(root->kind(), Attrelement);
    QVERIFY(!root->hasAttributes());
    QCOMPARE(root->contentString(false, false, false), fingerprintOf("<e/>", false, false, false));
}

QTEST_GUILESS_MAIN(Tst_zovnode)
#include "tst_zovnode.moc"
