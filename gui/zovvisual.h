#pragma once

#include "gui/marklook.h"

#include <QBrush>
#include <QHash>
#include <QIcon>
#include <QSplitter>
#include <QString>

class QAction;
class QTreeWidget;
class QTreeWidgetItem;
class Vtreeitem;
class Zovnode;
class Zovtree;

// The twin tree view: the first document on the left, the merged result with its change marks
// on the right. Child items exist only while their parent is expanded, and both sides expand,
// collapse and highlight in step. Marks are shown as the Marklook taken when the view was
// filled decides, so later changes to the settings do not touch what is shown.
class Zovvisual : public QSplitter {
    Q_OBJECT

public:
    // Data roles of the result items read by their delegate: whether the text holds inline
    // difference markers (bool), and a note drawn after the text (string).
    enum Role { MarkedRole = Qt::UserRole + 1, NoteRole };
    // Deeper than this the trees are not opened on the way to a node: the toolkit's layout
    // recurses through the open levels.
    static constexpr int maxOpenDepth = 2000;

    explicit Zovvisual(QWidget* parent = nullptr);
    ~Zovvisual() override;

    using QWidget::show;
    // Takes the mark texts and text markers from the current settings, builds the two root
    // items and the first level below them and sizes the first columns; does nothing unless both
    // trees have a root.
    void show(Zovtree* tree1, Zovtree* resultTree);
    // Forgets the highlight, deletes every item and empties both maps.
    void reset();
    // Sets the column headers and the action texts in the current language.
    void setHeaders();

    QTreeWidget* leftTree() const { return m_leftTree; }
    QTreeWidget* rightTree() const { return m_rightTree; }
    // The left item linked to a right item, or null.
    Vtreeitem* leftItemOf(Vtreeitem* right) const;
    // The right item linked to a left item, or null.
    Vtreeitem* rightItemOf(Vtreeitem* left) const;
    int linkCount() const { return m_links.size(); }
    int leftNodeCount() const { return m_leftNodes.size(); }
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

public Q_SLOTS:
    void expand_a(QTreeWidgetItem* item);
    void expand_diff(QTreeWidgetItem* item);
    void collapse_a(QTreeWidgetItem* item);
    void collapse_diff(QTreeWidgetItem* item);
    void aitemclicked(QTreeWidgetItem* item, int column);
    void bitemclicked(QTreeWidgetItem* item, int column);

private:
    void fillLeft(Vtreeitem* parent);
    void fillRight(Vtreeitem* parent);
    void applyMark(Vtreeitem* item, const QString& mark, int kind, bool shifted);
    // Colour, icon, note and tool tips of a result item from its mark.
    void style(Vtreeitem* item);
    void link(Vtreeitem* right, Vtreeitem* left);
    // Widens the first column of tree so that the children just made below parent show whole.
    void widenFor(QTreeWidget* tree, QTreeWidgetItem* parent);
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
    QHash<const Zovnode*, Vtreeitem*> m_leftNodes;
    QHash<Vtreeitem*, Vtreeitem*> m_links;
    // The link map read backwards, so finding and dropping a left item's links needs no search.
    QMultiHash<Vtreeitem*, Vtreeitem*> m_rightOf;
};
