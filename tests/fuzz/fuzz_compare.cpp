// Whole comparison: two fuzzed documents (split at the first NUL byte) and fuzzed settings,
// compared and written to a buffer, which must hold well-formed XML.
#include "compare/comparedriver.h"
#include "config/cfgstore.h"
#include "model/zovtree.h"
#include "tests/fuzz/fuzzsupport.h"

#include <QBuffer>
#include <cstdint>

static bool load(Zovtree& tree, const QByteArray& bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return tree.load(&buffer).isEmpty() && tree.root();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    quietMessages();
    if (size < 3)
        return 0;
    const quint16 flags = quint16(data[0] | (data[1] << 8));
    const QByteArray rest(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2));
    const qsizetype cut = rest.indexOf('\0');
    if (cut < 0)
        return 0;

    Cfgstore& store = Cfgstore::instance();
    store.useBuiltins();
    const char* switches[] = { "use_hashmode", "normalize_spaces", "enable_shiftmode",
        "enable_contentmode", "ignore_attributes", "ignore_attribute_order", "cmp_attr_contents",
        "do_txtdiff", "txtdiff_casesensitive", "add_del_nodes_2_res", "usecm_cm", "usecm_del" };
    for (int i = 0; i < 12; ++i)
        store.setParameter(QString::fromLatin1(switches[i]),
            (flags >> i) & 1 ? QStringLiteral("true") : QStringLiteral("false"));
    store.setParameter(
        QStringLiteral("savemode"), (flags >> 12) & 1 ? QStringLiteral("1") : QStringLiteral("0"));
    if ((flags >> 13) & 1)
        store.insertAnchor(Anchor {
            QStringLiteral("item"), QStringLiteral("@id"), bool((flags >> 14) & 1), false });

    Zovtree tree1;
    Zovtree tree2;
    if (!load(tree1, rest.left(cut)) || !load(tree2, rest.mid(cut + 1)))
        return 0;
    Zovtree result;
    result.setRoot(tree2.root());
    Worklist work;
    compareTrees(work, (flags >> 15) & 1, tree1.root(), tree2.root(), result.root());
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    result.write(&buffer);
    requireWellFormed(out);
    return 0;
}
