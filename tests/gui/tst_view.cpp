#include "navpair.h"
#include "script.h"

#include "compare/changekind.h"
#include "config/cfgstore.h"
#include "gui/changenavigator.h"
#include "gui/matchfilter.h"
#include "gui/summarybar.h"
#include "gui/vtreeitem.h"
#include "gui/zovvisual.h"

#include <QStandardPaths>
#include <QToolButton>
#include <QTreeWidgetItemIterator>
#include <QtTest>

using Step = Changenavigator::Step;

namespace {

QString colourName(const QColor& colour)
{
    static const QList<QPair<QColor, QString>> names { { Qt::red, "red" }, { Qt::blue, "blue" },
        { Qt::magenta, "magenta" }, { Qt::gray, "grey" } };
    for (const auto& [known, name] : names) {
        if (colour == known)
            return name;
    }
    return colour.name();
}

QString bookName(const QIcon& icon)
{
    const auto image = [](const QIcon& of) {
        return of.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
    };
    for (const char* name : { "norm", "blue", "red", "light", "purple" }) {
        if (image(icon) == image(QIcon(QStringLiteral(":/img/book_%1.bmp").arg(name))))
            return QLatin1String("book=") + QLatin1String(name);
    }
    return QStringLiteral("book=?");
}

// One line per item in tree order, indented by depth: the column texts, the text colours of the
// columns, the book and the flags.
QStringList dump(QTreeWidget* tree)
{
    const int columns = tree->columnCount();
    QStringList lines;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        const QTreeWidgetItem* item = *it;
        int depth = 0;
        for (const QTreeWidgetItem* up = item->parent(); up; up = up->parent())
            ++depth;
        QStringList parts { QString(2 * depth, QLatin1Char(' ')) + item->text(0) };
        if (!item->text(1).isEmpty())
            parts << QLatin1Char('{') + item->text(1) + QLatin1Char('}');
        if (columns > 2)
            parts << QLatin1Char('(') + item->text(2) + QLatin1Char(')');
        QStringList colours;
        int lit = 0;
        for (int column = 0; column < columns; ++column) {
            const QVariant brush = item->data(column, Qt::ForegroundRole);
            colours << (brush.isValid() ? colourName(brush.value<QBrush>().color()) : "-");
            lit += item->background(column) == Zovvisual::highlightBrush() ? 1 : 0;
        }
        if (colours != QStringList(columns, QStringLiteral("-")))
            parts << colours.join(QLatin1Char(','));
        if (!item->icon(0).isNull())
            parts << bookName(item->icon(0));
        const std::pair<bool, const char*> flags[]
            = { { item->isExpanded(), "open" }, { item->isHidden(), "hidden" },
                  { lit == columns, "lit" }, { lit > 0 && lit < columns, "partly lit" },
                  { item->data(0, Zovvisual::MarkedRole).toBool(), "marked" },
                  { item->data(1, Zovvisual::MarkedRole).toBool(), "marked attributes" },
                  { item->data(2, Zovvisual::NoteRole).isValid(), "note" } };
        for (const auto& [on, flag] : flags) {
            if (on)
                parts << QLatin1String(flag);
        }
        lines << parts.join(QLatin1Char(' '));
    }
    return lines;
}

// A list of count pairs e0.. behind one added element, with the last pair moved to the front
// as a shifted pair (shown as a complete match) and a content change three fifths down; the
// moved pair and the change each hold one child pair.
struct Longpair {
    std::unique_ptr<Zovtree> left = Navpair::rooted();
    std::unique_ptr<Zovtree> right = Navpair::rooted();
    int changed;

    explicit Longpair(int count)
        : changed(count * 3 / 5)
    {
        Zovnode* r = right->root();
        r->appendMark(QStringLiteral("element added"));
        Navpair::add(r, "new");
        QVector<Zovnode*> lefts;
        for (int i = 0; i < count; ++i)
            lefts << left->root()->appendChild(new Zovelementnode(QStringLiteral("e%1").arg(i)));
        const auto pairWith = [&](int i, const char* mark) {
            Zovnode* markNode = r->appendMark(QLatin1String(mark));
            Zovnode* node = r->appendChild(new Zovelementnode(QStringLiteral("e%1").arg(i)));
            node->linkPartner(lefts[i]);
            lefts[i]->linkPartner(node);
            Navpair::pair(lefts[i], node, "complete match", Navpair::element("inner"));
            return markNode;
        };
        pairWith(count - 1, "position change 1")->setShifted(true);
        for (int i = 0; i + 1 < count; ++i)
            pairWith(i, i == changed ? "content change" : "complete match");
    }
};

QTreeWidgetItem* childNamed(QTreeWidgetItem* parent, const QString& name)
{
    for (int i = 0; i < parent->childCount(); ++i) {
        if (parent->child(i)->text(0) == name)
            return parent->child(i);
    }
    return nullptr;
}

} // namespace

// The view with the navigator, the match filter and the summary bar that follow it, driven by
// the scripts in data/view: lines "> command" each followed by what the command shows.
class Tst_view : public QObject {
    Q_OBJECT

    std::unique_ptr<Navpair> m_pair;
    std::unique_ptr<Zovtree> m_singleLeft;
    std::unique_ptr<Zovtree> m_singleRight;
    std::unique_ptr<Zovvisual> m_view;
    std::unique_ptr<Changenavigator> m_nav;
    std::unique_ptr<Matchfilter> m_filter;
    std::unique_ptr<Summarybar> m_bar;
    QStringList m_output;

    // The one place that waits for a filled view.
    void fill(Zovtree* left, Zovtree* right)
    {
        m_view->show(left, right);
        QTRY_VERIFY(!m_view->isFilling());
    }

    QTreeWidgetItem* leftRoot() const { return m_view->leftTree()->topLevelItem(0); }
    QTreeWidgetItem* rightRoot() const { return m_view->rightTree()->topLevelItem(0); }

    QString highlights() const
    {
        const QTreeWidgetItem* left = m_view->highlightedLeft();
        const QTreeWidgetItem* right = m_view->highlightedRight();
        return (right ? right->text(0) : "-") + QLatin1String(" / ") + (left ? left->text(0) : "-");
    }

    QStringList summary() const
    {
        QStringList lines;
        for (int entry = complete_match; entry <= Marklook::shiftedEntry; ++entry) {
            const QToolButton* button = m_bar->button(entry);
            const QColor colour = button->palette().color(QPalette::Active, QPalette::ButtonText);
            lines << QStringList { button->text(), button->toolTip().section('\n', 0, 0),
                colour == m_bar->palette().color(QPalette::ButtonText) ? "-" : colourName(colour),
                bookName(button->icon()) + (button->isEnabled() ? "" : " off")
                    + (button->isChecked() ? " checked" : "") }
                         .join(QLatin1String(" | "));
        }
        return lines;
    }

    // Runs one script command and returns what it shows.
    QStringList run(const QString& command)
    {
        const QString verb = command.section(QLatin1Char(' '), 0, 0);
        const QString rest = command.section(QLatin1Char(' '), 1);
        const QString side = rest.section(QLatin1Char(' '), 0, 0);
        const QString name = rest.section(QLatin1Char(' '), 1);
        QTreeWidget* tree
            = side == "left" || verb == "left" ? m_view->leftTree() : m_view->rightTree();
        QTreeWidgetItem* item = nullptr;
        for (QTreeWidgetItemIterator it(tree); *it && !item; ++it)
            item = (*it)->text(0) == name ? *it : nullptr;
        const bool onItem = verb == "open" || verb == "close" || verb == "click";
        if (onItem && !item)
            return { QLatin1String("no item ") + name };
        if (verb == "fill") {
            fill(m_pair->left.get(), m_pair->right.get());
        } else if (verb == "single" || verb == "shifted") {
            // A result whose root holds one element n behind the mark.
            m_view->reset();
            m_singleLeft = Navpair::rooted();
            m_singleRight = Navpair::rooted();
            m_singleRight->root()->appendMark(rest)->setShifted(verb == "shifted");
            m_singleRight->root()->appendChild(Navpair::element("n", { "q", "1" })());
            fill(m_singleLeft.get(), m_singleRight.get());
        } else if (verb == "set") {
            Cfgstore::instance().setParameter(side, name);
        } else if (verb == "open") {
            tree->expandItem(item);
        } else if (verb == "close") {
            tree->collapseItem(item);
        } else if (verb == "click") {
            side == "left" ? m_view->aitemclicked(item, 0) : m_view->bitemclicked(item, 0);
        } else if (verb == "moved") {
            m_view->setShiftedAsMoved(rest == "on");
        } else if (verb == "filter") {
            m_filter->setActive(rest == "on");
        } else if (verb == "kind") {
            m_nav->setKind(rest.toInt());
        } else if (verb == "choose") {
            m_bar->button(rest.toInt())->click();
        } else if (verb == "reset") {
            m_view->reset();
        } else if (verb == "next" || verb == "previous") {
            const Step step = verb == "next" ? m_nav->next() : m_nav->previous();
            const char* const steps[] = { "moved", "at end", "no change", "failed" };
            m_output << QLatin1String(steps[int(step)]) + QLatin1String(": ") + highlights();
        } else if (verb == "left" || verb == "right") {
            m_output << dump(tree);
        } else if (verb == "summary") {
            m_output << summary();
        } else if (verb == "lit") {
            m_output << highlights();
        } else if (verb == "links") {
            m_output << QString::number(m_view->linkCount());
        } else if (verb == "split") {
            const char* const kinds[] = { "=", "-", "+", "note " };
            QStringList runs;
            for (const Textrun& piece : splitMarked(rest, { "[+]", "[/+]", "[-]", "[/-]" }))
                runs << QLatin1String(kinds[piece.kind]) + piece.text;
            m_output << runs.join(QLatin1Char('|'));
        } else {
            m_output << QLatin1String("unknown command ") + verb;
        }
        return std::exchange(m_output, {});
    }

private Q_SLOTS:
    // The look of shifted pairs is a user setting: start from none stored.
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init()
    {
        Cfgstore::instance().useBuiltins();
        m_pair = std::make_unique<Navpair>();
        m_view = std::make_unique<Zovvisual>();
        m_nav = std::make_unique<Changenavigator>(m_view.get());
        m_filter = std::make_unique<Matchfilter>(m_view.get());
        m_bar = std::make_unique<Summarybar>(m_view.get());
        connect(m_bar.get(), &Summarybar::kindChosen, this,
            [this](int kind) { m_output << QStringLiteral("chosen %1").arg(kind); });
    }

    void cleanup()
    {
        m_bar.reset();
        m_filter.reset();
        m_nav.reset();
        m_view.reset();
        m_output.clear();
    }

    void script_data() { addScripts("view"); }

    void script()
    {
        QFETCH(QString, path);
        runScript(path, [this](const QString& command) { return run(command); });
    }

    void deepChain()
    {
        // Deeper than a recursive walk or the toolkit's recursive layout would survive.
        auto left = Navpair::rooted();
        auto right = Navpair::rooted();
        Zovnode* l = left->root();
        for (int depth = 0; depth < 200000; ++depth)
            l = Navpair::pair(
                l, depth ? l->partner() : right->root(), "complete match", Navpair::element("n"));
        l->partner()->appendMark(QStringLiteral("element added"));
        const Zovnode* bottom = Navpair::add(l->partner(), "leaf");
        fill(left.get(), right.get());
        QCOMPARE(m_nav->next(), Step::Moved);
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
        QCOMPARE(m_nav->current(), bottom);
    }

    void slices_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("filtered");
        QTest::newRow("one item a slice") << 1 << false;
        QTest::newRow("uneven slices") << 7 << false;
        QTest::newRow("one short of the list") << 50 << false;
        QTest::newRow("hidden matches, one item a slice") << 1 << true;
        QTest::newRow("hidden matches, uneven slices") << 7 << true;
    }

    void slices()
    {
        QFETCH(int, size);
        QFETCH(bool, filtered);
        const Longpair pair(50);
        m_filter->setActive(filtered);
        fill(pair.left.get(), pair.right.get());
        const QStringList left = dump(m_view->leftTree());
        const QStringList right = dump(m_view->rightTree());
        const int links = m_view->linkCount();
        m_view->reset();

        m_view->setSliceSize(size);
        m_view->show(pair.left.get(), pair.right.get());
        QVERIFY(m_view->isFilling());
        QCOMPARE(leftRoot()->childCount(), size);
        QTRY_VERIFY(!m_view->isFilling());
        // In order, styled, linked and filtered as when made at once.
        QCOMPARE(dump(m_view->leftTree()), left);
        QCOMPARE(dump(m_view->rightTree()), right);
        QCOMPARE(m_view->linkCount(), links);
        // The moved pair's left item came slices after its right one.
        QCOMPARE(m_view->leftItemOf(static_cast<Vtreeitem*>(rightRoot()->child(1))),
            leftRoot()->child(49));
        QCOMPARE(leftRoot()->child(49)->isHidden(), filtered);
    }

    void itemsNotMadeYet()
    {
        const Longpair pair(50);
        m_view->setSliceSize(5);
        m_view->show(pair.left.get(), pair.right.get());
        QCOMPARE(m_nav->next(), Step::Moved);
        QCOMPARE(highlights(), QStringLiteral("new / -"));
        // The change lies beyond the slices made so far.
        const QString changed = QStringLiteral("e%1").arg(pair.changed);
        QVERIFY(!childNamed(rightRoot(), changed));
        QCOMPARE(m_nav->next(), Step::Moved);
        QCOMPARE(highlights(), changed + QLatin1String(" / ") + changed);
        QCOMPARE(m_nav->next(), Step::AtEnd);
        // Opening the moved pair opens its left counterpart, which is slices away still.
        QVERIFY(!childNamed(leftRoot(), QStringLiteral("e49")));
        m_view->rightTree()->expandItem(rightRoot()->child(1));
        QTreeWidgetItem* moved = childNamed(leftRoot(), QStringLiteral("e49"));
        QVERIFY(moved && moved->isExpanded());
        QCOMPARE(moved->child(0)->text(0), QStringLiteral("inner"));
        QTRY_VERIFY(!m_view->isFilling());
        QCOMPARE(leftRoot()->childCount(), 50);
        QCOMPARE(rightRoot()->childCount(), 51);
    }

    // Rows count as one line each until an item needs more; that item then shows all its lines
    // instead of being cut to the height of the others.
    void rowsOfSeveralLines_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("uniform");
        const QString twoLines = QStringLiteral("first\nsecond");
        QTest::newRow("one-line comment") << int(Comment) << QStringLiteral("first") << true;
        QTest::newRow("text of two lines") << int(Text) << twoLines << true;
        QTest::newRow("comment of two lines") << int(Comment) << twoLines << false;
        QTest::newRow("CDATA of two lines") << int(Cdata) << twoLines << false;
        QTest::newRow("instruction of two lines") << int(Pi) << twoLines << false;
        QTest::newRow("attribute value of two lines") << int(Attrelement) << twoLines << false;
    }

    void rowsOfSeveralLines()
    {
        QFETCH(int, kind);
        QFETCH(QString, text);
        QFETCH(bool, uniform);
        const Navpair::Make make = [kind, text]() -> Zovnode* {
            switch (kind) {
            case Pi:
                return new Zovpinode(QStringLiteral("pi"), text);
            case Attrelement: {
                const QString attributes[] = { QStringLiteral("k"), text };
                return new Zovattrelementnode(QStringLiteral("e"), 2, attributes);
            }
            default:
                return new Zovtextnode(text, Nodekind(kind));
            }
        };
        auto left = Navpair::rooted();
        auto right = Navpair::rooted();
        Navpair::pair(left->root(), right->root(), "complete match", Navpair::element("before"));
        Navpair::pair(left->root(), right->root(), "complete match", make);
        m_view->show(left.get(), right.get());
        QTRY_VERIFY(!m_view->isFilling());
        m_view->resize(800, 400);
        m_view->QWidget::show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
        for (QTreeWidget* tree : { m_view->leftTree(), m_view->rightTree() }) {
            QCOMPARE(tree->uniformRowHeights(), uniform);
            const QTreeWidgetItem* root = tree->topLevelItem(0);
            const int oneLine = tree->visualItemRect(root->child(0)).height();
            QCOMPARE(tree->visualItemRect(root->child(1)).height() > oneLine, !uniform);
        }
        // The next run starts from rows of one line again.
        const Navpair plain;
        m_view->show(plain.left.get(), plain.right.get());
        QVERIFY(m_view->leftTree()->uniformRowHeights());
        QVERIFY(m_view->rightTree()->uniformRowHeights());
    }

    // A jump far into a list still being made lets the window repaint on the way there.
    void farJumpKeepsRepainting()
    {
        const Longpair pair(400);
        m_view->setSliceSize(1);
        m_view->show(pair.left.get(), pair.right.get());
        int turns = 0;
        QTimer turn;
        connect(&turn, &QTimer::timeout, this, [&turns] { ++turns; });
        turn.start(0);
        QCOMPARE(m_nav->previous(), Step::Moved);
        const QString changed = QStringLiteral("e%1").arg(pair.changed);
        QCOMPARE(highlights(), changed + QLatin1String(" / ") + changed);
        QVERIFY(turns > 0);
        QTRY_VERIFY(!m_view->isFilling());
        QCOMPARE(rightRoot()->childCount(), 401);
    }

    void closedDuringFill()
    {
        const Longpair pair(50);
        m_view->setSliceSize(5);
        m_view->show(pair.left.get(), pair.right.get());
        m_view->rightTree()->collapseItem(rightRoot());
        QVERIFY(!m_view->isFilling() && !leftRoot()->isExpanded());
        QCOMPARE(leftRoot()->childCount() + rightRoot()->childCount(), 0);
        QCOMPARE(m_view->linkCount(), 1);
        // Opened again, the list starts over and ends complete.
        m_view->leftTree()->expandItem(leftRoot());
        QVERIFY(m_view->isFilling());
        QTRY_VERIFY(!m_view->isFilling());
        QCOMPARE(leftRoot()->childCount(), 50);
        QCOMPARE(rightRoot()->childCount(), 51);
        QCOMPARE(m_view->linkCount(), 51);
        QCOMPARE(leftRoot()->child(49)->text(0), QStringLiteral("e49"));
    }

    void summaryReadableAt1024()
    {
        fill(m_pair->left.get(), m_pair->right.get());
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
