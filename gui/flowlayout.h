#pragma once

#include <QLayout>
#include <QList>

// Lays its items out left to right and goes on in a new line where the width ends, so that no
// item is cut at a narrow width.
class Flowlayout : public QLayout {
public:
    explicit Flowlayout(QWidget* parent);
    ~Flowlayout() override;

    Flowlayout(const Flowlayout&) = delete;
    Flowlayout& operator=(const Flowlayout&) = delete;

    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    // Null for an index out of range.
    QLayoutItem* takeAt(int index) override;
    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rect) override;

private:
    // Places the items in rect (only measures unless place) and returns the height used.
    int arrange(const QRect& rect, bool place) const;

    QList<QLayoutItem*> m_items;
};
