#include "refimpl.h"

#include "compare/changekind.h"
#include "compare/cmpvector.h"
#include "config/cfgstore.h"
#include "output/textdiff.h"

#include <QQueue>
#include <algorithm>
#include <tuple>

namespace {

bool flag(const char* key) { return Cfgstore::instance().getBool(QString::fromLatin1(key)); }

int countOf(const Zovnode* node) { return node->hasChildren() ? int(node->children()->size()) : 0; }

const Zovnode* keyNodeOf(Zovnode* child, const QStringList& path)
{
    return path.isEmpty() ? child : child->findPath(path);
}

} // namespace

Refvector::Refvector(Zovnode* first, Zovnode* second, bool hash)
    : node1(first)
    , node2(second)
    , count1(countOf(first))
    , count2(countOf(second))
    , hashMode(hash)
    , state1(count1, 0)
    , state2(count2, 0)
    , partner1(count1, 0)
    , partner2(count2, 0)
{
}

void Refvector::runPasses()
{
    matchEqualInPlace();
    matchEqualMoved();
    matchAnchors();
    if (flag("enable_contentmode"))
        matchByContent();
    matchNameInPlace();
    if (flag("enable_shiftmode"))
        matchByShift();
    markUnmatched();
    if (!flag("ignore_attributes"))
        compareAttributes();
    if (flag("do_txtdiff"))
        diffTexts();
}

bool Refvector::keysEqual(int i, int j) const
{
    return hashMode ? hashKeys1[i] == hashKeys2[j] : textKeys1[i] == textKeys2[j];
}

void Refvector::pair(int i, int j)
{
    if (i == j) {
        state1[i] = state2[j] = 3;
    } else {
        state1[i] = state2[j] = 6;
        partner1[i] = j;
        partner2[j] = i;
    }
}

void Refvector::matchEqualInPlace()
{
    const bool simplify = flag("normalize_spaces");
    const bool ignoreAttributes = flag("ignore_attributes");
    const bool ignoreOrder = flag("ignore_attribute_order");
    for (int i = 0; i < count1; ++i)
        textKeys1.append(child1(i)->contentString(simplify, ignoreAttributes, ignoreOrder));
    for (int j = 0; j < count2; ++j)
        textKeys2.append(child2(j)->contentString(simplify, ignoreAttributes, ignoreOrder));
    for (const QString& key : textKeys1)
        hashKeys1.append(qHash(key));
    for (const QString& key : textKeys2)
        hashKeys2.append(qHash(key));
    for (int i = 0; i < qMin(count1, count2); ++i) {
        if (keysEqual(i, i))
            state1[i] = state2[i] = 1;
    }
}

void Refvector::matchEqualMoved()
{
    for (int i = 0; i < count1; ++i) {
        if (state1[i] != 0)
            continue;
        int bestDistance = 2147483647;
        int best = -1;
        for (int j = 0; j < count2; ++j) {
            if (keysEqual(i, j) && state2[j] == 0 && qAbs(i - j) < bestDistance) {
                bestDistance = qAbs(i - j);
                best = j;
            }
        }
        if (best >= 0) {
            state1[i] = state2[best] = 2;
            partner2[best] = i;
            partner1[i] = best;
        }
    }
}

void Refvector::matchAnchors()
{
    Cmpvector_hash finder(node1, node2);
    for (int j = 0; j < count2; ++j) {
        if (state2[j] != 0)
            continue;
        QStringList path;
        QString attribute;
        const Anchor* const anchor = finder.findAnchor(child2(j)->name(), &path, &attribute);
        if (!anchor)
            continue;
        const Zovnode* const k2 = keyNodeOf(child2(j), path);
        if (!k2) {
            if (anchor->absolute)
                state2[j] = 99;
            continue;
        }
        for (int i = 0; i < count1; ++i) {
            if (state1[i] != 0 || child1(i)->name() != child2(j)->name())
                continue;
            const Zovnode* const k1 = keyNodeOf(child1(i), path);
            if (!k1)
                continue;
            bool equal = false;
            if (!attribute.isEmpty()) {
                const int a1 = k1->attributeIndex(attribute);
                const int a2 = k2->attributeIndex(attribute);
                if (a1 >= 0 && a2 >= 0)
                    equal = k1->attributeString(a1 + 1) == k2->attributeString(a2 + 1);
                if (a2 < 0 && anchor->absolute)
                    state2[j] = 99;
            } else {
                equal = k1->contentString(anchor->normalizeSpaces, false, true)
                    == k2->contentString(anchor->normalizeSpaces, false, true);
            }
            if (equal) {
                pair(i, j);
                break;
            }
        }
    }
    for (int i = 0; i < count1; ++i) {
        QStringList path;
        QString attribute;
        const Anchor* const anchor = finder.findAnchor(child1(i)->name(), &path, &attribute);
        if (state1[i] != 0 || !anchor)
            continue;
        const Zovnode* const key = keyNodeOf(child1(i), path);
        if (!key || (!attribute.isEmpty() && key->attributeIndex(attribute) < 0))
            state1[i] = 99;
    }
    for (int j = 0; j < count2; ++j) {
        const Anchor* const anchor = finder.findAnchor(child2(j)->name(), nullptr, nullptr);
        if (state2[j] == 0 && anchor && anchor->absolute)
            state2[j] = 9;
    }
    for (int i = 0; i < count1; ++i) {
        const Anchor* const anchor = finder.findAnchor(child1(i)->name(), nullptr, nullptr);
        if (state1[i] == 0 && anchor && anchor->absolute)
            state1[i] = 10;
    }
    for (int& state : state1)
        state = state == 99 ? 0 : state;
    for (int& state : state2)
        state = state == 99 ? 0 : state;
}

void Refvector::matchByContent()
{
    if (count1 == 0)
        return;
    QVector<std::tuple<int, int, int>> records;
    for (int j = 0; j < count2; ++j) {
        Zovnode* const c2 = child2(j);
        if (state2[j] != 0 || c2->isCharacterData()
            || Cfgstore::instance().excluded().contains(c2->name()))
            continue;
        QVector<int> candidates;
        for (int i = 0; i < count1; ++i) {
            if (state1[i] == 0 && child1(i)->name() == c2->name() && !child1(i)->isCharacterData())
                candidates.append(i);
        }
        if (candidates.isEmpty())
            continue;
        int sameName = 0;
        for (int k = 0; k < count2; ++k) {
            if (state2[k] == 0 && child2(k)->name() == c2->name() && !child2(k)->isCharacterData())
                ++sameName;
        }
        if (sameName == 1 && candidates.size() == 1)
            continue;
        int best = -1;
        int bestScore = 0;
        for (const int i : candidates) {
            const int score = similarityScore(
                child1(i)->contentString(true, true, true), c2->contentString(true, true, true));
            if (score > bestScore) {
                bestScore = score;
                best = i;
            }
        }
        if (best >= 0)
            records.append({ bestScore, best, j });
    }
    std::stable_sort(records.begin(), records.end(),
        [](const auto& a, const auto& b) { return std::get<0>(a) > std::get<0>(b); });
    // Equal scores: the later record first.
    for (qsizetype start = 0; start < records.size();) {
        qsizetype end = start;
        while (end < records.size() && std::get<0>(records[end]) == std::get<0>(records[start]))
            ++end;
        std::reverse(records.begin() + start, records.begin() + end);
        start = end;
    }
    for (const auto& [score, i, j] : records) {
        if (state1[i] == 0)
            pair(i, j);
    }
}

void Refvector::matchNameInPlace()
{
    for (int i = 0; i < qMin(count1, count2); ++i) {
        if (state1[i] == 0 && state2[i] == 0 && child1(i)->name() == child2(i)->name())
            state1[i] = state2[i] = 3;
    }
}

void Refvector::matchByShift()
{
    if (count1 == 0)
        return;
    const auto nearestOpen = [this](int j) {
        int bestDistance = 2147483647;
        int best = -1;
        for (int i = 0; i < count1; ++i) {
            if (state1[i] == 0 && child1(i)->name() == child2(j)->name()
                && qAbs(i - j) < bestDistance) {
                bestDistance = qAbs(i - j);
                best = i;
            }
        }
        return best;
    };
    QVector<std::tuple<int, int, int>> records;
    for (int j = 0; j < count2; ++j) {
        if (state2[j] != 0)
            continue;
        const int i = nearestOpen(j);
        if (i >= 0)
            records.append({ qAbs(i - j), i, j });
    }
    QVector<std::tuple<int, int, int>> ordered;
    for (int distance = 0; distance <= qMax(count1, count2); ++distance) {
        for (qsizetype k = records.size() - 1; k >= 0; --k) {
            if (std::get<0>(records[k]) == distance)
                ordered.append(records[k]);
        }
    }
    for (const auto& [distance, i, j] : ordered) {
        if (state1[i] == 0)
            pair(i, j);
    }
    for (int j = 0; j < count2; ++j) {
        if (state2[j] != 0)
            continue;
        const int i = nearestOpen(j);
        if (i >= 0) {
            state1[i] = state2[j] = 6;
            partner1[i] = j;
            partner2[j] = i;
        }
    }
}

void Refvector::markUnmatched()
{
    for (int& state : state1)
        state = state == 0 ? 10 : state;
    for (int& state : state2)
        state = state == 0 ? 9 : state;
}

void Refvector::compareAttributes()
{
    const bool ignoreOrder = flag("ignore_attribute_order");
    const bool simplify = flag("normalize_spaces");
    for (int j = 0; j < count2; ++j) {
        if (state2[j] != 3 && state2[j] != 6)
            continue;
        const int i = state2[j] == 3 ? j : partner2[j];
        Zovnode* const c1 = child1(i);
        Zovnode* const c2 = child2(j);
        const bool attributesEqual = ignoreOrder
            ? c1->sortedAttributeText() == c2->sortedAttributeText()
            : c1->attributeList() == c2->attributeList();
        if (attributesEqual)
            continue;
        const bool sameContent
            = c1->contentString(simplify, true, true) == c2->contentString(simplify, true, true);
        const int code = sameContent ? (i == j ? 4 : 7) : (i == j ? 5 : 8);
        state1[i] = state2[j] = code;
        if (flag("cmp_attr_contents")) {
            const QStringList list = diffAttributes(c1->attributeList(), c2->attributeList());
            if (c2->kind() == Attrelement)
                c2->setAttributeList(list);
            else if (c2->kind() == Element)
                marked.insert(j, list);
        }
    }
}

void Refvector::diffTexts()
{
    for (int j = 0; j < count2; ++j) {
        if (child2(j)->kind() != Text || (state2[j] != 3 && state2[j] != 6))
            continue;
        const Zovnode* const c1 = child1(state2[j] == 3 ? j : partner2[j]);
        if (c1->kind() == Text)
            child2(j)->setText(
                diffText(c1->text(), child2(j)->text(), flag("txtdiff_casesensitive")));
    }
}

namespace {

void refLinkSubtrees(Zovnode* a, Zovnode* b)
{
    for (int k = 0; k < qMin(countOf(a), countOf(b)); ++k) {
        Zovnode* const ca = a->children()->at(k);
        Zovnode* const cb = b->children()->at(k);
        cb->linkPartner(ca);
        if (cb->hasChildren())
            refLinkSubtrees(ca, cb);
    }
}

Zovnode* refCopy(Zovnode* parent, Zovnode* source, bool deep, const QStringList* list)
{
    if (!list)
        return parent->copyChild(source, deep);
    Zovnode* const copy = parent->appendChild(
        new Zovattrelementnode(source->text(), int(list->size()), list->constData()));
    if (deep && source->hasChildren()) {
        for (Zovnode* child : *source->children())
            copy->copyChild(child, true);
    }
    copy->linkPartner(source->partner());
    return copy;
}

void refLevel(bool guiRun, Zovnode* n1, Zovnode* n2, Zovnode* result,
    QQueue<std::tuple<Zovnode*, Zovnode*, Zovnode*>>& queue)
{
    Refvector v(n1, n2, flag("use_hashmode"));
    v.runPasses();
    if (guiRun) {
        for (int j = 0; j < v.count2; ++j) {
            const int s = v.state2[j];
            if (s < 1 || s > 8)
                continue;
            const int i = (s == 2 || s >= 6) ? v.partner2[j] : j;
            v.child2(j)->linkPartner(v.child1(i));
            if ((s == 1 || s == 2 || s == 4 || s == 7) && v.child2(j)->hasChildren())
                refLinkSubtrees(v.child1(i), v.child2(j));
        }
    }
    QVector<Zovnode*> copies(v.count2, nullptr);
    int k1 = 0;
    int k2 = 0;
    while (k2 < v.count2) {
        if (k1 < v.count1 && v.state1[k1] == 10) {
            result->appendMark(markText(10, 0, v.child1(k1)->name()));
            result->copyChild(v.child1(k1), true);
            ++k1;
        } else if (v.state2[k2] == 9) {
            result->appendMark(markText(9, 0, QString()));
            result->copyChild(v.child2(k2), true);
            ++k2;
        } else {
            const int s = v.state2[k2];
            result->appendMark(markText(s, k2 - v.partner2[k2], QString()));
            const bool whole = s == 1 || s == 2 || s == 4 || s == 7;
            const auto found = v.marked.constFind(k2);
            Zovnode* const copy = refCopy(
                result, v.child2(k2), whole, found == v.marked.constEnd() ? nullptr : &*found);
            if (!whole)
                copies[k2] = copy;
            ++k1;
            ++k2;
        }
    }
    for (; k1 < v.count1; ++k1) {
        if (v.state1[k1] == 10) {
            result->appendMark(markText(10, 0, v.child1(k1)->name()));
            result->copyChild(v.child1(k1), true);
        }
    }
    for (int j = 0; j < v.count2; ++j) {
        const Nodekind kind = v.child2(j)->kind();
        if (!copies[j] || (kind != Element && kind != Attrelement))
            continue;
        const int i = v.state2[j] == 3 || v.state2[j] == 5 ? j : v.partner2[j];
        if (v.child1(i)->hasChildren() || v.child2(j)->hasChildren())
            queue.enqueue({ v.child1(i), v.child2(j), copies[j] });
    }
}

} // namespace

void refCompareTrees(bool guiRun, Zovnode* node1, Zovnode* node2, Zovnode* resultElement)
{
    QQueue<std::tuple<Zovnode*, Zovnode*, Zovnode*>> queue;
    queue.enqueue({ node1, node2, resultElement });
    while (!queue.isEmpty()) {
        const auto [n1, n2, result] = queue.dequeue();
        refLevel(guiRun, n1, n2, result, queue);
    }
}
