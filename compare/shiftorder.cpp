#include "compare/shiftorder.h"

#include "model/sizedvector.h"

namespace {

// A chain of pairs ending at one pair: its length, how many of its pairs sit at their own
// index, and where it ends. Longer wins, then more pairs in place.
struct Chain {
    int length = 0;
    int inPlace = 0;
    int last = -1;

    bool beats(const Chain& other) const
    {
        return length != other.length ? length > other.length : inPlace > other.inPlace;
    }
};

// Prefix maxima of chains by old index (a Fenwick tree).
class Chaintree {
public:
    explicit Chaintree(int size)
        : m_nodes(sizedVector<Chain>(size + 1))
    {
    }

    // The best chain ending at an old index below index.
    Chain bestBelow(int index) const
    {
        Chain best;
        for (int k = index; k > 0; k -= k & -k) {
            if (m_nodes[k].beats(best))
                best = m_nodes[k];
        }
        return best;
    }

    void offer(int index, const Chain& chain)
    {
        for (int k = index + 1; k < m_nodes.size(); k += k & -k) {
            if (chain.beats(m_nodes[k]))
                m_nodes[k] = chain;
        }
    }

private:
    QVector<Chain> m_nodes;
};

} // namespace

QVector<bool> keptOrder(const QVector<int>& oldIndex)
{
    const int count = int(oldIndex.size());
    QVector<bool> kept = sizedVector<bool>(count, false);
    int oldCount = 0;
    bool rising = true;
    for (const int i : oldIndex) {
        if (i < 0)
            continue;
        rising = rising && i >= oldCount;
        oldCount = qMax(oldCount, i + 1);
    }
    if (oldCount == 0)
        return kept;
    // Old indices that rise throughout (everything behind an insertion) are one chain holding
    // every pair, the only largest one.
    if (rising) {
        for (int j = 0; j < count; ++j)
            kept[j] = oldIndex[j] >= 0;
        return kept;
    }

    Chaintree tree(oldCount);
    QVector<int> previous = sizedVector<int>(count, -1);
    Chain best;
    for (int j = 0; j < count; ++j) {
        const int i = oldIndex[j];
        if (i < 0)
            continue;
        const Chain below = tree.bestBelow(i);
        const Chain chain { below.length + 1, below.inPlace + (i == j ? 1 : 0), j };
        previous[j] = below.last;
        tree.offer(i, chain);
        if (chain.beats(best))
            best = chain;
    }
    for (int j = best.last; j >= 0; j = previous[j])
        kept[j] = true;
    return kept;
}
