// Text difference: any two texts and settings give a result that keeps both texts' characters.
#include "config/cfgstore.h"
#include "output/textdiff.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const bool caseSensitive = data[0] & 1;
    const int minLength = data[1] % 8;
    const QString all = QString::fromUtf8(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2));
    const qsizetype cut = all.indexOf(QChar(u'|'));
    const QString oldText = cut < 0 ? all : all.left(cut);
    const QString newText = cut < 0 ? QString() : all.mid(cut + 1);

    Cfgstore& store = Cfgstore::instance();
    store.setParameter(QStringLiteral("txt_minsubstr"), QString::number(minLength));
    store.setParameter(QStringLiteral("txtinsstart"), QString());
    store.setParameter(QStringLiteral("txtinsend"), QString());
    store.setParameter(QStringLiteral("txtdelstart"), QString());
    store.setParameter(QStringLiteral("txtdelend"), QString());
    // Without markers the merged text has exactly the characters of both texts' parts.
    const QString merged = diffText(oldText, newText, caseSensitive);
    if (merged.size() > oldText.size() + newText.size())
        std::abort();
    similarityScore(oldText, newText);
    return 0;
}
