#include "config/anchor.h"

#include "config/cfgstore.h"
#include "model/zovnode.h"

QString Anchor::logForm() const
{
    return name + QLatin1Char(' ') + path
        + (absolute ? QLatin1String(" yes ") : QLatin1String(" no "))
        + (normalizeSpaces ? QLatin1String("yes") : QLatin1String("no"));
}

bool Anchor::fromElement(const Zovnode* element, Anchor* anchor)
{
    // Read by position: the first child plays the part of the path element whatever its name.
    if (!element || !element->hasChildren())
        return false;
    const Zovnode* pathElement = element->children()->first();
    if (!pathElement->hasChildren())
        return false;
    const QString yes = QStringLiteral("yes");
    anchor->name = element->attributeValue(QStringLiteral("name"));
    anchor->path = pathElement->children()->first()->text();
    anchor->absolute = element->attributeValue(QStringLiteral("absolute")) == yes;
    anchor->normalizeSpaces = element->attributeValue(QStringLiteral("normalize-spaces")) == yes;
    return true;
}

const Anchor* Cfgstore::anchor(const QString& name) const
{
    const auto it = m_anchors.constFind(name);
    return it == m_anchors.cend() ? nullptr : &it.value();
}

void Cfgstore::insertAnchor(const Anchor& anchor) { m_anchors.insert(anchor.name, anchor); }

void Cfgstore::removeAnchor(const QString& name) { m_anchors.remove(name); }

void Cfgstore::replaceAnchor(
    const QString& name, const QString& path, bool absolute, bool normalizeSpaces)
{
    m_anchors.remove(name);
    m_anchors.insert(name, Anchor { name, path, absolute, normalizeSpaces });
}
