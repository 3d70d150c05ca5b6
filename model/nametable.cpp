#include "model/nametable.h"

#include "model/texthash.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>

#include <atomic>

namespace {

constexpr qsizetype maxNameLength = 1024;

// Names are looked up for every element built, so their hash must be cheap (see textHash).
using Nameview = Textkey<QStringView>;

struct Table {
    Table(qsizetype strings, qsizetype chars)
        : maxStrings(strings)
        , maxCharacters(chars)
    {
    }

    // Bounds of the table, in strings and in characters.
    const qsizetype maxStrings;
    const qsizetype maxCharacters;
    QMutex mutex;
    // Keyed by views of the kept strings, which never move.
    QHash<Nameview, const QString*> names;
    qsizetype characters = 0;
    // Set once the table takes no more; it never changes after that, so readers no longer
    // need the lock.
    std::atomic<bool> full { false };
};

// Never destroyed: nodes of any tree may point into them until the process ends.
Table& nameTable()
{
    static Table* const instance = new Table(1 << 16, 1 << 22);
    return *instance;
}

// Fewer entries than names: values that repeat are few (kinds, languages, flags), and every
// entry a document of unique values fills is one no node shares.
Table& valueTable()
{
    static Table* const instance = new Table(1 << 14, 1 << 18);
    return *instance;
}

const QString* keepShared(Table& shared, QStringView name)
{
    const QMutexLocker lock(&shared.mutex);
    if (const QString* const found = shared.names.value({ name }))
        return found;
    if (shared.names.size() >= shared.maxStrings
        || shared.characters + name.size() > shared.maxCharacters) {
        shared.full.store(true, std::memory_order_release);
        return nullptr;
    }
    const QString* const kept = new QString(name.toString());
    shared.names.insert({ QStringView(*kept) }, kept);
    shared.characters += name.size();
    return kept;
}

} // namespace

const QString* Nametable::keep(QStringView name)
{
    if (name.size() > maxNameLength)
        return nullptr;
    // Each thread looks up its own names first: two parse threads would otherwise meet at the
    // lock for every element they build.
    thread_local QHash<Nameview, const QString*> seen;
    if (const QString* const found = seen.value({ name }))
        return found;
    const QString* const kept = keepShared(nameTable(), name);
    if (kept)
        seen.insert({ QStringView(*kept) }, kept);
    return kept;
}

const QString* Nametable::keepValue(QStringView value)
{
    if (value.size() > sharedValueLength)
        return nullptr;
    Table& values = valueTable();
    if (!values.full.load(std::memory_order_acquire))
        return keepShared(values, value);
    return values.names.value({ value });
}
