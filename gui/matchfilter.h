#pragma once

#include <QObject>

class QTreeWidgetItem;
class Zovvisual;

// Hides, while active, every right item of a Zovvisual whose mark is a complete match, together
// with its left counterpart; items made later by expanding obey it too.
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
    void filterChildren(QTreeWidgetItem* rightParent);
    void hideIfMatch(QTreeWidgetItem* right, const QString& completeMatch);

    Zovvisual* m_view;
    bool m_active = false;
};
