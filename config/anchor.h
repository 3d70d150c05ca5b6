#pragma once

#include <QString>

// How elements of one name are identified across the two documents: by the content (or the
// attribute, for a last path part "@name") found at path below them.
struct Anchor {
    QString name;
    QString path;
    bool absolute = false;
    bool normalizeSpaces = false;

    // "name path yes|no yes|no", as the run logs its configuration.
    QString logForm() const;
};
