#pragma once

#include <QTreeWidgetItem>

class Zovnode;

// A tree widget item that remembers the document node it shows (not owned).
class Vtreeitem : public QTreeWidgetItem {
public:
    Vtreeitem(QTreeWidget* tree, Zovnode* node);
    Vtreeitem(QTreeWidgetItem* parent, Zovnode* node);
    ~Vtreeitem() override;

    Vtreeitem(const Vtreeitem&) = delete;
    Vtreeitem& operator=(const Vtreeitem&) = delete;

    Zovnode* node() const { return m_node; }

private:
    Zovnode* m_node;
};
