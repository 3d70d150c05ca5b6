#pragma once

#include <QtGlobal>

class Zovnode;

// A read-only view of an element's children, valid until the element changes. It converts to
// false when there are none (every non-element, and an element that never had a child), and
// keeps the pointer syntax of a list: span->size(), *span, span->at(i).
class Childspan {
public:
    Childspan() = default;
    Childspan(Zovnode* const* data, qsizetype size)
        : m_data(size > 0 ? data : nullptr)
        , m_size(size > 0 ? size : 0)
    {
    }

    explicit operator bool() const { return m_size > 0; }
    const Childspan* operator->() const { return this; }
    Childspan operator*() const { return *this; }

    qsizetype size() const { return m_size; }
    qsizetype count() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    // Child i; i must be in range.
    Zovnode* at(qsizetype i) const
    {
        Q_ASSERT(i >= 0 && i < m_size);
        return m_data[i];
    }
    Zovnode* operator[](qsizetype i) const { return at(i); }
    Zovnode* first() const { return at(0); }
    Zovnode* last() const { return at(m_size - 1); }
    Zovnode* constLast() const { return last(); }

    Zovnode* const* constData() const { return m_data; }
    Zovnode* const* begin() const { return m_data; }
    Zovnode* const* end() const { return m_data + m_size; }
    Zovnode* const* cbegin() const { return begin(); }
    Zovnode* const* cend() const { return end(); }

private:
    Zovnode* const* m_data = nullptr;
    qsizetype m_size = 0;
};
