#pragma once

#include "output/markcount.h"

#include <QColor>
#include <QString>
#include <QVector>

class Zovnode;

// The markers around the deleted and inserted pieces of an inline text difference.
struct Textmarkers {
    QString insStart;
    QString insEnd;
    QString delStart;
    QString delEnd;
};

// One piece of a text as the view draws it.
struct Textrun {
    enum Kind { Plain, Deleted, Inserted, Note };
    QString text;
    Kind kind = Plain;

    bool operator==(const Textrun& other) const { return kind == other.kind && text == other.text; }
};

// Splits a text holding inline difference markers into plain, deleted and inserted pieces,
// without the markers. A start marker without its end marker after it, an end marker without a
// start, and an empty marker stay plain text.
QVector<Textrun> splitMarked(const QString& text, const Textmarkers& markers);

// The one place that decides how a change mark is shown: its kind, the kind it is shown as (a
// shifted pair shows without its position part unless shifted pairs are shown as moved), the
// colour and the icon. It holds the mark texts and the text markers of the settings it was made
// with, so a view keeps those of the run that filled it.
class Marklook {
public:
    enum class Icon { Normal, Blue, Red, Light, Purple };
    // The summary entry after the ten kinds: position changes of pairs that kept their order.
    static constexpr int shiftedEntry = 11;

    // Takes the mark texts, the text markers and the two difference flags from the current
    // settings.
    Marklook();

    void setShiftedAsMoved(bool on) { m_shiftedAsMoved = on; }
    bool shiftedAsMoved() const { return m_shiftedAsMoved; }

    // The kind (1 to 10) of a mark text, also of a kind's bare text as inherited by the
    // children of an added or deleted element; 0 for a text of no known kind, -1 for none.
    int kind(const QString& mark) const;
    // The kind a pair of this kind is shown as.
    int shownKind(int kind, bool shifted) const;
    // The kind the children of an element of this kind inherit when they carry no mark: a
    // position or attribute change concerns the element alone.
    static int inheritedKind(int kind);
    // Whether a shown kind is a change: navigation stops at it, the match filter keeps it.
    static bool isChange(int shown);
    // The text colour of a shown kind; invalid for the default colour.
    static QColor colour(int shown);
    // Whether the attribute column takes the colour too (not for plain content changes).
    static bool coloursAttributes(int shown);
    static Icon icon(int shown);

    // The configured mark text of a kind (1 to 10).
    const QString& text(int kind) const { return m_classifier.text(kind); }
    const Textmarkers& markers() const { return m_markers; }
    // Whether the run marked inline differences in texts, in attribute values.
    bool textsDiffed() const { return m_textsDiffed; }
    bool attributesDiffed() const { return m_attributesDiffed; }

    // The marks placed by the comparison below resultRoot counted by the kind they are shown
    // as (index 1 to 10; 0 for texts of no known kind), and at index shiftedEntry the position
    // marks of pairs that kept their order. All zero for a null root.
    QVector<int> countShown(const Zovnode* resultRoot) const;

    // The short summary label of a kind (1 to 10) or of shifted, in the current language;
    // empty for other numbers.
    static QString label(int entry);

private:
    Markclassifier m_classifier;
    Textmarkers m_markers;
    bool m_textsDiffed = false;
    bool m_attributesDiffed = false;
    bool m_shiftedAsMoved = false;
};
