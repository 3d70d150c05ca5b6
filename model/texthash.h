#pragma once

#include <QStringView>

#include <cstdint>
#include <cstring>

// A 64-bit hash of a text's UTF-16 units in plain integer code, eight units per step. The
// toolkit's string hash takes the vector units' path, which on some hosts costs several times
// as much between ordinary code as it does in a tight loop; texts are hashed millions of times
// per run, while they are built and while they are compared.
inline size_t textHash(QStringView text, size_t seed = 0)
{
    constexpr uint64_t k0 = 0xa0761d6478bd642fULL;
    constexpr uint64_t k1 = 0xe7037ed1a0b428dbULL;
    const auto mum = [](uint64_t a, uint64_t b) {
        const unsigned __int128 r = static_cast<unsigned __int128>(a) * b;
        return uint64_t(r) ^ uint64_t(r >> 64);
    };
    const char* p = reinterpret_cast<const char*>(text.utf16());
    const uint64_t bytes = uint64_t(text.size()) * 2;
    uint64_t left = bytes;
    uint64_t h = seed ^ k0;
    for (; left > 16; left -= 16, p += 16) {
        uint64_t a;
        uint64_t b;
        std::memcpy(&a, p, 8);
        std::memcpy(&b, p + 8, 8);
        h = mum(a ^ k1, b ^ h);
    }
    uint64_t a = 0;
    uint64_t b = 0;
    if (left > 8) {
        std::memcpy(&a, p, 8);
        std::memcpy(&b, p + 8, left - 8);
    } else if (left) {
        std::memcpy(&a, p, left);
    }
    h = mum(a ^ k1, b ^ h);
    return size_t(mum(h ^ k0, bytes ^ k1));
}

// A key for the toolkit's hash containers that hashes its text with textHash.
template <typename Text> struct Textkey {
    Text text;
    friend bool operator==(const Textkey& a, const Textkey& b) { return a.text == b.text; }
    friend size_t qHash(const Textkey& key, size_t seed) { return textHash(key.text, seed); }
};
