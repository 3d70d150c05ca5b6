#include "compare/passsettings.h"

#include "config/cfgstore.h"

Passsettings Passsettings::fromConfig()
{
    const Cfgstore& store = Cfgstore::instance();
    Passsettings settings;
    settings.keys = Keyflags::fromConfig();
    settings.hashMode = store.getBool(QStringLiteral("use_hashmode"));
    settings.contentMode = store.getBool(QStringLiteral("enable_contentmode"));
    settings.shiftMode = store.getBool(QStringLiteral("enable_shiftmode"));
    settings.markAttributes = store.getBool(QStringLiteral("cmp_attr_contents"));
    settings.textDiff = store.getBool(QStringLiteral("do_txtdiff"));
    settings.textDiffCaseSensitive = store.getBool(QStringLiteral("txtdiff_casesensitive"));
    return settings;
}
