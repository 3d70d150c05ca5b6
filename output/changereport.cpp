#include "output/changereport.h"

#include "compare/changekind.h"
#include "compare/worklist.h"
#include "config/cfgstore.h"
#include "output/markcount.h"

#include <QHash>
#include <memory>
#include <vector>

namespace {

// Sibling lists up to this length are scanned instead of hashed.
constexpr qsizetype shortList = 8;

bool isElement(const Zovnode* node)
{
    return node->kind() == Element || node->kind() == Attrelement;
}

bool isContentKind(int kind)
{
    return kind == content_change || kind == attribute_and_content_change
        || kind == position_and_content_change || kind == position_and_content_and_attribute_change;
}

bool isAttributeKind(int kind)
{
    return kind == attribute_change || kind == attribute_and_content_change
        || kind == position_and_attribute_change
        || kind == position_and_content_and_attribute_change;
}

bool isTextLike(const Zovnode* node) { return node->kind() == Text || node->kind() == Cdata; }

// The node test of a path step; text and CDATA count as one kind, as in XPath.
QString stepName(const Zovnode* node)
{
    switch (node->kind()) {
    case Element:
    case Attrelement:
        return node->text();
    case Text:
    case Cdata:
        return QStringLiteral("text()");
    case Comment:
        return QStringLiteral("comment()");
    case Pi:
        return QStringLiteral("processing-instruction(") + node->text() + QLatin1Char(')');
    }
    return QString();
}

bool sameStepName(const Zovnode* a, const Zovnode* b)
{
    if (isTextLike(a) || isTextLike(b))
        return isTextLike(a) && isTextLike(b);
    if (isElement(a) || isElement(b))
        return isElement(a) && isElement(b) && a->text() == b->text();
    return a->kind() == b->kind() && (a->kind() != Pi || a->text() == b->text());
}

const QString& textOf(const Zovnode* node)
{
    return node->kind() == Pi ? node->value() : node->text();
}

// Which node test a node answers to: its name for elements and processing instructions (the
// target), nothing more for text and comments.
int testKind(const Zovnode* node)
{
    if (isElement(node))
        return 0;
    if (isTextLike(node))
        return 1;
    return node->kind() == Comment ? 2 : 3;
}

const QString& testName(const Zovnode* node)
{
    return testKind(node) == 0 || testKind(node) == 3 ? node->text() : Zovnode::emptyString();
}

// Path steps of one level's children in one document: the node test, with the 1-based
// position among siblings of the same test only where that test repeats.
class Siblingsteps {
public:
    explicit Siblingsteps(const QVector<const Zovnode*>& nodes)
        : m_nodes(nodes)
        , m_occurrence(nodes.size(), 1)
    {
        const qsizetype count = m_nodes.size();
        if (count <= shortList) {
            for (qsizetype i = 0; i < count; ++i) {
                for (qsizetype j = 0; j < i; ++j)
                    m_occurrence[i] += sameStepName(m_nodes[i], m_nodes[j]);
            }
            return;
        }
        for (qsizetype i = 0; i < count; ++i)
            m_occurrence[i] = ++m_totals[testKind(m_nodes[i])][testName(m_nodes[i])];
    }

    // The step of child index; empty when there is no such child.
    QString step(qsizetype index) const
    {
        if (index < 0 || index >= m_nodes.size())
            return QString();
        const Zovnode* const node = m_nodes[index];
        QString name = stepName(node);
        if (m_occurrence[index] > 1 || repeatsAfter(index))
            name += QLatin1Char('[') + QString::number(m_occurrence[index]) + QLatin1Char(']');
        return name;
    }

private:
    bool repeatsAfter(qsizetype index) const
    {
        const Zovnode* const node = m_nodes[index];
        if (m_nodes.size() > shortList)
            return m_totals[testKind(node)].value(testName(node)) > m_occurrence[index];
        for (qsizetype j = index + 1; j < m_nodes.size(); ++j) {
            if (sameStepName(node, m_nodes[j]))
                return true;
        }
        return false;
    }

    QVector<const Zovnode*> m_nodes;
    QVector<int> m_occurrence;
    // Siblings per node test kind and name, for lists longer than shortList.
    QHash<QString, int> m_totals[4];
};

QVector<const Zovnode*> childList(const Zovnode* element)
{
    const Childspan children = element->children();
    return children ? QVector<const Zovnode*>(children->cbegin(), children->cend())
                    : QVector<const Zovnode*>();
}

const Zovnode* childAt(const Zovnode* element, qsizetype index)
{
    const Childspan children = element->children();
    return children && index >= 0 && index < children->size() ? children->at(index) : nullptr;
}

// The differences between two attribute lists (name and value alternating) by name; true when
// there is any, the order counted only when ignoreOrder is off.
bool attributeDifferences(
    const QStringList& oldList, const QStringList& newList, bool ignoreOrder, Changerecord* record)
{
    const auto indexOf = [](const QStringList& list) {
        QHash<QString, qsizetype> index;
        if (list.size() > 2 * shortList) {
            for (qsizetype k = 0; k + 1 < list.size(); k += 2)
                index.insert(list[k], k);
        }
        return index;
    };
    const auto find = [](const QStringList& list, const QHash<QString, qsizetype>& index,
                          const QString& name) -> qsizetype {
        if (!index.isEmpty())
            return index.value(name, -1);
        for (qsizetype k = 0; k + 1 < list.size(); k += 2) {
            if (list[k] == name)
                return k;
        }
        return -1;
    };
    const QHash<QString, qsizetype> oldIndex = indexOf(oldList);
    const QHash<QString, qsizetype> newIndex = indexOf(newList);
    const qsizetype before = record->attributes.size();
    for (qsizetype k = 0; k + 1 < newList.size(); k += 2) {
        const qsizetype p = find(oldList, oldIndex, newList[k]);
        if (p < 0)
            record->attributes.append(
                { Attributedifference::Added, newList[k], QString(), newList[k + 1] });
        else if (oldList[p + 1] != newList[k + 1])
            record->attributes.append(
                { Attributedifference::Changed, newList[k], oldList[p + 1], newList[k + 1] });
    }
    for (qsizetype k = 0; k + 1 < oldList.size(); k += 2) {
        if (find(newList, newIndex, oldList[k]) < 0)
            record->attributes.append(
                { Attributedifference::Removed, oldList[k], oldList[k + 1], QString() });
    }
    if (record->attributes.size() > before)
        return true;
    record->attributeOrderChanged = !ignoreOrder && oldList != newList;
    return record->attributeOrderChanged;
}

// One level of the walk: a tree-1 element and the result element of its pair, whose children
// are marked unless plain (a copied subtree).
struct Frame {
    const Zovnode* old = nullptr;
    const Zovnode* result = nullptr;
    bool plain = true;
    QString stepOld;
    QString stepNew;
    qsizetype next = 0;
    int newIndex = 0;
    int oldIndex = 0;
    std::unique_ptr<Siblingsteps> oldSteps;
    std::unique_ptr<Siblingsteps> newSteps;
};

Frame plainFrame(
    const Zovnode* old, const Zovnode* result, const QString& stepOld, const QString& stepNew)
{
    Frame frame;
    frame.old = old;
    frame.result = result;
    frame.stepOld = stepOld;
    frame.stepNew = stepNew;
    return frame;
}

class Reportwalk {
public:
    Reportwalk(const Refinedoriginals* originals, bool all, QVector<Changerecord>* changes)
        : m_originals(originals)
        , m_all(all)
        , m_changes(changes)
    {
        const Cfgstore& cfg = Cfgstore::instance();
        m_ignoreAttributes = cfg.getBool(QStringLiteral("ignore_attributes"));
        m_ignoreOrder = cfg.getBool(QStringLiteral("ignore_attribute_order"));
    }

    void run(const Zovnode* root1, const Zovnode* resultRoot);

private:
    // A path from the frames on the stack (depth of them) and a last step.
    QString path(bool oldSide, size_t depth, const QString& last) const;
    const Siblingsteps& oldSteps(Frame& frame);
    const Siblingsteps& newSteps(Frame& frame);
    QStringList newAttributes(const Zovnode* node) const;
    // A pair of the frame's level: its record when it is listed, and the walk below it.
    void matched(Frame& frame, int kind, bool shifted, int shift, const Zovnode* oldNode,
        const Zovnode* node, int newIndex);
    // Attribute changes inside the two subtrees of the frame on top of the stack, which have
    // the same shape, each at its own element; pops that frame.
    void attributesBelow();

    const Refinedoriginals* m_originals;
    bool m_all;
    QVector<Changerecord>* m_changes;
    bool m_ignoreAttributes = false;
    bool m_ignoreOrder = false;
    const Markclassifier m_classifier;
    std::vector<Frame> m_stack;
};

QString Reportwalk::path(bool oldSide, size_t depth, const QString& last) const
{
    QString text;
    for (size_t i = 0; i < depth; ++i)
        text += QLatin1Char('/') + (oldSide ? m_stack[i].stepOld : m_stack[i].stepNew);
    if (!last.isEmpty())
        text += QLatin1Char('/') + last;
    return text;
}

const Siblingsteps& Reportwalk::oldSteps(Frame& frame)
{
    if (!frame.oldSteps)
        frame.oldSteps = std::make_unique<Siblingsteps>(childList(frame.old));
    return *frame.oldSteps;
}

const Siblingsteps& Reportwalk::newSteps(Frame& frame)
{
    if (!frame.newSteps && frame.plain) {
        frame.newSteps = std::make_unique<Siblingsteps>(childList(frame.result));
    } else if (!frame.newSteps) {
        // The new document's children: every marked node but the deleted ones.
        QVector<const Zovnode*> nodes;
        const Childspan children = frame.result->children();
        for (qsizetype i = 0; children && i + 1 < children->size(); ++i) {
            if (!isZovMark(children->at(i)))
                continue;
            if (m_classifier.kind(children->at(i)->value()) != element_deleted)
                nodes.append(children->at(i + 1));
            ++i;
        }
        frame.newSteps = std::make_unique<Siblingsteps>(nodes);
    }
    return *frame.newSteps;
}

QStringList Reportwalk::newAttributes(const Zovnode* node) const
{
    if (m_originals) {
        const auto found = m_originals->attributes.constFind(node);
        if (found != m_originals->attributes.cend())
            return found.value();
    }
    return node->attributeList();
}

void Reportwalk::run(const Zovnode* root1, const Zovnode* resultRoot)
{
    // The roots are a pair whatever their names; the result's root carries no mark.
    Changerecord rootRecord;
    const bool renamed = root1->text() != resultRoot->text();
    const bool attributes = !m_ignoreAttributes
        && attributeDifferences(
            root1->attributeList(), resultRoot->attributeList(), m_ignoreOrder, &rootRecord);
    if (renamed || attributes) {
        rootRecord.kind = !attributes ? content_change
            : renamed                 ? attribute_and_content_change
                                      : attribute_change;
        rootRecord.pathOld = QLatin1Char('/') + root1->text();
        rootRecord.pathNew = QLatin1Char('/') + resultRoot->text();
        m_changes->append(std::move(rootRecord));
    }

    Frame top = plainFrame(root1, resultRoot, root1->text(), resultRoot->text());
    top.plain = false;
    m_stack.push_back(std::move(top));
    while (!m_stack.empty()) {
        Frame& frame = m_stack.back();
        const Childspan children = frame.result->children();
        if (!children || frame.next + 1 >= children->size()) {
            m_stack.pop_back();
            continue;
        }
        const Zovnode* const mark = children->at(frame.next);
        if (!isZovMark(mark)) {
            ++frame.next;
            continue;
        }
        const Zovnode* const node = children->at(frame.next + 1);
        frame.next += 2;
        const int kind = m_classifier.kind(mark->value());
        Changerecord record;
        record.node = node->kind();
        if (kind == element_deleted || kind == element_added) {
            // Deleted nodes stand where the comparison's walk met them: their old index counts
            // the deleted and matched nodes before them.
            const bool deleted = kind == element_deleted;
            const int index = deleted ? frame.oldIndex++ : frame.newIndex++;
            record.kind = kind;
            if (deleted)
                record.pathOld = path(true, m_stack.size(), oldSteps(frame).step(index));
            else
                record.pathNew = path(false, m_stack.size(), newSteps(frame).step(index));
            record.hasText = !isElement(node);
            if (record.hasText)
                (deleted ? record.oldText : record.newText) = textOf(node);
            m_changes->append(std::move(record));
            continue;
        }
        const int newIndex = frame.newIndex++;
        ++frame.oldIndex;
        if (kind < complete_match || kind > position_and_content_and_attribute_change)
            continue;
        const int shift = isPositionKind(kind)
            ? QStringView(mark->value()).mid(m_classifier.text(kind).size() + 1).toInt()
            : 0;
        const Zovnode* const oldNode = childAt(frame.old, newIndex - shift);
        if (oldNode)
            matched(frame, kind, mark->isShifted(), shift, oldNode, node, newIndex);
    }
}

void Reportwalk::matched(Frame& frame, int kind, bool shifted, int shift, const Zovnode* oldNode,
    const Zovnode* node, int newIndex)
{
    shifted = shifted && isPositionKind(kind);
    const int shown = shownKind(kind, shifted);
    const bool element = isElement(node);
    bool listed = true;
    if (shown == complete_match)
        listed = m_all;
    else if (shown == content_change)
        listed = !element;
    const bool below = element && node->children()
        && (isContentKind(kind) || kind == attribute_change
            || kind == position_and_attribute_change);
    if (!listed && !below)
        return;
    const QString oldStep = oldSteps(frame).step(newIndex - shift);
    const QString newStep = newSteps(frame).step(newIndex);
    if (listed) {
        Changerecord record;
        record.kind = kind;
        record.shifted = shifted;
        record.shift = shift;
        record.node = node->kind();
        record.pathOld = path(true, m_stack.size(), oldStep);
        record.pathNew = path(false, m_stack.size(), newStep);
        if (element && isAttributeKind(kind))
            attributeDifferences(
                oldNode->attributeList(), newAttributes(node), m_ignoreOrder, &record);
        if (!element && isContentKind(kind)) {
            record.hasText = true;
            record.oldText = textOf(oldNode);
            record.newText = textOf(node);
            if (m_originals && m_originals->texts.contains(node)) {
                record.newText = m_originals->texts.value(node);
                if (node->text() != record.newText)
                    record.inlineDiff = node->text();
            }
        }
        m_changes->append(std::move(record));
    }
    if (!below)
        return;
    if (!isContentKind(kind)) {
        m_stack.push_back(plainFrame(oldNode, node, oldStep, newStep));
        attributesBelow();
    } else {
        Frame inner = plainFrame(oldNode, node, oldStep, newStep);
        inner.plain = false;
        m_stack.push_back(std::move(inner));
    }
}

void Reportwalk::attributesBelow()
{
    // The subtrees are equal once attributes are left out, so their children pair by index.
    const size_t stop = m_stack.size() - 1;
    while (m_stack.size() > stop) {
        Frame& frame = m_stack.back();
        const qsizetype index = frame.next++;
        const Zovnode* const oldChild = childAt(frame.old, index);
        const Zovnode* const newChild = childAt(frame.result, index);
        if (!oldChild || !newChild) {
            m_stack.pop_back();
            continue;
        }
        if (!isElement(oldChild) || !isElement(newChild))
            continue;
        Changerecord record;
        record.kind = attribute_change;
        const bool changed = attributeDifferences(
            oldChild->attributeList(), newChild->attributeList(), m_ignoreOrder, &record);
        if (!changed && !newChild->children())
            continue;
        const QString oldStep = oldSteps(frame).step(index);
        const QString newStep = newSteps(frame).step(index);
        if (changed) {
            record.pathOld = path(true, m_stack.size(), oldStep);
            record.pathNew = path(false, m_stack.size(), newStep);
            m_changes->append(std::move(record));
        }
        if (newChild->children())
            m_stack.push_back(plainFrame(oldChild, newChild, oldStep, newStep));
    }
}

} // namespace

Changereport buildChangereport(
    const Zovnode* root1, const Zovnode* resultRoot, const Refinedoriginals* originals, bool all)
{
    Changereport report;
    if (!root1 || !resultRoot)
        return report;
    report.counts = countMarks(resultRoot, &report.shifted);
    report.equal = documentsEqual(root1, resultRoot);
    Reportwalk walk(originals, all, &report.changes);
    walk.run(root1, resultRoot);
    return report;
}
