#include "gui/changenavigator.h"

#include "compare/changekind.h"
#include "config/cfgstore.h"
#include "gui/vtreeitem.h"
#include "gui/zovvisual.h"
#include "model/zovnode.h"
#include "output/markcount.h"

#include <QTreeWidget>
#include <functional>

namespace {

// The marks the view shows, read once per walk. An empty configured text never matches, as
// in the view.
class Markrules {
public:
    Markrules()
    {
        const Cfgstore& cfg = Cfgstore::instance();
        m_positionChange = cfg.getString(changekindKey(position_change));
        m_attributeChange = cfg.getString(changekindKey(attribute_change));
        m_positionAndAttribute = cfg.getString(changekindKey(position_and_attribute_change));
    }

    // The kind of a mark as shown; -1 for no mark, 0 for a text of no known kind.
    int kind(const QString& mark) const
    {
        if (mark.isEmpty())
            return -1;
        const int classified = m_classifier.kind(mark);
        if (classified != 0)
            return classified;
        // Position kinds and deletions without their suffix, as the view shows inherited marks.
        for (int kind = complete_match; kind <= element_deleted; ++kind) {
            if (mark == m_classifier.text(kind))
                return kind;
        }
        return 0;
    }

    const QString& text(int kind) const { return m_classifier.text(kind); }

    // Position and attribute changes concern the element alone, not its content.
    bool staysWithElement(const QString& mark) const
    {
        return startsWith(mark, m_positionChange)
            || (!m_attributeChange.isEmpty() && mark == m_attributeChange)
            || startsWith(mark, m_positionAndAttribute);
    }

    static bool startsWith(const QString& mark, const QString& text)
    {
        return !text.isEmpty() && mark.startsWith(text);
    }

private:
    Markclassifier m_classifier;
    QString m_positionChange;
    QString m_attributeChange;
    QString m_positionAndAttribute;
};

struct Frame {
    const Zovnode* node;
    qsizetype next;
    QString mark;
    int kind;
};

using Visitor = std::function<bool(const QVector<Frame>& ancestors, const Zovnode* node, int kind)>;

bool isZovMark(const Zovnode* node)
{
    return node->kind() == Pi && node->text() == QLatin1String("ZOV");
}

// Visits every node below root that the view would show as an item, in document order, with
// the kind of the mark the view gives it, until visit returns true. Deep documents need the
// explicit stack.
void walk(const Zovnode* root, const Visitor& visit)
{
    const Markrules rules;
    const QString& deleted = rules.text(element_deleted);
    QVector<Frame> stack { { root, 0, QString(), -1 } };
    while (!stack.isEmpty()) {
        Frame& frame = stack.last();
        const QVector<Zovnode*>* children = frame.node->children();
        if (!children || frame.next >= children->size()) {
            stack.removeLast();
            continue;
        }
        const Zovnode* child = children->at(frame.next++);
        if (isZovMark(child)) {
            frame.mark = child->value();
            frame.kind = rules.kind(frame.mark);
            continue;
        }
        // A deleted element's name is not part of the mark its item shows.
        if (Markrules::startsWith(frame.mark, deleted) && frame.mark != deleted) {
            frame.mark = deleted;
            frame.kind = element_deleted;
        }
        if (visit(stack, child, frame.kind))
            return;
        if (child->hasChildren()) {
            QString mark = frame.mark;
            int kind = frame.kind;
            if (rules.staysWithElement(mark)) {
                mark = rules.text(complete_match);
                kind = rules.kind(mark);
            }
            stack.append({ child, 0, mark, kind });
        }
    }
}

bool wanted(int kind, int restriction)
{
    const bool change = kind != -1 && kind != complete_match;
    return change && (restriction == 0 || kind == restriction);
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

} // namespace

Changenavigator::Changenavigator(Zovvisual* view, QObject* parent)
    : QObject(parent)
    , m_view(view)
{
    connect(m_view, &Zovvisual::cleared, this, &Changenavigator::forget);
    connect(m_view, &Zovvisual::filled, this, &Changenavigator::forget);
}

QVector<const Zovnode*> Changenavigator::nextChange(
    const Zovnode* root, const Zovnode* start, int kind)
{
    QVector<const Zovnode*> found;
    if (!root)
        return found;
    bool passed = !start || start == root;
    walk(root, [&](const QVector<Frame>& ancestors, const Zovnode* node, int nodeKind) {
        if (!passed) {
            passed = node == start;
            return false;
        }
        if (!wanted(nodeKind, kind))
            return false;
        found = pathOf(ancestors, node);
        return true;
    });
    return found;
}

QVector<const Zovnode*> Changenavigator::previousChange(
    const Zovnode* root, const Zovnode* start, int kind)
{
    QVector<const Zovnode*> found;
    if (!root || start == root)
        return found;
    const Zovnode* last = nullptr;
    walk(root, [&](const QVector<Frame>&, const Zovnode* node, int nodeKind) {
        if (node == start)
            return true;
        if (wanted(nodeKind, kind))
            last = node;
        return false;
    });
    if (!last)
        return found;
    // Copying the path at every candidate would cost its depth each time; a second walk does not.
    walk(root, [&](const QVector<Frame>& ancestors, const Zovnode* node, int) {
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

void Changenavigator::forget() { m_current = nullptr; }

Changenavigator::Step Changenavigator::go(bool forward)
{
    const auto* rootItem = static_cast<Vtreeitem*>(m_view->rightTree()->topLevelItem(0));
    if (!rootItem)
        return Step::NoChange;
    const Zovnode* root = rootItem->node();
    // A clicked item is where the user looks now; otherwise go on from the last change reached.
    const Vtreeitem* highlighted = m_view->highlightedRight();
    const Zovnode* start = highlighted ? highlighted->node() : m_current;

    const QVector<const Zovnode*> path
        = forward ? nextChange(root, start, m_kind) : previousChange(root, start, m_kind);
    if (path.isEmpty()) {
        if (!start || nextChange(root, nullptr, m_kind).isEmpty())
            return Step::NoChange;
        return Step::AtEnd;
    }
    Vtreeitem* item = reveal(path);
    if (!item)
        return Step::Failed;
    QTreeWidget* tree = m_view->rightTree();
    // Exactly what a click does: the item becomes current, then the view highlights the pair.
    tree->setCurrentItem(item);
    m_view->bitemclicked(item, 0);
    tree->scrollToItem(item);
    m_current = item->node();
    return Step::Moved;
}

Vtreeitem* Changenavigator::reveal(const QVector<const Zovnode*>& path)
{
    QTreeWidget* tree = m_view->rightTree();
    auto* item = static_cast<Vtreeitem*>(tree->topLevelItem(0));
    if (!item || path.isEmpty() || item->node() != path.first())
        return nullptr;
    for (qsizetype depth = 1; depth < path.size(); ++depth) {
        // The view's own expansion makes the child items and opens the left side with them.
        if (!item->isExpanded())
            tree->expandItem(item);
        Vtreeitem* found = nullptr;
        for (int i = 0; i < item->childCount() && !found; ++i) {
            auto* child = static_cast<Vtreeitem*>(item->child(i));
            if (child->node() == path[depth])
                found = child;
        }
        if (!found)
            return nullptr;
        item = found;
    }
    return item;
}
