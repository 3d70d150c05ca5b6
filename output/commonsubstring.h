#pragma once

#include <QStringView>

// Where the longest common substring of a and b lies in a. Of several longest ones, the one that
// ends first in b and, of those, the one that ends first in a; a single character that b starts
// with is taken at its last place in a. {0, 0} when a and b have no character in common.
struct Commonspan {
    qsizetype start = 0;
    qsizetype length = 0;
};

// By the table over all pairs of positions, in time a.size() * b.size().
Commonspan commonSpanByTable(QStringView a, QStringView b);
// The same span in time linear in a.size() + b.size(), through a suffix automaton of the
// shorter text (about 100 bytes per character of it).
Commonspan commonSpanByAutomaton(QStringView a, QStringView b);
// Work units (about one table cell's time each) that commonSpan is charged for a and b.
qint64 commonSpanCost(QStringView a, QStringView b);
// The span by whichever of the two is cheaper for the sizes.
Commonspan commonSpan(QStringView a, QStringView b);
