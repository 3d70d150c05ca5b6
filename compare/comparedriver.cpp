#include "compare/comparedriver.h"

#include "compare/changekind.h"
#include "compare/cmpvector.h"
#include "compare/fingerprint.h"
#include "compare/passsettings.h"
#include "compare/shiftorder.h"
#include "model/sizedvector.h"
#include "model/texthash.h"
#include "model/zovnode.h"

#include <QMutexLocker>
#include <QPair>
#include <QVector>
#include <memory>
#include <optional>

namespace {

using Hashcache = QHash<const Zovnode*, quint64>;

// Appends node to parent; frees it and returns null when parent cannot hold children.
Zovnode* appendOrFree(Zovnode* parent, Zovnode* node)
{
    Zovnode* const appended = parent->appendChild(node);
    if (!appended)
        Zovnode::destroy(node);
    return appended;
}

// The mark texts of one compare, read once and shared: most marks of a level repeat a few
// texts (a front insertion gives every following pair the same shift).
class Marktexts {
public:
    const QString& text(int kind, int shift)
    {
        const qint64 key = (qint64(kind) << 32) | quint32(shift);
        auto found = m_texts.constFind(key);
        if (found == m_texts.cend())
            found = m_texts.insert(key, markText(kind, shift, QString()));
        return found.value();
    }

    const QString& deleted(const QString& name)
    {
        auto found = m_deleted.constFind({ name });
        if (found == m_deleted.cend())
            found = m_deleted.insert({ name }, markText(element_deleted, 0, name));
        return found.value();
    }

    // One mark node per text and shift flag, for every parent that shows it; in arena.
    Zovnode* shared(const QString& text, bool shifted, Nodearena& arena)
    {
        Zovnode*& node = m_nodes[shifted ? 1 : 0][{ text }];
        if (!node) {
            node = Zovnode::sharedInArena<Zovpinode>(arena, QStringLiteral("ZOV"), text);
            node->setShifted(shifted);
        }
        return node;
    }

private:
    QHash<qint64, QString> m_texts;
    // Looked up for the marks of every level, so keyed by textHash.
    QHash<Textkey<QString>, QString> m_deleted;
    QHash<Textkey<QString>, Zovnode*> m_nodes[2];
};

// What every level of one compare shares.
struct Levelcontext {
    Worklist& work;
    bool guiRun;
    Hashcache* cache;
    const Passsettings settings;
    Marktexts marks;
};

// A run that hands tree 2 over to the result and has no view: nothing changes a mark once it is
// placed, so equal marks share one node, and changed elements move into the result as well.
bool handsOver(const Levelcontext& context)
{
    return context.work.consumeSecondTree && !context.guiRun && context.work.arena;
}

Zovnode* appendMark(Levelcontext& context, Zovnode* parent, const QString& text, bool shifted)
{
    Nodearena* const arena = context.work.arena;
    if (handsOver(context))
        return parent->appendChild(context.marks.shared(text, shifted, *arena));
    Zovnode* const mark = arena ? Zovnode::inArena<Zovpinode>(*arena, QStringLiteral("ZOV"), text)
                                : new Zovpinode(QStringLiteral("ZOV"), text);
    mark->setShifted(shifted);
    return appendOrFree(parent, mark);
}

// Copies source under parent, with its whole subtree when deep; marked replaces the copy's
// attributes. Every copy takes its source's partner. Returns the copy, or null when parent is
// not an element.
Zovnode* copyInto(
    Zovnode* parent, const Zovnode* source, bool deep, const QStringList* marked, Nodearena* arena)
{
    const auto copyOf = [arena](Zovnode* to, const Zovnode* from) {
        Zovnode* const copy = appendOrFree(to, Zovnode::shallowCopy(from, arena));
        if (copy)
            copy->linkPartner(from->partner());
        return copy;
    };
    Zovnode* copy = nullptr;
    if (marked) {
        Zovnode* const node = arena
            ? Zovnode::inArena<Zovattrelementnode>(
                *arena, source->text(), int(marked->size()), marked->constData(), *arena)
            : new Zovattrelementnode(source->text(), int(marked->size()), marked->constData());
        copy = appendOrFree(parent, node);
    } else {
        copy = copyOf(parent, source);
    }
    if (!copy)
        return nullptr;
    if (deep) {
        // Explicit stack: subtrees may be far deeper than the call stack allows.
        QVector<QPair<const Zovnode*, Zovnode*>> pending { qMakePair(source, copy) };
        while (!pending.isEmpty()) {
            const auto [from, to] = pending.takeLast();
            const Childspan list = from->children();
            for (int k = 0; list && k < list->size(); ++k) {
                const Zovnode* const child = list->at(k);
                Zovnode* const childCopy = copyOf(to, child);
                if (childCopy && child->hasChildren())
                    pending.append(qMakePair(child, childCopy));
            }
        }
    }
    if (marked)
        copy->linkPartner(source->partner());
    return copy;
}

void appendDeleted(Levelcontext& context, Zovnode* resultElement, const Zovnode* child)
{
    appendMark(context, resultElement, context.marks.deleted(child->name()), false);
    copyInto(resultElement, child, true, nullptr, context.work.arena);
}

// Moves child index of node2 under parent, for a run that releases tree 2 afterwards and so
// needs no copy. Returns the child, or null when there is none.
Zovnode* moveInto(Zovnode* parent, Zovnode* node2, int index)
{
    Zovnode* const child = static_cast<Zovelementnode*>(node2)->releaseChild(index);
    if (!child)
        return nullptr;
    return appendOrFree(parent, child);
}

// The recorded new-side values of a side-2 child follow it to the result node placed for it; a
// key of tree 2 must not outlive the tree.
void carryOriginals(Refinedoriginals* originals, const Zovnode* child, const Zovnode* placed)
{
    if (!originals || child == placed)
        return;
    const auto text = originals->texts.constFind(child);
    if (text != originals->texts.cend()) {
        const QString value = text.value();
        originals->texts.erase(text);
        if (placed)
            originals->texts.insert(placed, value);
    }
    const auto attributes = originals->attributes.constFind(child);
    if (attributes != originals->attributes.cend()) {
        const QStringList value = attributes.value();
        originals->attributes.erase(attributes);
        if (placed)
            originals->attributes.insert(placed, value);
    }
}

// Gives the children of from to the childless element to, in one array of arena.
void handOver(Zovelementnode& from, Zovnode* to, Nodearena& arena)
{
    const Childspan children = from.children();
    const int count = int(children.size());
    static_cast<Zovelementnode*>(to)->adoptCopied(children.constData(), count, arena);
    for (int k = 0; k < count; ++k)
        from.releaseChild(k);
}

// Per new child, whether its pair kept its order among the level's pairs (see keptOrder).
QVector<bool> keptOrderOf(const Cmpvector& v)
{
    QVector<int> oldIndex = sizedVector<int>(v.count2, -1);
    bool anyMoved = false;
    for (int j = 0; j < v.count2; ++j) {
        const int state = v.state2[j];
        if (state < complete_match || state > position_and_content_and_attribute_change)
            continue;
        const bool positional = isPositionKind(state);
        oldIndex[j] = positional ? v.partner2[j] : j;
        anyMoved = anyMoved || positional;
    }
    return anyMoved ? keptOrder(oldIndex) : QVector<bool>();
}

void runLevel(Levelcontext& context, Zovnode* node1, Zovnode* node2, Zovnode* resultElement)
{
    Worklist& work = context.work;
    const bool guiRun = context.guiRun;
    Nodearena* const arena = work.arena;
    // A changed element moved from tree 2 is its own result element: its children are matched
    // from a stand-in, and the marks and children of the result go into the element.
    std::optional<Zovelementnode> standIn;
    if (node2 == resultElement && isElementKind(node2->kind())) {
        standIn.emplace(node2);
        standIn->takeChildren(*static_cast<Zovelementnode*>(node2));
        node2 = &*standIn;
    }
    std::unique_ptr<Cmpvector> vector;
    if (context.settings.hashMode)
        vector = std::make_unique<Cmpvector_hash>(node1, node2, context.settings);
    else
        vector = std::make_unique<Cmpvector_str>(node1, node2, context.settings);
    vector->setContentHashCache(context.cache);
    vector->setOriginals(work.originals);
    vector->runPasses();
    if (guiRun)
        linkLevel(*vector);

    const Cmpvector& v = *vector;
    // A view run keeps tree 2 whole: its nodes carry the partner links.
    const bool move = work.consumeSecondTree && !guiRun;
    const bool moveChanged = handsOver(context);
    // Changed elements to compare one level down: side-2 index, side-2 node, result element.
    struct Descent {
        int j;
        Zovnode* second;
        Zovnode* result;
    };
    QVector<Descent> descents;
    // The result's children are gathered first and handed over in one array of the arena:
    // appended one by one, each element would keep an array of its own with room to spare.
    std::optional<Zovelementnode> gathered;
    Zovnode* const target
        = arena && isElementKind(resultElement->kind()) && !resultElement->hasChildren()
        ? &gathered.emplace(resultElement)
        : resultElement;
    const QVector<bool> kept = keptOrderOf(v);
    int k1 = 0;
    int k2 = 0;
    while (k2 < v.count2) {
        if (k1 < v.count1 && v.state1[k1] == element_deleted) {
            appendDeleted(context, target, v.child1(k1));
            ++k1;
            continue;
        }
        const int state = v.state2[k2];
        Zovnode* const child = v.child2(k2);
        if (state == element_added) {
            appendMark(context, target, context.marks.text(element_added, 0), false);
            if (move)
                moveInto(target, node2, k2);
            else
                copyInto(target, child, true, nullptr, arena);
            ++k2;
            continue;
        }
        const int shift = k2 - v.partner2[k2];
        if (state >= complete_match && state <= position_and_content_and_attribute_change) {
            const bool positional = isPositionKind(state);
            appendMark(context, target, context.marks.text(state, positional ? shift : 0),
                positional && kept.value(k2));
        }
        const QStringList* const marked = v.markedAttributes(k2);
        switch (state) {
        case complete_match:
        case position_change:
        case attribute_change:
        case position_and_attribute_change:
            if (move && !marked)
                carryOriginals(work.originals, child, moveInto(target, node2, k2));
            else
                carryOriginals(work.originals, child, copyInto(target, child, true, marked, arena));
            break;
        case content_change:
        case attribute_and_content_change:
        case position_and_content_change:
        case position_and_content_and_attribute_change: {
            Zovnode* placed = nullptr;
            if (moveChanged && !marked) {
                placed = moveInto(target, node2, k2);
                // Its children change below; the stored hash would no longer describe it.
                if (placed)
                    placed->setFingerprint(0);
            } else {
                placed = copyInto(target, child, false, marked, arena);
                carryOriginals(work.originals, child, placed);
            }
            if (placed)
                descents.append({ k2, child, placed });
            break;
        }
        default:
            break;
        }
        ++k1;
        ++k2;
    }
    for (; k1 < v.count1; ++k1) {
        if (v.state1[k1] == element_deleted)
            appendDeleted(context, target, v.child1(k1));
    }

    if (gathered)
        handOver(*gathered, resultElement, *arena);

    for (const Descent& descent : descents) {
        Zovnode* const child = descent.second;
        if (!isElementKind(child->kind()))
            continue;
        const int j = descent.j;
        const int state = v.state2[j];
        const int i
            = state == content_change || state == attribute_and_content_change ? j : v.partner2[j];
        Zovnode* const partner = v.child1(i);
        if (partner->hasChildren() || child->hasChildren())
            enqueuePair(work, partner, child, descent.result);
    }

    // What the stand-in still holds was copied, not moved, and may be compared further down;
    // it goes with tree 2's other nodes at the end of the compare.
    if (standIn) {
        const qsizetype count = standIn->children().size();
        for (qsizetype j = 0; j < count; ++j) {
            if (work.parked.size() == work.parked.capacity())
                work.parked.reserve(2 * work.parked.size() + 16);
            if (Zovnode* const left = standIn->releaseChild(j))
                work.parked.emplace_back(left);
        }
    }
}

} // namespace

void compareTrees(
    Worklist& work, bool guiRun, Zovnode* node1, Zovnode* node2, Zovnode* resultElement)
{
    if (!node1 || !node2 || !resultElement)
        return;
    const Passsettings settings = Passsettings::fromConfig();
    if (!work.fingerprintsStored) {
        storeFingerprints(node1, settings.keys);
        storeFingerprints(node2, settings.keys);
    }
    Hashcache cache;
    Levelcontext context { work, guiRun, &cache, settings, {} };
    work.entries.resize(0);
    runLevel(context, node1, node2, resultElement);
    while (!work.entries.isEmpty()) {
        const qsizetype stretchEnd = work.entries.size();
        for (qsizetype p = 0; p < stretchEnd; p += 3) {
            // Read before the call: appends may move the array.
            Zovnode* const first = work.entries[p];
            Zovnode* const second = work.entries[p + 1];
            Zovnode* const result = work.entries[p + 2];
            runLevel(context, first, second, result);
        }
        // Only the next depth is kept: a deep document would otherwise hold a triple for
        // every level at once.
        work.entries.remove(0, stretchEnd);
    }
    work.parked.clear();
}

void compareLevel(
    Worklist& work, bool guiRun, Zovnode* node1, Zovnode* node2, Zovnode* resultElement)
{
    if (!node1 || !node2 || !resultElement)
        return;
    Levelcontext context { work, guiRun, nullptr, Passsettings::fromConfig(), {} };
    runLevel(context, node1, node2, resultElement);
}

void enqueuePair(Worklist& work, Zovnode* node1, Zovnode* node2, Zovnode* resultElement)
{
    const QMutexLocker locker(&work.mutex);
    work.entries.append(node1);
    work.entries.append(node2);
    work.entries.append(resultElement);
}

void linkLevel(const Cmpvector& vector)
{
    for (int j = 0; j < vector.count2; ++j) {
        const int state = vector.state2[j];
        int i = -1;
        bool whole = false;
        switch (state) {
        case complete_match:
        case attribute_change:
            i = j;
            whole = true;
            break;
        case position_change:
        case position_and_attribute_change:
            i = vector.partner2[j];
            whole = true;
            break;
        case content_change:
        case attribute_and_content_change:
            i = j;
            break;
        case position_and_content_change:
        case position_and_content_and_attribute_change:
            i = vector.partner2[j];
            break;
        default:
            continue;
        }
        Zovnode* const first = vector.child1(i);
        Zovnode* const second = vector.child2(j);
        second->linkPartner(first);
        if (whole && second->hasChildren())
            linkSubtrees(first, second);
    }
}

void linkSubtrees(Zovnode* tree1Node, Zovnode* tree2Node)
{
    if (!tree1Node || !tree2Node)
        return;
    // Frames keep the depth-first order of a recursive walk without its stack depth.
    struct Frame {
        Zovnode* first;
        Zovnode* second;
        int next;
    };
    QVector<Frame> stack { { tree1Node, tree2Node, 0 } };
    while (!stack.isEmpty()) {
        Frame& top = stack.last();
        const Childspan list1 = top.first->children();
        const Childspan list2 = top.second->children();
        const int common = list1 && list2 ? int(qMin(list1->size(), list2->size())) : 0;
        if (top.next >= common) {
            stack.removeLast();
            continue;
        }
        Zovnode* const child1 = list1->at(top.next);
        Zovnode* const child2 = list2->at(top.next);
        ++top.next;
        child2->linkPartner(child1);
        if (child2->hasChildren())
            stack.append({ child1, child2, 0 });
    }
}
