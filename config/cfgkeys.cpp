#include "config/cfgkeys.h"

#include <QStringList>

const QVector<Cfgkey>& cfgKeys()
{
    static const QVector<Cfgkey> keys = {
        { "writeresultfile", Cfgtype::Bool, "true", "cb_writeresfile" },
        { "addname_result", Cfgtype::Text, "_zov", "le_filenameadd" },
        { "element_indent", Cfgtype::Int, "2", "spin_indent" },
        { "savemode", Cfgtype::Savemode, "1", "rb_save_humread" },
        { "use_hashmode", Cfgtype::Bool, "false", "cb_hashmode" },
        { "write_log", Cfgtype::Bool, "true", "cb_writelog" },
        { "logdir", Cfgtype::Text, "", "ln_logdir" },
        { "num_diffthreads", Cfgtype::Int, "1", "spin_numthreads" },
        { "write_parselog", Cfgtype::Bool, "false", "cb_parserlog" },
        { "normalize_spaces", Cfgtype::Bool, "true", "cb_normsp" },
        { "add_del_nodes_2_res", Cfgtype::Bool, "false", "cb_adddelnodes" },
        { "enable_shiftmode", Cfgtype::Bool, "true", "cb_shiftmode" },
        { "enable_contentmode", Cfgtype::Bool, "false", "cb_contentmode" },
        { "exclude_from_contentmode", Cfgtype::Text, "", "ln_excludedels" },
        { "ignore_attributes", Cfgtype::Bool, "false", "cb_igattrs" },
        { "ignore_attribute_order", Cfgtype::Bool, "true", "cb_igattrorder" },
        { "cmp_attr_contents", Cfgtype::Bool, "false", "cb_cmpattrs" },
        { "attr_cm", Cfgtype::Text, "_cm", "le_attr_cm" },
        { "attr_vc", Cfgtype::Text, "_chg", "le_attr_chg" },
        { "attr_add", Cfgtype::Text, "_add", "le_attr_add" },
        { "attr_del", Cfgtype::Text, "_del", "le_attr_del" },
        { "do_txtdiff", Cfgtype::Bool, "false", "cb_dotxtdiff" },
        { "txtdiff_casesensitive", Cfgtype::Bool, "false", "cb_txt_cs" },
        { "txt_minsubstr", Cfgtype::Int, "3", "spin_minlcss" },
        { "txtinsstart", Cfgtype::Text, "[+]", "le_txt_insstart" },
        { "txtinsend", Cfgtype::Text, "[/+]", "le_txt_insend" },
        { "txtdelstart", Cfgtype::Text, "[-]", "le_txt_delstart" },
        { "txtdelend", Cfgtype::Text, "[/-]", "le_txt_delend" },
        { "complete_match", Cfgtype::Text, "complete match", "le_cm_cm" },
        { "position_change", Cfgtype::Text, "position change", "le_cm_pc" },
        { "content_change", Cfgtype::Text, "content change", "le_cm_cc" },
        { "attribute_change", Cfgtype::Text, "attribute change", "le_cm_ac" },
        { "attribute_and_content_change", Cfgtype::Text, "attribute and content change",
            "le_cm_acc" },
        { "position_and_content_change", Cfgtype::Text, "position and content change",
            "le_cm_pcc" },
        { "position_and_attribute_change", Cfgtype::Text, "position and attribute change",
            "le_cm_pac" },
        { "position_and_content_and_attribute_change", Cfgtype::Text,
            "position and content and attribute change", "le_cm_pcac" },
        { "element_added", Cfgtype::Text, "element added", "le_cm_add" },
        { "element_deleted", Cfgtype::Text, "element deleted", "le_cm_del" },
        { "usecm_cm", Cfgtype::Bool, "false", "cb_cm_cm" },
        { "usecm_pc", Cfgtype::Bool, "true", "cb_cm_pc" },
        { "usecm_cc", Cfgtype::Bool, "true", "cb_cm_cc" },
        { "usecm_ac", Cfgtype::Bool, "true", "cb_cm_ac" },
        { "usecm_acc", Cfgtype::Bool, "true", "cb_cm_acc" },
        { "usecm_pcc", Cfgtype::Bool, "true", "cb_cm_pcc" },
        { "usecm_pac", Cfgtype::Bool, "true", "cb_cm_pac" },
        { "usecm_pcac", Cfgtype::Bool, "true", "cb_cm_pcac" },
        { "usecm_add", Cfgtype::Bool, "true", "cb_cm_add" },
        { "usecm_del", Cfgtype::Bool, "false", "cb_cm_del" },
    };
    return keys;
}

int cfgKeyIndex(const QString& key)
{
    const QVector<Cfgkey>& keys = cfgKeys();
    for (int i = 0; i < keys.size(); ++i) {
        if (key == QLatin1String(keys[i].key))
            return i;
    }
    return -1;
}

QString checkSetting(const QString& key, const QString& value)
{
    const int index = cfgKeyIndex(key);
    if (index < 0) {
        QStringList known;
        for (const Cfgkey& row : cfgKeys())
            known << QLatin1String(row.key);
        return QStringLiteral("unknown setting \"%1\"; the settings are: %2")
            .arg(key, known.join(QLatin1String(", ")));
    }
    bool ok = true;
    QString accepted;
    switch (cfgKeys()[index].type) {
    case Cfgtype::Bool:
        ok = value == QLatin1String("true") || value == QLatin1String("false");
        accepted = QStringLiteral("true or false");
        break;
    case Cfgtype::Int:
        value.toInt(&ok, 10);
        accepted = QStringLiteral("a whole number");
        break;
    case Cfgtype::Savemode:
        ok = value == QLatin1String("1") || value == QLatin1String("0");
        accepted = QStringLiteral("1 (human readable) or 0 (no whitespace)");
        break;
    case Cfgtype::Text:
        break;
    }
    if (ok)
        return QString();
    return QStringLiteral("%1 takes %2, not \"%3\"").arg(key, accepted, value);
}
