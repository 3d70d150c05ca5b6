#include "gui/markdelegate.h"

#include "gui/marklook.h"
#include "gui/zovvisual.h"

#include <QApplication>
#include <QPainter>

namespace {

QFont runFont(const QFont& base, Textrun::Kind kind)
{
    QFont font = base;
    font.setStrikeOut(kind == Textrun::Deleted);
    font.setUnderline(kind == Textrun::Inserted);
    font.setItalic(kind == Textrun::Note);
    return font;
}

QColor runColour(Textrun::Kind kind, const QColor& plain)
{
    switch (kind) {
    case Textrun::Deleted:
        return QColor(Qt::red);
    case Textrun::Inserted:
        return QColor(Qt::darkGreen);
    case Textrun::Note:
        return QColor(Qt::gray);
    case Textrun::Plain:
        break;
    }
    return plain;
}

// The pieces of an item's text as drawn; empty when the item is drawn as usual.
QVector<Textrun> runsOf(const QModelIndex& index, const QString& text, const Textmarkers& markers)
{
    QVector<Textrun> runs;
    const QString note = index.data(Zovvisual::NoteRole).toString();
    if (index.data(Zovvisual::MarkedRole).toBool())
        runs = splitMarked(text, markers);
    else if (!note.isEmpty())
        runs.append({ text, Textrun::Plain });
    if (!note.isEmpty())
        runs.append({ QLatin1Char(' ') + note, Textrun::Note });
    return runs;
}

int runsWidth(const QVector<Textrun>& runs, const QFont& font)
{
    int width = 0;
    for (const Textrun& run : runs)
        width += QFontMetrics(runFont(font, run.kind)).horizontalAdvance(run.text);
    return width;
}

} // namespace

Markdelegate::Markdelegate(const Zovvisual* view, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_view(view)
{
}

void Markdelegate::paint(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QVector<Textrun> runs = runsOf(index, opt.text, m_view->look().markers());
    if (runs.isEmpty()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QWidget* widget = opt.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    opt.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QColor plain = opt.palette.color(QPalette::Normal,
        (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text);
    painter->save();
    painter->setClipRect(area);
    int x = area.left() + margin;
    for (const Textrun& run : runs) {
        const QFont font = runFont(opt.font, run.kind);
        const int width = QFontMetrics(font).horizontalAdvance(run.text);
        painter->setFont(font);
        painter->setPen(runColour(run.kind, plain));
        painter->drawText(QRect(x, area.top(), width, area.height()),
            Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, run.text);
        x += width;
        if (x > area.right())
            break;
    }
    painter->restore();
}

QSize Markdelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    const QString text = index.data(Qt::DisplayRole).toString();
    const QVector<Textrun> runs = runsOf(index, text, m_view->look().markers());
    if (!runs.isEmpty()) {
        const QFont font = option.font;
        size.rwidth() += runsWidth(runs, font) - QFontMetrics(font).horizontalAdvance(text);
    }
    return size;
}
