#include "model/nametable.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>

namespace {

constexpr qsizetype maxNames = 1 << 16;
constexpr qsizetype maxNameLength = 1024;
constexpr qsizetype maxCharacters = 1 << 22;

struct Table {
    QMutex mutex;
    // Keyed by views of the kept strings, which never move.
    QHash<QStringView, const QString*> names;
    qsizetype characters = 0;
};

// Never destroyed: nodes of any tree may point into it until the process ends.
Table& table()
{
    static Table* const instance = new Table;
    return *instance;
}

const QString* keepShared(QStringView name)
{
    Table& shared = table();
    const QMutexLocker lock(&shared.mutex);
    if (const QString* const found = shared.names.value(name))
        return found;
    if (shared.names.size() >= maxNames || shared.characters + name.size() > maxCharacters)
        return nullptr;
    const QString* const kept = new QString(name.toString());
    shared.names.insert(QStringView(*kept), kept);
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
    thread_local QHash<QStringView, const QString*> seen;
    if (const QString* const found = seen.value(name))
        return found;
    const QString* const kept = keepShared(name);
    if (kept)
        seen.insert(QStringView(*kept), kept);
    return kept;
}
