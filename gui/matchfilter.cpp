#include "gui/matchfilter.h"

#include "config/cfgstore.h"
#include "gui/vtreeitem.h"
#include "gui/zovvisual.h"

#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace {

QString completeMatchText()
{
    return Cfgstore::instance().getString(QStringLiteral("complete_match"));
}

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
    connect(m_view->rightTree(), &QTreeWidget::itemExpanded, this, &Matchfilter::filterChildren);
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
    const QString completeMatch = completeMatchText();
    for (QTreeWidgetItemIterator it(m_view->rightTree()); *it; ++it)
        hideIfMatch(*it, completeMatch);
}

void Matchfilter::filterChildren(QTreeWidgetItem* rightParent)
{
    if (!m_active)
        return;
    const QString completeMatch = completeMatchText();
    for (int i = 0; i < rightParent->childCount(); ++i)
        hideIfMatch(rightParent->child(i), completeMatch);
}

void Matchfilter::hideIfMatch(QTreeWidgetItem* right, const QString& completeMatch)
{
    // An empty configured text marks nothing, as in the view.
    if (completeMatch.isEmpty() || right->text(2) != completeMatch)
        return;
    right->setHidden(true);
    if (Vtreeitem* left = m_view->leftItemOf(static_cast<Vtreeitem*>(right)))
        left->setHidden(true);
}
