#include "gui/matchfilter.h"

#include "compare/changekind.h"
#include "gui/vtreeitem.h"
#include "gui/zovvisual.h"

#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace {

void showAll(QTreeWidget* tree)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        (*it)->setHidden(false);
}

} // namespace

Matchfilter::Matchfilter(Zovvisual* view, QObject* parent)
    : QObject(parent)
    , m_view(view)
{
    connect(m_view, &Zovvisual::childrenAdded, this, &Matchfilter::filterAdded);
    // Shifted pairs may have become complete matches, or stopped being ones.
    connect(m_view, &Zovvisual::restyled, this, [this] {
        if (!m_active)
            return;
        showAll(m_view->rightTree());
        showAll(m_view->leftTree());
        filterAll();
    });
}

void Matchfilter::setActive(bool on)
{
    if (on == m_active)
        return;
    m_active = on;
    if (!on) {
        showAll(m_view->rightTree());
        showAll(m_view->leftTree());
        return;
    }
    filterAll();
}

void Matchfilter::filterAll()
{
    for (QTreeWidgetItemIterator it(m_view->rightTree()); *it; ++it)
        hideIfMatch(*it);
}

void Matchfilter::filterAdded(
    QTreeWidgetItem* rightParent, int firstRight, QTreeWidgetItem* leftParent, int firstLeft)
{
    if (!m_active)
        return;
    for (int i = firstRight; rightParent && i < rightParent->childCount(); ++i)
        hideIfMatch(rightParent->child(i));
    // Left items whose right counterpart came in an earlier slice.
    for (int i = firstLeft; leftParent && i < leftParent->childCount(); ++i) {
        auto* left = static_cast<Vtreeitem*>(leftParent->child(i));
        if (Vtreeitem* right = m_view->rightItemOf(left))
            hideIfMatch(right);
    }
}

void Matchfilter::hideIfMatch(QTreeWidgetItem* right)
{
    if (m_view->shownKind(right) != complete_match)
        return;
    right->setHidden(true);
    if (Vtreeitem* left = m_view->leftItemOf(static_cast<Vtreeitem*>(right)))
        left->setHidden(true);
}
