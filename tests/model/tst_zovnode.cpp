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
    void sortedNamesAndValuesStaySortedApart();
    void attributeLookupScansNamesOnly();
    void findPath_data();
    void findPath();
    void childArrayAppearsOnFirstAppend();
    void wrongKindOperationsAnswerEmpty();
    void copyChildDeepCopiesSubtreeAndPartners();
    void copyChildOfItselfTerminates();
    void linkPartnerLinksOnce();
    void setTextOnlyChangesTextNodes();
    void emptyAttributeListKeepsKind();
    void processingInstructionNameIsData();
};

void Tst_zovnode::fingerprintEquality_data()
{
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<QByteArray>("second");
    QTest::addColumn<bool>("simplify");
    QTest::addColumn<bool>("ignoreAttributes");
    QTest::addColumn<bool>("ignoreOrder");
    QTest::addColumn<bool>("equal");

    // Pairs that a plain concatenation confuses.
    QTest::newRow("text moved out of child")
        << QByteArray("<p><b>Hello</b> world</p>") << QByteArray("<p><b>Hello world</b></p>")
        << true << true << true << false;
    QTest::newRow("attribute name/value boundary")
        << QByteArray("<a x=\"bc\"/>") << QByteArray("<a xb=\"c\"/>") << false << false << false
        << false;
    QTest::newRow("attribute boundary, sorted")
        << QByteArray("<a x=\"bc\"/>") << QByteArray("<a xb=\"c\"/>") << false << false << true
        << false;
    QTest::newRow("empty comment")
        << QByteArray("<a/>") << QByteArray("<a><!----></a>") << true << true << true << false;
    QTest::newRow("name runs into text")
        << QByteArray("<ab/>") << QByteArray("<a>b</a>") << false << false << false << false;
    QTest::newRow("attribute runs into text")
        << QByteArray("<a x=\"y\"/>") << QByteArray("<a>xy</a>") << false << false << false
        << false;
    QTest::newRow("text vs comment") << QByteArray("<a>x</a>") << QByteArray("<a><!--x--></a>")
                                     << false << false << false << false;
    QTest::newRow("text vs cdata") << QByteArray("<a>x</a>") << QByteArray("<a><![CDATA[x]]></a>")
                                   << false << false << false << false;
    QTest::newRow("pi target/data boundary")
        << QByteArray("<a><?ab c?></a>") << QByteArray("<a><?a bc?></a>") << false << false << false
        << false;
    QTest::newRow("siblings vs nesting")
        << QByteArray("<a><b/><c/></a>") << QByteArray("<a><b><c/></b></a>") << false << false
        << false << false;
    QTest::newRow("one text vs two texts")
        << QByteArray("<a>xy</a>") << QByteArray("<a>x<!---->y</a>") << false << false << false
        << false;
    QTest::newRow("values swapped between names")
        << QByteArray("<a p=\"1\" q=\"2\"/>") << QByteArray("<a p=\"2\" q=\"1\"/>") << false
        << false << true << false;

    // Pairs that must stay equal under the flags.
    QTest::newRow("indentation dropped")
        << QByteArray("<a>\n  <b/>\n</a>") << QByteArray("<a><b/></a>") << false << false << false
        << true;
    QTest::newRow("spaces simplified")
        << QByteArray("<a>  x \n  y </a>") << QByteArray("<a>x y</a>") << true << false << false
        << true;
    QTest::newRow("spaces kept without simplify")
        << QByteArray("<a>  x  y </a>") << QByteArray("<a>x y</a>") << false << false << false
        << false;
    QTest::newRow("comment never simplified")
        << QByteArray("<a><!-- x --></a>") << QByteArray("<a><!--x--></a>") << true << false
        << false << false;
    QTest::newRow("cdata never simplified")
        << QByteArray("<a><![CDATA[ x ]]></a>") << QByteArray("<a><![CDATA[x]]></a>") << true
        << false << false << false;
    QTest::newRow("attribute values never simplified")
        << QByteArray("<a p=\" 1\"/>") << QByteArray("<a p=\"1\"/>") << true << false << false
        << false;
    QTest::newRow("attribute order ignored")
        << QByteArray("<a p=\"1\" q=\"2\"/>") << QByteArray("<a q=\"2\" p=\"1\"/>") << false
        << false << true << true;
    QTest::newRow("attribute order counts")
        << QByteArray("<a p=\"1\" q=\"2\"/>") << QByteArray("<a q=\"2\" p=\"1\"/>") << false
        << false << false << false;
    QTest::newRow("attributes ignored at every depth")
        << QByteArray("<a p=\"1\"><b q=\"2\">t</b></a>") << QByteArray("<a><b>t</b></a>") << false
        << true << false << true;
    QTest::newRow("attributes compared")
        << QByteArray("<a p=\"1\"/>") << QByteArray("<a/>") << false << false << true << false;
}

void Tst_zovnode::fingerprintEquality()
{
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, second);
    QFETCH(bool, simplify);
    QFETCH(bool, ignoreAttributes);
    QFETCH(bool, ignoreOrder);
    QFETCH(bool, equal);

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

    QTest::newRow("values swapped")
        << QByteArray("<e a=\"2\" b=\"1\"/>") << QByteArray("<e a=\"1\" b=\"2\"/>") << false;
    QTest::newRow("same pairs, other order")
        << QByteArray("<e b=\"1\" a=\"2\"/>") << QByteArray("<e a=\"2\" b=\"1\"/>") << true;
    QTest::newRow("name/value boundary")
        << QByteArray("<e ab=\"c\"/>") << QByteArray("<e a=\"bc\"/>") << false;
    QTest::newRow("one attribute vs two")
        << QByteArray("<e a=\"1b2\"/>") << QByteArray("<e a=\"1\" b=\"2\"/>") << false;
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

void Tst_zovnode::sortedNamesAndValuesStaySortedApart()
{
    const auto tree = loadXml("<e b=\"1\" a=\"2\"/>");
    QCOMPARE(tree->root()->sortedAttributeNames(), QStringLiteral("ab"));
    QCOMPARE(tree->root()->sortedAttributeValues(), QStringLiteral("12"));
    QCOMPARE(tree->root()->attributeText(), QStringLiteral("b1a2"));
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

void Tst_zovnode::findPath_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<QString>("found");

    QTest::newRow("nested") << QByteArray("<r><a><x/><b k=\"found\"/></a></r>")
                            << QStringList { "a", "b" } << "found";
    QTest::newRow("first match is text")
        << QByteArray("<r>a<a><b k=\"found\"/></a></r>") << QStringList { "a", "b" } << "";
    QTest::newRow("first match is pi target")
        << QByteArray("<r><?a d?><a><b k=\"found\"/></a></r>") << QStringList { "a", "b" } << "";
    QTest::newRow("first same-named element wins")
        << QByteArray("<r><a/><a><b k=\"second\"/></a></r>") << QStringList { "a", "b" } << "";
    QTest::newRow("missing step") << QByteArray("<r><a/></r>") << QStringList { "a", "b" } << "";
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

void Tst_zovnode::childArrayAppearsOnFirstAppend()
{
    Zovelementnode element(QStringLiteral("e"));
    QVERIFY(!element.children());
    QVERIFY(!element.hasChildren());
    Zovnode* const text = new Zovnode(QStringLiteral("t"), Text);
    QCOMPARE(element.appendChild(text), text);
    QVERIFY(element.children());
    QCOMPARE(element.children()->size(), 1);
    QVERIFY(element.hasChildren());
    QVERIFY(!element.appendChild(nullptr));
    QCOMPARE(element.children()->size(), 1);
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
    QVERIFY(text.isCharacterData());
    QVERIFY(!pi.isCharacterData());
    QCOMPARE(text.name(), QStringLiteral("#text"));
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
    a.linkPartner(nullptr);
    QVERIFY(!a.partner());
    a.linkPartner(&b);
    QCOMPARE(a.partner(), &b);
    QCOMPARE(b.partner(), &a);
    a.linkPartner(&c);
    c.linkPartner(&a);
    QCOMPARE(a.partner(), &b);
    QCOMPARE(c.partner(), &a);
}

void Tst_zovnode::setTextOnlyChangesTextNodes()
{
    Zovnode text(QStringLiteral("old"), Text);
    Zovnode comment(QStringLiteral("old"), Comment);
    Zovelementnode element(QStringLiteral("old"));
    text.setText(QStringLiteral("new"));
    comment.setText(QStringLiteral("new"));
    element.setText(QStringLiteral("new"));
    QCOMPARE(text.text(), QStringLiteral("new"));
    QCOMPARE(comment.text(), QStringLiteral("old"));
    QCOMPARE(element.text(), QStringLiteral("old"));
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

void Tst_zovnode::processingInstructionNameIsData()
{
    Zovelementnode element(QStringLiteral("e"));
    const Zovnode* const mark = element.appendMark(QStringLiteral("complete match"));
    QCOMPARE(mark->kind(), Pi);
    QCOMPARE(mark->text(), QStringLiteral("ZOV"));
    QCOMPARE(mark->name(), QStringLiteral("complete match"));
    QCOMPARE(mark->value(), QStringLiteral("complete match"));
}

QTEST_GUILESS_MAIN(Tst_zovnode)
#include "tst_zovnode.moc"
