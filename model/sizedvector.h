#pragma once

#include "model/pages.h"

#include <QVector>

// A vector of size copies of value; throws std::bad_alloc like operator new when there is no
// room. QList's sized constructors do not check their allocation and write through null, which
// turned running out of memory into a crash. Vectors of several large pages (the indexes of
// long child lists) are asked for large pages before they are filled.
template <typename T> QVector<T> sizedVector(qsizetype size, const T& value = T())
{
    QVector<T> vector;
    vector.reserve(size);
    const std::size_t bytes = std::size_t(size) * sizeof(T);
    if (bytes >= 2 * hugePageSize)
        adviseHugePages(vector.data(), bytes);
    vector.resize(size, value);
    return vector;
}
