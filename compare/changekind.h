#pragma once

#include <QString>

// Change kind of a child after the matching passes; the names double as the configuration
// keys of the mark texts. Open and Pending exist only while matching.
enum Changekind : qint32 {
    Open = 0,
    complete_match = 1,
    position_change = 2,
    content_change = 3,
    attribute_change = 4,
    attribute_and_content_change = 5,
    position_and_content_change = 6,
    position_and_attribute_change = 7,
    position_and_content_and_attribute_change = 8,
    element_added = 9,
    element_deleted = 10,
    Pending = 99,
};

// Configuration key of a kind's mark text ("complete_match" …); empty for Open and Pending.
QString changekindKey(int kind);
// The mark text of a child: the configured text, plus " shift" for position kinds and
// " name" for a deleted child.
QString markText(int kind, int shift, const QString& deletedName);
// Whether a kind records that the pair changed its index (2, 6, 7, 8).
bool isPositionKind(int kind);
// The kind as a person should see it: a shifted pair (its index changed only because of
// insertions or deletions before it) loses the position part, so 2 reads as 1, 6 as 3, 7 as 4
// and 8 as 5. Every other kind is returned unchanged.
int shownKind(int kind, bool shifted);
