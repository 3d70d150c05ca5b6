#include "gui/zovvisual.h"

#include "config/cfgstore.h"
#include "gui/vtreeitem.h"
#include "gui/waitcursor.h"
#include "gui/zovresources.h"
#include "model/zovnode.h"
#include "model/zovtree.h"

#include <QCoreApplication>
#include <QTreeWidget>

namespace {

QString parameter(const char* key) { return Cfgstore::instance().getString(QLatin1String(key)); }

// An empty configured text never matches: otherwise every mark would start with it.
bool equalsParameter(const QString& mark, const char* key)
{
    const QString value = parameter(key);
    return !value.isEmpty() && mark == value;
}

bool startsWithParameter(const QString& mark, const char* key)
{
    const QString value = parameter(key);
    return !value.isEmpty() && mark.startsWith(value);
}

bool hasItemDecoration(const Zovnode* node) { return node->kind() != Text && node->kind() != Pi; }

QString nodeText(const Zovnode* node)
{
    switch (node->kind()) {
    case Text:
        return QLatin1Char('\'') + node->text().simplified() + QLatin1Char('\'');
    case Pi:
        return QLatin1String("<?") + node->text() + QLatin1Char(' ') + node->value()
            + QLatin1String("?>");
    default:
        return node->text();
    }
}

QString attributeText(const Zovnode* node)
{
    QString text;
    const QStringList list = node->attributeList();
    for (int i = 0; i + 1 < list.size(); i += 2)
        text += list[i] + QLatin1String("='") + list[i + 1] + QLatin1String("' ");
    return text;
}

void setNodeColumns(Vtreeitem* item, const Zovnode* node)
{
    item->setText(0, nodeText(node));
    if (node->hasAttributes())
        item->setText(1, attributeText(node));
}

Vtreeitem* asVtreeitem(QTreeWidgetItem* item) { return dynamic_cast<Vtreeitem*>(item); }

enum class Markstyle { Normal, RedContent, Red, Blue, Gray, Magenta };

Markstyle markStyle(const QString& mark)
{
    if (equalsParameter(mark, "content_change")
        || startsWithParameter(mark, "position_and_content_change"))
        return Markstyle::RedContent;
    if (equalsParameter(mark, "attribute_and_content_change")
        || startsWithParameter(mark, "position_and_content_and_attribute_change"))
        return Markstyle::Red;
    if (startsWithParameter(mark, "position_change") || equalsParameter(mark, "element_added"))
        return Markstyle::Blue;
    if (startsWithParameter(mark, "element_deleted"))
        return Markstyle::Gray;
    if (equalsParameter(mark, "attribute_change")
        || startsWithParameter(mark, "position_and_attribute_change"))
        return Markstyle::Magenta;
    return Markstyle::Normal;
}

QColor styleColour(Markstyle style)
{
    switch (style) {
    case Markstyle::RedContent:
    case Markstyle::Red:
        return QColor(Qt::red);
    case Markstyle::Blue:
        return QColor(Qt::blue);
    case Markstyle::Gray:
        return QColor(Qt::gray);
    case Markstyle::Magenta:
        return QColor(Qt::magenta);
    case Markstyle::Normal:
        break;
    }
    return QColor();
}

} // namespace

Zovvisual::Zovvisual(QWidget* parent)
    : QSplitter(parent)
{
    zovInitResources();
    m_normalIcon = QIcon(QStringLiteral(":/img/book_norm.bmp"));
    m_blueIcon = QIcon(QStringLiteral(":/img/book_blue.bmp"));
    m_redIcon = QIcon(QStringLiteral(":/img/book_red.bmp"));
    m_lightIcon = QIcon(QStringLiteral(":/img/book_light.bmp"));
    m_purpleIcon = QIcon(QStringLiteral(":/img/book_purple.bmp"));

    m_leftTree = new QTreeWidget(this);
    m_leftTree->setObjectName(QStringLiteral("tree_a"));
    m_leftTree->setColumnCount(2);
    m_rightTree = new QTreeWidget(this);
    m_rightTree->setObjectName(QStringLiteral("tree_diff"));
    m_rightTree->setColumnCount(3);
    addWidget(m_leftTree);
    addWidget(m_rightTree);
    setHeaders();

    connect(m_leftTree, &QTreeWidget::itemExpanded, this, &Zovvisual::expand_a);
    connect(m_rightTree, &QTreeWidget::itemExpanded, this, &Zovvisual::expand_diff);
    connect(m_leftTree, &QTreeWidget::itemCollapsed, this, &Zovvisual::collapse_a);
    connect(m_rightTree, &QTreeWidget::itemCollapsed, this, &Zovvisual::collapse_diff);
    connect(m_leftTree, &QTreeWidget::itemClicked, this, &Zovvisual::aitemclicked);
    connect(m_rightTree, &QTreeWidget::itemClicked, this, &Zovvisual::bitemclicked);
}

Zovvisual::~Zovvisual() = default;

QBrush Zovvisual::highlightBrush() { return QBrush(QColor(248, 255, 0, 127), Qt::SolidPattern); }

void Zovvisual::setHeaders()
{
    const QString elements = QCoreApplication::translate("", "Elements");
    const QString attributes = QCoreApplication::translate("", "Attributes");
    m_leftTree->setHeaderLabels({ elements, attributes });
    m_rightTree->setHeaderLabels(
        { elements, attributes, QCoreApplication::translate("", "Changemarks") });
}

void Zovvisual::reset()
{
    m_highlightLeft = nullptr;
    m_highlightRight = nullptr;
    // Clearing must not run the collapse handlers on items that are going away.
    const QSignalBlocker leftBlocker(m_leftTree);
    const QSignalBlocker rightBlocker(m_rightTree);
    m_leftTree->clear();
    m_rightTree->clear();
    m_leftNodes.clear();
    m_links.clear();
    m_rightOf.clear();
    Q_EMIT cleared();
}

void Zovvisual::show(Zovtree* tree1, Zovtree* resultTree)
{
    if (!tree1 || !resultTree || !tree1->root() || !resultTree->root())
        return;
    Zovnode* leftRoot = tree1->root();
    Zovnode* rightRoot = resultTree->root();

    auto* left = new Vtreeitem(m_leftTree, leftRoot);
    setNodeColumns(left, leftRoot);
    auto* right = new Vtreeitem(m_rightTree, rightRoot);
    setNodeColumns(right, rightRoot);
    link(right, left);
    leftRoot->linkPartner(rightRoot);
    rightRoot->linkPartner(leftRoot);

    if (leftRoot->hasChildren()) {
        m_leftTree->expandItem(left);
        left->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    }
    if (rightRoot->hasChildren())
        right->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    Q_EMIT filled();
}

Vtreeitem* Zovvisual::leftItemOf(Vtreeitem* right) const { return m_links.value(right, nullptr); }

Vtreeitem* Zovvisual::rightItemOf(Vtreeitem* left) const { return m_rightOf.value(left, nullptr); }

void Zovvisual::link(Vtreeitem* right, Vtreeitem* left)
{
    m_links.insert(right, left);
    m_rightOf.insert(left, right);
}

void Zovvisual::fillLeft(Vtreeitem* parent)
{
    const QVector<Zovnode*>* children = parent->node()->children();
    if (!children)
        return;
    for (Zovnode* child : *children) {
        auto* item = new Vtreeitem(parent, child);
        m_leftNodes.insert(child, item);
        item->setText(0, nodeText(child));
        if (hasItemDecoration(child)) {
            item->setIcon(0, m_normalIcon);
            if (child->hasAttributes())
                item->setText(1, attributeText(child));
            if (child->hasChildren())
                item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
        }
    }
}

void Zovvisual::fillRight(Vtreeitem* parent)
{
    const QVector<Zovnode*>* children = parent->node()->children();
    QString mark = parent->text(2);
    // Position and attribute changes concern the parent alone, not its content.
    if (startsWithParameter(mark, "position_change") || equalsParameter(mark, "attribute_change")
        || startsWithParameter(mark, "position_and_attribute_change"))
        mark = parameter("complete_match");
    const QString deleted = parameter("element_deleted");

    static const QVector<Zovnode*> none;
    for (Zovnode* child : children ? *children : none) {
        if (child->kind() == Pi && child->text() == QLatin1String("ZOV")) {
            mark = child->value();
            continue;
        }
        if (!deleted.isEmpty() && mark.startsWith(deleted))
            mark = deleted;
        auto* item = new Vtreeitem(parent, child);
        if (child->partner()) {
            if (Vtreeitem* left = m_leftNodes.value(child->partner(), nullptr))
                link(item, left);
        }
        applyMark(item, mark);
        item->setText(0, nodeText(child));
        if (hasItemDecoration(child)) {
            if (child->hasAttributes())
                item->setText(1, attributeText(child));
            if (child->hasChildren())
                item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
        }
    }
    m_leftNodes.clear();
}

QColor Zovvisual::markColour(const QString& mark) { return styleColour(markStyle(mark)); }

QIcon Zovvisual::markIcon(const QString& mark) const
{
    return styleIcon(static_cast<int>(markStyle(mark)));
}

const QIcon& Zovvisual::styleIcon(int style) const
{
    switch (static_cast<Markstyle>(style)) {
    case Markstyle::RedContent:
    case Markstyle::Red:
        return m_redIcon;
    case Markstyle::Blue:
        return m_blueIcon;
    case Markstyle::Gray:
        return m_lightIcon;
    case Markstyle::Magenta:
        return m_purpleIcon;
    case Markstyle::Normal:
        break;
    }
    return m_normalIcon;
}

void Zovvisual::applyMark(Vtreeitem* item, const QString& mark)
{
    item->setText(2, mark);
    const Markstyle style = markStyle(mark);
    const QColor colour = styleColour(style);
    if (colour.isValid()) {
        for (int column = 0; column < 3; ++column) {
            // A content change leaves the attribute column in the default colour.
            if (column == 1 && style == Markstyle::RedContent)
                continue;
            item->setForeground(column, colour);
        }
    }
    if (hasItemDecoration(item->node()))
        item->setIcon(0, styleIcon(static_cast<int>(style)));
}

void Zovvisual::expand_a(QTreeWidgetItem* item)
{
    Vtreeitem* left = asVtreeitem(item);
    if (!left)
        return;
    if (left->node()->hasChildren()) {
        fillLeft(left);
        m_leftTree->resizeColumnToContents(0);
    }
    if (left->node()->partner()) {
        if (Vtreeitem* right = rightItemOf(left))
            m_rightTree->expandItem(right);
    }
}

void Zovvisual::expand_diff(QTreeWidgetItem* item)
{
    Vtreeitem* right = asVtreeitem(item);
    if (!right || !right->node()->hasChildren())
        return;
    const Waitcursor wait;
    // The left children must exist first: their node map entries give the links.
    if (right->node()->partner()) {
        if (Vtreeitem* left = leftItemOf(right))
            m_leftTree->expandItem(left);
    }
    fillRight(right);
    m_rightTree->resizeColumnToContents(0);
}

void Zovvisual::collapse_a(QTreeWidgetItem* item)
{
    Vtreeitem* left = asVtreeitem(item);
    if (!left)
        return;
    const Waitcursor wait;
    removeHighlight();
    deleteLeftChildren(left);
    if (left->node()->hasChildren()) {
        if (Vtreeitem* right = rightItemOf(left))
            m_rightTree->collapseItem(right);
    }
}

void Zovvisual::collapse_diff(QTreeWidgetItem* item)
{
    Vtreeitem* right = asVtreeitem(item);
    if (!right)
        return;
    removeHighlight();
    deleteRightChildren(right);
    if (right->node()->hasChildren()) {
        if (Vtreeitem* left = leftItemOf(right))
            m_leftTree->collapseItem(left);
    }
}

void Zovvisual::deleteLeftChildren(QTreeWidgetItem* parent)
{
    const QList<QTreeWidgetItem*> children = parent->takeChildren();
    for (QTreeWidgetItem* child : children) {
        deleteLeftChildren(child);
        auto* left = static_cast<Vtreeitem*>(child);
        const QList<Vtreeitem*> rights = m_rightOf.values(left);
        for (Vtreeitem* right : rights)
            m_links.remove(right);
        m_rightOf.remove(left);
        if (m_leftNodes.value(left->node(), nullptr) == left)
            m_leftNodes.remove(left->node());
        delete left;
    }
}

void Zovvisual::deleteRightChildren(QTreeWidgetItem* parent)
{
    const QList<QTreeWidgetItem*> children = parent->takeChildren();
    for (QTreeWidgetItem* child : children) {
        deleteRightChildren(child);
        auto* right = static_cast<Vtreeitem*>(child);
        if (Vtreeitem* left = m_links.take(right))
            m_rightOf.remove(left, right);
        delete right;
    }
}

void Zovvisual::removeHighlight()
{
    const QBrush none;
    if (m_highlightRight) {
        for (int column = 0; column < 3; ++column)
            m_highlightRight->setBackground(column, none);
    }
    if (m_highlightLeft) {
        for (int column = 0; column < 2; ++column)
            m_highlightLeft->setBackground(column, none);
    }
    m_highlightLeft = nullptr;
    m_highlightRight = nullptr;
}

void Zovvisual::aitemclicked(QTreeWidgetItem* item, int column)
{
    Q_UNUSED(column);
    Vtreeitem* left = asVtreeitem(item);
    if (!left)
        return;
    left->setSelected(false);
    removeHighlight();
    m_highlightLeft = left;
    Vtreeitem* right = rightItemOf(left);
    if (!right)
        return;
    for (int c = 0; c < 2; ++c)
        left->setBackground(c, highlightBrush());
    m_rightTree->scrollToItem(right);
    for (int c = 0; c < 3; ++c)
        right->setBackground(c, highlightBrush());
    m_highlightRight = right;
}

void Zovvisual::bitemclicked(QTreeWidgetItem* item, int column)
{
    Q_UNUSED(column);
    Vtreeitem* right = asVtreeitem(item);
    if (!right)
        return;
    right->setSelected(false);
    removeHighlight();
    m_highlightRight = right;
    Vtreeitem* left = leftItemOf(right);
    if (!left)
        return;
    for (int c = 0; c < 3; ++c)
        right->setBackground(c, highlightBrush());
    m_leftTree->scrollToItem(left);
    for (int c = 0; c < 2; ++c)
        left->setBackground(c, highlightBrush());
    m_highlightLeft = left;
}
