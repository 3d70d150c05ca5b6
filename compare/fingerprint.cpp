#include "compare/fingerprint.h"

#include "config/cfgstore.h"
#include "model/texthash.h"
#include "model/zovnode.h"

#include <QPair>
#include <QStringView>
#include <QVarLengthArray>
#include <QVector>
#include <algorithm>

namespace {

constexpr size_t stringSeed = 0x5a4f56u;

quint64 finalMix(quint64 k)
{
    k ^= k >> 33;
    k *= 0xff51afd7ed558ccdULL;
    k ^= k >> 33;
    k *= 0xc4ceb9fe1a85ec53ULL;
    k ^= k >> 33;
    return k;
}

// Order-dependent: feeding the same values in another order gives another hash.
quint64 combine(quint64 h, quint64 value)
{
    return finalMix(
        ((h << 23) | (h >> 41)) + value * 0x9e3779b97f4a7c15ULL + 0x632be59bd9b4e019ULL);
}

// The length goes in first, so where one string ends and the next begins stays unambiguous.
quint64 combineString(quint64 h, QStringView text)
{
    return combine(combine(h, quint64(text.size())), quint64(textHash(text, stringSeed)));
}

int childCount(const Zovnode* node)
{
    const Childspan list = node->children();
    return list ? int(list->size()) : 0;
}

// True when simplified() would give the text back unchanged: no white space at either end,
// and inside only single blanks.
bool isSimplified(QStringView text)
{
    bool afterSpace = true;
    for (const QChar c : text) {
        if (c.isSpace()) {
            if (afterSpace || c != QLatin1Char(' '))
                return false;
            afterSpace = true;
        } else {
            afterSpace = false;
        }
    }
    return !afterSpace || text.isEmpty();
}

// combineString over the simplified text when simplify is set. Most texts are simplified
// already and are hashed where they are: even a shared copy would cost an atomic reference
// count on every node hashed.
quint64 combineText(quint64 h, const QString& text, bool simplify)
{
    if (simplify && !isSimplified(text))
        return combineString(h, text.simplified());
    return combineString(h, text);
}

// Indices of the attribute pairs in the order the flags compare them in.
QVarLengthArray<int, 8> pairOrder(const Zovnode* node, bool sorted)
{
    QVarLengthArray<int, 8> order;
    const int count = node->attributeStringCount();
    for (int i = 0; i + 1 < count; i += 2)
        order.append(i);
    if (sorted) {
        std::sort(order.begin(), order.end(), [node](int a, int b) {
            const int byName = node->attributeView(a).compare(node->attributeView(b));
            if (byName != 0)
                return byName < 0;
            return node->attributeView(a + 1) < node->attributeView(b + 1);
        });
    }
    return order;
}

// Hash of what a node contributes before its children.
quint64 headHash(const Zovnode* node, const Keyflags& flags)
{
    const Nodekind kind = node->kind();
    quint64 h = combine(0, quint64(isElementKind(kind) ? Element : kind) + 1);
    switch (kind) {
    case Text:
        return combineText(h, node->text(), flags.simplify);
    case Pi:
        return combineString(combineString(h, node->text()), node->value());
    case Element:
    case Attrelement:
        break;
    default:
        return combineString(h, node->text());
    }
    h = combineText(h, node->text(), flags.simplify);
    if (flags.ignoreAttributes || node->attributeStringCount() == 0)
        return combine(h, 0);
    const QVarLengthArray<int, 8> order = pairOrder(node, flags.ignoreAttributeOrder);
    h = combine(h, quint64(order.size()) + 1);
    for (const int i : order)
        h = combineString(combineString(h, node->attributeView(i)), node->attributeView(i + 1));
    return h;
}

// Post-order walk with an explicit stack; known(node, &hash) may supply a subtree's hash,
// done(node, hash) receives each computed one.
template <typename Known, typename Done>
quint64 hashTree(const Zovnode* root, const Keyflags& flags, Known known, Done done)
{
    quint64 rootHash = 0;
    if (!root || known(root, &rootHash))
        return rootHash;
    struct Frame {
        const Zovnode* node;
        int next;
        quint64 hash;
    };
    QVector<Frame> stack;
    stack.append({ root, 0, headHash(root, flags) });
    while (!stack.isEmpty()) {
        Frame& top = stack.last();
        const Childspan list = top.node->children();
        if (list && top.next < list->size()) {
            const Zovnode* const child = list->at(top.next++);
            quint64 childHash = 0;
            if (known(child, &childHash))
                top.hash = combine(top.hash, childHash);
            else
                stack.append({ child, 0, headHash(child, flags) });
            continue;
        }
        const quint64 finished = combine(top.hash, quint64(list ? list->size() : 0));
        done(top.node, finished);
        stack.removeLast();
        if (stack.isEmpty())
            rootHash = finished;
        else
            stack.last().hash = combine(stack.last().hash, finished);
    }
    return rootHash;
}

bool headsEqual(const Zovnode* a, const Zovnode* b, const Keyflags& flags)
{
    const Nodekind kind = a->kind();
    if (isElementKind(kind) != isElementKind(b->kind()))
        return false;
    if (!isElementKind(kind)) {
        if (kind != b->kind())
            return false;
        if (kind == Pi)
            return a->text() == b->text() && a->value() == b->value();
        if (kind == Text && flags.simplify && a->text() != b->text())
            return a->text().simplified() == b->text().simplified();
        return a->text() == b->text();
    }
    if (a->text() != b->text()
        && (!flags.simplify || a->text().simplified() != b->text().simplified()))
        return false;
    if (childCount(a) != childCount(b))
        return false;
    return flags.ignoreAttributes || ownAttributesEqual(a, b, flags.ignoreAttributeOrder);
}

template <typename Prune>
bool equalTrees(const Zovnode* a, const Zovnode* b, const Keyflags& flags, Prune unequal)
{
    if (!a || !b)
        return false;
    QVarLengthArray<QPair<const Zovnode*, const Zovnode*>, 64> pending { qMakePair(a, b) };
    while (!pending.isEmpty()) {
        const auto [x, y] = pending.back();
        pending.removeLast();
        if (x == y)
            continue;
        if (unequal(x, y) || !headsEqual(x, y, flags))
            return false;
        const Childspan listX = x->children();
        const Childspan listY = y->children();
        for (int k = 0; listX && k < listX->size(); ++k)
            pending.append(qMakePair(listX->at(k), listY->at(k)));
    }
    return true;
}

} // namespace

Keyflags Keyflags::fromConfig()
{
    const Cfgstore& store = Cfgstore::instance();
    Keyflags flags;
    flags.simplify = store.getBool(QStringLiteral("normalize_spaces"));
    flags.ignoreAttributes = store.getBool(QStringLiteral("ignore_attributes"));
    flags.ignoreAttributeOrder = store.getBool(QStringLiteral("ignore_attribute_order"));
    return flags;
}

void storeFingerprints(Zovnode* root, const Keyflags& flags)
{
    // Only elements keep theirs (see Zovnode::fingerprint).
    hashTree(
        root, flags, [](const Zovnode*, quint64*) { return false; },
        [](const Zovnode* node, quint64 hash) {
            const_cast<Zovnode*>(node)->setFingerprint(size_t(hash));
        });
}

quint64 fingerprintFromChildren(const Zovnode* node, const Keyflags& flags)
{
    quint64 hash = headHash(node, flags);
    const Childspan list = node->children();
    if (!list)
        return combine(hash, 0);
    for (const Zovnode* child : *list)
        hash = combine(hash, nodeFingerprint(child, flags));
    return combine(hash, quint64(list->size()));
}

quint64 nodeFingerprint(const Zovnode* node, const Keyflags& flags)
{
    // A leaf's hash is its head hash, closed as hashTree closes every node: with no children.
    return isElementKind(node->kind()) ? node->fingerprint() : combine(headHash(node, flags), 0);
}

quint64 subtreeHash(
    const Zovnode* root, const Keyflags& flags, QHash<const Zovnode*, quint64>* cache)
{
    if (!cache) {
        return hashTree(
            root, flags, [](const Zovnode*, quint64*) { return false; },
            [](const Zovnode*, quint64) {});
    }
    return hashTree(
        root, flags,
        [cache](const Zovnode* node, quint64* hash) {
            const auto found = cache->constFind(node);
            if (found == cache->constEnd())
                return false;
            *hash = found.value();
            return true;
        },
        [cache](const Zovnode* node, quint64 hash) { cache->insert(node, hash); });
}

bool subtreesEqual(const Zovnode* a, const Zovnode* b, const Keyflags& flags)
{
    return equalTrees(a, b, flags, [](const Zovnode*, const Zovnode*) { return false; });
}

bool storedSubtreesEqual(const Zovnode* a, const Zovnode* b, const Keyflags& flags)
{
    return equalTrees(a, b, flags,
        // Leaves store 0 and are compared in full by their heads.
        [](const Zovnode* x, const Zovnode* y) { return x->fingerprint() != y->fingerprint(); });
}

bool ownAttributesEqual(const Zovnode* a, const Zovnode* b, bool ignoreOrder)
{
    // Pairs equal in stored order are equal in any order too; only the rest need sorting,
    // which costs string comparisons on every pair of records compared.
    const int pairs = a->attributeStringCount() / 2;
    if (pairs != b->attributeStringCount() / 2)
        return false;
    int same = 0;
    while (same < 2 * pairs && a->attributeView(same) == b->attributeView(same))
        ++same;
    if (same == 2 * pairs)
        return true;
    if (!ignoreOrder)
        return false;
    const QVarLengthArray<int, 8> orderA = pairOrder(a, ignoreOrder);
    const QVarLengthArray<int, 8> orderB = pairOrder(b, ignoreOrder);
    for (int k = 0; k < orderA.size(); ++k) {
        if (a->attributeView(orderA[k]) != b->attributeView(orderB[k])
            || a->attributeView(orderA[k] + 1) != b->attributeView(orderB[k] + 1))
            return false;
    }
    return true;
}

QString similarityText(const Zovnode* root)
{
    // Delimiters belong to equality, not to similarity: digits and kind letters of the
    // fingerprint would count as common text between unrelated subtrees.
    QString text;
    QVector<const Zovnode*> stack;
    if (root)
        stack.append(root);
    while (!stack.isEmpty()) {
        const Zovnode* const node = stack.takeLast();
        switch (node->kind()) {
        case Text:
            text += node->text().simplified();
            break;
        case Comment:
        case Cdata:
            text += node->text();
            break;
        case Pi:
            text += node->text() + node->value();
            break;
        case Element:
        case Attrelement:
            text += node->text().simplified();
            if (const Childspan children = node->children()) {
                for (qsizetype k = children->size() - 1; k >= 0; --k)
                    stack.append(children->at(k));
            }
            break;
        }
    }
    return text;
}
