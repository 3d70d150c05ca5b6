#pragma once

#include <QVector>

// A vector of size copies of value; throws std::bad_alloc like operator new when there is no
// room. QList's sized constructors do not check their allocation and write through null, which
// turned running out of memory into a crash.
template <typename T> QVector<T> sizedVector(qsizetype size, const T& value = T())
{
    QVector<T> vector;
    vector.resize(size, value);
    return vector;
}
