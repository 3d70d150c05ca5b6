// Text difference: any two texts and settings give a merged text from which dropping the deleted
// parts gives the new text and dropping the inserted parts gives the old text (in length only
// when case does not count, since common parts keep one side's case); the linear common-substring
// search finds the table's span.
#include "config/cfgstore.h"
#include "output/commonsubstring.h"
#include "output/textdiff.h"
#include "tests/fuzz/fuzzsupport.h"

#include <cstdint>

namespace {

const QChar insStart(1);
const QChar insEnd(2);
const QChar delStart(3);
const QChar delEnd(4);

// The merged text without the parts between start and end and without the other markers.
QString without(const QString& merged, QChar start, QChar end)
{
    QString kept;
    bool inside = false;
    for (const QChar c : merged) {
        if (c == start)
            inside = true;
        else if (c == end)
            inside = false;
        else if (!inside && c != insStart && c != insEnd && c != delStart && c != delEnd)
            kept += c;
    }
    return kept;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const bool caseSensitive = data[0] & 1;
    const int minLength = data[1] % 8;
    QString all = QString::fromUtf8(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2));
    // The markers must not occur in the texts for the merged text to be taken apart again.
    for (QChar& c : all) {
        if (c.unicode() >= 1 && c.unicode() <= 4)
            c = QChar(u'_');
    }
    const qsizetype cut = all.indexOf(QChar(u'|'));
    const QString oldText = cut < 0 ? all : all.left(cut);
    const QString newText = cut < 0 ? QString() : all.mid(cut + 1);

    // The table is quadratic; past 65,536 cells it would only slow the run down.
    if (qint64(oldText.size()) * newText.size() <= (1 << 16)) {
        const Commonspan table = commonSpanByTable(oldText, newText);
        const Commonspan linear = commonSpanByAutomaton(oldText, newText);
        if (table.start != linear.start || table.length != linear.length)
            fuzzFailure(
                "the two common-substring searches differ", oldText + QLatin1Char('|') + newText);
    }

    Cfgstore& store = Cfgstore::instance();
    store.setParameter(QStringLiteral("txt_minsubstr"), QString::number(minLength));
    store.setParameter(QStringLiteral("txtinsstart"), QString(insStart));
    store.setParameter(QStringLiteral("txtinsend"), QString(insEnd));
    store.setParameter(QStringLiteral("txtdelstart"), QString(delStart));
    store.setParameter(QStringLiteral("txtdelend"), QString(delEnd));
    const QString merged = diffText(oldText, newText, caseSensitive);
    const QString asNew = without(merged, delStart, delEnd);
    const QString asOld = without(merged, insStart, insEnd);
    if (caseSensitive && (asNew != newText || asOld != oldText))
        fuzzFailure("merged text does not split into the two texts", merged);
    if (asNew.size() != newText.size() || asOld.size() != oldText.size())
        fuzzFailure("merged text does not have the lengths of the two texts", merged);
    const int score = similarityScore(oldText, newText);
    if (score < 0 || score > qMin(oldText.size(), newText.size()))
        fuzzFailure("similarity score out of range", QString::number(score));
    return 0;
}
