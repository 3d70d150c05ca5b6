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
