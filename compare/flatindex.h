#pragma once

#include <QVector>
#include <QtGlobal>

// Index from 64-bit keys (fingerprints, key classes) to small values for long child lists: one
// array probed linearly, at most half full, so a lookup costs about one cache miss where a
// QHash costs several. Values are default-constructible and copyable.
template <typename Value> class Flatindex {
public:
    explicit Flatindex(qsizetype expected)
    {
        qsizetype capacity = 16;
        while (capacity < 2 * expected)
            capacity *= 2;
        m_slots.resize(capacity);
    }

    // The value stored for key; null when there is none.
    Value* find(quint64 key)
    {
        Slot& slot = slotFor(key);
        return slot.used ? &slot.value : nullptr;
    }
    bool contains(quint64 key) { return find(key) != nullptr; }

    // Stores value for key unless the key is there already; returns the stored value.
    Value& insert(quint64 key, const Value& value)
    {
        Slot* slot = &slotFor(key);
        if (slot->used)
            return slot->value;
        if (2 * (m_size + 1) > m_slots.size()) {
            grow();
            slot = &slotFor(key);
        }
        slot->key = key;
        slot->value = value;
        slot->used = true;
        ++m_size;
        return slot->value;
    }

private:
    struct Slot {
        quint64 key = 0;
        Value value {};
        bool used = false;
    };

    // The slot holding key, else the free slot where it belongs.
    Slot& slotFor(quint64 key)
    {
        const size_t mask = size_t(m_slots.size()) - 1;
        // Fibonacci hashing spreads keys whose low bits say little.
        for (size_t k = size_t((key * 0x9E3779B97F4A7C15ULL) >> 17) & mask;; k = (k + 1) & mask) {
            Slot& slot = m_slots[qsizetype(k)];
            if (!slot.used || slot.key == key)
                return slot;
        }
    }

    void grow()
    {
        QVector<Slot> old(m_slots.size() * 2);
        old.swap(m_slots);
        for (const Slot& slot : old) {
            if (slot.used)
                slotFor(slot.key) = slot;
        }
    }

    QVector<Slot> m_slots;
    qsizetype m_size = 0;
};
