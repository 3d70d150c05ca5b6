#include "output/resultwriter.h"

#include "config/cfgstore.h"

#include <QDir>

QString resultFileName(const QString& supplement, const QString& inputFileName)
{
    const QString add = supplement.isEmpty() ? QStringLiteral("_zov") : supplement;
    QString name = QDir::fromNativeSeparators(inputFileName);
    const qsizetype nameStart = name.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    // A leading dot names a hidden file, not an extension.
    if (dot > nameStart)
        name.insert(dot, add);
    else
        name.append(add);
    return QDir::toNativeSeparators(name);
}

bool isMarkWritten(const QString& markText) { return Markfilter().written(markText); }

Markfilter::Markfilter()
{
    const Cfgstore& cfg = Cfgstore::instance();
    const bool addDeleted = cfg.getBool(QStringLiteral("add_del_nodes_2_res"));
    static const struct {
        const char* text;
        const char* use;
        bool prefix;
    } keys[10] = {
        { "complete_match", "usecm_cm", false },
        { "position_change", "usecm_pc", true },
        { "content_change", "usecm_cc", false },
        { "attribute_change", "usecm_ac", false },
        { "attribute_and_content_change", "usecm_acc", false },
        { "position_and_content_change", "usecm_pcc", true },
        { "position_and_attribute_change", "usecm_pac", true },
        { "position_and_content_and_attribute_change", "usecm_pcac", true },
        { "element_added", "usecm_add", false },
        { "element_deleted", "usecm_del", true },
    };
    for (int i = 0; i < 10; ++i) {
        m_rules[i].text = cfg.getString(QLatin1String(keys[i].text));
        m_rules[i].prefix = keys[i].prefix;
        m_rules[i].use = cfg.getBool(QLatin1String(keys[i].use));
    }
    // Deleted nodes written to the result carry their mark even when usecm_del is off.
    m_rules[9].use = m_rules[9].use || addDeleted;
    m_addDeleted = addDeleted;
}

bool Markfilter::written(const QString& markText) const
{
    for (const Rule& rule : m_rules) {
        if (!rule.use)
            continue;
        if (rule.prefix ? markText.startsWith(rule.text) : markText == rule.text)
            return true;
    }
    return false;
}

bool Markfilter::skipsNext(const QString& markText) const
{
    return !m_addDeleted && markText.startsWith(m_rules[9].text);
}
