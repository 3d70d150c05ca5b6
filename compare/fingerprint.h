#pragma once

#include <QHash>
#include <QString>
#include <QtGlobal>

class Zovnode;

// The three settings under which two subtrees count as equal.
struct Keyflags {
    bool simplify = false;
    bool ignoreAttributes = false;
    bool ignoreAttributeOrder = false;

    // normalize_spaces, ignore_attributes and ignore_attribute_order of the configuration.
    static Keyflags fromConfig();

    bool operator==(const Keyflags& other) const
    {
        return simplify == other.simplify && ignoreAttributes == other.ignoreAttributes
            && ignoreAttributeOrder == other.ignoreAttributeOrder;
    }
};

// 64-bit structural hash of every subtree below and including root, stored on each node with
// setFingerprint; equal for subtrees with equal contentString under flags. Does nothing for null.
void storeFingerprints(Zovnode* root, const Keyflags& flags);
// The structural hash of node from its own fields and the fingerprints its children carry: what
// storeFingerprints stores, one node at a time, children first (as a loader finishes them).
quint64 fingerprintFromChildren(const Zovnode* node, const Keyflags& flags);
// The structural hash of node under the flags the fingerprints were stored with: an element's
// stored fingerprint, made afresh from its own fields for every other kind (they store none).
quint64 nodeFingerprint(const Zovnode* node, const Keyflags& flags);
// The structural hash of one subtree under flags, computed afresh; cache (optional) keeps the
// hash of every visited node so that later calls skip known subtrees. 0 for null.
quint64 subtreeHash(
    const Zovnode* root, const Keyflags& flags, QHash<const Zovnode*, quint64>* cache = nullptr);
// True exactly when the two subtrees give equal contentString under flags; false for null.
bool subtreesEqual(const Zovnode* a, const Zovnode* b, const Keyflags& flags);
// As subtreesEqual for the flags the stored fingerprints were made with; unequal stored
// fingerprints end the comparison early.
bool storedSubtreesEqual(const Zovnode* a, const Zovnode* b, const Keyflags& flags);
// The subtree's names and character data run together without attributes or delimiters (element
// names and texts simplified): the text whose similarity content mode measures. Empty for null.
QString similarityText(const Zovnode* root);
// True when the nodes' own attributes are equal: in stored order, or as name/value pairs
// sorted by name when ignoreOrder is set.
bool ownAttributesEqual(const Zovnode* a, const Zovnode* b, bool ignoreOrder);
