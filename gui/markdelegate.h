#pragma once

#include <QStyledItemDelegate>

class Zovvisual;

// Draws the result items of a Zovvisual whose texts hold inline difference markers: deleted
// text struck through in red, inserted text underlined in green, the markers left out; and a
// note, where an item has one, in grey after its text. Every other item is drawn as usual.
class Markdelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    // view: not owned, gives the markers of the run shown; must outlive the delegate.
    Markdelegate(const Zovvisual* view, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
        const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const Zovvisual* m_view;
};
