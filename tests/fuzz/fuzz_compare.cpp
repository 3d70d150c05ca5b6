// Whole comparison: two fuzzed documents (split at the first NUL byte) and fuzzed settings,
// compared and written to a buffer, which must hold well-formed XML. A headless run is done a
// second time the way the command line does it (tree 2 handed over to the result, nodes in the
// result's arena), which must write the same bytes.
#include "compare/comparedriver.h"
#include "config/cfgstore.h"
#include "model/zovtree.h"
#include "tests/fuzz/fuzzsupport.h"

#include <QBuffer>
#include <cstdint>
#include <memory>

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

    const bool guiRun = (flags >> 15) & 1;
    const auto run = [&](bool handOver, QByteArray* out) {
        Zovtree tree1;
        auto tree2 = std::make_unique<Zovtree>();
        if (!load(tree1, rest.left(cut)) || !load(*tree2, rest.mid(cut + 1)))
            return false;
        Zovtree result;
        result.setRoot(tree2->root());
        Worklist work;
        if (handOver) {
            work.consumeSecondTree = true;
            work.arena = &result.arena();
        }
        compareTrees(work, guiRun, tree1.root(), tree2->root(), result.root());
        result.shareStorage(*tree2);
        tree2.reset();
        QBuffer buffer(out);
        buffer.open(QIODevice::WriteOnly);
        result.write(&buffer);
        return true;
    };
    QByteArray copied;
    if (!run(false, &copied))
        return 0;
    requireWellFormed(copied);
    if (!guiRun) {
        QByteArray handedOver;
        if (!run(true, &handedOver) || handedOver != copied)
            __builtin_trap();
    }
    return 0;
}
