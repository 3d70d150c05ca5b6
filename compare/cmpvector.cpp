#include "compare/cmpvector.h"

#include "compare/changekind.h"
#include "compare/fingerprint.h"
#include "compare/flatindex.h"
#include "compare/openpositions.h"
#include "compare/passsettings.h"
#include "config/cfgstore.h"
#include "model/sizedvector.h"
#include "model/zovnode.h"
#include "output/textdiff.h"

#include <QSet>
#include <algorithm>

namespace {

int childCount(const Zovnode* node)
{
    return node && node->hasChildren() ? int(node->children()->size()) : 0;
}

// Characters compared pairwise (length of one text times the other's) that the content pass may
// spend on one child list. Scoring is quadratic per pair and is done for every open pair of equal
// names, so a thousand changed records would take minutes; a pair that no longer fits the budget
// is left unscored, and its children are matched by the passes after content mode.
constexpr qint64 contentCellBudget = qint64(1) << 27;

// One candidate pair of the content or shift pass; j is unique per pass.
struct Record {
    int weight;
    int i;
    int j;
};

// Orders records by ascending weight, later-recorded (higher j) first on equal weight.
void sortRecords(QVector<Record>& records)
{
    std::sort(records.begin(), records.end(), [](const Record& a, const Record& b) {
        return a.weight != b.weight ? a.weight < b.weight : a.j > b.j;
    });
}

// A resolved anchor: the record with its split path.
struct Anchorrule {
    const Anchor* anchor = nullptr;
    QStringList path;
    QString keyAttribute;
};

// Side-1 candidates of one anchor key, ascending; head skips the paired ones at the front.
struct Anchorbucket {
    QVector<int> positions;
    int head = 0;
};

} // namespace

Cmpvector::Cmpvector(Zovnode* firstNode, Zovnode* secondNode, const Passsettings& settings)
    : count1(childCount(firstNode))
    , count2(childCount(secondNode))
    , node1(firstNode)
    , node2(secondNode)
    , state1(sizedVector<int>(count1, Open))
    , state2(sizedVector<int>(count2, Open))
    , partner1(sizedVector<int>(count1, 0))
    , partner2(sizedVector<int>(count2, 0))
    , m_settings(settings)
{
}

Cmpvector::~Cmpvector() = default;

void Cmpvector::runPasses()
{
    matchEqualInPlace();
    matchEqualMoved();
    clearKeys();
    matchAnchors();
    if (m_settings.contentMode)
        matchByContent();
    matchNameInPlace();
    if (m_settings.shiftMode)
        matchByShift();
    markUnmatched();
    if (!m_settings.keys.ignoreAttributes)
        compareAttributes();
    if (m_settings.textDiff)
        diffTexts();
}

void Cmpvector::pair(int i, int j)
{
    if (i == j) {
        state1[i] = content_change;
        state2[j] = content_change;
        return;
    }
    pairMoved(i, j, position_and_content_change);
}

void Cmpvector::pairMoved(int i, int j, int kind)
{
    state1[i] = kind;
    state2[j] = kind;
    partner1[i] = j;
    partner2[j] = i;
}

void Cmpvector::matchKeysInPlace(const QVector<quint64>& keys1, const QVector<quint64>& keys2)
{
    const int common = qMin(count1, count2);
    for (int i = 0; i < common; ++i) {
        if (keys1[i] == keys2[i]) {
            state1[i] = complete_match;
            state2[i] = complete_match;
        }
    }
}

void Cmpvector::matchKeysMoved(QVector<quint64>& keys1, QVector<quint64>& keys2, quint64 bound)
{
    // Short lists are scanned directly; an index only pays off for long ones.
    if (qint64(count1) * count2 <= 64) {
        for (int i = 0; i < count1; ++i) {
            if (state1[i] != Open)
                continue;
            int best = -1;
            for (int j = 0; j < count2; ++j) {
                if (state2[j] == Open && keys2[j] == keys1[i]
                    && (best < 0 || qAbs(i - j) < qAbs(i - best)))
                    best = j;
            }
            if (best < 0)
                continue;
            state1[i] = position_change;
            state2[best] = position_change;
            partner1[i] = best;
            partner2[best] = i;
        }
        return;
    }
    // Any 64-bit keys are numbered first, in the order of the open side-1 children; a side-2
    // key that none of them has gets no number and so no candidates.
    constexpr quint64 unnumbered = ~quint64(0);
    if (bound == anyKeys) {
        constexpr int ahead = 8;
        Flatindex<quint64> numbers(count1);
        for (int i = 0; i < count1; ++i) {
            if (i + ahead < count1 && state1[i + ahead] == Open)
                numbers.prefetch(keys1[i + ahead]);
            if (state1[i] != Open)
                continue;
            keys1[i] = numbers.insert(keys1[i], bound);
            if (keys1[i] == bound)
                ++bound;
        }
        for (int j = 0; j < count2; ++j) {
            if (j + ahead < count2 && state2[j + ahead] == Open)
                numbers.prefetch(keys2[j + ahead]);
            if (state2[j] != Open)
                continue;
            const quint64* const number = numbers.find(keys2[j]);
            keys2[j] = number ? *number : unnumbered;
        }
    }
    // Open side-2 children bucketed by key in index order (a counting sort), so each key's
    // candidates are one ascending run, found without hashing; numbers follow the child order,
    // so the buckets are visited nearly in sequence. Different keys never compete for a child,
    // which lets each run be settled on its own: a run of one directly, a longer run by a
    // nearest-position search.
    QVector<int> ends = sizedVector<int>(qsizetype(bound), 0);
    int open2 = 0;
    for (int j = 0; j < count2; ++j) {
        if (state2[j] == Open && keys2[j] < bound) {
            ++ends[qsizetype(keys2[j])];
            ++open2;
        }
    }
    if (open2 == 0)
        return;
    int sum = 0;
    for (int& end : ends) {
        sum += end;
        end = sum - end;
    }
    QVector<int> positions = sizedVector<int>(open2, 0);
    for (int j = 0; j < count2; ++j) {
        if (state2[j] == Open && keys2[j] < bound)
            positions[ends[qsizetype(keys2[j])]++] = j;
    }
    QHash<quint64, Openpositions> searches;
    for (int i = 0; i < count1; ++i) {
        if (state1[i] != Open || keys1[i] >= bound)
            continue;
        const quint64 key = keys1[i];
        const int start = key ? ends[qsizetype(key - 1)] : 0;
        const int end = ends[qsizetype(key)];
        int j = -1;
        if (end - start == 1) {
            j = positions[start];
            positions[start] = -1;
        } else if (end - start > 1) {
            auto search = searches.find(key);
            if (search == searches.end()) {
                search = searches.insert(key, Openpositions());
                for (int m = start; m < end; ++m)
                    search->append(positions[m]);
            }
            j = search->nearest(i);
            if (j >= 0)
                search->remove(j);
        }
        if (j >= 0)
            pairMoved(i, j, position_change);
    }
}

const Anchor* Cmpvector::findAnchor(
    const QString& name, QStringList* path, QString* keyAttribute) const
{
    const Anchor* const anchor = Cfgstore::instance().anchor(name);
    if (!anchor)
        return nullptr;
    QStringList parts = anchor->path.split(QLatin1Char('/'), Qt::KeepEmptyParts);
    if (parts.isEmpty())
        return nullptr;
    QString attribute;
    if (parts.last().startsWith(QLatin1Char('@'))) {
        attribute = parts.last().mid(1);
        parts.removeLast();
    }
    if (path)
        *path = parts;
    if (keyAttribute)
        *keyAttribute = attribute;
    return anchor;
}

void Cmpvector::matchAnchors()
{
    // Without any anchor record no child can have a rule.
    if (Cfgstore::instance().anchors().isEmpty())
        return;
    QHash<QString, Anchorrule> rules;
    const auto ruleFor = [this, &rules](const Zovnode* child) -> Anchorrule {
        const QString& name = child->name();
        auto found = rules.find(name);
        if (found == rules.end()) {
            Anchorrule rule;
            rule.anchor = findAnchor(name, &rule.path, &rule.keyAttribute);
            found = rules.insert(name, rule);
        }
        return found.value();
    };
    const auto keyNode = [](Zovnode* child, const Anchorrule& rule) -> const Zovnode* {
        return rule.path.isEmpty() ? child : child->findPath(rule.path);
    };
    const auto contentFlags = [](const Anchorrule& rule) {
        Keyflags flags;
        flags.simplify = rule.anchor->normalizeSpaces;
        flags.ignoreAttributeOrder = true;
        return flags;
    };

    // Side 1 indexed once: by key attribute value or by content hash, per element name.
    QVector<const Zovnode*> keyNodes1 = sizedVector<const Zovnode*>(count1, nullptr);
    QHash<QString, int> keyed1;
    QHash<QPair<QString, QString>, Anchorbucket> byValue;
    QHash<QPair<QString, quint64>, Anchorbucket> byContent;
    for (int i = 0; i < count1; ++i) {
        if (state1[i] != Open)
            continue;
        Zovnode* const child = child1(i);
        const Anchorrule rule = ruleFor(child);
        if (!rule.anchor)
            continue;
        const Zovnode* const key = keyNode(child, rule);
        if (!key)
            continue;
        keyNodes1[i] = key;
        ++keyed1[child->name()];
        if (!rule.keyAttribute.isEmpty()) {
            const int index = key->attributeIndex(rule.keyAttribute);
            if (index >= 0)
                byValue[{ child->name(), key->attributeString(index + 1) }].positions.append(i);
        } else {
            byContent[{ child->name(), subtreeHash(key, contentFlags(rule)) }].positions.append(i);
        }
    }

    for (int j = 0; j < count2; ++j) {
        if (state2[j] != Open)
            continue;
        Zovnode* const child = child2(j);
        const Anchorrule rule = ruleFor(child);
        if (!rule.anchor)
            continue;
        const Zovnode* const key2 = keyNode(child, rule);
        if (!key2) {
            if (rule.anchor->absolute)
                state2[j] = Pending;
            continue;
        }
        int match = -1;
        if (!rule.keyAttribute.isEmpty()) {
            const int index = key2->attributeIndex(rule.keyAttribute);
            if (index < 0) {
                if (rule.anchor->absolute && keyed1.value(child->name()) > 0)
                    state2[j] = Pending;
                continue;
            }
            const auto found = byValue.find({ child->name(), key2->attributeString(index + 1) });
            if (found == byValue.end())
                continue;
            Anchorbucket& bucket = found.value();
            while (bucket.head < bucket.positions.size()
                && state1[bucket.positions[bucket.head]] != Open)
                ++bucket.head;
            if (bucket.head < bucket.positions.size())
                match = bucket.positions[bucket.head];
        } else {
            const Keyflags flags = contentFlags(rule);
            const auto found = byContent.find({ child->name(), subtreeHash(key2, flags) });
            if (found == byContent.end())
                continue;
            Anchorbucket& bucket = found.value();
            while (bucket.head < bucket.positions.size()
                && state1[bucket.positions[bucket.head]] != Open)
                ++bucket.head;
            for (int k = bucket.head; k < bucket.positions.size() && match < 0; ++k) {
                const int i = bucket.positions[k];
                if (state1[i] == Open && subtreesEqual(keyNodes1[i], key2, flags))
                    match = i;
            }
        }
        if (match >= 0) {
            pair(match, j);
            --keyed1[child->name()];
        }
    }

    for (int i = 0; i < count1; ++i) {
        if (state1[i] != Open)
            continue;
        const Anchorrule rule = ruleFor(child1(i));
        if (!rule.anchor)
            continue;
        const Zovnode* const key = keyNodes1[i];
        if (!key || (!rule.keyAttribute.isEmpty() && key->attributeIndex(rule.keyAttribute) < 0))
            state1[i] = Pending;
    }
    for (int j = 0; j < count2; ++j) {
        if (state2[j] != Open)
            continue;
        const Anchorrule rule = ruleFor(child2(j));
        if (rule.anchor && rule.anchor->absolute)
            state2[j] = element_added;
    }
    for (int i = 0; i < count1; ++i) {
        if (state1[i] != Open)
            continue;
        const Anchorrule rule = ruleFor(child1(i));
        if (rule.anchor && rule.anchor->absolute)
            state1[i] = element_deleted;
    }
    for (int& state : state1) {
        if (state == Pending)
            state = Open;
    }
    for (int& state : state2) {
        if (state == Pending)
            state = Open;
    }
}

void Cmpvector::matchByContent()
{
    if (count1 == 0)
        return;
    const QStringList& excludedList = Cfgstore::instance().excluded();
    const QSet<QString> excluded(excludedList.cbegin(), excludedList.cend());

    QHash<QString, QVector<int>> candidates;
    for (int i = 0; i < count1; ++i) {
        if (state1[i] == Open && !child1(i)->isCharacterData())
            candidates[child1(i)->name()].append(i);
    }
    QHash<QString, int> open2;
    for (int j = 0; j < count2; ++j) {
        if (state2[j] == Open && !child2(j)->isCharacterData())
            ++open2[child2(j)->name()];
    }

    // Each child's text is built at most once per level, however many pairs it is scored in.
    QVector<QString> texts1 = sizedVector<QString>(count1);
    QVector<bool> built1 = sizedVector<bool>(count1, false);
    QVector<Record> records;
    qint64 budget = contentCellBudget;
    for (int j = 0; j < count2; ++j) {
        Zovnode* const child = child2(j);
        if (state2[j] != Open || child->isCharacterData() || excluded.contains(child->name()))
            continue;
        const auto found = candidates.constFind(child->name());
        if (found == candidates.constEnd())
            continue;
        const QVector<int>& list = found.value();
        if (list.size() == 1 && open2.value(child->name()) == 1)
            continue;
        const QString text2 = similarityText(child);
        int best = -1;
        int bestScore = 0;
        for (const int i : list) {
            if (!built1[i]) {
                texts1[i] = similarityText(child1(i));
                built1[i] = true;
            }
            const qint64 cells = qint64(texts1[i].size()) * text2.size();
            if (cells > budget)
                continue;
            budget -= cells;
            const int score = similarityScore(texts1[i], text2);
            if (score > bestScore) {
                bestScore = score;
                best = i;
            }
        }
        if (best >= 0)
            records.append({ -bestScore, best, j });
    }
    sortRecords(records);
    for (const Record& record : records) {
        if (state1[record.i] == Open)
            pair(record.i, record.j);
    }
}

void Cmpvector::matchNameInPlace()
{
    const int common = qMin(count1, count2);
    for (int i = 0; i < common; ++i) {
        if (state1[i] == Open && state2[i] == Open && child1(i)->name() == child2(i)->name()) {
            state1[i] = content_change;
            state2[i] = content_change;
        }
    }
}

void Cmpvector::matchByShift()
{
    if (count1 == 0)
        return;
    QHash<QString, Openpositions> open1;
    for (int i = 0; i < count1; ++i) {
        if (state1[i] == Open)
            open1[child1(i)->name()].append(i);
    }
    QVector<Record> records;
    for (int j = 0; j < count2; ++j) {
        if (state2[j] != Open)
            continue;
        const auto found = open1.find(child2(j)->name());
        if (found == open1.end())
            continue;
        const int i = found->nearest(j);
        if (i >= 0)
            records.append({ qAbs(i - j), i, j });
    }
    sortRecords(records);
    for (const Record& record : records) {
        if (state1[record.i] != Open)
            continue;
        pair(record.i, record.j);
        open1[child1(record.i)->name()].remove(record.i);
    }
    for (int j = 0; j < count2; ++j) {
        if (state2[j] != Open)
            continue;
        const auto found = open1.find(child2(j)->name());
        if (found == open1.end())
            continue;
        const int i = found->nearest(j);
        if (i < 0)
            continue;
        found->remove(i);
        pairMoved(i, j, position_and_content_change);
    }
}

void Cmpvector::markUnmatched()
{
    for (int& state : state1) {
        if (state == Open)
            state = element_deleted;
    }
    for (int& state : state2) {
        if (state == Open)
            state = element_added;
    }
}

Cmpvector_hash::Cmpvector_hash(
    Zovnode* firstNode, Zovnode* secondNode, const Passsettings& settings)
    : Cmpvector(firstNode, secondNode, settings)
    , keys1(sizedVector<quint64>(count1, 0))
    , keys2(sizedVector<quint64>(count2, 0))
{
}

Cmpvector_hash::~Cmpvector_hash() = default;

void Cmpvector_hash::matchEqualInPlace()
{
    const Keyflags& flags = m_settings.keys;
    for (int i = 0; i < count1; ++i)
        keys1[i] = nodeFingerprint(child1(i), flags);
    for (int j = 0; j < count2; ++j)
        keys2[j] = nodeFingerprint(child2(j), flags);
    matchKeysInPlace(keys1, keys2);
}

void Cmpvector_hash::matchEqualMoved() { matchKeysMoved(keys1, keys2, anyKeys); }

void Cmpvector_hash::clearKeys()
{
    keys1 = QVector<quint64>();
    keys2 = QVector<quint64>();
}

Cmpvector_str::Cmpvector_str(Zovnode* firstNode, Zovnode* secondNode, const Passsettings& settings)
    : Cmpvector(firstNode, secondNode, settings)
    , keys1(sizedVector<quint64>(count1, 0))
    , keys2(sizedVector<quint64>(count2, 0))
{
}

Cmpvector_str::~Cmpvector_str() = default;

void Cmpvector_str::matchEqualInPlace()
{
    // Children are split into classes of exactly equal subtrees, each class compared through
    // one representative. A fingerprint shared by different subtrees is rare, so further
    // classes live apart.
    const Keyflags& flags = m_settings.keys;
    if (count1 + count2 <= 16) {
        matchShortLists(flags);
        return;
    }
    // The keys hold the fingerprints until the classes replace them, so that each loop can
    // fetch the index slots of the children a few places ahead.
    constexpr int ahead = 8;
    const Childspan list1 = count1 ? node1->children() : Childspan();
    const Childspan list2 = count2 ? node2->children() : Childspan();
    // Children equal at the same index match without any index: most of a long list stays in
    // place, and walking both lists in step is far cheaper than hashing every child. One pass
    // reads both fingerprints and confirms an equal pair while its nodes are in the cache; in a
    // long list each child is a cache miss of its own, so the nodes ahead are fetched early.
    const int common = qMin(count1, count2);
    int matched = 0;
    for (int i = 0; i < common; ++i) {
        if (i + ahead < common) {
            __builtin_prefetch(list1.at(i + ahead));
            __builtin_prefetch(list2.at(i + ahead));
        }
        Zovnode* const first = list1.at(i);
        Zovnode* const second = list2.at(i);
        keys1[i] = nodeFingerprint(first, flags);
        keys2[i] = nodeFingerprint(second, flags);
        if (keys1[i] == keys2[i] && storedSubtreesEqual(first, second, flags)) {
            state1[i] = complete_match;
            state2[i] = complete_match;
            ++matched;
        }
    }
    for (int i = common; i < count1; ++i)
        keys1[i] = nodeFingerprint(list1.at(i), flags);
    for (int j = common; j < count2; ++j)
        keys2[j] = nodeFingerprint(list2.at(j), flags);
    // The rest are numbered for the move pass: the open side-1 children go into one index by
    // fingerprint, and each open side-2 child looks its fingerprint up there. A side-1 class
    // that no side-2 child joins pairs with nothing, whatever its number.
    struct Representative {
        const Zovnode* node;
        quint64 key;
    };
    Flatindex<Representative> firstClass(count1 - matched);
    QHash<quint64, QVector<Representative>> laterClasses;
    quint64 nextKey = 0;
    const auto classOf = [&](const Zovnode* node, quint64 fingerprint) {
        const Representative* const first = firstClass.find(fingerprint);
        if (!first) {
            firstClass.insert(fingerprint, { node, nextKey });
            return nextKey++;
        }
        if (storedSubtreesEqual(first->node, node, flags))
            return first->key;
        QVector<Representative>& list = laterClasses[fingerprint];
        for (const Representative& representative : list) {
            if (storedSubtreesEqual(representative.node, node, flags))
                return representative.key;
        }
        list.append({ node, nextKey });
        return nextKey++;
    };
    for (int i = 0; i < count1; ++i) {
        if (i + ahead < count1 && state1[i + ahead] == Open)
            firstClass.prefetch(keys1[i + ahead]);
        if (state1[i] == Open)
            keys1[i] = classOf(list1.at(i), keys1[i]);
    }
    for (int j = 0; j < count2; ++j) {
        if (j + ahead < count2 && state2[j + ahead] == Open)
            firstClass.prefetch(keys2[j + ahead]);
        if (state2[j] != Open)
            continue;
        const quint64 fingerprint = keys2[j];
        keys2[j] = firstClass.contains(fingerprint) ? classOf(list2.at(j), fingerprint) : nextKey++;
    }
    m_keyBound = nextKey;
}

void Cmpvector_str::matchShortLists(const Keyflags& flags)
{
    // Each child's key is the index of the first child of side 1 equal to it, found by direct
    // comparison; side-2 children equal to none get keys of their own.
    const quint64 unique = quint64(count1);
    for (int i = 0; i < count1; ++i) {
        keys1[i] = quint64(i);
        for (int k = 0; k < i; ++k) {
            if (keys1[k] == quint64(k) && storedSubtreesEqual(child1(k), child1(i), flags)) {
                keys1[i] = quint64(k);
                break;
            }
        }
    }
    for (int j = 0; j < count2; ++j) {
        keys2[j] = unique + quint64(j);
        for (int k = 0; k < count1; ++k) {
            if (keys1[k] == quint64(k) && storedSubtreesEqual(child1(k), child2(j), flags)) {
                keys2[j] = quint64(k);
                break;
            }
        }
    }
    m_keyBound = unique + quint64(count2);
    matchKeysInPlace(keys1, keys2);
}

void Cmpvector_str::matchEqualMoved() { matchKeysMoved(keys1, keys2, m_keyBound); }

void Cmpvector_str::clearKeys()
{
    keys1 = QVector<quint64>();
    keys2 = QVector<quint64>();
}
