// Configuration reader: any file content gives 0 or one of its error codes.
#include "config/cfgstore.h"
#include "tests/fuzz/fuzzsupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    quietMessages();
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("zov_cfg.xml"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();
    Cfgstore& store = Cfgstore::instance();
    store.setPath(path);
    const int code = store.readcfg();
    if (code != 0 && code != -1015 && code != -1020 && code != -1055 && code != -1115)
        fuzzFailure("unexpected configuration code", QString::number(code));
    for (const Anchor& anchor : store.anchors())
        store.anchor(anchor.name);
    store.getInt(QStringLiteral("element_indent"));
    return 0;
}
