// Loader: any bytes load or fail with an error text, never crash or hang; the loader's own UTF-8
// reader and the stream reader (which the parse log uses) give the same error and the same nodes,
// and a loaded document is written back as well-formed XML, the same from both readers' trees.
#include "config/cfgstore.h"
#include "model/zovtree.h"
#include "tests/fuzz/fuzzsupport.h"

#include <QBuffer>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    quietMessages();
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer input(&bytes);
    input.open(QIODevice::ReadOnly);
    Zovtree tree;
    const QString error = tree.load(&input);

    QBuffer again(&bytes);
    again.open(QIODevice::ReadOnly);
    QByteArray logText;
    QBuffer log(&logText);
    log.open(QIODevice::WriteOnly);
    Zovtree logged;
    const QString loggedError = logged.loadWithLog(&again, &log);
    if (loggedError != error)
        fuzzFailure(
            "the parse log changes the outcome", error + QLatin1String(" / ") + loggedError);

    const auto nodes = [](const Zovtree& loaded) {
        return loaded.root() ? loaded.root()->contentString(false, false, false) : QString();
    };
    const QString built = nodes(tree);
    if (built != nodes(logged) || tree.encoding() != logged.encoding())
        fuzzFailure("the two readers build different nodes", built);

    if (!error.isEmpty() || !tree.root())
        return 0;
    tree.root()->contentString(true, false, true);
    Cfgstore::instance().useBuiltins();
    const auto written = [](Zovtree& loaded) {
        QByteArray out;
        QBuffer output(&out);
        output.open(QIODevice::WriteOnly);
        loaded.write(&output);
        return out;
    };
    const QByteArray out = written(tree);
    requireWellFormed(out);
    // What the node texts do not show (an instruction without data or with empty data) shows
    // in the written document.
    if (out != written(logged))
        fuzzFailure("the two readers' trees are written differently", QString::fromUtf8(out));
    return 0;
}
