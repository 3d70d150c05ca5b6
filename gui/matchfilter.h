#pragma once

#include <QObject>

class QTreeWidgetItem;
class Zovvisual;

// Hides, while active, every right item of a Zovvisual shown as a complete match (shifted pairs
// with nothing else changed among them, unless they are shown as moved), together with its left
// counterpart; items made later by expanding, and a change of look, obey it too.
class Matchfilter : public QObject {
    Q_OBJECT

public:
    // view: not owned, must outlive the filter. It must be made after the view so that it hears
    // of an expansion only after the view has made the new items.
    explicit Matchfilter(Zovvisual* view, QObject* parent = nullptr);

    // Hides the complete matches now shown, or shows every item again.
    void setActive(bool on);
    bool isActive() const { return m_active; }

private:
    void filterAll();
    void filterChildren(QTreeWidgetItem* rightParent);
    void hideIfMatch(QTreeWidgetItem* right);

    Zovvisual* m_view;
    bool m_active = false;
};
