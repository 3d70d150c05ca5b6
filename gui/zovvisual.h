#pragma once

#include "gui/marklook.h"

#include <QBrush>
#include <QHash>
#include <QIcon>
#include <QSplitter>
#include <QString>
#include <memory>
#include <vector>

class QAction;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class Vtreeitem;
class Zovnode;
class Zovtree;

// The twin tree view: the first document on the left, the merged result with its change marks
// on the right. Child items exist only while their parent is expanded, and both sides expand,
// collapse and highlight in step. A long child list gets its first slice of items at once and
// the rest a slice per turn of the event loop, so the window keeps repainting; whatever needs an
// item not made yet (a link, a child on the way to a change) makes the slices up to it first. Marks
// are shown as the Marklook taken when the view was filled decides, so later changes to the
// settings do not touch what is shown.
class Zovvisual : public QSplitter {
    Q_OBJECT

public:
    // Data roles of the result items read by their delegate: whether the text holds inline
    // difference markers (bool), and a note drawn after the text (string).
    enum Role { MarkedRole = Qt::UserRole + 1, NoteRole };
    // Deeper than this the trees are not opened on the way to a node: the toolkit's layout
    // recurses through the open levels, and opening them costs far more than the depth (500
    // levels take a fifth of a second on both trees, 2,000 took eleven).
    static constexpr int maxOpenDepth = 500;

    explicit Zovvisual(QWidget* parent = nullptr);
    ~Zovvisual() override;

    using QWidget::show;
    // Takes the mark texts and text markers from the current settings, builds the two root
    // items and the first slice of the level below them and sizes the first columns to it; the
    // rest of the level follows in later turns. Does nothing unless both trees have a root.
    void show(Zovtree* tree1, Zovtree* resultTree);
    // Forgets the highlight, stops the slices still to come, takes every item out of the views
    // (they are deleted in later turns) and empties both maps.
    void reset();
    // Items made per side and slice at most, the first slice included (at least 1).
    void setSliceSize(int items);
    int sliceSize() const { return m_sliceSize; }
    // Child items are still being added in slices.
    bool isFilling() const { return !m_fills.empty(); }
    // The child item of a right parent that shows node, made now when its slice has not come
    // yet; null when there is none.
    Vtreeitem* rightChild(Vtreeitem* parent, const Zovnode* node);
    // Sets the column headers and the action texts in the current language.
    void setHeaders();

    QTreeWidget* leftTree() const { return m_leftTree; }
    QTreeWidget* rightTree() const { return m_rightTree; }
    // The left item linked to a right item, or null.
    Vtreeitem* leftItemOf(Vtreeitem* right) const;
    // The right item linked to a left item, or null.
    Vtreeitem* rightItemOf(Vtreeitem* left) const;
    int linkCount() const { return m_links.size(); }
    Vtreeitem* highlightedLeft() const { return m_highlightLeft; }
    Vtreeitem* highlightedRight() const { return m_highlightRight; }

    // The brush that marks a clicked pair.
    static QBrush highlightBrush();
    // How marks are shown: the settings of the run that filled the view.
    const Marklook& look() const { return m_look; }
    // The kind a result item is shown as; -1 for null and for an item without a mark.
    int shownKind(const QTreeWidgetItem* right) const;
    // The book icon of a shown kind; the normal icon for kinds of no change.
    const QIcon& kindIcon(int shown) const;

    // Shows shifted pairs with their stored kind (as moved) or as what else changed, and
    // styles every result item shown again.
    void setShiftedAsMoved(bool on);
    // The check action for setShiftedAsMoved; its state is kept in the user's settings.
    QAction* shiftedAction() const { return m_shiftedAction; }

    // Highlights a result item, and its counterpart where it has one; null only removes the
    // highlight. Unlike a click it also marks items without a counterpart.
    void highlight(Vtreeitem* right);
    // Scrolls a tree to an item, widening the first column where the item's indentation would
    // leave its text outside.
    static void bringIntoView(QTreeWidget* tree, QTreeWidgetItem* item);

Q_SIGNALS:
    // The two root items were built for a new pair of trees.
    void filled();
    // Every item is gone; nodes seen through the view before may be gone too.
    void cleared();
    // The items were styled again after the shifted pairs changed their look.
    void restyled();
    // Child items joined an open pair: the right parent's from firstRight on and the left
    // parent's from firstLeft on. Either parent is null when only one side opened.
    void childrenAdded(
        QTreeWidgetItem* rightParent, int firstRight, QTreeWidgetItem* leftParent, int firstLeft);
    // How much of the slices still to come is made, in percent; 100 when the last one is in.
    void fillProgress(int percent);

public Q_SLOTS:
    void expand_a(QTreeWidgetItem* item);
    void expand_diff(QTreeWidgetItem* item);
    void collapse_a(QTreeWidgetItem* item);
    void collapse_diff(QTreeWidgetItem* item);
    void aitemclicked(QTreeWidgetItem* item, int column);
    void bitemclicked(QTreeWidgetItem* item, int column);

private:
    struct Fill;
    // Makes the children of an opening pair, the first slice now; either side may be null.
    void startFill(Vtreeitem* left, Vtreeitem* right);
    // Makes and adds the next slice of both sides, a timed one cut short when it takes long;
    // true when the fill is complete.
    bool addSlice(Fill& fill, bool timed);
    // The timer's turn: the next slice of the oldest fill.
    void addSlices();
    Fill* fillOf(const QTreeWidgetItem* parent) const;
    // Adds the next slice of parent's fill; false when parent has none pending.
    bool advance(const QTreeWidgetItem* parent);
    // As advance, for what needs an item not made yet: between every few slices it lets the
    // window repaint and the timers run (the user's input waits), so a jump to the end of a long
    // list does not freeze the window until the whole list is made.
    bool advanceRepainting(const QTreeWidgetItem* parent);
    void dropFill(const QTreeWidgetItem* parent);
    void reportProgress();
    // The linked items, made first when the slice that links them is still to come.
    Vtreeitem* linkedLeft(Vtreeitem* right);
    Vtreeitem* linkedRight(Vtreeitem* left);
    Vtreeitem* makeLeft(Zovnode* node);
    void applyMark(Vtreeitem* item, const QString& mark, int kind, bool shifted);
    // Colour, icon, note and tool tips of a result item from its mark.
    void style(Vtreeitem* item);
    void link(Vtreeitem* right, Vtreeitem* left);
    // Widens the first column of tree so that the children just made below parent show whole.
    void widenFor(QTreeWidget* tree, QTreeWidgetItem* parent);
    // Turns the uniform row heights of tree off, until the next show, once item needs more than
    // one line.
    void measureRows(QTreeWidget* tree, const Vtreeitem* item);
    void removeHighlight();
    void deleteLeftChildren(QTreeWidgetItem* parent);
    void deleteRightChildren(QTreeWidgetItem* parent);

    QIcon m_normalIcon;
    QIcon m_blueIcon;
    QIcon m_redIcon;
    QIcon m_lightIcon;
    QIcon m_purpleIcon;
    Vtreeitem* m_highlightLeft = nullptr;
    Vtreeitem* m_highlightRight = nullptr;
    QTreeWidget* m_leftTree;
    QTreeWidget* m_rightTree;
    QAction* m_shiftedAction;
    Marklook m_look;
    QHash<Vtreeitem*, Vtreeitem*> m_links;
    // The link map read backwards, so finding and dropping a left item's links needs no search.
    QMultiHash<Vtreeitem*, Vtreeitem*> m_rightOf;
    // Oldest first; the timer works on the front one.
    std::vector<std::unique_ptr<Fill>> m_fills;
    // Items of an earlier fill, out of the views, deleted when no fill needs the turns.
    QList<QTreeWidgetItem*> m_doomed;
    QHash<Vtreeitem*, Vtreeitem*> m_doomedLinks;
    QMultiHash<Vtreeitem*, Vtreeitem*> m_doomedRightOf;
    QTimer* m_sliceTimer;
    // Slices made for a waiting caller since the window last repainted.
    int m_forcedSlices = 0;
    int m_sliceSize = 2000;
};
