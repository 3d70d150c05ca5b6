#include "gui/summarybar.h"

#include "compare/changekind.h"
#include "gui/flowlayout.h"
#include "gui/marklook.h"
#include "gui/vtreeitem.h"
#include "gui/zovvisual.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLocale>
#include <QToolButton>
#include <QTreeWidget>

Summarybar::Summarybar(Zovvisual* view, QWidget* parent)
    : QWidget(parent)
    , m_view(view)
    , m_label(new QLabel(this))
{
    // A narrow window or a longer language takes a second line rather than cutting labels.
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    auto* row = new Flowlayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    row->addWidget(m_label);
    for (int entry = complete_match; entry <= Marklook::shiftedEntry; ++entry) {
        auto* button = new QToolButton(this);
        button->setObjectName(QLatin1String("pb_kind_")
            + (entry == Marklook::shiftedEntry ? QStringLiteral("shifted") : changekindKey(entry)));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setAutoRaise(true);
        // Neither complete matches nor shifted pairs are changes to move through.
        button->setCheckable(Marklook::isChange(entry));
        connect(button, &QToolButton::toggled, this, [this, entry](bool on) { choose(entry, on); });
        m_buttons.append(button);
    }
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_label->setMinimumHeight(m_buttons.first()->sizeHint().height());
    // Shifted pairs next to the moved ones they are told apart from.
    for (int entry : { 1, 2, 11, 3, 4, 5, 6, 7, 8, 9, 10 })
        row->addWidget(m_buttons[entry - 1]);
    connect(m_view, &Zovvisual::filled, this, &Summarybar::refresh);
    connect(m_view, &Zovvisual::restyled, this, &Summarybar::refresh);
    connect(m_view, &Zovvisual::cleared, this, &Summarybar::clearCounts);
    retranslate();
}

int Summarybar::count(int entry) const
{
    if (m_counts.isEmpty() || entry < complete_match || entry > Marklook::shiftedEntry)
        return -1;
    return m_counts[entry];
}

QToolButton* Summarybar::button(int entry) const
{
    if (entry < complete_match || entry > Marklook::shiftedEntry)
        return nullptr;
    return m_buttons[entry - 1];
}

void Summarybar::retranslate()
{
    m_label->setText(QCoreApplication::translate("", "Changes:"));
    refresh();
}

QString Summarybar::helpText(int entry)
{
    if (entry == Marklook::shiftedEntry)
        return QCoreApplication::translate("",
            "Position changes whose pairs kept their order among their siblings: only "
            "insertions or deletions before them changed their index. Unless View > \"Show "
            "shifted nodes as moved\" is on, they are shown as what else changed, or as "
            "complete matches.");
    return entry == complete_match
        ? QCoreApplication::translate("", "Complete matches are not changes.")
        : QCoreApplication::translate("",
            "Next and previous change move only through this kind; click again to move "
            "through all changes.");
}

void Summarybar::refresh()
{
    const QTreeWidgetItem* rootItem = m_view->rightTree()->topLevelItem(0);
    const Marklook& look = m_view->look();
    if (rootItem)
        m_counts = look.countShown(static_cast<const Vtreeitem*>(rootItem)->node());
    else
        m_counts.clear();
    for (int entry = complete_match; entry <= Marklook::shiftedEntry; ++entry) {
        // Shifted pairs look like moved ones or like complete matches, as the view shows them.
        const int shownAs = entry != Marklook::shiftedEntry ? entry
            : look.shiftedAsMoved()                         ? int(position_change)
                                                            : int(complete_match);
        const QString full = entry == Marklook::shiftedEntry
            ? QCoreApplication::translate("", "Shifted")
            : (look.text(entry).isEmpty() ? changekindKey(entry) : look.text(entry));
        const int number = count(entry);
        QToolButton* entryButton = button(entry);
        entryButton->setIcon(m_view->kindIcon(shownAs));
        entryButton->setText(number < 0
                ? Marklook::label(entry)
                : QStringLiteral("%1: %2").arg(Marklook::label(entry), QLocale().toString(number)));
        entryButton->setToolTip(
            (number < 0 ? full : QStringLiteral("%1: %2").arg(full, QLocale().toString(number)))
            + QLatin1Char('\n') + helpText(entry));
        QPalette colours = entryButton->palette();
        const QColor colour = Marklook::colour(shownAs);
        for (const QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive }) {
            colours.setColor(group, QPalette::ButtonText,
                colour.isValid() ? colour : QWidget::palette().color(QPalette::ButtonText));
        }
        // Lighter than the grey of deleted nodes, so that "deleted" with a count stays apart.
        colours.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(200, 200, 200));
        entryButton->setPalette(colours);
        // Nothing of the kind in this result: greyed, and no choice to keep.
        if (number == 0 && entryButton->isChecked())
            entryButton->setChecked(false);
        entryButton->setEnabled(number != 0);
        // What the result holds stands out from the kinds it does not hold.
        QFont font = entryButton->font();
        font.setBold(number > 0);
        entryButton->setFont(font);
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
