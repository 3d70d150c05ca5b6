#pragma once

#include "model/sizedvector.h"

#include <QVector>
#include <QtGlobal>

// Index from 64-bit keys (fingerprints, key classes) to small values for long child lists: each
// slot holds its key and value side by side, probed linearly, at most three quarters full, so a
// lookup mostly costs one cache miss where a QHash costs several. Key 0 marks a free slot and
// lives apart. Values are default-constructible and copyable.
template <typename Value> class Flatindex {
public:
    explicit Flatindex(qsizetype expected)
        : m_slots(sizedVector<Slot>(qMax<qsizetype>(16, expected + expected / 3 + 1)))
    {
    }

    // The value stored for key; null when there is none.
    Value* find(quint64 key)
    {
        if (key == 0)
            return m_hasZero ? &m_zero : nullptr;
        Slot& slot = m_slots[slotFor(key)];
        return slot.key ? &slot.value : nullptr;
    }
    bool contains(quint64 key) { return find(key) != nullptr; }

    // Starts fetching the home slot of key into the cache, for a lookup a few steps ahead:
    // in a long list the slots of consecutive keys are far apart, and a lookup that waits for
    // each in turn spends its time on cache misses.
    void prefetch(quint64 key) const { __builtin_prefetch(m_slots.constData() + homeSlot(key)); }

    // Stores value for key unless the key is there already; returns the stored value.
    Value& insert(quint64 key, const Value& value)
    {
        if (key == 0) {
            if (!m_hasZero)
                m_zero = value;
            m_hasZero = true;
            return m_zero;
        }
        qsizetype slot = slotFor(key);
        if (m_slots[slot].key)
            return m_slots[slot].value;
        if (4 * (m_size + 1) > 3 * m_slots.size()) {
            grow();
            slot = slotFor(key);
        }
        m_slots[slot] = { key, value };
        ++m_size;
        return m_slots[slot].value;
    }

private:
    struct Slot {
        quint64 key = 0;
        Value value {};
    };

    // Where the probe for key starts.
    qsizetype homeSlot(quint64 key) const
    {
        // Fibonacci hashing spreads keys whose low bits say little; the high half of the product
        // with the capacity maps the hash onto any capacity, not only powers of two.
        const quint64 hash = key * 0x9E3779B97F4A7C15ULL;
        return qsizetype(quint64((unsigned __int128)hash * quint64(m_slots.size()) >> 64));
    }

    // The slot holding key (not 0), else the free slot where it belongs.
    qsizetype slotFor(quint64 key) const
    {
        const qsizetype capacity = m_slots.size();
        qsizetype k = homeSlot(key);
        while (m_slots[k].key && m_slots[k].key != key) {
            if (++k == capacity)
                k = 0;
        }
        return k;
    }

    void grow()
    {
        QVector<Slot> old = sizedVector<Slot>(m_slots.size() * 2);
        old.swap(m_slots);
        for (const Slot& slot : std::as_const(old)) {
            if (slot.key)
                m_slots[slotFor(slot.key)] = slot;
        }
    }

    QVector<Slot> m_slots;
    Value m_zero {};
    bool m_hasZero = false;
    qsizetype m_size = 0;
};
