#include "config/cfgstore.h"
#include "gui/marklook.h"
#include "gui/vtreeitem.h"
#include "gui/zovresources.h"
#include "gui/zovvisual.h"
#include "model/zovnode.h"
#include "model/zovtree.h"

#include <QTreeWidget>
#include <QtTest>
#include <memory>

namespace {

Zovnode* add(Zovnode* parent, Zovnode* child) { return parent->appendChild(child); }

Zovnode* element(Zovnode* parent, const QString& name, const QStringList& attributes = {})
{
    if (attributes.isEmpty())
        return add(parent, new Zovelementnode(name));
    return add(
        parent, new Zovattrelementnode(name, int(attributes.size()), attributes.constData()));
}

// A childless copy of an element named name becomes the tree's root.
std::unique_ptr<Zovtree> treeWithRoot(const QString& name)
{
    auto tree = std::make_unique<Zovtree>();
    const Zovelementnode root(name);
    tree->setRoot(&root);
    return tree;
}

QImage iconImage(const QIcon& icon)
{
    return icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
}

bool hasIcon(const QTreeWidgetItem* item, const QString& resource)
{
    return !item->icon(0).isNull() && iconImage(item->icon(0)) == iconImage(QIcon(resource));
}

QColor textColour(const QTreeWidgetItem* item, int column)
{
    const QVariant brush = item->data(column, Qt::ForegroundRole);
    return brush.isValid() ? brush.value<QBrush>().color() : QColor();
}

Vtreeitem* child(QTreeWidgetItem* item, int index)
{
    return static_cast<Vtreeitem*>(item->child(index));
}

} // namespace

class Tst_zovvisual : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void firstLevelsAfterShow();
    void markTable_data();
    void markTable();
    void inheritedMarks();
    void splitMarked_data();
    void splitMarked();
    void expandAndCollapseInStep();
    void clickHighlightsBothSides();
    void clickWithoutCounterpart();

private:
    // Left: doc(a[x=1](text, b), c(f), d(e), <?render fast?>, h[k=v](i)).
    // Right: the merged result of a content change of a, a position change of c, d deleted,
    // g added, the processing instruction unchanged and an attribute change of h.
    void buildPair();

    std::unique_ptr<Zovtree> m_left;
    std::unique_ptr<Zovtree> m_right;
    std::unique_ptr<Zovvisual> m_view;
};

void Tst_zovvisual::initTestCase() { zovInitResources(); }

void Tst_zovvisual::init()
{
    Cfgstore::instance().useBuiltins();
    m_view = std::make_unique<Zovvisual>();
    buildPair();
}

void Tst_zovvisual::cleanup()
{
    m_view->reset();
    m_view.reset();
    m_right.reset();
    m_left.reset();
}

void Tst_zovvisual::buildPair()
{
    m_left = treeWithRoot(QStringLiteral("doc"));
    m_right = treeWithRoot(QStringLiteral("doc"));
    Zovnode* l = m_left->root();
    Zovnode* r = m_right->root();

    Zovnode* a = element(l, QStringLiteral("a"), { QStringLiteral("x"), QStringLiteral("1") });
    Zovnode* text = add(a, new Zovnode(QStringLiteral("  hello \n  world "), Text));
    Zovnode* b = element(a, QStringLiteral("b"));
    Zovnode* c = element(l, QStringLiteral("c"));
    Zovnode* f = element(c, QStringLiteral("f"));
    Zovnode* d = element(l, QStringLiteral("d"));
    element(d, QStringLiteral("e"));
    Zovnode* pi = add(l, new Zovpinode(QStringLiteral("render"), QStringLiteral("fast")));
    Zovnode* h = element(l, QStringLiteral("h"), { QStringLiteral("k"), QStringLiteral("v") });
    Zovnode* i = element(h, QStringLiteral("i"));

    r->appendMark(QStringLiteral("content change"));
    Zovnode* a2 = element(r, QStringLiteral("a"), { QStringLiteral("x"), QStringLiteral("1") });
    add(a2, new Zovnode(QStringLiteral("  hello \n  world "), Text))->linkPartner(text);
    element(a2, QStringLiteral("b"))->linkPartner(b);
    a2->linkPartner(a);
    r->appendMark(QStringLiteral("position change 2"));
    Zovnode* c2 = element(r, QStringLiteral("c"));
    c2->linkPartner(c);
    element(c2, QStringLiteral("f"))->linkPartner(f);
    r->appendMark(QStringLiteral("element deleted d"));
    Zovnode* d2 = element(r, QStringLiteral("d"));
    element(d2, QStringLiteral("e"));
    r->appendMark(QStringLiteral("element added"));
    Zovnode* g = element(r, QStringLiteral("g"));
    element(g, QStringLiteral("g1"));
    r->appendMark(QStringLiteral("complete match"));
    add(r, new Zovpinode(QStringLiteral("render"), QStringLiteral("fast")))->linkPartner(pi);
    r->appendMark(QStringLiteral("attribute change"));
    Zovnode* h2 = element(r, QStringLiteral("h"), { QStringLiteral("k"), QStringLiteral("w") });
    h2->linkPartner(h);
    element(h2, QStringLiteral("i"))->linkPartner(i);
}

void Tst_zovvisual::firstLevelsAfterShow()
{
    m_view->show(m_left.get(), m_right.get());
    QTreeWidgetItem* left = m_view->leftTree()->topLevelItem(0);
    QTreeWidgetItem* right = m_view->rightTree()->topLevelItem(0);
    QVERIFY(left && right);
    QVERIFY(left->isExpanded());
    QVERIFY(right->isExpanded());
    QCOMPARE(left->childCount(), 5);
    // The six marks become no items of their own.
    QCOMPARE(right->childCount(), 6);

    QCOMPARE(left->child(0)->text(0), QStringLiteral("a"));
    QCOMPARE(left->child(0)->text(1), QStringLiteral("x='1' "));
    QVERIFY(hasIcon(left->child(0), QStringLiteral(":/img/book_norm.bmp")));
    QCOMPARE(left->child(0)->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    QCOMPARE(left->child(0)->childCount(), 0);
    QCOMPARE(left->child(3)->text(0), QStringLiteral("<?render fast?>"));
    QVERIFY(left->child(3)->icon(0).isNull());
    QCOMPARE(right->child(4)->text(0), QStringLiteral("<?render fast?>"));
    QVERIFY(right->child(4)->icon(0).isNull());
    QCOMPARE(right->child(4)->text(2), QStringLiteral("complete match"));
    QCOMPARE(right->child(5)->text(1), QStringLiteral("k='w' "));

    // Root plus a, c, the processing instruction and h; d and g have no counterpart.
    QCOMPARE(m_view->linkCount(), 5);
    QCOMPARE(m_view->leftNodeCount(), 0);
    QCOMPARE(m_view->leftItemOf(child(right, 0)), left->child(0));
    QVERIFY(!m_view->leftItemOf(child(right, 2)));
    QVERIFY(!m_view->leftItemOf(child(right, 3)));
}

void Tst_zovvisual::markTable_data()
{
    QTest::addColumn<QString>("mark");
    QTest::addColumn<bool>("shifted");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<bool>("attributeColumnColoured");
    QTest::addColumn<QString>("icon");
    // With "Show shifted nodes as moved": the colour, and whether a note says "shifted" without.
    QTest::addColumn<QColor>("movedColour");
    QTest::addColumn<bool>("noted");
    const auto row = [](const char* name, const char* mark, bool shifted, const char* shown,
                         QColor colour, bool attributes, const char* icon, QColor moved = {},
                         bool noted = false) {
        QTest::newRow(name) << QString(mark) << shifted << QString(shown) << colour << attributes
                            << QString(icon) << (moved.isValid() ? moved : colour) << noted;
    };
    const QColor none;
    row("position and content", "position and content change 3", false,
        "position and content change 3", Qt::red, false, ":/img/book_red.bmp");
    row("attribute and content", "attribute and content change", false,
        "attribute and content change", Qt::red, true, ":/img/book_red.bmp");
    row("moved", "position change 1", false, "position change 1", Qt::blue, true,
        ":/img/book_blue.bmp");
    row("added", "element added", false, "element added", Qt::blue, true, ":/img/book_blue.bmp");
    row("deleted", "element deleted node", false, "element deleted", QColor(160, 160, 164), true,
        ":/img/book_light.bmp");
    row("moved with attributes", "position and attribute change 2", false,
        "position and attribute change 2", Qt::magenta, true, ":/img/book_purple.bmp");
    row("complete match", "complete match", false, "complete match", none, false,
        ":/img/book_norm.bmp");
    row("unknown text", "content change!", false, "content change!", none, false,
        ":/img/book_norm.bmp");
    // Shifted pairs show what else changed; the stored mark text stays.
    row("shifted only", "position change 1", true, "position change 1", none, false,
        ":/img/book_norm.bmp", Qt::blue, true);
    row("shifted with content", "position and content change 3", true,
        "position and content change 3", Qt::red, false, ":/img/book_red.bmp", Qt::red, true);
    row("shifted with attributes", "position and attribute change 2", true,
        "position and attribute change 2", Qt::magenta, true, ":/img/book_purple.bmp", Qt::magenta,
        true);
    row("shifted flag on no position kind", "attribute change", true, "attribute change",
        Qt::magenta, true, ":/img/book_purple.bmp");
}

void Tst_zovvisual::markTable()
{
    QFETCH(QString, mark);
    QFETCH(bool, shifted);
    QFETCH(QString, shown);
    QFETCH(QColor, colour);
    QFETCH(bool, attributeColumnColoured);
    QFETCH(QString, icon);
    QFETCH(QColor, movedColour);
    QFETCH(bool, noted);

    auto left = treeWithRoot(QStringLiteral("doc"));
    auto right = treeWithRoot(QStringLiteral("doc"));
    right->root()->appendMark(mark)->setShifted(shifted);
    element(right->root(), QStringLiteral("n"), { QStringLiteral("q"), QStringLiteral("1") });
    m_view->setShiftedAsMoved(false);
    m_view->show(left.get(), right.get());
    // Only the right root has children, so it stays closed until the user opens it.
    QTreeWidgetItem* root = m_view->rightTree()->topLevelItem(0);
    QVERIFY(!root->isExpanded());
    m_view->rightTree()->expandItem(root);
    QCOMPARE(root->childCount(), 1);

    QTreeWidgetItem* item = root->child(0);
    QCOMPARE(item->text(2), shown);
    QCOMPARE(textColour(item, 0), colour);
    QCOMPARE(textColour(item, 2), colour);
    QCOMPARE(textColour(item, 1), attributeColumnColoured ? colour : QColor());
    QVERIFY(hasIcon(item, icon));
    QCOMPARE(item->data(2, Zovvisual::NoteRole).isValid(), noted);

    m_view->setShiftedAsMoved(true);
    QCOMPARE(item->text(2), shown);
    QCOMPARE(textColour(item, 0), movedColour);
    QVERIFY(!item->data(2, Zovvisual::NoteRole).isValid());
    m_view->setShiftedAsMoved(false);
    m_view->reset();
}

void Tst_zovvisual::inheritedMarks()
{
    Cfgstore::instance().setParameter(QStringLiteral("do_txtdiff"), QStringLiteral("true"));
    m_view->show(m_left.get(), m_right.get());
    QTreeWidget* rightTree = m_view->rightTree();
    QTreeWidgetItem* right = rightTree->topLevelItem(0);
    QTreeWidgetItem* left = m_view->leftTree()->topLevelItem(0);

    // Settings read again after the run do not change how its items look.
    Cfgstore::instance().setParameter(QStringLiteral("content_change"), QStringLiteral("later"));
    rightTree->expandItem(right->child(0));
    QTreeWidgetItem* text = right->child(0)->child(0);
    // The text was compared inline: its delegate draws the markers.
    QVERIFY(text->data(0, Zovvisual::MarkedRole).toBool());
    QCOMPARE(text->text(0), QStringLiteral("'hello world'"));
    QCOMPARE(text->text(2), QStringLiteral("content change"));
    QCOMPARE(textColour(text, 0), QColor(Qt::red));
    QVERIFY(text->icon(0).isNull());
    QTreeWidgetItem* b = right->child(0)->child(1);
    QCOMPARE(b->text(2), QStringLiteral("content change"));
    QVERIFY(hasIcon(b, QStringLiteral(":/img/book_red.bmp")));
    // The left counterpart opened along with it.
    QVERIFY(left->child(0)->isExpanded());
    QCOMPARE(left->child(0)->child(0)->text(0), QStringLiteral("'hello world'"));

    // Position and attribute changes are not passed on to the children.
    rightTree->expandItem(right->child(1));
    QTreeWidgetItem* f = right->child(1)->child(0);
    QCOMPARE(f->text(2), QStringLiteral("complete match"));
    QCOMPARE(textColour(f, 0), QColor());
    QVERIFY(hasIcon(f, QStringLiteral(":/img/book_norm.bmp")));
    rightTree->expandItem(right->child(5));
    QCOMPARE(right->child(5)->child(0)->text(2), QStringLiteral("complete match"));

    rightTree->expandItem(right->child(2));
    QTreeWidgetItem* e = right->child(2)->child(0);
    QCOMPARE(e->text(2), QStringLiteral("element deleted"));
    QCOMPARE(textColour(e, 1), QColor(Qt::gray));
    QVERIFY(hasIcon(e, QStringLiteral(":/img/book_light.bmp")));

    rightTree->expandItem(right->child(3));
    QCOMPARE(right->child(3)->child(0)->text(2), QStringLiteral("element added"));
}

void Tst_zovvisual::splitMarked_data()
{
    QTest::addColumn<QString>("text");
    // The pieces as drawn: '=' plain, '-' struck through, '+' underlined, joined by '|'.
    QTest::addColumn<QString>("runs");
    QTest::newRow("no markers") << "190 EUR"
                                << "=190 EUR";
    QTest::newRow("replaced") << "[-]190[/-][+]210[/+]"
                              << "-190|+210";
    QTest::newRow("inside a text") << "a [+]new [/+]b[-]c[/-]"
                                   << "=a |+new |=b|-c";
    QTest::newRow("empty piece dropped") << "a[+][/+]b"
                                         << "=a|=b";
    QTest::newRow("start without end") << "a[+]b"
                                       << "=a[+]b";
    QTest::newRow("end without start") << "a[/-]b"
                                       << "=a[/-]b";
    QTest::newRow("nested stays inside") << "[-]a[+]b[/-]"
                                         << "-a[+]b";
}

void Tst_zovvisual::splitMarked()
{
    QFETCH(QString, text);
    QFETCH(QString, runs);
    const Textmarkers markers { "[+]", "[/+]", "[-]", "[/-]" };
    QStringList got;
    for (const Textrun& run : ::splitMarked(text, markers))
        got << QLatin1Char(run.kind == Textrun::Deleted ? '-'
                       : run.kind == Textrun::Inserted  ? '+'
                                                        : '=')
                + run.text;
    QCOMPARE(got.join(QLatin1Char('|')), runs);
    // Without markers configured nothing is split.
    QCOMPARE(::splitMarked(text, {}).size(), text.isEmpty() ? 0 : 1);
}

void Tst_zovvisual::expandAndCollapseInStep()
{
    m_view->show(m_left.get(), m_right.get());
    QTreeWidget* leftTree = m_view->leftTree();
    QTreeWidget* rightTree = m_view->rightTree();
    QTreeWidgetItem* left = leftTree->topLevelItem(0);
    QTreeWidgetItem* right = rightTree->topLevelItem(0);

    leftTree->expandItem(left->child(1));
    QVERIFY(right->child(1)->isExpanded());
    QCOMPARE(left->child(1)->childCount(), 1);
    QCOMPARE(right->child(1)->childCount(), 1);
    QCOMPARE(m_view->leftItemOf(child(right->child(1), 0)), left->child(1)->child(0));
    QCOMPARE(m_view->rightItemOf(child(left->child(1), 0)), right->child(1)->child(0));
    QCOMPARE(m_view->linkCount(), 6);
    QCOMPARE(m_view->leftNodeCount(), 0);

    rightTree->collapseItem(right->child(1));
    QVERIFY(!left->child(1)->isExpanded());
    QCOMPARE(left->child(1)->childCount(), 0);
    QCOMPARE(right->child(1)->childCount(), 0);
    QCOMPARE(m_view->linkCount(), 5);

    // Expanding again builds the items anew.
    rightTree->expandItem(right->child(1));
    QVERIFY(left->child(1)->isExpanded());
    QCOMPARE(right->child(1)->childCount(), 1);

    // A deleted node has no left item to open along with it.
    rightTree->expandItem(right->child(2));
    QCOMPARE(right->child(2)->childCount(), 1);
    QCOMPARE(left->child(2)->childCount(), 0);

    leftTree->collapseItem(left);
    QVERIFY(!right->isExpanded());
    QCOMPARE(left->childCount(), 0);
    QCOMPARE(right->childCount(), 0);
    QCOMPARE(m_view->linkCount(), 1);
    QCOMPARE(m_view->leftNodeCount(), 0);
}

void Tst_zovvisual::clickHighlightsBothSides()
{
    m_view->show(m_left.get(), m_right.get());
    QTreeWidgetItem* left = m_view->leftTree()->topLevelItem(0);
    QTreeWidgetItem* right = m_view->rightTree()->topLevelItem(0);
    const QBrush brush = Zovvisual::highlightBrush();

    left->child(0)->setSelected(true);
    m_view->aitemclicked(left->child(0), 0);
    QVERIFY(!left->child(0)->isSelected());
    QCOMPARE(left->child(0)->background(0), brush);
    QCOMPARE(left->child(0)->background(1), brush);
    for (int column = 0; column < 3; ++column)
        QCOMPARE(right->child(0)->background(column), brush);
    QCOMPARE(m_view->highlightedRight(), right->child(0));

    m_view->bitemclicked(right->child(5), 2);
    QCOMPARE(left->child(0)->background(0), QBrush());
    QCOMPARE(right->child(0)->background(2), QBrush());
    QCOMPARE(right->child(5)->background(2), brush);
    QCOMPARE(left->child(4)->background(1), brush);
    QCOMPARE(m_view->highlightedLeft(), left->child(4));
}

void Tst_zovvisual::clickWithoutCounterpart()
{
    m_view->show(m_left.get(), m_right.get());
    QTreeWidgetItem* left = m_view->leftTree()->topLevelItem(0);
    QTreeWidgetItem* right = m_view->rightTree()->topLevelItem(0);
    m_view->aitemclicked(left->child(1), 0);
    QCOMPARE(right->child(1)->background(0), Zovvisual::highlightBrush());

    // The added element has no left item: the old pair loses its colour, nothing else gets one.
    m_view->bitemclicked(right->child(3), 0);
    QCOMPARE(right->child(1)->background(0), QBrush());
    QCOMPARE(left->child(1)->background(0), QBrush());
    QCOMPARE(right->child(3)->background(0), QBrush());
    QVERIFY(!m_view->highlightedLeft());

    // The deleted element of the left side has no right item either.
    m_view->aitemclicked(left->child(2), 0);
    QCOMPARE(left->child(2)->background(0), QBrush());
    QVERIFY(!m_view->highlightedRight());

    // Collapsing forgets the highlight before its items go.
    m_view->aitemclicked(left->child(0), 0);
    m_view->leftTree()->collapseItem(left);
    QVERIFY(!m_view->highlightedLeft());
    QVERIFY(!m_view->highlightedRight());

    m_view->aitemclicked(left, 0);
    m_view->reset();
    QCOMPARE(m_view->leftTree()->topLevelItemCount(), 0);
    QCOMPARE(m_view->rightTree()->topLevelItemCount(), 0);
    QCOMPARE(m_view->linkCount(), 0);
    QCOMPARE(m_view->leftNodeCount(), 0);
    QVERIFY(!m_view->highlightedLeft());
}

QTEST_MAIN(Tst_zovvisual)
#include "tst_zovvisual.moc"
