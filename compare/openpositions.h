#pragma once

#include <QVector>

// An ascending set of child positions from which positions can be removed; finds the nearest
// remaining position to any index in near-constant amortised time.
class Openpositions {
public:
    Openpositions() = default;
    // positions must be ascending.
    explicit Openpositions(const QVector<int>& positions);

    void append(int position);
    bool isEmpty() const { return m_alive == 0; }
    // The remaining position nearest to target, the lower one on equal distance; -1 when empty.
    int nearest(int target);
    // The lowest remaining position; -1 when empty.
    int first();
    // Removes the position; nothing happens when it is not in the set.
    void remove(int position);

private:
    int slotOf(int position) const;
    int aliveAtOrAfter(int slot);
    int aliveAtOrBefore(int slot);

    QVector<int> m_positions;
    // Union-find links to the next remaining slot on either side; slot n on the right and
    // slot -1 on the left (stored shifted by one) stand for "none".
    QVector<int> m_right;
    QVector<int> m_left;
    int m_alive = 0;
};
