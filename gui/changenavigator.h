#pragma once

#include <QObject>
#include <QString>
#include <QVector>

class Marklook;
class Vtreeitem;
class Zovnode;
class Zovvisual;

// Moves through the changes of the merged result shown by a Zovvisual: the next or previous node
// in document order that carries a mark the view shows as a change. The search walks the result
// tree, so it finds changes below collapsed items, and it opens the way to them, down to the
// depth the view opens at most.
class Changenavigator : public QObject {
    Q_OBJECT

public:
    enum class Step {
        Moved, // the change, or the deepest node the view opens on its way, was highlighted
        AtEnd, // no further change in that direction; nothing moved
        NoChange, // the result holds no change (of the chosen kind); nothing moved
        Failed, // the items on the way to the change could not be made; nothing moved
    };

    // view: not owned, must outlive the navigator.
    explicit Changenavigator(Zovvisual* view, QObject* parent = nullptr);

    // Reveals the next change after the highlighted right item (or after the last one reached,
    // or from the start); AtEnd or NoChange when there is none (NoChange also for an empty
    // view), Failed when the view does not show the result it was filled with.
    Step next();
    // Like next, backwards; without a place to start from it goes to the last change.
    Step previous();

    // Restricts next and previous to one change kind (1 to 10); 0 lifts the restriction.
    void setKind(int kind);
    int kind() const { return m_kind; }
    // The change reached last, or null when none since the view was filled.
    const Zovnode* current() const { return m_current; }
    // After a step to a change deeper than the view opens: where it lies below the highlighted
    // node, in the current language; empty otherwise.
    const QString& remark() const { return m_remark; }

    // The nodes from the result root down to the first change after start in document order
    // (from the beginning when start is null), with marks shown as look decides; empty when
    // there is none. kind as in setKind.
    static QVector<const Zovnode*> nextChange(
        const Marklook& look, const Zovnode* root, const Zovnode* start, int kind);
    // The same for the last change before start (the last of all when start is null).
    static QVector<const Zovnode*> previousChange(
        const Marklook& look, const Zovnode* root, const Zovnode* start, int kind);

private:
    Step go(bool forward);
    // Expands the items on the path from the root down, at most the depth the view opens, and
    // returns the item of the last node reached; null when an item cannot be found.
    Vtreeitem* reveal(const QVector<const Zovnode*>& path);
    void forget();

    Zovvisual* m_view;
    const Zovnode* m_current = nullptr;
    // The node of the item highlighted for m_current: m_current itself or its deepest opened
    // ancestor.
    const Zovnode* m_shownAt = nullptr;
    QString m_remark;
    int m_kind = 0;
};
