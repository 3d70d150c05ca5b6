#include "compare/changekind.h"

#include "config/cfgstore.h"

QString changekindKey(int kind)
{
    switch (kind) {
    case complete_match:
        return QStringLiteral("complete_match");
    case position_change:
        return QStringLiteral("position_change");
    case content_change:
        return QStringLiteral("content_change");
    case attribute_change:
        return QStringLiteral("attribute_change");
    case attribute_and_content_change:
        return QStringLiteral("attribute_and_content_change");
    case position_and_content_change:
        return QStringLiteral("position_and_content_change");
    case position_and_attribute_change:
        return QStringLiteral("position_and_attribute_change");
    case position_and_content_and_attribute_change:
        return QStringLiteral("position_and_content_and_attribute_change");
    case element_added:
        return QStringLiteral("element_added");
    case element_deleted:
        return QStringLiteral("element_deleted");
    default:
        return QString();
    }
}

QString markText(int kind, int shift, const QString& deletedName)
{
    const QString key = changekindKey(kind);
    if (key.isEmpty())
        return QString();
    QString text = Cfgstore::instance().getString(key);
    switch (kind) {
    case position_change:
    case position_and_content_change:
    case position_and_attribute_change:
    case position_and_content_and_attribute_change:
        text += QLatin1Char(' ') + QString::number(shift);
        break;
    case element_deleted:
        text += QLatin1Char(' ') + deletedName;
        break;
    default:
        break;
    }
    return text;
}

bool isPositionKind(int kind)
{
    return kind == position_change || kind == position_and_content_change
        || kind == position_and_attribute_change
        || kind == position_and_content_and_attribute_change;
}

int shownKind(int kind, bool shifted)
{
    if (!shifted)
        return kind;
    switch (kind) {
    case position_change:
        return complete_match;
    case position_and_content_change:
        return content_change;
    case position_and_attribute_change:
        return attribute_change;
    case position_and_content_and_attribute_change:
        return attribute_and_content_change;
    default:
        return kind;
    }
}
