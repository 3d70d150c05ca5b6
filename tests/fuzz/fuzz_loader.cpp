// Loader: any bytes must load or fail with an error text, never crash or hang.
#include "model/zovtree.h"

#include <QBuffer>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    Zovtree tree;
    const QString error = tree.load(&buffer);
    if (error.isEmpty() && tree.root())
        tree.root()->contentString(true, false, true);
    return 0;
}
