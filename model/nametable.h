#pragma once

#include <QString>
#include <QStringView>

// Element names shared by every tree of the process: each distinct name is kept once and never
// freed, so an element holds a pointer to it instead of a string of its own, and a node moved
// or copied into another tree keeps a valid name whatever becomes of its first tree. The table
// takes a bounded number of names; documents of unique names give the rest their own copies.
// Safe to call from any thread.
namespace Nametable {

// The kept copy of name; null when the table can take no more (the caller keeps a copy itself).
const QString* keep(QStringView name);

// The kept copy of a short attribute value, from a table of its own with the same rules; null
// for a value too long to be worth sharing, or when the table is full.
const QString* keepValue(QStringView value);

// The longest value keepValue shares: longer values rarely repeat.
constexpr qsizetype sharedValueLength = 16;

} // namespace Nametable
