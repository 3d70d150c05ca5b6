#include "output/textdiff.h"

#include "config/cfgstore.h"
#include "output/commonsubstring.h"

#include <QStringView>
#include <QVector>

namespace {

// Minimum length of the pieces that count towards the similarity score.
constexpr int similarityMinimum = 5;

// Work (in table cells) that one substringDiff call may spend on common-substring searches. The
// search is linear for long texts, but each split searches again, so two large texts that differ
// everywhere could still take long; beyond the budget the remaining parts are shown as deleted
// and inserted as a whole (from about a million characters on each side).
constexpr qint64 substringWorkBudget = qint64(1) << 28;

struct Markers {
    QString insStart;
    QString insEnd;
    QString delStart;
    QString delEnd;
};

Markers currentMarkers()
{
    const Cfgstore& store = Cfgstore::instance();
    return { store.getString(QStringLiteral("txtinsstart")),
        store.getString(QStringLiteral("txtinsend")),
        store.getString(QStringLiteral("txtdelstart")),
        store.getString(QStringLiteral("txtdelend")) };
}

// Lower case one code unit (or surrogate pair) at a time so that every position in the folded
// text is the same position in the original; a full case mapping may change the length and would
// cut the emitted text at the wrong places.
QString foldCase(const QString& text)
{
    QString folded = text;
    QChar* data = folded.data();
    const qsizetype size = folded.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (data[i].isHighSurrogate() && i + 1 < size && data[i + 1].isLowSurrogate()) {
            const char32_t lower = QChar::toLower(QChar::surrogateToUcs4(data[i], data[i + 1]));
            if (QChar::requiresSurrogates(lower)) {
                data[i] = QChar(QChar::highSurrogate(lower));
                data[i + 1] = QChar(QChar::lowSurrogate(lower));
            }
            ++i;
        } else if (!data[i].isSurrogate()) {
            data[i] = data[i].toLower();
        }
    }
    return folded;
}

// The text under the case rule: itself, or folded when case does not count.
QString underRule(const QString& text, bool caseSensitive)
{
    return caseSensitive ? text : foldCase(text);
}

} // namespace

QString longestCommonSubstring(const QString& a, const QString& b, bool caseSensitive)
{
    if (a.isEmpty() || b.isEmpty())
        return QString();
    const Commonspan span = commonSpan(underRule(a, caseSensitive), underRule(b, caseSensitive));
    return a.mid(span.start, span.length);
}

QString containmentDiff(const QString& oldText, const QString& newText, bool caseSensitive)
{
    const QString oldKey = underRule(oldText, caseSensitive);
    const QString newKey = underRule(newText, caseSensitive);
    const Markers markers = currentMarkers();

    const QString* shorter = &oldText;
    const QString* longer = &newText;
    const QString* start = &markers.insStart;
    const QString* end = &markers.insEnd;
    qsizetype p = newKey.indexOf(oldKey);
    if (p < 0) {
        p = oldKey.indexOf(newKey);
        if (p < 0)
            return QString();
        shorter = &newText;
        longer = &oldText;
        start = &markers.delStart;
        end = &markers.delEnd;
    }
    const qsizetype tail = longer->size() - shorter->size() - p;
    if (p == 0)
        return *shorter + *start + longer->right(longer->size() - shorter->size()) + *end;
    QString result = *start + longer->left(p) + *end + *shorter;
    if (tail > 0)
        result += *start + longer->right(tail) + *end;
    return result;
}

QString substringDiff(
    const QString& oldText, const QString& newText, bool caseSensitive, int minLength)
{
    const Markers markers = currentMarkers();
    const QString oldKey = underRule(oldText, caseSensitive);
    const QString newKey = underRule(newText, caseSensitive);

    // Each split leaves a left pair, the common piece and a right pair; an explicit stack keeps
    // texts with many short common pieces from exhausting the call stack. A piece with an empty
    // old range and common length > 0 stands for emitted common text.
    struct Work {
        qsizetype oldStart;
        qsizetype oldLength;
        qsizetype newStart;
        qsizetype newLength;
        qsizetype commonLength; // > 0: emit oldText.mid(oldStart, commonLength)
    };
    QVector<Work> stack;
    stack.append({ 0, oldText.size(), 0, newText.size(), 0 });
    qint64 budget = substringWorkBudget;
    QString result;
    const auto appendMarked
        = [&result](const QString& start, QStringView text, const QString& end) {
              result += start;
              result += text;
              result += end;
          };
    while (!stack.isEmpty()) {
        const Work work = stack.takeLast();
        if (work.commonLength > 0) {
            result += QStringView(oldText).mid(work.oldStart, work.commonLength);
            continue;
        }
        const QStringView oldPart = QStringView(oldKey).mid(work.oldStart, work.oldLength);
        const QStringView newPart = QStringView(newKey).mid(work.newStart, work.newLength);
        const QStringView oldOriginal = QStringView(oldText).mid(work.oldStart, work.oldLength);
        const QStringView newOriginal = QStringView(newText).mid(work.newStart, work.newLength);
        if (oldPart.isEmpty() && newPart.isEmpty())
            continue;
        if (oldPart.isEmpty()) {
            appendMarked(markers.insStart, newOriginal, markers.insEnd);
            continue;
        }
        if (newPart.isEmpty()) {
            appendMarked(markers.delStart, oldOriginal, markers.delEnd);
            continue;
        }
        budget -= commonSpanCost(oldPart, newPart);
        const Commonspan common = budget >= 0 ? commonSpan(oldPart, newPart) : Commonspan {};
        if (common.length < minLength || common.length == 0) {
            appendMarked(markers.delStart, oldOriginal, markers.delEnd);
            appendMarked(markers.insStart, newOriginal, markers.insEnd);
            continue;
        }
        const QStringView piece = oldPart.mid(common.start, common.length);
        const qsizetype pOld = oldPart.indexOf(piece);
        const qsizetype pNew = newPart.indexOf(piece);
        const qsizetype length = common.length;
        // Pushed in reverse: the left pair is handled first.
        stack.append({ work.oldStart + pOld + length, work.oldLength - pOld - length,
            work.newStart + pNew + length, work.newLength - pNew - length, 0 });
        // The common text is written as found at the end of the search, which under the
        // case-insensitive rule may differ in case from its first occurrence.
        stack.append({ work.oldStart + common.start, 0, 0, 0, length });
        stack.append({ work.oldStart, pOld, work.newStart, pNew, 0 });
    }
    return result;
}

QString diffText(const QString& oldText, const QString& newText, bool caseSensitive)
{
    if (underRule(oldText, caseSensitive) == underRule(newText, caseSensitive))
        return newText;
    const QString contained = containmentDiff(oldText, newText, caseSensitive);
    if (!contained.isEmpty())
        return contained;
    const int minLength = qMax(1, Cfgstore::instance().getInt(QStringLiteral("txt_minsubstr")));
    return substringDiff(oldText, newText, caseSensitive, minLength);
}

int similarityScore(const QString& a, const QString& b)
{
    QString common = longestCommonSubstring(a, b, true);
    if (common.size() < similarityMinimum)
        return 0;
    qsizetype total = common.size();
    QStringList work;
    const auto split = [&work](const QString& x, const QString& y, const QString& piece) {
        const qsizetype px = x.indexOf(piece);
        const qsizetype py = y.indexOf(piece);
        work << x.left(px) << y.left(py) << x.mid(px + piece.size()) << y.mid(py + piece.size());
    };
    split(a, b, common);
    for (qsizetype i = 0; i + 1 < work.size(); i += 2) {
        const QString x = work.at(i);
        const QString y = work.at(i + 1);
        common = longestCommonSubstring(x, y, true);
        if (common.size() >= similarityMinimum) {
            total += common.size();
            split(x, y, common);
        }
    }
    return int(total);
}
