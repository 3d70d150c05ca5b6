#pragma once

#include <QVector>
#include <QWidget>

class QLabel;
class QToolButton;
class Zovvisual;

// One line above a Zovvisual: a short label for every change kind and for shifted pairs,
// coloured and iconed as the view shows them, and after a run the number of marks the view shows
// as that kind (kinds without any greyed); the tool tip holds the configured mark text. Clicking
// a kind chooses it for navigation; clicking it again lifts the choice.
class Summarybar : public QWidget {
    Q_OBJECT

public:
    // view: not owned, must outlive the bar; the bar follows its filling and clearing.
    explicit Summarybar(Zovvisual* view, QWidget* parent = nullptr);

    // The number of marks shown as a kind (1 to 10), or of shifted pairs (Marklook::shiftedEntry),
    // in the shown result; -1 when none is shown or for other numbers.
    int count(int entry) const;
    // The chosen kind, 0 when none.
    int chosenKind() const { return m_chosen; }
    // The button of a kind (1 to 10) or of shifted pairs; null for other numbers.
    QToolButton* button(int entry) const;
    // Sets the texts of the current language.
    void retranslate();

Q_SIGNALS:
    // A kind was chosen (1 to 10) or the choice lifted (0).
    void kindChosen(int kind);

private:
    void refresh();
    static QString helpText(int entry);
    void clearCounts();
    void choose(int kind, bool on);

    Zovvisual* m_view;
    QLabel* m_label;
    QVector<QToolButton*> m_buttons;
    QVector<int> m_counts;
    int m_chosen = 0;
};
