#include "compare/changekind.h"
#include "compare/cmpvector.h"
#include "compare/fingerprint.h"
#include "compare/passsettings.h"
#include "compare/worklist.h"
#include "config/cfgstore.h"
#include "model/zovnode.h"
#include "output/textdiff.h"

void Cmpvector::compareAttributes()
{
    const bool ignoreOrder = m_settings.keys.ignoreAttributeOrder;
    const bool markAttributes = m_settings.markAttributes;
    Keyflags withoutAttributes;
    withoutAttributes.simplify = m_settings.keys.simplify;
    withoutAttributes.ignoreAttributes = true;
    withoutAttributes.ignoreAttributeOrder = true;

    for (int j = 0; j < count2; ++j) {
        const int state = state2[j];
        if (state != content_change && state != position_and_content_change)
            continue;
        const int i = state == content_change ? j : partner2[j];
        Zovnode* const c1 = child1(i);
        Zovnode* const c2 = child2(j);
        if (ownAttributesEqual(c1, c2, ignoreOrder))
            continue;
        // Unequal hashes settle most pairs without walking both subtrees.
        const bool sameContent = subtreeHash(c1, withoutAttributes, m_contentHashes)
                == subtreeHash(c2, withoutAttributes, m_contentHashes)
            && subtreesEqual(c1, c2, withoutAttributes);
        int code;
        if (sameContent)
            code = i == j ? attribute_change : position_and_attribute_change;
        else
            code
                = i == j ? attribute_and_content_change : position_and_content_and_attribute_change;
        state1[i] = code;
        state2[j] = code;
        if (!markAttributes)
            continue;
        const QStringList marked = diffAttributes(c1->attributeList(), c2->attributeList());
        if (m_originals)
            m_originals->attributes.insert(c2, c2->attributeList());
        if (c2->kind() == Attrelement)
            c2->setAttributeList(marked);
        else if (c2->kind() == Element)
            m_markedAttributes.insert(j, marked);
    }
}

const QStringList* Cmpvector::markedAttributes(int j) const
{
    const auto found = m_markedAttributes.constFind(j);
    return found == m_markedAttributes.constEnd() ? nullptr : &found.value();
}

void Cmpvector::diffTexts()
{
    const bool caseSensitive = m_settings.textDiffCaseSensitive;
    for (int j = 0; j < count2; ++j) {
        const int state = state2[j];
        if (state != content_change && state != position_and_content_change)
            continue;
        Zovnode* const c2 = child2(j);
        const Zovnode* const c1 = child1(state == content_change ? j : partner2[j]);
        if (c2->kind() != Text || c1->kind() != Text)
            continue;
        if (m_originals)
            m_originals->texts.insert(c2, c2->text());
        c2->setText(diffText(c1->text(), c2->text(), caseSensitive));
    }
}

QStringList diffAttributes(const QStringList& oldList, const QStringList& newList)
{
    const Cfgstore& store = Cfgstore::instance();
    const QString unchanged = store.getString(QStringLiteral("attr_cm"));
    const QString changed = store.getString(QStringLiteral("attr_vc"));
    const QString added = store.getString(QStringLiteral("attr_add"));
    const QString deleted = store.getString(QStringLiteral("attr_del"));

    // Only the first occurrence of a string counts, whether it stands as a name or a value.
    const auto firstPositions = [](const QStringList& list) {
        QHash<QString, int> first;
        for (int p = 0; p < list.size(); ++p) {
            if (!first.contains(list[p]))
                first.insert(list[p], p);
        }
        return first;
    };
    const QHash<QString, int> firstOld = firstPositions(oldList);
    const QHash<QString, int> firstNew = firstPositions(newList);

    QStringList result;
    for (int k = 0; k < newList.size(); k += 2) {
        const QString& name = newList[k];
        const QString value = newList.value(k + 1);
        const int p = firstOld.value(name, -1);
        if (p >= 0 && p % 2 == 0) {
            const QString oldValue = oldList.value(p + 1);
            if (oldValue == value)
                result << name + unchanged << value;
            else
                result << name + changed << diffText(oldValue, value, true);
        } else {
            result << name + added << value;
        }
    }
    for (int k = 0; k < oldList.size(); k += 2) {
        const int p = firstNew.value(oldList[k], -1);
        if (p < 0 || p % 2 != 0)
            result << oldList[k] + deleted << oldList.value(k + 1);
    }
    return result;
}
