#include "navpair.h"

#include "compare/changekind.h"
#include "config/cfgstore.h"
#include "gui/changenavigator.h"
#include "gui/matchfilter.h"
#include "gui/summarybar.h"
#include "gui/vtreeitem.h"
#include "gui/zovvisual.h"

#include <QSignalSpy>
#include <QStandardPaths>
#include <QToolButton>
#include <QTreeWidgetItemIterator>
#include <QtTest>

using Step = Changenavigator::Step;

namespace {

QImage image(const QIcon& icon)
{
    return icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
}

bool hasIcon(const QTreeWidgetItem* item, const QString& resource)
{
    return !item->icon(0).isNull() && image(item->icon(0)) == image(QIcon(resource));
}

QColor textColour(const QTreeWidgetItem* item, int column)
{
    const QVariant brush = item->data(column, Qt::ForegroundRole);
    return brush.isValid() ? brush.value<QBrush>().color() : QColor();
}

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

// The view with the navigator, the match filter and the summary bar that follow it.
class Tst_view : public QObject {
    Q_OBJECT

    std::unique_ptr<Navpair> m_pair;
    std::unique_ptr<Zovvisual> m_view;
    std::unique_ptr<Changenavigator> m_nav;
    std::unique_ptr<Matchfilter> m_filter;
    std::unique_ptr<Summarybar> m_bar;

    // The one place that waits for a filled view.
    void fill(Zovtree* left, Zovtree* right) { m_view->show(left, right); }
    void fill() { fill(m_pair->left.get(), m_pair->right.get()); }
    QTreeWidgetItem* leftAt(const QStringList& path) { return itemAt(m_view->leftTree(), path); }
    QTreeWidgetItem* rightAt(const QStringList& path) { return itemAt(m_view->rightTree(), path); }
    QString highlighted() const
    {
        return m_view->highlightedRight() ? m_view->highlightedRight()->text(0) : QString();
    }
    // The items reached until the navigator stops, then the step that stopped it.
    QStringList stepThrough(bool forward)
    {
        QStringList names;
        for (int guard = 0; guard < 50; ++guard) {
            const Step step = forward ? m_nav->next() : m_nav->previous();
            if (step != Step::Moved)
                return names << (step == Step::AtEnd ? "<end>" : "<none>");
            names << highlighted();
        }
        return names;
    }

private Q_SLOTS:
    void initTestCase()
    {
        // The look of shifted pairs is a user setting: start from none stored.
        QStandardPaths::setTestModeEnabled(true);
    }

    void init()
    {
        Cfgstore::instance().useBuiltins();
        m_pair = std::make_unique<Navpair>();
        m_view = std::make_unique<Zovvisual>();
        m_nav = std::make_unique<Changenavigator>(m_view.get());
        m_filter = std::make_unique<Matchfilter>(m_view.get());
        m_bar = std::make_unique<Summarybar>(m_view.get());
    }

    void cleanup()
    {
        m_bar.reset();
        m_filter.reset();
        m_nav.reset();
        m_view.reset();
        m_pair.reset();
    }

    void firstLevel()
    {
        fill();
        QTreeWidgetItem* left = m_view->leftTree()->topLevelItem(0);
        QTreeWidgetItem* right = m_view->rightTree()->topLevelItem(0);
        QVERIFY(left->isExpanded() && right->isExpanded());
        // Marks make no items; below closed items there are none yet.
        QCOMPARE(right->childCount(), 7);
        QCOMPARE(left->childCount(), 7);
        QTreeWidgetItem* a = rightAt({ "a" });
        QCOMPARE(a->text(1), QStringLiteral("id='1' "));
        QCOMPARE(a->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
        QCOMPARE(a->childCount(), 0);
        QVERIFY(hasIcon(leftAt({ "a" }), QStringLiteral(":/img/book_norm.bmp")));
        QTreeWidgetItem* pi = rightAt({ "<?pi data?>" });
        QVERIFY(pi && pi->icon(0).isNull());
        QCOMPARE(pi->text(2), QStringLiteral("complete match"));
    }

    void markTable_data()
    {
        QTest::addColumn<QString>("mark");
        QTest::addColumn<bool>("shifted");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<bool>("attributes");
        QTest::addColumn<QString>("icon");
        // With "Show shifted nodes as moved"; without it a note says "shifted".
        QTest::addColumn<QColor>("moved");
        const auto row = [](const char* mark, bool shifted, QColor colour, bool attributes,
                             const char* icon, QColor moved = {}) {
            QTest::newRow(qPrintable(QLatin1String(mark) + (shifted ? ", shifted" : "")))
                << QString(mark) << shifted << colour << attributes
                << QStringLiteral(":/img/book_%1.bmp").arg(QLatin1String(icon))
                << (moved.isValid() ? moved : colour);
        };
        row("position and content change 3", false, Qt::red, false, "red");
        row("attribute and content change", false, Qt::red, true, "red");
        row("position change 1", false, Qt::blue, true, "blue");
        row("element added", false, Qt::blue, true, "blue");
        row("element deleted node", false, QColor(160, 160, 164), true, "light");
        row("position and attribute change 2", false, Qt::magenta, true, "purple");
        row("complete match", false, {}, false, "norm");
        row("content change!", false, {}, false, "norm");
        row("position change 1", true, {}, false, "norm", Qt::blue);
        row("position and content change 3", true, Qt::red, false, "red");
        row("position and attribute change 2", true, Qt::magenta, true, "purple");
    }

    void markTable()
    {
        QFETCH(QString, mark);
        QFETCH(bool, shifted);
        QFETCH(QColor, colour);
        QFETCH(bool, attributes);
        QFETCH(QString, icon);
        QFETCH(QColor, moved);
        auto left = Navpair::rooted();
        auto right = Navpair::rooted();
        right->root()->appendMark(mark)->setShifted(shifted);
        right->root()->appendChild(Navpair::element("n", { "q", "1" })());
        fill(left.get(), right.get());
        // Only the right root has children, so it stays closed until the user opens it.
        QTreeWidgetItem* root = m_view->rightTree()->topLevelItem(0);
        QVERIFY(!root->isExpanded());
        m_view->rightTree()->expandItem(root);
        QTreeWidgetItem* item = root->child(0);
        // The stored text stays; a deleted element's name is no part of it.
        QCOMPARE(item->text(2), mark.startsWith("element deleted") ? "element deleted" : mark);
        QCOMPARE(textColour(item, 0), colour);
        QCOMPARE(textColour(item, 2), colour);
        QCOMPARE(textColour(item, 1), attributes ? colour : QColor());
        QVERIFY(hasIcon(item, icon));
        QCOMPARE(item->data(2, Zovvisual::NoteRole).isValid(), shifted);
        m_view->setShiftedAsMoved(true);
        QCOMPARE(textColour(item, 0), moved);
        QVERIFY(!item->data(2, Zovvisual::NoteRole).isValid());
    }

    void expandInStepWithInheritedMarks()
    {
        Cfgstore::instance().setParameter(QStringLiteral("do_txtdiff"), QStringLiteral("true"));
        fill();
        // Settings changed after the run do not change how its items look.
        Cfgstore::instance().setParameter(QStringLiteral("content_change"), QStringLiteral("x"));
        m_view->leftTree()->expandItem(leftAt({ "a" }));
        QVERIFY(rightAt({ "a" })->isExpanded());
        m_view->rightTree()->expandItem(rightAt({ "a", "q" }));
        QVERIFY(leftAt({ "a", "q" })->isExpanded());
        QCOMPARE(m_view->leftItemOf(static_cast<Vtreeitem*>(rightAt({ "a", "p" }))),
            leftAt({ "a", "p" }));
        // The compared text: its delegate draws the markers.
        QTreeWidgetItem* text = rightAt({ "a", "q", Navpair::text });
        QVERIFY(text->data(0, Zovvisual::MarkedRole).toBool());
        QCOMPARE(text->text(2), QStringLiteral("content change"));
        QCOMPARE(textColour(text, 0), QColor(Qt::red));
        QVERIFY(text->icon(0).isNull());

        // Added and deleted elements pass their kind on; position and attribute changes do not.
        for (const QStringList& path :
            { QStringList { "a", "q", "r" }, { "a", "s" }, { "b" }, { "c" } })
            m_view->rightTree()->expandItem(rightAt(path));
        QCOMPARE(rightAt({ "a", "q", "r", "r1" })->text(2), QStringLiteral("element added"));
        QTreeWidgetItem* s1 = rightAt({ "a", "s", "s1" });
        QCOMPARE(s1->text(2), QStringLiteral("element deleted"));
        QCOMPARE(textColour(s1, 1), QColor(Qt::gray));
        QVERIFY(hasIcon(s1, QStringLiteral(":/img/book_light.bmp")));
        for (QTreeWidgetItem* match : { rightAt({ "b", "b1" }), rightAt({ "c", "c1" }) }) {
            QCOMPARE(match->text(2), QStringLiteral("complete match"));
            QCOMPARE(textColour(match, 0), QColor());
            QVERIFY(hasIcon(match, QStringLiteral(":/img/book_norm.bmp")));
        }

        // Collapsing drops the items and their links on both sides; opening builds them anew.
        m_view->rightTree()->collapseItem(rightAt({ "a" }));
        QVERIFY(!leftAt({ "a" })->isExpanded());
        QCOMPARE(leftAt({ "a" })->childCount() + rightAt({ "a" })->childCount(), 0);
        m_view->rightTree()->expandItem(rightAt({ "a" }));
        QCOMPARE(leftAt({ "a" })->childCount(), 3);
        m_view->leftTree()->collapseItem(m_view->leftTree()->topLevelItem(0));
        QVERIFY(!m_view->rightTree()->topLevelItem(0)->isExpanded());
        QCOMPARE(m_view->rightTree()->topLevelItem(0)->childCount(), 0);
        QCOMPARE(m_view->linkCount(), 1);
    }

    void splitMarked_data()
    {
        QTest::addColumn<QString>("text");
        // The pieces as drawn: '=' plain, '-' struck through, '+' underlined, joined by '|'.
        QTest::addColumn<QString>("runs");
        QTest::newRow("no markers") << "190 EUR" << "=190 EUR";
        QTest::newRow("replaced") << "[-]190[/-][+]210[/+]" << "-190|+210";
        QTest::newRow("inside a text") << "a [+]new [/+]b[-]c[/-]" << "=a |+new |=b|-c";
        QTest::newRow("empty piece dropped") << "a[+][/+]b" << "=a|=b";
        QTest::newRow("start without end") << "a[+]b" << "=a[+]b";
        QTest::newRow("end without start") << "a[/-]b" << "=a[/-]b";
        QTest::newRow("nested stays inside") << "[-]a[+]b[/-]" << "-a[+]b";
    }

    void splitMarked()
    {
        QFETCH(QString, text);
        QFETCH(QString, runs);
        QStringList got;
        for (const Textrun& run : ::splitMarked(text, { "[+]", "[/+]", "[-]", "[/-]" }))
            got << QLatin1String(run.kind == Textrun::Deleted ? "-"
                        : run.kind == Textrun::Inserted       ? "+"
                                                              : "=")
                    + run.text;
        QCOMPARE(got.join(QLatin1Char('|')), runs);
        // Without markers configured nothing is split.
        QCOMPARE(::splitMarked(text, {}).size(), 1);
    }

    void clickHighlightsPairs()
    {
        fill();
        const QBrush brush = Zovvisual::highlightBrush();
        QTreeWidgetItem* a = leftAt({ "a" });
        a->setSelected(true);
        m_view->aitemclicked(a, 0);
        QVERIFY(!a->isSelected());
        QCOMPARE(a->background(1), brush);
        QCOMPARE(rightAt({ "a" })->background(2), brush);
        m_view->bitemclicked(rightAt({ "e" }), 2);
        QCOMPARE(a->background(0), QBrush());
        QCOMPARE(rightAt({ "a" })->background(2), QBrush());
        QCOMPARE(m_view->highlightedLeft(), leftAt({ "e" }));
        QCOMPARE(leftAt({ "e" })->background(1), brush);

        // Without a counterpart the old pair loses its colour and nothing else gets one.
        m_view->rightTree()->expandItem(rightAt({ "a" }));
        m_view->bitemclicked(rightAt({ "a", "s" }), 0);
        QCOMPARE(leftAt({ "e" })->background(0), QBrush());
        QCOMPARE(rightAt({ "a", "s" })->background(0), QBrush());
        QVERIFY(!m_view->highlightedLeft());
        m_view->aitemclicked(leftAt({ "a", "s" }), 0);
        QCOMPARE(leftAt({ "a", "s" })->background(0), QBrush());
        QVERIFY(!m_view->highlightedRight());

        // Collapsing forgets the highlight before its items go.
        m_view->aitemclicked(leftAt({ "a", "p" }), 0);
        m_view->leftTree()->collapseItem(a);
        QVERIFY(!m_view->highlightedLeft() && !m_view->highlightedRight());
        m_view->aitemclicked(m_view->leftTree()->topLevelItem(0), 0);
        m_view->reset();
        QCOMPARE(m_view->rightTree()->topLevelItemCount(), 0);
        QVERIFY(!m_view->highlightedLeft());
    }

    void walkThroughChanges_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("asMoved");
        QTest::addColumn<bool>("forward");
        QTest::addColumn<QStringList>("names");
        const QStringList all { "a", "q", Navpair::text, "r", "s", "c", "m", "<end>" };
        QStringList backward(all.crbegin() + 1, all.crend());
        QTest::newRow("all forward") << 0 << false << true << all;
        QTest::newRow("all backward") << 0 << false << false << (backward << "<end>");
        QStringList moved = all;
        moved.insert(5, QStringLiteral("b"));
        QTest::newRow("shifted shown as moved") << 0 << true << true << moved;
        QTest::newRow("added only") << int(element_added) << false << true
                                    << QStringList { "r", "<end>" };
        QTest::newRow("deleted only backward")
            << int(element_deleted) << false << false << QStringList { "s", "<end>" };
        QTest::newRow("moved only") << int(position_change) << false << true
                                    << QStringList { "m", "<end>" };
        QTest::newRow("kind not in the result")
            << int(attribute_and_content_change) << false << true << QStringList { "<none>" };
        QTest::newRow("complete match is no change")
            << int(complete_match) << false << true << QStringList { "<none>" };
    }

    void walkThroughChanges()
    {
        QFETCH(int, kind);
        QFETCH(bool, asMoved);
        QFETCH(bool, forward);
        QFETCH(QStringList, names);
        fill();
        m_view->setShiftedAsMoved(asMoved);
        m_nav->setKind(kind);
        QCOMPARE(stepThrough(forward), names);
    }

    void navigationOpensTheWay()
    {
        fill();
        m_nav->setKind(element_added);
        QCOMPARE(m_nav->next(), Step::Moved);
        // r lies two closed levels down; both levels opened on both sides.
        QTreeWidgetItem* r = rightAt({ "a", "q", "r" });
        QVERIFY(r);
        QCOMPARE(m_view->highlightedRight(), r);
        QVERIFY(leftAt({ "a", "q" })->isExpanded());
        QCOMPARE(leftAt({ "a", "q" })->childCount(), 1);
        // The added element is one change: it stays closed, r1 is no stop of its own.
        QVERIFY(!r->isExpanded());
        QCOMPARE(m_nav->next(), Step::AtEnd);
    }

    void navigationStartsAtTheClick()
    {
        fill();
        m_view->bitemclicked(rightAt({ "b" }), 0);
        QCOMPARE(m_nav->next(), Step::Moved);
        QCOMPARE(highlighted(), QStringLiteral("c"));
        QCOMPARE(m_view->highlightedLeft(), leftAt({ "c" }));
        QCOMPARE(rightAt({ "b" })->background(0), QBrush());
        m_view->aitemclicked(leftAt({ "e" }), 0);
        QCOMPARE(m_nav->previous(), Step::Moved);
        QCOMPARE(highlighted(), QStringLiteral("m"));
        m_view->bitemclicked(rightAt({ "x" }), 0);
        QCOMPARE(m_nav->next(), Step::Moved);
        QCOMPARE(highlighted(), QStringLiteral("a"));
        QCOMPARE(m_nav->previous(), Step::AtEnd);

        // Collapsing drops the highlight and the items, not the place.
        m_nav->setKind(content_change);
        QCOMPARE(m_nav->next(), Step::Moved);
        QCOMPARE(highlighted(), QStringLiteral("q"));
        m_view->rightTree()->collapseItem(rightAt({ "a" }));
        QVERIFY(!m_view->highlightedRight());
        m_nav->setKind(0);
        QCOMPARE(m_nav->next(), Step::Moved);
        QCOMPARE(highlighted(), Navpair::text);

        // The last change does not wrap around, and stays highlighted.
        m_nav->setKind(position_change);
        QCOMPARE(m_nav->next(), Step::Moved);
        QCOMPARE(m_nav->next(), Step::AtEnd);
        QCOMPARE(m_nav->previous(), Step::AtEnd);
        QCOMPARE(highlighted(), QStringLiteral("m"));
        m_view->bitemclicked(rightAt({ "e" }), 0);
        QCOMPARE(m_nav->next(), Step::AtEnd);
        QCOMPARE(m_nav->previous(), Step::Moved);
        QCOMPARE(highlighted(), QStringLiteral("m"));
    }

    void nothingToFind()
    {
        auto left = Navpair::rooted();
        auto right = Navpair::rooted();
        Zovnode* x = Navpair::pair(left->root(), right->root(), "complete match",
            Navpair::element("x"));
        Navpair::pair(x, x->partner(), "", Navpair::element("x1"));
        for (int filled = 0; filled < 3; ++filled) {
            if (filled == 1)
                fill(left.get(), right.get());
            if (filled == 2)
                m_view->bitemclicked(rightAt({ "x" }), 0);
            QCOMPARE(m_nav->next(), Step::NoChange);
            QCOMPARE(m_nav->previous(), Step::NoChange);
            QVERIFY(!m_nav->current());
        }
    }

    void deepChain()
    {
        // Deeper than a recursive walk or the toolkit's recursive layout would survive.
        auto left = Navpair::rooted();
        auto right = Navpair::rooted();
        Zovnode* l = left->root();
        Zovnode* r = right->root();
        for (int depth = 0; depth < 200000; ++depth) {
            l = Navpair::pair(l, r, "complete match", Navpair::element("n"));
            r = l->partner();
        }
        r->appendMark(QStringLiteral("element added"));
        const Zovnode* bottom = Navpair::add(r, "leaf");
        fill(left.get(), right.get());
        QCOMPARE(m_nav->next(), Step::Moved);
        QCOMPARE(m_nav->current(), bottom);
        // Opened as deep as the view goes, in step on both sides; the rest of the way is told.
        int level = 0;
        for (const QTreeWidgetItem* item = m_view->highlightedRight(); item->parent();
             item = item->parent())
            ++level;
        QCOMPARE(level, Zovvisual::maxOpenDepth);
        QVERIFY(m_view->highlightedLeft());
        QVERIFY2(m_nav->remark().contains(QStringLiteral("n \u00d7")), qPrintable(m_nav->remark()));
        QVERIFY(!m_view->rightTree()->grab().isNull());
        // The change reached, not the item standing for it, is where the next step starts.
        QCOMPARE(m_nav->next(), Step::AtEnd);
        QCOMPARE(m_nav->previous(), Step::AtEnd);
        QCOMPARE(m_nav->current(), bottom);
    }

    void matchFilter_data()
    {
        QTest::addColumn<bool>("fromLeft");
        QTest::newRow("expanded on the right") << false;
        QTest::newRow("expanded on the left") << true;
    }

    void matchFilter()
    {
        QFETCH(bool, fromLeft);
        // On before the view is filled: the first level obeys it too.
        m_filter->setActive(true);
        fill();
        QCOMPARE(hiddenItems(m_view->rightTree()), QStringList({ "x", "b", "<?pi data?>", "e" }));
        QTreeWidget* tree = fromLeft ? m_view->leftTree() : m_view->rightTree();
        for (const QStringList& path : { QStringList { "a" }, { "a", "q" }, { "b" }, { "c" } })
            tree->expandItem(itemAt(tree, path));
        QStringList hidden { "x", "p", "b", "b1", "c1", "<?pi data?>", "e" };
        QCOMPARE(hiddenItems(m_view->rightTree()), hidden);
        QCOMPARE(hiddenItems(m_view->leftTree()), hidden);
        // Made again, the items are hidden as before.
        tree->collapseItem(itemAt(tree, { "a" }));
        tree->expandItem(itemAt(tree, { "a" }));
        QCOMPARE(hiddenItems(m_view->leftTree()), hidden);
        // Shown as moved, the shifted pair is a change.
        m_view->setShiftedAsMoved(true);
        QStringList moved = hidden;
        moved.removeOne(QStringLiteral("b"));
        QCOMPARE(hiddenItems(m_view->rightTree()), moved);
        m_filter->setActive(false);
        QVERIFY(hiddenItems(m_view->rightTree()).isEmpty());
        QVERIFY(hiddenItems(m_view->leftTree()).isEmpty());
        m_view->rightTree()->expandItem(rightAt({ "e" }));
        QVERIFY(hiddenItems(m_view->rightTree()).isEmpty());
    }

    void summaryCounts_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("asMoved");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tip");
        const auto row = [](int entry, int count, int asMoved, const char* text, const char* tip) {
            QTest::newRow(text) << entry << count << asMoved << QString(text) << QString(tip);
        };
        row(complete_match, 5, 4, "unchanged: 5", "complete match: 5");
        row(position_change, 1, 2, "moved: 1", "position change: 1");
        row(content_change, 3, 3, "changed: 3", "content change: 3");
        row(attribute_change, 1, 1, "attributes: 1", "attribute change: 1");
        row(position_and_content_change, 0, 0, "moved+changed: 0", "position and content change: 0");
        row(element_added, 1, 1, "added: 1", "element added: 1");
        row(element_deleted, 1, 1, "deleted: 1", "element deleted: 1");
        row(Marklook::shiftedEntry, 1, 1, "shifted: 1", "Shifted: 1");
    }

    void summaryCounts()
    {
        QFETCH(int, entry);
        QFETCH(int, count);
        QFETCH(int, asMoved);
        QFETCH(QString, text);
        QFETCH(QString, tip);
        fill();
        QCOMPARE(m_bar->count(entry), count);
        QCOMPARE(m_bar->button(entry)->text(), text);
        // The full text, the configured mark text, is in the tip.
        QVERIFY(m_bar->button(entry)->toolTip().startsWith(tip + QLatin1Char('\n')));
        // Nothing of a kind: greyed.
        QCOMPARE(m_bar->button(entry)->isEnabled(), count != 0);
        m_view->setShiftedAsMoved(true);
        QCOMPARE(m_bar->count(entry), asMoved);
    }

    void summaryLooksLikeTheView_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<bool>("asMoved");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<QString>("icon");
        QTest::newRow("content change") << int(content_change) << false << QColor(Qt::red)
                                        << ":/img/book_red.bmp";
        QTest::newRow("element deleted") << int(element_deleted) << false
                                         << QColor(160, 160, 164) << ":/img/book_light.bmp";
        QTest::newRow("position and attribute change") << int(position_and_attribute_change)
                                                       << false << QColor(Qt::magenta)
                                                       << ":/img/book_purple.bmp";
        QTest::newRow("complete match")
            << int(complete_match) << false << QColor() << ":/img/book_norm.bmp";
        QTest::newRow("shifted") << int(Marklook::shiftedEntry) << false << QColor()
                                 << ":/img/book_norm.bmp";
        QTest::newRow("shifted as moved") << int(Marklook::shiftedEntry) << true
                                          << QColor(Qt::blue) << ":/img/book_blue.bmp";
    }

    void summaryLooksLikeTheView()
    {
        QFETCH(int, entry);
        QFETCH(bool, asMoved);
        QFETCH(QColor, colour);
        QFETCH(QString, icon);
        if (entry != Marklook::shiftedEntry)
            Cfgstore::instance().setParameter(changekindKey(entry), QStringLiteral("kind"));
        fill();
        m_view->setShiftedAsMoved(asMoved);
        QToolButton* button = m_bar->button(entry);
        if (entry != Marklook::shiftedEntry)
            QVERIFY(button->toolTip().startsWith(QStringLiteral("kind: ")));
        QCOMPARE(button->palette().color(QPalette::Active, QPalette::ButtonText),
            colour.isValid() ? colour : m_bar->palette().color(QPalette::ButtonText));
        QCOMPARE(image(button->icon()), image(QIcon(icon)));
    }

    void summaryChoosesAKind()
    {
        fill();
        QSignalSpy chosen(m_bar.get(), &Summarybar::kindChosen);
        m_bar->button(element_added)->click();
        QCOMPARE(m_bar->chosenKind(), int(element_added));
        m_bar->button(position_change)->click();
        QCOMPARE(m_bar->chosenKind(), int(position_change));
        QVERIFY(!m_bar->button(element_added)->isChecked());
        m_bar->button(position_change)->click();
        QCOMPARE(m_bar->chosenKind(), 0);
        // Complete matches cannot be chosen.
        m_bar->button(complete_match)->click();
        QCOMPARE(m_bar->chosenKind(), 0);
        QCOMPARE(chosen.size(), 3);
        // A new run lifts the choice.
        m_bar->button(element_deleted)->click();
        m_view->reset();
        QCOMPARE(m_bar->chosenKind(), 0);
        QVERIFY(!m_bar->button(element_deleted)->isChecked());
        QCOMPARE(chosen.last().at(0).toInt(), 0);
        QCOMPARE(m_bar->count(content_change), -1);
    }

    void summaryReadableAt1024()
    {
        fill();
        m_bar->resize(1024, m_bar->heightForWidth(1024));
        m_bar->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_bar.get()));
        for (int entry = complete_match; entry <= Marklook::shiftedEntry; ++entry) {
            const QToolButton* button = m_bar->button(entry);
            QVERIFY2(button->width() >= button->sizeHint().width(), qPrintable(button->text()));
            QVERIFY2(m_bar->rect().contains(button->geometry()), qPrintable(button->text()));
        }
    }
};

QTEST_MAIN(Tst_view)
#include "tst_view.moc"
