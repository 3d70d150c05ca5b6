#include "compare/openpositions.h"

#include <algorithm>

Openpositions::Openpositions(const QVector<int>& positions)
{
    for (const int position : positions)
        append(position);
}

void Openpositions::append(int position)
{
    const int slot = int(m_positions.size());
    m_positions.append(position);
    if (m_right.isEmpty())
        m_right.append(0);
    m_right[slot] = slot;
    m_right.append(slot + 1);
    if (m_left.isEmpty())
        m_left.append(0);
    m_left.append(slot + 1);
    ++m_alive;
}

int Openpositions::slotOf(int position) const
{
    const auto found = std::lower_bound(m_positions.cbegin(), m_positions.cend(), position);
    if (found == m_positions.cend() || *found != position)
        return -1;
    return int(found - m_positions.cbegin());
}

int Openpositions::aliveAtOrAfter(int slot)
{
    int root = slot;
    while (m_right[root] != root)
        root = m_right[root];
    while (m_right[slot] != root) {
        const int next = m_right[slot];
        m_right[slot] = root;
        slot = next;
    }
    return root;
}

int Openpositions::aliveAtOrBefore(int slot)
{
    int root = slot + 1;
    while (m_left[root] != root)
        root = m_left[root];
    int walk = slot + 1;
    while (m_left[walk] != root) {
        const int next = m_left[walk];
        m_left[walk] = root;
        walk = next;
    }
    return root - 1;
}

int Openpositions::nearest(int target)
{
    if (m_alive == 0)
        return -1;
    const int bound = int(
        std::lower_bound(m_positions.cbegin(), m_positions.cend(), target) - m_positions.cbegin());
    const int right = aliveAtOrAfter(bound);
    const int left = aliveAtOrBefore(bound - 1);
    const int size = int(m_positions.size());
    if (right >= size)
        return m_positions[left];
    if (left < 0)
        return m_positions[right];
    const qint64 leftDistance = qint64(target) - m_positions[left];
    const qint64 rightDistance = qint64(m_positions[right]) - target;
    return leftDistance <= rightDistance ? m_positions[left] : m_positions[right];
}

int Openpositions::first()
{
    if (m_alive == 0)
        return -1;
    return m_positions[aliveAtOrAfter(0)];
}

void Openpositions::remove(int position)
{
    const int slot = slotOf(position);
    if (slot < 0 || m_right[slot] != slot)
        return;
    m_right[slot] = slot + 1;
    m_left[slot + 1] = slot;
    --m_alive;
}
