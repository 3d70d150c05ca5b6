#pragma once

#include <QHash>
#include <QMutex>
#include <QStringList>
#include <QVarLengthArray>

#include "model/zovnode.h"

#include <vector>

class Nodearena;

// The new-side values that the refinement replaced by marked ones, by the result node that
// carries the marked value: texts given an inline difference, attribute lists given change
// suffixes. A report needs them to show old and new values side by side.
struct Refinedoriginals {
    QHash<const Zovnode*, QString> texts;
    QHash<const Zovnode*, QStringList> attributes;
};

// Pairs of elements still to be compared, as triples (tree-1 node, tree-2 node, result
// element), processed breadth-first. Owned by the run.
struct Worklist {
    QVarLengthArray<Zovnode*, 256> entries;
    QMutex mutex;
    // Set by an owner that releases tree 2 right after the compare: whole subtrees (and, with an
    // arena and no view, changed elements too) are then moved into the result instead of
    // copied, and tree 2 keeps nulls in their places.
    bool consumeSecondTree = false;
    // Where the result's new nodes (marks, copies) go; null puts them on the heap. It must live
    // as long as the result tree.
    Nodearena* arena = nullptr;
    // Set by an owner whose trees already carry their fingerprints under the current settings
    // (computed while they were read).
    bool fingerprintsStored = false;
    // Set by an owner that wants the replaced new-side values recorded; not owned.
    Refinedoriginals* originals = nullptr;
    // Tree-2 nodes that a changed element moved into the result left behind; freed when
    // compareTrees ends.
    std::vector<Zovnodeptr> parked;
};
