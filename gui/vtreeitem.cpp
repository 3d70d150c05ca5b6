#include "gui/vtreeitem.h"

Vtreeitem::Vtreeitem(QTreeWidget* tree, Zovnode* node)
    : QTreeWidgetItem(tree, QTreeWidgetItem::Type)
    , m_node(node)
{
}

Vtreeitem::Vtreeitem(QTreeWidgetItem* parent, Zovnode* node)
    : QTreeWidgetItem(parent, QTreeWidgetItem::Type)
    , m_node(node)
{
}

Vtreeitem::Vtreeitem(Zovnode* node)
    : QTreeWidgetItem(QTreeWidgetItem::Type)
    , m_node(node)
{
}

Vtreeitem::~Vtreeitem() = default;
