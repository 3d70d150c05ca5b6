#include "output/markcount.h"

#include "compare/changekind.h"
#include "config/cfgstore.h"
#include "model/sizedvector.h"
#include "model/zovnode.h"

namespace {

bool isContentKind(int kind)
{
    return kind == content_change || kind == attribute_and_content_change
        || kind == position_and_content_change || kind == position_and_content_and_attribute_change;
}

bool hasPositionSuffix(int kind)
{
    return kind == position_change || kind == position_and_content_change
        || kind == position_and_attribute_change
        || kind == position_and_content_and_attribute_change || kind == element_deleted;
}

} // namespace

Markclassifier::Markclassifier()
{
    const Cfgstore& cfg = Cfgstore::instance();
    for (int kind = complete_match; kind <= element_deleted; ++kind)
        m_texts[kind - 1] = cfg.getString(changekindKey(kind));
}

int Markclassifier::kind(const QString& markText) const
{
    for (int kind = complete_match; kind <= element_deleted; ++kind) {
        if (!hasPositionSuffix(kind) && markText == m_texts[kind - 1])
            return kind;
    }
    int best = 0;
    qsizetype bestLength = -1;
    for (int kind = complete_match; kind <= element_deleted; ++kind) {
        const QString& text = m_texts[kind - 1];
        if (hasPositionSuffix(kind) && text.size() > bestLength && markText.size() > text.size()
            && markText.startsWith(text) && markText.at(text.size()) == QLatin1Char(' ')) {
            best = kind;
            bestLength = text.size();
        }
    }
    return best;
}

bool isZovMark(const Zovnode* node)
{
    return node->kind() == Pi && node->text() == QLatin1String("ZOV");
}

void visitMarks(const Zovnode* resultRoot, const Markclassifier& classifier,
    const std::function<void(const Zovnode* mark, int kind)>& visit)
{
    if (!resultRoot)
        return;
    // Only elements whose content changed hold marks of their own.
    QVector<const Zovnode*> pending { resultRoot };
    while (!pending.isEmpty()) {
        const Childspan children = pending.takeLast()->children();
        for (qsizetype i = 0; children && i < children->size(); ++i) {
            const Zovnode* mark = children->at(i);
            if (!isZovMark(mark))
                continue;
            const int kind = classifier.kind(mark->value());
            visit(mark, kind);
            if (i + 1 < children->size()) {
                const Zovnode* node = children->at(++i);
                if (isContentKind(kind) && node->children())
                    pending.append(node);
            }
        }
    }
}

QVector<int> countMarks(const Zovnode* resultRoot, int* shifted)
{
    QVector<int> counts = sizedVector<int>(element_deleted + 1, 0);
    int shiftedCount = 0;
    visitMarks(resultRoot, Markclassifier(), [&](const Zovnode* mark, int kind) {
        ++counts[kind];
        if (mark->isShifted() && isPositionKind(kind))
            ++shiftedCount;
    });
    if (shifted)
        *shifted = shiftedCount;
    return counts;
}

bool documentsEqual(const Zovnode* root1, const Zovnode* resultRoot)
{
    if (!root1 || !resultRoot || root1->text() != resultRoot->text())
        return false;
    const Cfgstore& cfg = Cfgstore::instance();
    if (!cfg.getBool(QStringLiteral("ignore_attributes"))) {
        const bool sameAttributes = cfg.getBool(QStringLiteral("ignore_attribute_order"))
            ? root1->sortedAttributeText() == resultRoot->sortedAttributeText()
            : root1->attributeText() == resultRoot->attributeText();
        if (!sameAttributes)
            return false;
    }
    const Childspan children = resultRoot->children();
    if (!children)
        return true;
    const Markclassifier classifier;
    for (qsizetype i = 0; i < children->size(); i += 2) {
        const Zovnode* mark = children->at(i);
        if (!isZovMark(mark) || classifier.kind(mark->value()) != complete_match)
            return false;
    }
    return true;
}
