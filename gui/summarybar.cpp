#include "gui/summarybar.h"

#include "compare/changekind.h"
#include "gui/vtreeitem.h"
#include "gui/zovvisual.h"
#include "output/markcount.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QTreeWidget>

Summarybar::Summarybar(Zovvisual* view, QWidget* parent)
    : QWidget(parent)
    , m_view(view)
    , m_label(new QLabel(this))
{
    // One line: the view below takes the height.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_label);
    for (int kind = complete_match; kind <= element_deleted; ++kind) {
        auto* button = new QToolButton(this);
        button->setObjectName(QLatin1String("pb_kind_") + changekindKey(kind));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setAutoRaise(true);
        // Complete matches are no changes, so there is nothing to move through.
        button->setCheckable(kind != complete_match);
        connect(button, &QToolButton::toggled, this, [this, kind](bool on) { choose(kind, on); });
        row->addWidget(button);
        m_buttons.append(button);
    }
    row->addStretch(1);
    connect(m_view, &Zovvisual::filled, this, &Summarybar::refresh);
    connect(m_view, &Zovvisual::cleared, this, &Summarybar::clearCounts);
    retranslate();
}

int Summarybar::count(int kind) const
{
    if (m_counts.isEmpty() || kind < complete_match || kind > element_deleted)
        return -1;
    return m_counts[kind];
}

QToolButton* Summarybar::button(int kind) const
{
    if (kind < complete_match || kind > element_deleted)
        return nullptr;
    return m_buttons[kind - 1];
}

void Summarybar::retranslate()
{
    m_label->setText(QCoreApplication::translate("", "Changes:"));
    refresh();
}

QString Summarybar::helpText(int kind)
{
    return kind == complete_match
        ? QCoreApplication::translate("", "Complete matches are not changes.")
        : QCoreApplication::translate("",
            "Next and previous change move only through this kind; click again to move "
            "through all changes.");
}

void Summarybar::refresh()
{
    const QTreeWidgetItem* rootItem = m_view->rightTree()->topLevelItem(0);
    if (rootItem)
        m_counts = countMarks(static_cast<const Vtreeitem*>(rootItem)->node());
    else
        m_counts.clear();
    // The mark texts may have changed with the configuration since the last run.
    const Markclassifier classifier;
    for (int kind = complete_match; kind <= element_deleted; ++kind) {
        const QString& mark = classifier.text(kind);
        QToolButton* kindButton = button(kind);
        kindButton->setIcon(m_view->markIcon(mark));
        const QString shown = mark.isEmpty() ? changekindKey(kind) : mark;
        const QString label
            = m_counts.isEmpty() ? shown : QStringLiteral("%1: %2").arg(shown).arg(m_counts[kind]);
        kindButton->setText(label);
        // A narrow window elides the labels; the tip keeps the whole text readable.
        kindButton->setToolTip(label + QLatin1Char('\n') + helpText(kind));
        QPalette colours = kindButton->palette();
        const QColor colour = Zovvisual::markColour(mark);
        colours.setColor(QPalette::ButtonText,
            colour.isValid() ? colour : QWidget::palette().color(QPalette::ButtonText));
        kindButton->setPalette(colours);
    }
}

void Summarybar::clearCounts()
{
    if (m_chosen != 0)
        button(m_chosen)->setChecked(false);
    refresh();
}

void Summarybar::choose(int kind, bool on)
{
    if (on) {
        const int previous = m_chosen;
        m_chosen = kind;
        // Only one kind at a time; unchecking the former one must not lift the new choice.
        if (previous != 0) {
            const QSignalBlocker blocker(button(previous));
            button(previous)->setChecked(false);
        }
        Q_EMIT kindChosen(kind);
    } else if (kind == m_chosen) {
        m_chosen = 0;
        Q_EMIT kindChosen(0);
    }
}
