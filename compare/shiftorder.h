#pragma once

#include <QVector>

// Which pairs of one compared level kept their relative order. oldIndex[j] is the old index of
// new child j's partner, or -1 when j has none. Returns, per new child, whether its pair lies in
// the largest set whose old indices rise with the new ones; among equally large sets the one
// holding more pairs at their own index wins, so a block that really moved is the one left
// out. O(n log n); false for children without a partner.
QVector<bool> keptOrder(const QVector<int>& oldIndex);
