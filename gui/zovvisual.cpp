#include "gui/zovvisual.h"

#include "compare/changekind.h"
#include "gui/markdelegate.h"
#include "gui/vtreeitem.h"
#include "gui/waitcursor.h"
#include "gui/zovresources.h"
#include "model/zovnode.h"
#include "model/zovtree.h"
#include "output/markcount.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QScrollBar>
#include <QSettings>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <algorithm>

namespace {

const char* const shiftedKey = "view/shifted_as_moved";

QSettings userSettings() { return QSettings(QStringLiteral("ZOV"), QStringLiteral("zov")); }

bool hasItemDecoration(const Zovnode* node) { return node->kind() != Text && node->kind() != Pi; }

QString nodeText(const Zovnode* node)
{
    switch (node->kind()) {
    case Text:
        return QLatin1Char('\'') + node->text().simplified() + QLatin1Char('\'');
    case Pi:
        return QLatin1String("<?") + node->text() + QLatin1Char(' ') + node->value()
            + QLatin1String("?>");
    default:
        return node->text();
    }
}

QString attributeText(const Zovnode* node)
{
    // Views of the stored strings: a list of copies would allocate for every value of its own.
    QString text;
    const int count = node->attributeStringCount();
    for (int i = 0; i + 1 < count; i += 2) {
        text += node->attributeView(i);
        text += QLatin1String("='");
        text += node->attributeView(i + 1);
        text += QLatin1String("' ");
    }
    return text;
}

void setNodeColumns(Vtreeitem* item, const Zovnode* node)
{
    item->setText(0, nodeText(node));
    if (node->hasAttributes())
        item->setText(1, attributeText(node));
}

Vtreeitem* asVtreeitem(QTreeWidgetItem* item) { return dynamic_cast<Vtreeitem*>(item); }

// An item showing node's name, attributes and whether it has children; the side adds its look.
Vtreeitem* makeItem(Zovnode* node)
{
    auto* item = new Vtreeitem(node);
    item->setText(0, nodeText(node));
    if (hasItemDecoration(node)) {
        if (node->hasAttributes())
            item->setText(1, attributeText(node));
        if (node->hasChildren())
            item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    }
    return item;
}

qsizetype childCount(const Vtreeitem* parent)
{
    const Childspan children = parent ? parent->node()->children() : Childspan();
    return children ? children->size() : 0;
}

} // namespace

// The children of an opening pair still to be made, and what linking them needs meanwhile.
struct Zovvisual::Fill {
    Vtreeitem* left = nullptr;
    Vtreeitem* right = nullptr;
    qsizetype leftNext = 0;
    qsizetype rightNext = 0;
    // The mark the next right child shows.
    QString mark;
    int kind = -1;
    bool shifted = false;
    // The left children made so far, by node, for the right ones that come after them.
    QHash<const Zovnode*, Vtreeitem*> leftNodes;
    // Right children whose partner's left item is still to come, by that partner.
    QMultiHash<const Zovnode*, Vtreeitem*> waiting;

    bool complete() const { return leftNext >= childCount(left) && rightNext >= childCount(right); }
};

Zovvisual::Zovvisual(QWidget* parent)
    : QSplitter(parent)
{
    zovInitResources();
    m_normalIcon = QIcon(QStringLiteral(":/img/book_norm.bmp"));
    m_blueIcon = QIcon(QStringLiteral(":/img/book_blue.bmp"));
    m_redIcon = QIcon(QStringLiteral(":/img/book_red.bmp"));
    m_lightIcon = QIcon(QStringLiteral(":/img/book_light.bmp"));
    m_purpleIcon = QIcon(QStringLiteral(":/img/book_purple.bmp"));

    m_leftTree = new QTreeWidget(this);
    m_leftTree->setObjectName(QStringLiteral("tree_a"));
    m_leftTree->setColumnCount(2);
    m_rightTree = new QTreeWidget(this);
    m_rightTree->setObjectName(QStringLiteral("tree_diff"));
    m_rightTree->setColumnCount(3);
    m_rightTree->setItemDelegate(new Markdelegate(this, m_rightTree));
    m_sliceTimer = new QTimer(this);
    m_sliceTimer->setInterval(0);
    connect(m_sliceTimer, &QTimer::timeout, this, &Zovvisual::addSlices);
    addWidget(m_leftTree);
    addWidget(m_rightTree);
    // The trees take the height that lines above them leave.
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    m_shiftedAction = new QAction(this);
    m_shiftedAction->setObjectName(QStringLiteral("act_shiftedasmoved"));
    m_shiftedAction->setCheckable(true);
    m_shiftedAction->setChecked(userSettings().value(QLatin1String(shiftedKey), false).toBool());
    m_look.setShiftedAsMoved(m_shiftedAction->isChecked());
    connect(m_shiftedAction, &QAction::toggled, this, [this](bool on) {
        userSettings().setValue(QLatin1String(shiftedKey), on);
        setShiftedAsMoved(on);
    });
    setHeaders();

    connect(m_leftTree, &QTreeWidget::itemExpanded, this, &Zovvisual::expand_a);
    connect(m_rightTree, &QTreeWidget::itemExpanded, this, &Zovvisual::expand_diff);
    connect(m_leftTree, &QTreeWidget::itemCollapsed, this, &Zovvisual::collapse_a);
    connect(m_rightTree, &QTreeWidget::itemCollapsed, this, &Zovvisual::collapse_diff);
    connect(m_leftTree, &QTreeWidget::itemClicked, this, &Zovvisual::aitemclicked);
    connect(m_rightTree, &QTreeWidget::itemClicked, this, &Zovvisual::bitemclicked);
}

Zovvisual::~Zovvisual() { qDeleteAll(m_doomed); }

QBrush Zovvisual::highlightBrush() { return QBrush(QColor(248, 255, 0, 127), Qt::SolidPattern); }

void Zovvisual::setHeaders()
{
    const QString elements = QCoreApplication::translate("", "Elements");
    const QString attributes = QCoreApplication::translate("", "Attributes");
    m_leftTree->setHeaderLabels({ elements, attributes });
    m_rightTree->setHeaderLabels(
        { elements, attributes, QCoreApplication::translate("", "Changemarks") });
    m_shiftedAction->setText(QCoreApplication::translate("", "Show shifted nodes as moved"));
    m_shiftedAction->setStatusTip(QCoreApplication::translate("",
        "Colour the nodes that only shifted because of insertions or deletions before them as "
        "moved"));
    // The notes are texts of the current language too.
    if (m_rightTree->topLevelItemCount() > 0)
        setShiftedAsMoved(m_look.shiftedAsMoved());
}

void Zovvisual::reset()
{
    const bool filling = isFilling();
    m_fills.clear();
    m_highlightLeft = nullptr;
    m_highlightRight = nullptr;
    // Clearing must not run the collapse handlers on items that are going away.
    const QSignalBlocker leftBlocker(m_leftTree);
    const QSignalBlocker rightBlocker(m_rightTree);
    // Out of the views at once; deleting a few hundred thousand items waits for idle turns.
    for (QTreeWidget* tree : { m_leftTree, m_rightTree }) {
        while (tree->topLevelItemCount() > 0) {
            QTreeWidgetItem* top = tree->takeTopLevelItem(0);
            m_doomed += top->takeChildren();
            m_doomed.append(top);
        }
    }
    // Freeing the links of a long list takes a while of its own.
    m_doomedLinks.swap(m_links);
    m_doomedRightOf.swap(m_rightOf);
    m_links.clear();
    m_rightOf.clear();
    if (!m_doomed.isEmpty() || !m_doomedLinks.isEmpty())
        m_sliceTimer->start();
    if (filling)
        Q_EMIT fillProgress(100);
    Q_EMIT cleared();
}

void Zovvisual::setSliceSize(int items) { m_sliceSize = qMax(1, items); }

void Zovvisual::show(Zovtree* tree1, Zovtree* resultTree)
{
    if (!tree1 || !resultTree || !tree1->root() || !resultTree->root())
        return;
    // The settings of this run stay with the items until the next run fills the view.
    const bool asMoved = m_look.shiftedAsMoved();
    m_look = Marklook();
    m_look.setShiftedAsMoved(asMoved);
    Zovnode* leftRoot = tree1->root();
    Zovnode* rightRoot = resultTree->root();

    // Rows are one line each (texts show simplified) until an item of several lines comes.
    // Otherwise scrolling to an item far down a long list measures every item above it first,
    // which froze the window for up to a second.
    m_leftTree->setUniformRowHeights(true);
    m_rightTree->setUniformRowHeights(true);
    auto* left = new Vtreeitem(m_leftTree, leftRoot);
    setNodeColumns(left, leftRoot);
    measureRows(m_leftTree, left);
    auto* right = new Vtreeitem(m_rightTree, rightRoot);
    setNodeColumns(right, rightRoot);
    measureRows(m_rightTree, right);
    link(right, left);
    leftRoot->linkPartner(rightRoot);
    rightRoot->linkPartner(leftRoot);

    if (leftRoot->hasChildren()) {
        m_leftTree->expandItem(left);
        left->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    }
    if (rightRoot->hasChildren())
        right->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    // Once per fill: sizing at every expansion costs the depth each time and drops the width
    // the user chose.
    m_leftTree->resizeColumnToContents(0);
    m_rightTree->resizeColumnToContents(0);
    Q_EMIT filled();
}

Vtreeitem* Zovvisual::leftItemOf(Vtreeitem* right) const { return m_links.value(right, nullptr); }

Vtreeitem* Zovvisual::rightItemOf(Vtreeitem* left) const { return m_rightOf.value(left, nullptr); }

void Zovvisual::link(Vtreeitem* right, Vtreeitem* left)
{
    m_links.insert(right, left);
    m_rightOf.insert(left, right);
}

Vtreeitem* Zovvisual::makeLeft(Zovnode* node)
{
    Vtreeitem* item = makeItem(node);
    if (hasItemDecoration(node))
        item->setIcon(0, m_normalIcon);
    measureRows(m_leftTree, item);
    return item;
}

void Zovvisual::measureRows(QTreeWidget* tree, const Vtreeitem* item)
{
    if (!tree->uniformRowHeights())
        return;
    // Texts are simplified and names hold no line break; comments, CDATA sections, processing
    // instructions and attribute values may.
    const Nodekind kind = item->node()->kind();
    const bool verbatim = kind == Comment || kind == Cdata || kind == Pi;
    if ((verbatim && item->text(0).contains(QLatin1Char('\n')))
        || (item->node()->hasAttributes() && item->text(1).contains(QLatin1Char('\n'))))
        tree->setUniformRowHeights(false);
}

void Zovvisual::startFill(Vtreeitem* left, Vtreeitem* right)
{
    auto fill = std::make_unique<Fill>();
    fill->left = left;
    fill->right = right;
    if (right) {
        fill->kind = Marklook::inheritedKind(right->markKind());
        fill->shifted = right->isShifted();
        fill->mark = right->text(2);
        if (fill->kind != right->markKind()) {
            fill->mark = m_look.text(fill->kind);
            fill->shifted = false;
        }
    }
    if (addSlice(*fill, false))
        return;
    m_fills.push_back(std::move(fill));
    m_sliceTimer->start();
    reportProgress();
}

bool Zovvisual::addSlice(Fill& fill, bool timed)
{
    // A loaded machine makes a slice slower; the window must still repaint often enough.
    constexpr qint64 budgetMs = 25;
    QElapsedTimer clock;
    clock.start();
    const auto late
        = [&](qsizetype made) { return timed && made % 256 == 255 && clock.hasExpired(budgetMs); };
    // Items are filled before they join the tree: every change to an item in the tree makes the
    // view lay out all open levels again.
    QList<QTreeWidgetItem*> lefts;
    const int firstLeft = fill.left ? fill.left->childCount() : 0;
    const qsizetype leftEnd = childCount(fill.left);
    while (fill.leftNext < leftEnd && lefts.size() < m_sliceSize && !late(lefts.size())) {
        Zovnode* child = fill.left->node()->children()->at(fill.leftNext++);
        Vtreeitem* item = makeLeft(child);
        lefts.append(item);
        fill.leftNodes.insert(child, item);
        for (Vtreeitem* right : fill.waiting.values(child))
            link(right, item);
        fill.waiting.remove(child);
    }

    QList<QTreeWidgetItem*> rights;
    const int firstRight = fill.right ? fill.right->childCount() : 0;
    const qsizetype rightEnd = childCount(fill.right);
    while (fill.rightNext < rightEnd && rights.size() < m_sliceSize && !late(rights.size())) {
        Zovnode* child = fill.right->node()->children()->at(fill.rightNext++);
        if (isZovMark(child)) {
            fill.mark = child->value();
            fill.kind = m_look.kind(fill.mark);
            fill.shifted = child->isShifted() && isPositionKind(fill.kind);
            continue;
        }
        // A deleted element's name is not part of the mark its item shows.
        if (fill.kind == element_deleted)
            fill.mark = m_look.text(element_deleted);
        Vtreeitem* item = makeItem(child);
        measureRows(m_rightTree, item);
        rights.append(item);
        if (child->partner()) {
            if (Vtreeitem* left = fill.leftNodes.value(child->partner(), nullptr))
                link(item, left);
            else if (fill.left && fill.leftNext < leftEnd)
                fill.waiting.insert(child->partner(), item);
        }
        applyMark(item, fill.mark, fill.kind, fill.shifted);
    }
    if (!lefts.isEmpty())
        fill.left->addChildren(lefts);
    if (!rights.isEmpty())
        fill.right->addChildren(rights);
    Q_EMIT childrenAdded(fill.right, firstRight, fill.left, firstLeft);
    return fill.complete();
}

void Zovvisual::addSlices()
{
    if (!m_fills.empty()) {
        Fill* fill = m_fills.front().get();
        if (addSlice(*fill, true))
            dropFill(fill->right ? static_cast<QTreeWidgetItem*>(fill->right) : fill->left);
        else
            reportProgress();
    } else {
        // Clearing a map of a few hundred thousand links at once would take a turn of its own.
        // Nothing waits for the freeing, so its turns are shorter than a slice's.
        constexpr qint64 budgetMs = 15;
        QElapsedTimer clock;
        clock.start();
        const auto freeSome = [&clock](auto& links) {
            while (!links.isEmpty() && !clock.hasExpired(budgetMs)) {
                auto at = links.begin();
                for (int i = 0; i < 1024 && at != links.end(); ++i)
                    at = links.erase(at);
            }
        };
        freeSome(m_doomedLinks);
        freeSome(m_doomedRightOf);
        while (!m_doomed.isEmpty() && !clock.hasExpired(budgetMs)) {
            for (int i = 0; i < 64 && !m_doomed.isEmpty(); ++i)
                delete m_doomed.takeLast();
        }
    }
    if (m_fills.empty() && m_doomed.isEmpty() && m_doomedLinks.isEmpty()
        && m_doomedRightOf.isEmpty())
        m_sliceTimer->stop();
}

Zovvisual::Fill* Zovvisual::fillOf(const QTreeWidgetItem* parent) const
{
    if (!parent)
        return nullptr;
    for (const std::unique_ptr<Fill>& fill : m_fills) {
        if (fill->left == parent || fill->right == parent)
            return fill.get();
    }
    return nullptr;
}

bool Zovvisual::advance(const QTreeWidgetItem* parent)
{
    Fill* fill = fillOf(parent);
    if (!fill)
        return false;
    if (addSlice(*fill, false))
        dropFill(parent);
    return true;
}

bool Zovvisual::advanceRepainting(const QTreeWidgetItem* parent)
{
    if (!advance(parent))
        return false;
    // Two slices take about 40 ms, the repaint after them up to 60 ms near the end of a long
    // list. The timer's slices wait meanwhile: one of them during the events would lengthen each
    // pause, and its progress report repaints the whole window.
    if (++m_forcedSlices >= 2) {
        m_forcedSlices = 0;
        const bool timed = m_sliceTimer->isActive();
        m_sliceTimer->stop();
        reportProgress();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (timed)
            m_sliceTimer->start();
    }
    return true;
}

void Zovvisual::dropFill(const QTreeWidgetItem* parent)
{
    if (m_fills.empty() || !parent)
        return;
    const auto at
        = std::find_if(m_fills.begin(), m_fills.end(), [parent](const std::unique_ptr<Fill>& fill) {
              return fill->left == parent || fill->right == parent;
          });
    if (at == m_fills.end())
        return;
    m_fills.erase(at);
    reportProgress();
}

void Zovvisual::reportProgress()
{
    qsizetype done = 0;
    qsizetype total = 0;
    for (const std::unique_ptr<Fill>& fill : m_fills) {
        done += fill->leftNext + fill->rightNext;
        total += childCount(fill->left) + childCount(fill->right);
    }
    Q_EMIT fillProgress(total > 0 ? int(done * 100 / total) : 100);
}

Vtreeitem* Zovvisual::rightChild(Vtreeitem* parent, const Zovnode* node)
{
    int from = 0;
    do {
        for (int i = from; i < parent->childCount(); ++i) {
            auto* child = static_cast<Vtreeitem*>(parent->child(i));
            if (child->node() == node)
                return child;
        }
        from = parent->childCount();
    } while (advanceRepainting(parent));
    return nullptr;
}

Vtreeitem* Zovvisual::linkedLeft(Vtreeitem* right)
{
    Vtreeitem* left = leftItemOf(right);
    while (!left && right->node()->partner() && advanceRepainting(right->parent()))
        left = leftItemOf(right);
    return left;
}

Vtreeitem* Zovvisual::linkedRight(Vtreeitem* left)
{
    Vtreeitem* right = rightItemOf(left);
    while (!right && left->node()->partner() && advanceRepainting(left->parent()))
        right = rightItemOf(left);
    return right;
}

int Zovvisual::shownKind(const QTreeWidgetItem* right) const
{
    const auto* item = dynamic_cast<const Vtreeitem*>(right);
    if (!item || item->markKind() < 0)
        return -1;
    return m_look.shownKind(item->markKind(), item->isShifted());
}

const QIcon& Zovvisual::kindIcon(int shown) const
{
    switch (Marklook::icon(shown)) {
    case Marklook::Icon::Red:
        return m_redIcon;
    case Marklook::Icon::Blue:
        return m_blueIcon;
    case Marklook::Icon::Light:
        return m_lightIcon;
    case Marklook::Icon::Purple:
        return m_purpleIcon;
    case Marklook::Icon::Normal:
        break;
    }
    return m_normalIcon;
}

void Zovvisual::applyMark(Vtreeitem* item, const QString& mark, int kind, bool shifted)
{
    item->setText(2, mark);
    item->setMark(kind, shifted);
    const Zovnode* node = item->node();
    // Only texts the run compared inline carry markers; any other text is drawn as it is.
    const bool textDiffed = m_look.textsDiffed() && node->kind() == Text
        && (kind == content_change || kind == position_and_content_change);
    const bool attributesDiffed = m_look.attributesDiffed() && node->hasAttributes()
        && (kind == attribute_change || kind == attribute_and_content_change
            || kind == position_and_attribute_change
            || kind == position_and_content_and_attribute_change);
    if (textDiffed) {
        item->setData(0, MarkedRole, true);
        item->setToolTip(0, item->text(0));
    }
    if (attributesDiffed) {
        item->setData(1, MarkedRole, true);
        item->setToolTip(1, item->text(1));
    }
    style(item);
}

void Zovvisual::style(Vtreeitem* item)
{
    const int shown = shownKind(item);
    const QColor colour = Marklook::colour(shown);
    for (int column = 0; column < 3; ++column) {
        const bool coloured
            = colour.isValid() && (column != 1 || Marklook::coloursAttributes(shown));
        item->setData(column, Qt::ForegroundRole, coloured ? QVariant(colour) : QVariant());
    }
    if (hasItemDecoration(item->node()))
        item->setIcon(0, kindIcon(shown));
    // The stored text still names a position change; the note tells why it is not shown as one.
    const bool note = item->isShifted() && !m_look.shiftedAsMoved();
    item->setData(2, NoteRole, note ? QCoreApplication::translate("", "(shifted)") : QVariant());
    item->setToolTip(2,
        note ? QCoreApplication::translate("",
            "Shifted: this node kept its order among its siblings; only insertions or "
            "deletions before it changed its index.")
             : QString());
}

void Zovvisual::setShiftedAsMoved(bool on)
{
    m_look.setShiftedAsMoved(on);
    {
        const QSignalBlocker blocker(m_shiftedAction);
        m_shiftedAction->setChecked(on);
    }
    {
        // One repaint for all instead of an update of the view per item.
        const QSignalBlocker blocker(m_rightTree->model());
        for (QTreeWidgetItemIterator it(m_rightTree); *it; ++it) {
            if (auto* item = dynamic_cast<Vtreeitem*>(*it); item && item->markKind() >= 0)
                style(item);
        }
    }
    m_rightTree->viewport()->update();
    Q_EMIT restyled();
}

void Zovvisual::highlight(Vtreeitem* right)
{
    removeHighlight();
    if (!right)
        return;
    for (int c = 0; c < 3; ++c)
        right->setBackground(c, highlightBrush());
    m_highlightRight = right;
    if (Vtreeitem* left = linkedLeft(right)) {
        for (int c = 0; c < 2; ++c)
            left->setBackground(c, highlightBrush());
        m_highlightLeft = left;
        bringIntoView(m_leftTree, left);
    }
    bringIntoView(m_rightTree, right);
}

void Zovvisual::bringIntoView(QTreeWidget* tree, QTreeWidgetItem* item)
{
    tree->scrollToItem(item);
    // The width of the rectangle goes negative where the indentation passes the column.
    QRect rect = tree->visualItemRect(item);
    if (rect.height() <= 0)
        return;
    // The indentation lies inside the first column: an item so deep that nothing of it would
    // show needs a wider one.
    QScrollBar* bar = tree->horizontalScrollBar();
    const int indentation = rect.left() - tree->header()->sectionViewportPosition(0);
    if (indentation + 2 * tree->indentation() > tree->columnWidth(0)) {
        tree->setColumnWidth(0,
            indentation + tree->iconSize().width() + tree->indentation()
                + tree->fontMetrics().horizontalAdvance(item->text(0)));
        rect = tree->visualItemRect(item);
    }
    const int room = tree->viewport()->width();
    if (rect.left() < 0 || rect.left() > room / 2)
        bar->setValue(bar->value() + rect.left() - 2 * tree->indentation());
}

void Zovvisual::expand_a(QTreeWidgetItem* item)
{
    Vtreeitem* left = asVtreeitem(item);
    if (!left)
        return;
    Vtreeitem* right = left->node()->partner() ? linkedRight(left) : nullptr;
    if (left->node()->hasChildren() && left->childCount() == 0 && !fillOf(left)) {
        // The right side opens in the same fill: its links need the left children's items.
        const bool pair
            = right && right->node()->hasChildren() && right->childCount() == 0 && !fillOf(right);
        startFill(left, pair ? right : nullptr);
        widenFor(m_leftTree, left);
        if (pair)
            widenFor(m_rightTree, right);
    }
    if (right)
        m_rightTree->expandItem(right);
}

void Zovvisual::expand_diff(QTreeWidgetItem* item)
{
    Vtreeitem* right = asVtreeitem(item);
    if (!right || !right->node()->hasChildren())
        return;
    const Waitcursor wait;
    Vtreeitem* left = right->node()->partner() ? linkedLeft(right) : nullptr;
    if (right->childCount() == 0 && !fillOf(right)) {
        const bool pair
            = left && left->node()->hasChildren() && left->childCount() == 0 && !fillOf(left);
        startFill(pair ? left : nullptr, right);
        widenFor(m_rightTree, right);
        if (pair)
            widenFor(m_leftTree, left);
    }
    if (left)
        m_leftTree->expandItem(left);
}

void Zovvisual::widenFor(QTreeWidget* tree, QTreeWidgetItem* parent)
{
    // Measures only the new children, not every open level, and never narrows: a width the user
    // chose stays, and half the view is the most a deep level takes on its own.
    int depth = 1;
    for (const QTreeWidgetItem* up = parent; up->parent(); up = up->parent())
        ++depth;
    constexpr int measured = 200;
    const QFontMetrics metrics = tree->fontMetrics();
    int text = 0;
    for (int i = 0; i < parent->childCount() && i < measured; ++i) {
        const QTreeWidgetItem* child = parent->child(i);
        QString shown = child->text(0);
        // Drawn without its inline difference markers.
        if (child->data(0, MarkedRole).toBool()) {
            shown.clear();
            for (const Textrun& run : splitMarked(child->text(0), m_look.markers()))
                shown += run.text;
        }
        text = qMax(text, metrics.horizontalAdvance(shown));
    }
    // Room for the icon, its spacing and the item's margins besides the text.
    const int wanted = (depth + 1) * tree->indentation() + qMax(16, tree->iconSize().width()) + text
        + 4 * metrics.averageCharWidth() + 16;
    const int width = qMin(wanted, qMax(tree->viewport()->width() / 2, tree->columnWidth(0)));
    if (width > tree->columnWidth(0))
        tree->setColumnWidth(0, width);
}

void Zovvisual::collapse_a(QTreeWidgetItem* item)
{
    Vtreeitem* left = asVtreeitem(item);
    if (!left)
        return;
    const Waitcursor wait;
    removeHighlight();
    deleteLeftChildren(left);
    if (left->node()->hasChildren()) {
        if (Vtreeitem* right = rightItemOf(left))
            m_rightTree->collapseItem(right);
    }
}

void Zovvisual::collapse_diff(QTreeWidgetItem* item)
{
    Vtreeitem* right = asVtreeitem(item);
    if (!right)
        return;
    removeHighlight();
    deleteRightChildren(right);
    if (right->node()->hasChildren()) {
        if (Vtreeitem* left = leftItemOf(right))
            m_leftTree->collapseItem(left);
    }
}

void Zovvisual::deleteLeftChildren(QTreeWidgetItem* parent)
{
    dropFill(parent);
    const QList<QTreeWidgetItem*> children = parent->takeChildren();
    for (QTreeWidgetItem* child : children) {
        deleteLeftChildren(child);
        auto* left = static_cast<Vtreeitem*>(child);
        const QList<Vtreeitem*> rights = m_rightOf.values(left);
        for (Vtreeitem* right : rights)
            m_links.remove(right);
        m_rightOf.remove(left);
        delete left;
    }
}

void Zovvisual::deleteRightChildren(QTreeWidgetItem* parent)
{
    dropFill(parent);
    const QList<QTreeWidgetItem*> children = parent->takeChildren();
    for (QTreeWidgetItem* child : children) {
        deleteRightChildren(child);
        auto* right = static_cast<Vtreeitem*>(child);
        if (Vtreeitem* left = m_links.take(right))
            m_rightOf.remove(left, right);
        delete right;
    }
}

void Zovvisual::removeHighlight()
{
    const QBrush none;
    if (m_highlightRight) {
        for (int column = 0; column < 3; ++column)
            m_highlightRight->setBackground(column, none);
    }
    if (m_highlightLeft) {
        for (int column = 0; column < 2; ++column)
            m_highlightLeft->setBackground(column, none);
    }
    m_highlightLeft = nullptr;
    m_highlightRight = nullptr;
}

void Zovvisual::aitemclicked(QTreeWidgetItem* item, int column)
{
    Q_UNUSED(column);
    Vtreeitem* left = asVtreeitem(item);
    if (!left)
        return;
    left->setSelected(false);
    removeHighlight();
    m_highlightLeft = left;
    Vtreeitem* right = linkedRight(left);
    if (!right)
        return;
    for (int c = 0; c < 2; ++c)
        left->setBackground(c, highlightBrush());
    m_rightTree->scrollToItem(right);
    for (int c = 0; c < 3; ++c)
        right->setBackground(c, highlightBrush());
    m_highlightRight = right;
}

void Zovvisual::bitemclicked(QTreeWidgetItem* item, int column)
{
    Q_UNUSED(column);
    Vtreeitem* right = asVtreeitem(item);
    if (!right)
        return;
    right->setSelected(false);
    removeHighlight();
    m_highlightRight = right;
    Vtreeitem* left = linkedLeft(right);
    if (!left)
        return;
    for (int c = 0; c < 3; ++c)
        right->setBackground(c, highlightBrush());
    m_leftTree->scrollToItem(left);
    for (int c = 0; c < 2; ++c)
        left->setBackground(c, highlightBrush());
    m_highlightLeft = left;
}
