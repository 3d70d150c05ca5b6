#include "gui/changenavigator.h"

#include "compare/changekind.h"
#include "gui/marklook.h"
#include "gui/vtreeitem.h"
#include "gui/zovvisual.h"
#include "model/zovnode.h"
#include "output/markcount.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTreeWidget>
#include <functional>

namespace {

struct Frame {
    const Zovnode* node;
    qsizetype next;
    int kind;
    bool shifted;
    // The next child carries a mark of its own.
    bool marked;
};

// ancestors: the frames from the root down to node's parent; kind: the kind node is shown as;
// marked: whether node carries a mark of its own rather than one it inherits.
using Visitor = std::function<bool(
    const QVector<Frame>& ancestors, const Zovnode* node, int kind, bool marked)>;

// Visits every node below root that the view would show as an item, in document order, until
// visit returns true. Deep documents need the explicit stack.
void walk(const Zovnode* root, const Marklook& look, const Visitor& visit)
{
    QVector<Frame> stack { { root, 0, -1, false, false } };
    while (!stack.isEmpty()) {
        Frame& frame = stack.last();
        const Childspan children = frame.node->children();
        if (!children || frame.next >= children->size()) {
            stack.removeLast();
            continue;
        }
        const Zovnode* child = children->at(frame.next++);
        if (isZovMark(child)) {
            frame.kind = look.kind(child->value());
            frame.shifted = child->isShifted() && isPositionKind(frame.kind);
            frame.marked = true;
            continue;
        }
        const bool marked = frame.marked;
        frame.marked = false;
        if (visit(stack, child, look.shownKind(frame.kind, frame.shifted), marked))
            return;
        if (child->hasChildren()) {
            const int inherited = Marklook::inheritedKind(frame.kind);
            stack.append({ child, 0, inherited, inherited == frame.kind && frame.shifted, false });
        }
    }
}

// Each change is one stop: the content of an added or deleted element, which inherits its
// mark, is not a change of its own.
bool wanted(int kind, bool marked, int restriction)
{
    return marked && Marklook::isChange(kind) && (restriction == 0 || kind == restriction);
}

QVector<const Zovnode*> pathOf(const QVector<Frame>& ancestors, const Zovnode* node)
{
    QVector<const Zovnode*> path;
    path.reserve(ancestors.size() + 1);
    for (const Frame& frame : ancestors)
        path.append(frame.node);
    path.append(node);
    return path;
}

// The names along a path, runs of one name folded into one step and long paths cut in the
// middle, so that the status bar can hold it.
QString pathText(const QVector<const Zovnode*>& path, qsizetype from)
{
    QStringList steps;
    for (qsizetype i = from; i < path.size();) {
        qsizetype same = i + 1;
        while (same < path.size() && path[same]->name() == path[i]->name())
            ++same;
        const qsizetype run = same - i;
        steps << (run == 1
                ? path[i]->name()
                : QStringLiteral("%1 \u00d7%2").arg(path[i]->name(), QLocale().toString(run)));
        i = same;
    }
    constexpr int kept = 4;
    if (steps.size() > 2 * kept + 1)
        steps = steps.mid(0, kept) + QStringList { QStringLiteral("\u2026") }
            + steps.mid(steps.size() - kept);
    return steps.join(QLatin1Char('/'));
}

} // namespace

Changenavigator::Changenavigator(Zovvisual* view, QObject* parent)
    : QObject(parent)
    , m_view(view)
{
    connect(m_view, &Zovvisual::cleared, this, &Changenavigator::forget);
    connect(m_view, &Zovvisual::filled, this, &Changenavigator::forget);
}

QVector<const Zovnode*> Changenavigator::nextChange(
    const Marklook& look, const Zovnode* root, const Zovnode* start, int kind)
{
    QVector<const Zovnode*> found;
    if (!root)
        return found;
    bool passed = !start || start == root;
    walk(root, look,
        [&](const QVector<Frame>& ancestors, const Zovnode* node, int nodeKind, bool marked) {
            if (!passed) {
                passed = node == start;
                return false;
            }
            if (!wanted(nodeKind, marked, kind))
                return false;
            found = pathOf(ancestors, node);
            return true;
        });
    return found;
}

QVector<const Zovnode*> Changenavigator::previousChange(
    const Marklook& look, const Zovnode* root, const Zovnode* start, int kind)
{
    QVector<const Zovnode*> found;
    if (!root || start == root)
        return found;
    const Zovnode* last = nullptr;
    walk(root, look, [&](const QVector<Frame>&, const Zovnode* node, int nodeKind, bool marked) {
        if (node == start)
            return true;
        if (wanted(nodeKind, marked, kind))
            last = node;
        return false;
    });
    if (!last)
        return found;
    // Copying the path at every candidate would cost its depth each time; a second walk does not.
    walk(root, look, [&](const QVector<Frame>& ancestors, const Zovnode* node, int, bool) {
        if (node != last)
            return false;
        found = pathOf(ancestors, node);
        return true;
    });
    return found;
}

Changenavigator::Step Changenavigator::next() { return go(true); }

Changenavigator::Step Changenavigator::previous() { return go(false); }

void Changenavigator::setKind(int kind) { m_kind = kind; }

void Changenavigator::forget()
{
    m_current = nullptr;
    m_shownAt = nullptr;
    m_remark.clear();
}

Changenavigator::Step Changenavigator::go(bool forward)
{
    const auto* rootItem = static_cast<Vtreeitem*>(m_view->rightTree()->topLevelItem(0));
    if (!rootItem)
        return Step::NoChange;
    const Zovnode* root = rootItem->node();
    const Marklook& look = m_view->look();
    // A clicked item is where the user looks now; otherwise go on from the last change reached,
    // also when it lies below the item that stands for it.
    const Vtreeitem* highlighted = m_view->highlightedRight();
    const Zovnode* start
        = highlighted && highlighted->node() != m_shownAt ? highlighted->node() : m_current;

    const QVector<const Zovnode*> path = forward ? nextChange(look, root, start, m_kind)
                                                 : previousChange(look, root, start, m_kind);
    if (path.isEmpty()) {
        if (!start || nextChange(look, root, nullptr, m_kind).isEmpty())
            return Step::NoChange;
        return Step::AtEnd;
    }
    Vtreeitem* item = reveal(path);
    if (!item)
        return Step::Failed;
    QTreeWidget* tree = m_view->rightTree();
    tree->setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
    m_view->highlight(item);
    m_current = path.last();
    m_shownAt = item->node();
    const qsizetype opened = Zovvisual::maxOpenDepth + 1;
    m_remark.clear();
    if (path.size() > opened) {
        m_remark = QCoreApplication::translate("",
            "The change lies %1 levels below the highlighted node, deeper than the view opens: %2")
                       .arg(QLocale().toString(path.size() - opened), pathText(path, opened));
        item->setToolTip(0, m_remark);
    }
    return Step::Moved;
}

Vtreeitem* Changenavigator::reveal(const QVector<const Zovnode*>& path)
{
    QTreeWidget* tree = m_view->rightTree();
    auto* item = static_cast<Vtreeitem*>(tree->topLevelItem(0));
    if (!item || path.isEmpty() || item->node() != path.first())
        return nullptr;
    const qsizetype depth = qMin<qsizetype>(path.size(), Zovvisual::maxOpenDepth + 1);
    for (qsizetype level = 1; level < depth; ++level) {
        // The view's own expansion makes the child items and opens the left side with them.
        if (!item->isExpanded())
            tree->expandItem(item);
        Vtreeitem* found = m_view->rightChild(item, path[level]);
        if (!found)
            return nullptr;
        item = found;
    }
    return item;
}
