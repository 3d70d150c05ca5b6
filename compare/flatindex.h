#pragma once

#include "model/sizedvector.h"

#include <QVector>
#include <QtGlobal>

// Index from 64-bit keys (fingerprints, key classes) to small values for long child lists: keys
// and values in two arrays, probed linearly, at most three quarters full, so a lookup costs one
// or two cache misses where a QHash costs several, and a set (bool values) nine bytes a slot.
// Key 0 marks a free slot and lives apart. Values are default-constructible and copyable.
template <typename Value> class Flatindex {
public:
    explicit Flatindex(qsizetype expected)
    {
        const qsizetype capacity = qMax<qsizetype>(16, expected + expected / 3 + 1);
        m_keys.resize(capacity);
        m_values.resize(capacity);
    }

    // The value stored for key; null when there is none.
    Value* find(quint64 key)
    {
        if (key == 0)
            return m_hasZero ? &m_zero : nullptr;
        const qsizetype slot = slotFor(key);
        return m_keys[slot] ? &m_values[slot] : nullptr;
    }
    bool contains(quint64 key) { return find(key) != nullptr; }

    // Starts fetching the home slot of key into the cache, for a lookup a few steps ahead:
    // in a long list the slots of consecutive keys are far apart, and a lookup that waits for
    // each in turn spends its time on cache misses.
    void prefetch(quint64 key) const
    {
        const qsizetype slot = homeSlot(key);
        __builtin_prefetch(m_keys.constData() + slot);
        __builtin_prefetch(m_values.constData() + slot);
    }

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
        if (m_keys[slot])
            return m_values[slot];
        if (4 * (m_size + 1) > 3 * m_keys.size()) {
            grow();
            slot = slotFor(key);
        }
        m_keys[slot] = key;
        m_values[slot] = value;
        ++m_size;
        return m_values[slot];
    }

private:
    // Where the probe for key starts.
    qsizetype homeSlot(quint64 key) const
    {
        // Fibonacci hashing spreads keys whose low bits say little; the high half of the product
        // with the capacity maps the hash onto any capacity, not only powers of two.
        const quint64 hash = key * 0x9E3779B97F4A7C15ULL;
        return qsizetype(quint64((unsigned __int128)hash * quint64(m_keys.size()) >> 64));
    }

    // The slot holding key (not 0), else the free slot where it belongs.
    qsizetype slotFor(quint64 key) const
    {
        const qsizetype capacity = m_keys.size();
        qsizetype k = homeSlot(key);
        while (m_keys[k] && m_keys[k] != key) {
            if (++k == capacity)
                k = 0;
        }
        return k;
    }

    void grow()
    {
        QVector<quint64> oldKeys = sizedVector<quint64>(m_keys.size() * 2);
        QVector<Value> oldValues = sizedVector<Value>(m_values.size() * 2);
        oldKeys.swap(m_keys);
        oldValues.swap(m_values);
        for (qsizetype k = 0; k < oldKeys.size(); ++k) {
            if (!oldKeys[k])
                continue;
            const qsizetype slot = slotFor(oldKeys[k]);
            m_keys[slot] = oldKeys[k];
            m_values[slot] = oldValues[k];
        }
    }

    QVector<quint64> m_keys;
    QVector<Value> m_values;
    Value m_zero {};
    bool m_hasZero = false;
    qsizetype m_size = 0;
};
