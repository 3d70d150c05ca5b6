#pragma once

#include "model/zovnode.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

struct Anchor;
struct Keyflags;
struct Passsettings;
struct Refinedoriginals;

// The matching state of one pair of elements: a change code and a partner index per child on
// each side. Made, run and deleted by the compare driver for one level.
class Cmpvector {
public:
    // Sizes every array from the two child lists; a node without children counts 0. The
    // settings must outlive the vector.
    Cmpvector(Zovnode* firstNode, Zovnode* secondNode, const Passsettings& settings);
    virtual ~Cmpvector();

    Cmpvector(const Cmpvector&) = delete;
    Cmpvector& operator=(const Cmpvector&) = delete;

    // Equal subtrees at the same index become complete_match; fills the keys. Needs the
    // fingerprints of both child lists stored first (storeFingerprints).
    virtual void matchEqualInPlace() = 0;
    // Equal subtrees at another index become position_change, nearest first.
    virtual void matchEqualMoved() = 0;
    // Drops the keys.
    virtual void clearKeys() = 0;

    // The whole pass sequence, once per vector.
    void runPasses();
    void matchAnchors();
    // The anchor record for an element name with its path list and key attribute (empty when
    // the anchor compares content); null when the name has no usable anchor.
    const Anchor* findAnchor(const QString& name, QStringList* path, QString* keyAttribute) const;
    void matchByContent();
    void matchNameInPlace();
    void matchByShift();
    void markUnmatched();
    void compareAttributes();
    void diffTexts();

    Zovnode* child1(int i) const { return node1->children()->at(i); }
    Zovnode* child2(int j) const { return node2->children()->at(j); }
    // The attribute list with change marks for a side-2 child that cannot hold attributes
    // itself; null when there is none.
    const QStringList* markedAttributes(int j) const;
    // Run-wide memo of subtree hashes without attributes for compareAttributes; not owned,
    // null computes every hash afresh.
    void setContentHashCache(QHash<const Zovnode*, quint64>* cache) { m_contentHashes = cache; }
    // Where the refinement records the side-2 texts and attribute lists it replaces, keyed by
    // the side-2 child; not owned, null records nothing.
    void setOriginals(Refinedoriginals* originals) { m_originals = originals; }

    int count1 = 0;
    int count2 = 0;
    Zovnode* node1 = nullptr;
    Zovnode* node2 = nullptr;
    QVector<int> state1;
    QVector<int> state2;
    QVector<int> partner1;
    QVector<int> partner2;

protected:
    const Passsettings& m_settings;

    // Children with equal keys at the same index become complete_match.
    void matchKeysInPlace(const QVector<quint64>& keys1, const QVector<quint64>& keys2);
    // The bound of matchKeysMoved for keys that are not numbered classes.
    static constexpr quint64 anyKeys = 0;
    // For each open child of side 1 in order, the nearest open child of side 2 with an equal
    // key (the lower index on equal distance) becomes its position_change partner. Keys are
    // numbers below bound, or any values under anyKeys; the keys of open children are spent.
    void matchKeysMoved(QVector<quint64>& keys1, QVector<quint64>& keys2, quint64 bound);

private:
    // Pairing of the anchor, content and shift passes: code 3 in place, else 6 with partners.
    void pair(int i, int j);
    // Pairs i with j at different indices under kind, recording both partners.
    void pairMoved(int i, int j, int kind);

    QHash<int, QStringList> m_markedAttributes;
    QHash<const Zovnode*, quint64>* m_contentHashes = nullptr;
    Refinedoriginals* m_originals = nullptr;
};

// Keys are the children's stored fingerprints; equal 64-bit values count as equal subtrees,
// so a hash collision (odds about 2^-64 per pair) would pair two different subtrees.
class Cmpvector_hash : public Cmpvector {
public:
    Cmpvector_hash(Zovnode* firstNode, Zovnode* secondNode, const Passsettings& settings);
    ~Cmpvector_hash() override;

    void matchEqualInPlace() override;
    void matchEqualMoved() override;
    void clearKeys() override;

    QVector<quint64> keys1;
    QVector<quint64> keys2;
};

// Keys are exact-equality classes: children whose fingerprints agree are confirmed equal by
// a structural comparison before they share a key, so different subtrees never pair.
class Cmpvector_str : public Cmpvector {
public:
    Cmpvector_str(Zovnode* firstNode, Zovnode* secondNode, const Passsettings& settings);
    ~Cmpvector_str() override;

    void matchEqualInPlace() override;
    void matchEqualMoved() override;
    void clearKeys() override;

    QVector<quint64> keys1;
    QVector<quint64> keys2;

private:
    // matchEqualInPlace for a few children, without hash tables.
    void matchShortLists(const Keyflags& flags);

    // The keys are class numbers below this.
    quint64 m_keyBound = 0;
};

// The new attribute list (name, value alternating) with change suffixes joined to the names:
// new-side attributes first in their order, then the deleted ones in the old order.
QStringList diffAttributes(const QStringList& oldList, const QStringList& newList);
