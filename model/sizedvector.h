#pragma once

#include "model/pagefill.h"

#include <QVector>

// A vector of size copies of value; throws std::bad_alloc like operator new when there is no
// room. QList's sized constructors do not check their allocation and write through null, which
// turned running out of memory into a crash.
template <typename T> QVector<T> sizedVector(qsizetype size, const T& value = T())
{
    // A long vector (the per-child arrays of a list of a million records) is fresh memory, whose
    // pages come at half the cost when asked for at once rather than one fault at a time.
    constexpr std::size_t wholePages = std::size_t(1) << 20;
    QVector<T> vector;
    const std::size_t bytes = std::size_t(qMax<qsizetype>(size, 0)) * sizeof(T);
    if (bytes >= wholePages) {
        vector.reserve(size);
        if (vector.capacity() >= size)
            fillPages(vector.data(), bytes);
    }
    vector.resize(size, value);
    return vector;
}
