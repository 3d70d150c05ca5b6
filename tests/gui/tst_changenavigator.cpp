#include "navpair.h"

#include "compare/changekind.h"
#include "config/cfgstore.h"
#include "gui/changenavigator.h"
#include "gui/zovresources.h"
#include "gui/zovvisual.h"

#include <QtTest>

using Step = Changenavigator::Step;
Q_DECLARE_METATYPE(Step)

namespace {

QString highlightedName(const Zovvisual& view)
{
    return view.highlightedRight() ? view.highlightedRight()->text(0) : QString();
}

} // namespace

class Tst_changenavigator : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void walkThroughChanges_data();
    void walkThroughChanges();
    void revealsInsideCollapsedNodes();
    void clickedItemIsTheStart();
    void keepsItsPlaceAfterCollapsing();
    void lastChangeDoesNotWrap();
    void nothingToFind_data();
    void nothingToFind();
    void deepChain();

private:
    QStringList stepThrough(bool forward);

    std::unique_ptr<Navpair> m_pair;
    std::unique_ptr<Zovvisual> m_view;
    std::unique_ptr<Changenavigator> m_navigator;
};

void Tst_changenavigator::initTestCase() { zovInitResources(); }

void Tst_changenavigator::init()
{
    Cfgstore::instance().useBuiltins();
    m_pair = std::make_unique<Navpair>();
    m_view = std::make_unique<Zovvisual>();
    m_navigator = std::make_unique<Changenavigator>(m_view.get());
    m_view->show(m_pair->left.get(), m_pair->right.get());
}

void Tst_changenavigator::cleanup()
{
    m_navigator.reset();
    m_view->reset();
    m_view.reset();
    m_pair.reset();
}

// The names of the items reached until the navigator stops, then the step that stopped it.
QStringList Tst_changenavigator::stepThrough(bool forward)
{
    QStringList names;
    for (int guard = 0; guard < 50; ++guard) {
        const Step step = forward ? m_navigator->next() : m_navigator->previous();
        if (step != Step::Moved) {
            names << (step == Step::AtEnd ? QStringLiteral("<end>") : QStringLiteral("<none>"));
            break;
        }
        names << highlightedName(*m_view);
    }
    return names;
}

void Tst_changenavigator::walkThroughChanges_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("forward");
    QTest::addColumn<QStringList>("names");
    const QStringList all { "a", "q", "r", "s", "b", "c" };
    QTest::newRow("all kinds forward") << 0 << true << (all + QStringList { "<end>" });
    QStringList backwards(all.crbegin(), all.crend());
    QTest::newRow("all kinds backward") << 0 << false << (backwards << "<end>");
    QTest::newRow("added only") << int(element_added) << true << QStringList { "r", "<end>" };
    QTest::newRow("deleted only backward")
        << int(element_deleted) << false << QStringList { "s", "<end>" };
    QTest::newRow("content change only")
        << int(content_change) << true << QStringList { "a", "q", "<end>" };
    QTest::newRow("kind not in the result")
        << int(attribute_and_content_change) << true << QStringList { "<none>" };
    QTest::newRow("complete match is no change")
        << int(complete_match) << true << QStringList { "<none>" };
}

void Tst_changenavigator::walkThroughChanges()
{
    QFETCH(int, kind);
    QFETCH(bool, forward);
    QFETCH(QStringList, names);
    m_navigator->setKind(kind);
    QCOMPARE(stepThrough(forward), names);
}

void Tst_changenavigator::revealsInsideCollapsedNodes()
{
    QTreeWidget* right = m_view->rightTree();
    QTreeWidget* left = m_view->leftTree();
    QTreeWidgetItem* a = itemAt(right, { "a" });
    QVERIFY(a && !a->isExpanded());
    QCOMPARE(a->childCount(), 0);

    m_navigator->setKind(element_added);
    QCOMPARE(m_navigator->next(), Step::Moved);
    // r lies two collapsed levels down; both levels opened on both sides.
    QTreeWidgetItem* r = itemAt(right, { "a", "q", "r" });
    QVERIFY(r);
    QCOMPARE(m_view->highlightedRight(), r);
    QVERIFY(itemAt(right, { "a", "q" })->isExpanded());
    QVERIFY(itemAt(left, { "a", "q" })->isExpanded());
    QCOMPARE(itemAt(left, { "a", "q" })->childCount(), 1);
    // The added element is one change: it stays closed, and r1, which only inherits its mark,
    // is no stop of its own.
    QVERIFY(!r->isExpanded());
    QCOMPARE(m_navigator->next(), Step::AtEnd);
}

void Tst_changenavigator::clickedItemIsTheStart()
{
    QTreeWidget* right = m_view->rightTree();
    m_view->bitemclicked(itemAt(right, { "b" }), 0);
    QCOMPARE(m_navigator->next(), Step::Moved);
    QCOMPARE(highlightedName(*m_view), QStringLiteral("c"));
    QCOMPARE(m_view->highlightedLeft(), itemAt(m_view->leftTree(), { "c" }));
    QCOMPARE(itemAt(m_view->rightTree(), { "b" })->background(0), QBrush());

    // A click on the left side starts from its counterpart.
    m_view->aitemclicked(itemAt(m_view->leftTree(), { "e" }), 0);
    QCOMPARE(m_navigator->previous(), Step::Moved);
    QCOMPARE(highlightedName(*m_view), QStringLiteral("c"));

    // A complete match in the middle: the next change after it, not the first of all.
    m_view->bitemclicked(itemAt(right, { "x" }), 0);
    QCOMPARE(m_navigator->next(), Step::Moved);
    QCOMPARE(highlightedName(*m_view), QStringLiteral("a"));
    QCOMPARE(m_navigator->previous(), Step::AtEnd);
}

void Tst_changenavigator::keepsItsPlaceAfterCollapsing()
{
    m_navigator->setKind(content_change);
    QCOMPARE(m_navigator->next(), Step::Moved);
    QCOMPARE(m_navigator->next(), Step::Moved);
    QCOMPARE(highlightedName(*m_view), QStringLiteral("q"));
    // Collapsing drops the highlight and the items, not the place.
    m_view->rightTree()->collapseItem(itemAt(m_view->rightTree(), { "a" }));
    QVERIFY(!m_view->highlightedRight());
    m_navigator->setKind(0);
    QCOMPARE(m_navigator->next(), Step::Moved);
    QCOMPARE(highlightedName(*m_view), QStringLiteral("r"));
}

void Tst_changenavigator::lastChangeDoesNotWrap()
{
    m_navigator->setKind(attribute_change);
    QCOMPARE(m_navigator->next(), Step::Moved);
    QTreeWidgetItem* c = m_view->highlightedRight();
    QCOMPARE(c->text(0), QStringLiteral("c"));
    QCOMPARE(m_navigator->next(), Step::AtEnd);
    QCOMPARE(m_view->highlightedRight(), c);
    QCOMPARE(m_navigator->previous(), Step::AtEnd);
    QCOMPARE(m_view->highlightedRight(), c);
    // From an item behind the only change, Previous finds it and Next reports the end.
    m_view->bitemclicked(itemAt(m_view->rightTree(), { "e" }), 0);
    QCOMPARE(m_navigator->next(), Step::AtEnd);
    QCOMPARE(m_navigator->previous(), Step::Moved);
    QCOMPARE(m_view->highlightedRight(), c);
}

void Tst_changenavigator::nothingToFind_data()
{
    QTest::addColumn<bool>("filled");
    QTest::addColumn<bool>("clicked");
    QTest::newRow("empty view") << false << false;
    QTest::newRow("only complete matches") << true << false;
    QTest::newRow("only complete matches, item clicked") << true << true;
}

void Tst_changenavigator::nothingToFind()
{
    QFETCH(bool, filled);
    QFETCH(bool, clicked);
    m_view->reset();
    auto left = Navpair::rooted();
    auto right = Navpair::rooted();
    Zovnode* x = Navpair::pair(left->root(), right->root(), "complete match", "x");
    Navpair::pair(x, x->partner(), QString(), "x1");
    if (filled)
        m_view->show(left.get(), right.get());
    if (clicked)
        m_view->bitemclicked(itemAt(m_view->rightTree(), { "x" }), 0);
    QCOMPARE(m_navigator->next(), Step::NoChange);
    QCOMPARE(m_navigator->previous(), Step::NoChange);
    QVERIFY(!m_navigator->current());
    m_view->reset();
}

void Tst_changenavigator::deepChain()
{
    // Deeper than a recursive walk or the toolkit's recursive layout would survive.
    m_view->reset();
    auto left = Navpair::rooted();
    auto right = Navpair::rooted();
    Zovnode* l = left->root();
    Zovnode* r = right->root();
    for (int depth = 0; depth < 200000; ++depth) {
        l = Navpair::pair(l, r, "complete match", "n");
        r = l->partner();
    }
    r->appendMark(QStringLiteral("element added"));
    const Zovnode* bottom = Navpair::element(r, "leaf");
    QCOMPARE(Changenavigator::nextChange(m_view->look(), right->root(), nullptr, 0).size(), 200002);
    m_view->show(left.get(), right.get());

    QCOMPARE(m_navigator->next(), Step::Moved);
    QCOMPARE(m_navigator->current(), bottom);
    // Opened as deep as the view goes, in step on both sides; the rest of the way is told.
    const Vtreeitem* shown = m_view->highlightedRight();
    QVERIFY(shown);
    int level = 0;
    for (const QTreeWidgetItem* item = shown; item->parent(); item = item->parent())
        ++level;
    QCOMPARE(level, Zovvisual::maxOpenDepth);
    QVERIFY(m_view->highlightedLeft());
    QVERIFY2(m_navigator->remark().contains(QStringLiteral("n \u00d7")),
        qPrintable(m_navigator->remark()));
    QVERIFY(!m_view->rightTree()->grab().isNull());
    // The change reached, not the item standing for it, is where the next step starts.
    QCOMPARE(m_navigator->next(), Step::AtEnd);
    QCOMPARE(m_navigator->previous(), Step::AtEnd);
    QCOMPARE(m_navigator->current(), bottom);
    m_view->reset();
}

QTEST_MAIN(Tst_changenavigator)
#include "tst_changenavigator.moc"
