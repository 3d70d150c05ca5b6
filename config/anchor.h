#pragma once

#include <QString>

class Zovnode;

// How elements of one name are identified across the two documents: by the content (or the
// attribute, for a last path part "@name") found at path below them.
struct Anchor {
    QString name;
    QString path;
    bool absolute = false;
    bool normalizeSpaces = false;

    // "name path yes|no yes|no", as the run logs its configuration.
    QString logForm() const;

    // Reads an anchor element of the configuration file: the name attribute, the text inside its
    // first child, and the two flags (exactly "yes" is true). False when the first child is
    // missing or empty; anchor is then unchanged.
    static bool fromElement(const Zovnode* element, Anchor* anchor);
};
