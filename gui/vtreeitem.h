#pragma once

#include <QTreeWidgetItem>

class Zovnode;

// A tree widget item that remembers the document node it shows (not owned) and, on the result
// side, the kind of the mark it shows and whether that mark's pair only shifted.
class Vtreeitem : public QTreeWidgetItem {
public:
    Vtreeitem(QTreeWidget* tree, Zovnode* node);
    Vtreeitem(QTreeWidgetItem* parent, Zovnode* node);
    // An item not in a tree yet: filled before it is added, it costs the view no update.
    explicit Vtreeitem(Zovnode* node);
    ~Vtreeitem() override;

    Vtreeitem(const Vtreeitem&) = delete;
    Vtreeitem& operator=(const Vtreeitem&) = delete;

    Zovnode* node() const { return m_node; }
    // -1 when the item shows no mark.
    int markKind() const { return m_markKind; }
    bool isShifted() const { return m_shifted; }
    void setMark(int kind, bool shifted)
    {
        m_markKind = kind;
        m_shifted = shifted;
    }

private:
    Zovnode* m_node;
    int m_markKind = -1;
    bool m_shifted = false;
};
