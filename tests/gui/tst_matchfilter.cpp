#include "navpair.h"

#include "config/cfgstore.h"
#include "gui/matchfilter.h"
#include "gui/zovresources.h"
#include "gui/zovvisual.h"

#include <QTreeWidgetItemIterator>
#include <QtTest>

namespace {

// The column 0 texts of the hidden items of a tree, in tree order.
QStringList hiddenItems(QTreeWidget* tree)
{
    QStringList names;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if ((*it)->isHidden())
            names << (*it)->text(0);
    }
    return names;
}

} // namespace

class Tst_matchfilter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void hidesMatchesAndCounterparts();
    void itemsMadeLaterObey_data();
    void itemsMadeLaterObey();
    void offShowsEverything();

private:
    std::unique_ptr<Navpair> m_pair;
    std::unique_ptr<Zovvisual> m_view;
    std::unique_ptr<Matchfilter> m_filter;
};

void Tst_matchfilter::initTestCase() { zovInitResources(); }

void Tst_matchfilter::init()
{
    Cfgstore::instance().useBuiltins();
    m_pair = std::make_unique<Navpair>();
    m_view = std::make_unique<Zovvisual>();
    m_filter = std::make_unique<Matchfilter>(m_view.get());
}

void Tst_matchfilter::cleanup()
{
    m_filter.reset();
    m_view->reset();
    m_view.reset();
    m_pair.reset();
}

void Tst_matchfilter::hidesMatchesAndCounterparts()
{
    m_view->show(m_pair->left.get(), m_pair->right.get());
    m_view->rightTree()->expandItem(itemAt(m_view->rightTree(), { "a" }));
    QVERIFY(hiddenItems(m_view->rightTree()).isEmpty());
    m_filter->setActive(true);
    QCOMPARE(hiddenItems(m_view->rightTree()), QStringList({ "x", "p", "e" }));
    QCOMPARE(hiddenItems(m_view->leftTree()), QStringList({ "x", "p", "e" }));
    // The root has no mark and changed items stay.
    QVERIFY(!m_view->rightTree()->topLevelItem(0)->isHidden());
    QVERIFY(!itemAt(m_view->rightTree(), { "a", "s" })->isHidden());
}

void Tst_matchfilter::itemsMadeLaterObey_data()
{
    QTest::addColumn<bool>("fromLeft");
    QTest::newRow("expanded on the right") << false;
    QTest::newRow("expanded on the left") << true;
}

void Tst_matchfilter::itemsMadeLaterObey()
{
    QFETCH(bool, fromLeft);
    // On before the view is filled: the first level obeys it too.
    m_filter->setActive(true);
    m_view->show(m_pair->left.get(), m_pair->right.get());
    QCOMPARE(hiddenItems(m_view->rightTree()), QStringList({ "x", "e" }));

    QTreeWidget* tree = fromLeft ? m_view->leftTree() : m_view->rightTree();
    tree->expandItem(itemAt(tree, { "a" }));
    tree->expandItem(itemAt(tree, { "a", "q" }));
    // b1 shows a complete match because position changes stay with their element.
    tree->expandItem(itemAt(tree, { "b" }));
    const QStringList hidden { "x", "p", "'text'", "b1", "e" };
    QCOMPARE(hiddenItems(m_view->rightTree()), hidden);
    QCOMPARE(hiddenItems(m_view->leftTree()), hidden);

    // Collapsed and opened again, the new items are hidden as before.
    tree->collapseItem(itemAt(tree, { "a" }));
    tree->expandItem(itemAt(tree, { "a" }));
    QCOMPARE(hiddenItems(m_view->rightTree()), QStringList({ "x", "p", "b1", "e" }));
    QCOMPARE(hiddenItems(m_view->leftTree()), QStringList({ "x", "p", "b1", "e" }));
}

void Tst_matchfilter::offShowsEverything()
{
    m_filter->setActive(true);
    m_view->show(m_pair->left.get(), m_pair->right.get());
    m_view->rightTree()->expandItem(itemAt(m_view->rightTree(), { "b" }));
    QVERIFY(!hiddenItems(m_view->leftTree()).isEmpty());
    m_filter->setActive(false);
    QVERIFY(hiddenItems(m_view->rightTree()).isEmpty());
    QVERIFY(hiddenItems(m_view->leftTree()).isEmpty());
    // Off, new items stay visible.
    m_view->rightTree()->expandItem(itemAt(m_view->rightTree(), { "e" }));
    QVERIFY(hiddenItems(m_view->rightTree()).isEmpty());
}

QTEST_MAIN(Tst_matchfilter)
#include "tst_matchfilter.moc"
