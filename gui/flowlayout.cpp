#include "gui/flowlayout.h"

#include <QWidget>

Flowlayout::Flowlayout(QWidget* parent)
    : QLayout(parent)
{
}

Flowlayout::~Flowlayout()
{
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

void Flowlayout::addItem(QLayoutItem* item) { m_items.append(item); }

int Flowlayout::count() const { return int(m_items.size()); }

QLayoutItem* Flowlayout::itemAt(int index) const { return m_items.value(index, nullptr); }

QLayoutItem* Flowlayout::takeAt(int index)
{
    if (index < 0 || index >= m_items.size())
        return nullptr;
    return m_items.takeAt(index);
}

Qt::Orientations Flowlayout::expandingDirections() const { return {}; }

bool Flowlayout::hasHeightForWidth() const { return true; }

int Flowlayout::heightForWidth(int width) const { return arrange(QRect(0, 0, width, 0), false); }

QSize Flowlayout::minimumSize() const
{
    QSize size;
    for (const QLayoutItem* item : m_items)
        size = size.expandedTo(item->minimumSize());
    const QMargins margins = contentsMargins();
    return size + QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
}

QSize Flowlayout::sizeHint() const
{
    // One line holding everything.
    int width = 0;
    int height = 0;
    for (const QLayoutItem* item : m_items) {
        width += item->sizeHint().width() + spacing();
        height = qMax(height, item->sizeHint().height());
    }
    const QMargins margins = contentsMargins();
    return QSize(
        width + margins.left() + margins.right(), height + margins.top() + margins.bottom());
}

void Flowlayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    arrange(rect, true);
}

int Flowlayout::arrange(const QRect& rect, bool place) const
{
    const QRect area = rect.marginsRemoved(contentsMargins());
    const int gap = qMax(0, spacing());
    int x = area.x();
    int y = area.y();
    int lineHeight = 0;
    for (QLayoutItem* item : m_items) {
        if (item->isEmpty())
            continue;
        const QSize size = item->sizeHint();
        if (x > area.x() && x + size.width() > area.right() + 1) {
            x = area.x();
            y += lineHeight + gap;
            lineHeight = 0;
        }
        if (place)
            item->setGeometry(QRect(QPoint(x, y), size));
        x += size.width() + gap;
        lineHeight = qMax(lineHeight, size.height());
    }
    const QMargins margins = contentsMargins();
    return y + lineHeight - rect.y() + margins.bottom();
}
