#pragma once

#include "model/zovnode.h"

#include <QString>
#include <QVector>

struct Refinedoriginals;

// One attribute that differs between the old and the new version of an element.
struct Attributedifference {
    enum Change { Added, Removed, Changed };
    Change change = Changed;
    QString name;
    // Empty for an added attribute.
    QString oldValue;
    // Empty for a removed attribute.
    QString newValue;
};

// One change a person must look at, at the deepest place where it happened.
struct Changerecord {
    // Change kind as the result's mark says (1 to 10).
    int kind = 0;
    // A position kind whose pair kept its order among its siblings (see shownKind).
    bool shifted = false;
    // New index minus old index; position kinds only.
    int shift = 0;
    Nodekind node = Element;
    // The node's path in the old document; empty for an added node.
    QString pathOld;
    // The node's path in the new document; empty for a deleted node.
    QString pathNew;
    // Own attribute differences of an element whose attributes changed.
    QVector<Attributedifference> attributes;
    // Same names and values in another order, where the order counts.
    bool attributeOrderChanged = false;
    // Character data and processing instructions: the texts below are set.
    bool hasText = false;
    QString oldText;
    QString newText;
    // The new text with the inline difference markers, when the run diffed the text.
    QString inlineDiff;
};

// What changed between two compared documents.
struct Changereport {
    QVector<Changerecord> changes;
    // Marks per kind as countMarks gives them, and how many position marks are shifted.
    QVector<int> counts;
    int shifted = 0;
    bool equal = false;
};

// The changes of a compared pair in the new document's order (deleted nodes where the
// comparison placed them), each at its deepest place: an element whose only difference lies in
// its descendants is left out, its changed descendants are listed; attribute changes below an
// attribute-changed element are listed at their own elements. Shifted pairs with nothing else
// changed and complete matches are listed only with all. Paths give the 1-based position among
// same-named siblings only where the name repeats ("/catalog/book[2]/price", "text()",
// "comment()", "processing-instruction(target)"). originals (may be null) supplies the new
// values that the run replaced with marked ones. An empty report when a root is missing.
Changereport buildChangereport(
    const Zovnode* root1, const Zovnode* resultRoot, const Refinedoriginals* originals, bool all);
