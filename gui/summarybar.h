#pragma once

#include <QVector>
#include <QWidget>

class QLabel;
class QToolButton;
class Zovvisual;

// One line above a Zovvisual: every change kind with its configured mark text, coloured and
// iconed as the view shows it, and after a run the number of its marks in the result. Clicking
// a kind chooses it for navigation; clicking it again lifts the choice.
class Summarybar : public QWidget {
    Q_OBJECT

public:
    // view: not owned, must outlive the bar; the bar follows its filling and clearing.
    explicit Summarybar(Zovvisual* view, QWidget* parent = nullptr);

    // The number of marks of a kind (1 to 10) in the shown result; -1 when none is shown.
    int count(int kind) const;
    // The chosen kind, 0 when none.
    int chosenKind() const { return m_chosen; }
    // The button of a kind (1 to 10); null for other numbers.
    QToolButton* button(int kind) const;
    // Sets the texts of the current language.
    void retranslate();

Q_SIGNALS:
    // A kind was chosen (1 to 10) or the choice lifted (0).
    void kindChosen(int kind);

private:
    void refresh();
    static QString helpText(int kind);
    void clearCounts();
    void choose(int kind, bool on);

    Zovvisual* m_view;
    QLabel* m_label;
    QVector<QToolButton*> m_buttons;
    QVector<int> m_counts;
    int m_chosen = 0;
};
