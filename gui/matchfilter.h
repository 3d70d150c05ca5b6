#pragma once

#include <QObject>

class QTreeWidgetItem;
class Zovvisual;

// Hides, while active, every right item of a Zovvisual shown as a complete match (shifted pairs
// with nothing else changed among them, unless they are shown as moved), together with its left
// counterpart; items made later by expanding or in later slices, and a change of look, obey it
// too.
class Matchfilter : public QObject {
    Q_OBJECT

public:
    // view: not owned, must outlive the filter.
    explicit Matchfilter(Zovvisual* view, QObject* parent = nullptr);

    // Hides the complete matches now shown, or shows every item again.
    void setActive(bool on);
    bool isActive() const { return m_active; }

private:
    void filterAll();
    // The children just added below an open pair.
    void filterAdded(
        QTreeWidgetItem* rightParent, int firstRight, QTreeWidgetItem* leftParent, int firstLeft);
    void hideIfMatch(QTreeWidgetItem* right);

    Zovvisual* m_view;
    bool m_active = false;
};
