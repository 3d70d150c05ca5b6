#pragma once

#include <QBrush>
#include <QColor>
#include <QHash>
#include <QIcon>
#include <QSplitter>
#include <QString>

class QTreeWidget;
class QTreeWidgetItem;
class Vtreeitem;
class Zovnode;
class Zovtree;

// The twin tree view: the first document on the left, the merged result with its change marks
// on the right. Child items exist only while their parent is expanded, and both sides expand,
// collapse and highlight in step.
class Zovvisual : public QSplitter {
    Q_OBJECT

public:
    explicit Zovvisual(QWidget* parent = nullptr);
    ~Zovvisual() override;

    using QWidget::show;
    // Builds the two root items and the first level below them; does nothing unless both trees
    // have a root.
    void show(Zovtree* tree1, Zovtree* resultTree);
    // Forgets the highlight, deletes every item and empties both maps.
    void reset();
    // Sets the column headers in the current language.
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
    // The text colour the view gives a mark; invalid for marks shown in the default colour.
    static QColor markColour(const QString& mark);
    // The book icon the view gives an element with this mark; the normal icon for unknown marks.
    QIcon markIcon(const QString& mark) const;

Q_SIGNALS:
    // The two root items were built for a new pair of trees.
    void filled();
    // Every item is gone; nodes seen through the view before may be gone too.
    void cleared();

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
    void applyMark(Vtreeitem* item, const QString& mark);
    // The icon of a mark style (the view's private classification of marks).
    const QIcon& styleIcon(int style) const;
    void link(Vtreeitem* right, Vtreeitem* left);
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
    QHash<const Zovnode*, Vtreeitem*> m_leftNodes;
    QHash<Vtreeitem*, Vtreeitem*> m_links;
    // The link map read backwards, so finding and dropping a left item's links needs no search.
    QMultiHash<Vtreeitem*, Vtreeitem*> m_rightOf;
};
