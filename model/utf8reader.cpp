#include "model/utf8reader.h"

#include "model/treebuilder.h"

#include <QIODevice>
#include <QVarLengthArray>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The bytes of a device, addressed by their position in it. Bytes before the released
// position may be dropped when more is read, so a token's bytes stay in one piece.
class Bytesource {
public:
    explicit Bytesource(QIODevice* device)
        : m_device(device)
    {
    }

    // The byte at pos, or -1 past the end of the data (also after a read error).
    int at(qint64 pos)
    {
        const qint64 k = pos - m_base;
        if (k < m_size)
            return uchar(m_buffer[size_t(k)]);
        return more(pos);
    }
    // The bytes from pos on, as far as at() has seen them; valid until the next at().
    const char* data(qint64 pos) const { return m_buffer.data() + (pos - m_base); }
    void release(qint64 pos) { m_keep = pos; }
    bool failed() const { return m_failed; }
    // How many bytes from pos on, among those read already, the table gives a kind (non-zero);
    // kinds gets those kinds or-ed in.
    qint64 run(qint64 pos, const uchar* table, uchar& kinds) const
    {
        const auto* const begin = reinterpret_cast<const uchar*>(m_buffer.data());
        const uchar* q = begin + (pos - m_base);
        const uchar* const from = q;
        const uchar* const end = begin + m_size;
        uchar seen = 0;
        for (; q < end && table[*q]; ++q)
            seen |= table[*q];
        kinds |= seen;
        return q - from;
    }

private:
    // Reads of this size cost no more time than larger ones, and less memory per parse.
    static constexpr qint64 chunk = 1 << 18;

    int more(qint64 pos)
    {
        while (pos - m_base >= m_size) {
            if (m_atEnd)
                return -1;
            const qint64 drop = m_keep - m_base;
            if (drop > 0) {
                std::memmove(m_buffer.data(), m_buffer.data() + drop, size_t(m_size - drop));
                m_size -= drop;
                m_base = m_keep;
            }
            // A document of known size gets a buffer of its own size, not a whole chunk. A size
            // of 0 may be unknown (files under /proc), so such a device is read as a stream.
            const qint64 known = m_device->isSequential() ? 0 : m_device->size();
            const qint64 left = known - m_device->pos();
            if (known > 0 && left <= 0) {
                m_atEnd = true;
                return -1;
            }
            qint64 want = known > 0 ? qMin(left, chunk) : chunk;
            // Reading into the room that is left keeps the buffer at one chunk; it grows only
            // when an unfinished token leaves less than half a chunk of room.
            const qint64 room = qint64(m_buffer.size()) - m_size;
            if (room >= want / 2 && room > 0)
                want = qMin(want, room);
            else
                m_buffer.resize(size_t(qMax(qint64(m_buffer.size()) * 2, m_size + want)));
            const qint64 got = m_device->read(m_buffer.data() + m_size, want);
            if (got <= 0) {
                m_failed = got < 0;
                m_atEnd = true;
                return -1;
            }
            m_size += got;
        }
        return uchar(m_buffer[size_t(pos - m_base)]);
    }

    QIODevice* const m_device;
    std::vector<char> m_buffer;
    qint64 m_base = 0;
    qint64 m_size = 0;
    qint64 m_keep = 0;
    bool m_atEnd = false;
    bool m_failed = false;
};

// Byte kinds for the runs of plain bytes in text and attribute values: other characters,
// references, markup, brackets, quotes and line ends need a closer look.
enum Bytekind : uchar { Special = 0, Ordinary = 1, Blank = 2 };

struct Bytetable {
    explicit constexpr Bytetable(bool inText)
    {
        for (int c = 0x20; c < 0x7F; ++c)
            kinds[c] = Ordinary;
        kinds[int('<')] = kinds[int('&')] = Special;
        if (inText) {
            kinds[int(']')] = Special;
            kinds[int(' ')] = kinds[int('\t')] = kinds[int('\n')] = Blank;
        } else {
            kinds[int('"')] = kinds[int('\'')] = Special;
        }
    }
    uchar kinds[256] = {};
};

constexpr Bytetable textBytes(true);
constexpr Bytetable valueBytes(false);

bool isSpace(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool isNameStart(int c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':';
}

bool isNameChar(int c) { return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }

bool isXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF)
        || (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// Bytes checked as UTF-8 turned into UTF-16; a byte-order mark inside a text stays.
class Widebuffer {
public:
    QStringView convert(const char* bytes, qsizetype size)
    {
        m_units.resize(size);
        char16_t* out = m_units.data();
        const auto* in = reinterpret_cast<const uchar*>(bytes);
        const uchar* const end = in + size;
        while (in < end) {
            const uchar b = *in;
            if (b < 0x80) {
                *out++ = b;
                ++in;
            } else if (b < 0xE0) {
                *out++ = char16_t(((b & 0x1F) << 6) | (in[1] & 0x3F));
                in += 2;
            } else if (b < 0xF0) {
                *out++ = char16_t(((b & 0x0F) << 12) | ((in[1] & 0x3F) << 6) | (in[2] & 0x3F));
                in += 3;
            } else {
                const char32_t c = ((b & 0x07) << 18) | ((in[1] & 0x3F) << 12)
                    | ((in[2] & 0x3F) << 6) | (in[3] & 0x3F);
                *out++ = char16_t(0xD7C0 + (c >> 10));
                *out++ = char16_t(0xDC00 | (c & 0x3FF));
                in += 4;
            }
        }
        return QStringView(m_units.data(), out - m_units.data());
    }

private:
    QVarLengthArray<char16_t, 256> m_units;
};

class Utf8parser {
public:
    Utf8parser(QIODevice* device, Treebuilder& builder)
        : m_in(device)
        , m_builder(builder)
    {
    }

    bool run(QString& encoding);

private:
    enum Place { Outside, Inside };

    int at(qint64 pos) { return m_in.at(pos); }
    bool startsWith(qint64 pos, const char* literal);
    qint64 skipSpace(qint64 pos);
    // End of the name at pos, or -1 when there is none this reader accepts.
    qint64 nameEnd(qint64 pos);
    // Length of the character at pos when it may appear in character data, else 0.
    int charLength(qint64 pos);
    // Position after the reference at pos ('&'), its character appended to m_scratch; -1 when
    // the reference is not one this reader resolves.
    qint64 reference(qint64 pos);
    bool declaration(QString& encoding);
    bool pseudoAttribute(qint64& pos, const char* name, std::string& value);
    bool markup(Place place);
    bool text(Place place);
    bool startTag();
    bool endTag();
    // Appends name to the open names with its length in base-128 digits, lowest first; only
    // the lowest digit has its top bit clear, so the length reads back from the end.
    void pushOpenName(const std::string& name);
    // Where the innermost open name starts in m_openNames; its length goes to length.
    size_t innermostOpenName(size_t* length) const;
    bool comment();
    bool cdata();
    bool processingInstruction();
    // A document type declaration without an internal subset: nothing of it goes into the tree.
    bool doctype();
    // Position after the quoted literal at pos; -1 when there is none or when public is set and
    // it holds a character a public identifier may not.
    qint64 literalEnd(qint64 pos, bool publicId);
    // Scans from pos to the terminator (not part of the data), checking every character; returns
    // where the terminator starts, or -1 when the data ends early or holds a character not
    // allowed. Line ends with carriage returns become line feeds in m_scratch, and plain tells
    // whether there were any (when there were none, the data is the bytes as they stand).
    qint64 scanTo(qint64 pos, const char* terminator, bool& plain);
    // Appends replacement for the line end at pos (a carriage return, maybe with a line feed)
    // to m_scratch; returns the position after it.
    qint64 lineEnd(qint64 pos, qint64 start, bool& plain, char replacement);
    QStringView dataView(qint64 start, qint64 end, bool plain);

    Bytesource m_in;
    Treebuilder& m_builder;
    qint64 m_pos = 0;
    std::string m_scratch;
    // The names of the open elements, innermost last, each followed by its length (see
    // pushOpenName): a level costs its name and a byte or two, not an offset of its own.
    std::string m_openNames;
    size_t m_openCount = 0;
    std::string m_attributeNames;
    Widebuffer m_name;
    Widebuffer m_value;
    bool m_doctypeSeen = false;
};

bool Utf8parser::startsWith(qint64 pos, const char* literal)
{
    for (; *literal; ++literal, ++pos) {
        if (at(pos) != uchar(*literal))
            return false;
    }
    return true;
}

qint64 Utf8parser::skipSpace(qint64 pos)
{
    while (isSpace(at(pos)))
        ++pos;
    return pos;
}

qint64 Utf8parser::nameEnd(qint64 pos)
{
    if (!isNameStart(at(pos)) || at(pos) == ':')
        return -1;
    int colons = 0;
    qint64 end = pos + 1;
    for (int c = at(end); isNameChar(c); c = at(++end)) {
        // The reader takes qualified names: at most one colon, and each part a name of its own.
        if (c == ':' && (++colons > 1 || !isNameStart(at(end + 1)) || at(end + 1) == ':'))
            return -1;
    }
    // QXmlStreamReader refuses longer names, each with an error of its own; it reads them.
    constexpr qint64 longestName = 4096;
    return end - pos <= longestName ? end : -1;
}

int Utf8parser::charLength(qint64 pos)
{
    const int b = at(pos);
    if (b < 0x80)
        return b >= 0x20 || b == '\t' || b == '\n' ? 1 : 0;
    int length = 0;
    char32_t c = 0;
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
        c = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        c = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        c = b & 0x07;
    } else {
        return 0;
    }
    for (int k = 1; k < length; ++k) {
        const int next = at(pos + k);
        if (next < 0x80 || next > 0xBF)
            return 0;
        c = (c << 6) | char32_t(next & 0x3F);
    }
    const char32_t least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    return c >= least && isXmlChar(c) ? length : 0;
}

qint64 Utf8parser::reference(qint64 pos)
{
    qint64 p = pos + 1;
    if (at(p) == '#') {
        ++p;
        const bool hex = at(p) == 'x';
        if (hex)
            ++p;
        char32_t value = 0;
        int digits = 0;
        for (int c = at(p); c != ';'; c = at(++p)) {
            int digit = -1;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (hex && c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (hex && c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            if (digit < 0 || ++digits > 8)
                return -1;
            value = value * (hex ? 16 : 10) + char32_t(digit);
        }
        if (digits == 0 || !isXmlChar(value))
            return -1;
        appendUtf8(m_scratch, value);
        return p + 1;
    }
    static const struct {
        const char* name;
        char c;
    } predefined[]
        = { { "lt;", '<' }, { "gt;", '>' }, { "amp;", '&' }, { "apos;", '\'' }, { "quot;", '"' } };
    for (const auto& entity : predefined) {
        if (startsWith(p, entity.name)) {
            m_scratch += entity.c;
            return p + qint64(std::strlen(entity.name));
        }
    }
    return -1;
}

bool Utf8parser::pseudoAttribute(qint64& pos, const char* name, std::string& value)
{
    const qint64 start = skipSpace(pos);
    if (start == pos || !startsWith(start, name))
        return false;
    qint64 p = skipSpace(start + qint64(std::strlen(name)));
    if (at(p) != '=')
        return false;
    p = skipSpace(p + 1);
    const int quote = at(p);
    if (quote != '"' && quote != '\'')
        return false;
    value.clear();
    for (int c = at(++p); c != quote; c = at(++p)) {
        if (!isNameChar(c))
            return false;
        value += char(c);
    }
    pos = p + 1;
    return true;
}

bool Utf8parser::declaration(QString& encoding)
{
    if (!startsWith(m_pos, "<?xml") || !isSpace(at(m_pos + 5)))
        return true;
    qint64 p = m_pos + 5;
    std::string value;
    if (!pseudoAttribute(p, "version", value) || value != "1.0")
        return false;
    if (pseudoAttribute(p, "encoding", value)) {
        if (qstricmp(value.c_str(), "utf-8") != 0)
            return false;
        encoding = QString::fromLatin1(value.data(), qsizetype(value.size()));
    }
    if (pseudoAttribute(p, "standalone", value) && value != "yes" && value != "no")
        return false;
    p = skipSpace(p);
    if (!startsWith(p, "?>"))
        return false;
    m_pos = p + 2;
    return true;
}

qint64 Utf8parser::lineEnd(qint64 pos, qint64 start, bool& plain, char replacement)
{
    if (plain)
        m_scratch.assign(m_in.data(start), size_t(pos - start));
    plain = false;
    m_scratch += replacement;
    return at(pos + 1) == '\n' ? pos + 2 : pos + 1;
}

QStringView Utf8parser::dataView(qint64 start, qint64 end, bool plain)
{
    return plain ? m_value.convert(m_in.data(start), end - start)
                 : m_value.convert(m_scratch.data(), qsizetype(m_scratch.size()));
}

qint64 Utf8parser::scanTo(qint64 pos, const char* terminator, bool& plain)
{
    const qint64 start = pos;
    plain = true;
    m_scratch.clear();
    for (;;) {
        if (startsWith(pos, terminator))
            return pos;
        if (at(pos) == '\r') {
            pos = lineEnd(pos, start, plain, '\n');
            continue;
        }
        const int length = charLength(pos);
        if (length == 0)
            return -1;
        if (!plain)
            m_scratch.append(m_in.data(pos), size_t(length));
        pos += length;
    }
}

bool Utf8parser::comment()
{
    const qint64 start = m_pos + 4;
    bool plain = true;
    const qint64 end = scanTo(start, "--", plain);
    if (end < 0 || at(end + 2) != '>')
        return false;
    m_builder.comment(dataView(start, end, plain));
    m_pos = end + 3;
    return true;
}

bool Utf8parser::cdata()
{
    const qint64 start = m_pos + 9;
    bool plain = true;
    const qint64 end = scanTo(start, "]]>", plain);
    if (end < 0)
        return false;
    m_builder.characters(dataView(start, end, plain), Cdata);
    m_pos = end + 3;
    return true;
}

bool Utf8parser::processingInstruction()
{
    const qint64 targetStart = m_pos + 2;
    const qint64 targetEnd = nameEnd(targetStart);
    if (targetEnd < 0)
        return false;
    // The reader wants a target without a colon.
    for (qint64 p = targetStart; p < targetEnd; ++p) {
        if (at(p) == ':')
            return false;
    }
    // Only the declaration may use this target, and only at the very start.
    if (targetEnd - targetStart == 3 && (at(targetStart) | 0x20) == 'x'
        && (at(targetStart + 1) | 0x20) == 'm' && (at(targetStart + 2) | 0x20) == 'l')
        return false;
    // Without data (no blank after the target) the data is null, as the stream reader has it.
    const bool noData = startsWith(targetEnd, "?>");
    qint64 dataStart = targetEnd;
    if (!noData) {
        dataStart = skipSpace(targetEnd);
        if (dataStart == targetEnd)
            return false;
    }
    bool plain = true;
    const qint64 end = scanTo(dataStart, "?>", plain);
    if (end < 0)
        return false;
    const QStringView target = m_name.convert(m_in.data(targetStart), targetEnd - targetStart);
    m_builder.processingInstruction(
        target, noData ? QStringView() : dataView(dataStart, end, plain));
    m_pos = end + 2;
    return true;
}

qint64 Utf8parser::literalEnd(qint64 pos, bool publicId)
{
    const int quote = at(pos);
    if (quote != '"' && quote != '\'')
        return -1;
    static const char publicChars[] = " \n\r-'()+,./:=?;!*#@$_%";
    for (qint64 p = pos + 1;;) {
        const int c = at(p);
        if (c == quote)
            return p + 1;
        if (publicId) {
            const bool alphanumeric
                = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
            if (c <= 0 || (!alphanumeric && !std::strchr(publicChars, c)))
                return -1;
            ++p;
            continue;
        }
        const int length = charLength(p);
        if (length == 0 && c != '\r')
            return -1;
        p += qMax(length, 1);
    }
}

bool Utf8parser::doctype()
{
    if (m_doctypeSeen || m_builder.hasRoot() || !startsWith(m_pos, "<!DOCTYPE"))
        return false;
    m_doctypeSeen = true;
    qint64 p = skipSpace(m_pos + 9);
    if (p == m_pos + 9)
        return false;
    p = nameEnd(p);
    if (p < 0)
        return false;
    qint64 next = skipSpace(p);
    if (next > p && (startsWith(next, "SYSTEM") || startsWith(next, "PUBLIC"))) {
        const bool isPublic = at(next) == 'P';
        p = next + 6;
        for (int literal = isPublic ? 2 : 1; literal > 0; --literal) {
            next = skipSpace(p);
            if (next == p)
                return false;
            p = literalEnd(next, isPublic && literal == 2);
            if (p < 0)
                return false;
        }
        next = skipSpace(p);
    }
    if (at(next) != '>')
        return false;
    m_pos = next + 1;
    return true;
}

bool Utf8parser::startTag()
{
    const qint64 nameStart = m_pos + 1;
    const qint64 nameStop = nameEnd(nameStart);
    if (nameStop < 0)
        return false;
    qint64 p = nameStop;
    m_attributeNames.clear();
    int attributes = 0;
    bool empty = false;
    for (;;) {
        const qint64 next = skipSpace(p);
        const int c = at(next);
        if (c == '>') {
            p = next + 1;
            break;
        }
        if (c == '/') {
            if (at(next + 1) != '>')
                return false;
            p = next + 2;
            empty = true;
            break;
        }
        // Past this many attributes, finding a repeated name would cost too much here.
        if (next == p || ++attributes > 64)
            return false;
        const qint64 attributeEnd = nameEnd(next);
        if (attributeEnd < 0)
            return false;
        qint64 v = skipSpace(attributeEnd);
        if (at(v) != '=')
            return false;
        v = skipSpace(v + 1);
        const int quote = at(v);
        if (quote != '"' && quote != '\'')
            return false;
        const qint64 valueStart = ++v;
        bool plain = true;
        m_scratch.clear();
        for (int d = at(v); d != quote; d = at(v)) {
            uchar kinds = 0;
            if (const qint64 plainBytes = m_in.run(v, valueBytes.kinds, kinds)) {
                if (!plain)
                    m_scratch.append(m_in.data(v), size_t(plainBytes));
                v += plainBytes;
                continue;
            }
            if (d == '<')
                return false;
            if (d == '\r') {
                v = lineEnd(v, valueStart, plain, ' ');
                continue;
            }
            if (d == '&' || d == '\t' || d == '\n') {
                if (plain)
                    m_scratch.assign(m_in.data(valueStart), size_t(v - valueStart));
                plain = false;
                if (d == '&') {
                    v = reference(v);
                    if (v < 0)
                        return false;
                } else {
                    m_scratch += ' ';
                    ++v;
                }
                continue;
            }
            const int length = charLength(v);
            if (length == 0)
                return false;
            if (!plain)
                m_scratch.append(m_in.data(v), size_t(length));
            v += length;
        }
        // A repeated name is an error that the stream reader words.
        const std::string name(m_in.data(next), size_t(attributeEnd - next));
        for (size_t k = 0; k < m_attributeNames.size();) {
            const size_t stop = m_attributeNames.find('\0', k);
            if (m_attributeNames.compare(k, stop - k, name) == 0)
                return false;
            k = stop + 1;
        }
        m_attributeNames += name;
        m_attributeNames += '\0';
        const QStringView nameView = m_name.convert(name.data(), qsizetype(name.size()));
        m_builder.addAttribute(nameView, dataView(valueStart, v, plain));
        p = v + 1;
    }
    const std::string name(m_in.data(nameStart), size_t(nameStop - nameStart));
    if (!m_builder.startElement(m_name.convert(name.data(), qsizetype(name.size()))).isEmpty())
        return false;
    if (empty) {
        m_builder.endElement();
    } else {
        pushOpenName(name);
    }
    m_pos = p;
    return true;
}

void Utf8parser::pushOpenName(const std::string& name)
{
    m_openNames += name;
    size_t length = name.size();
    m_openNames += char(length & 0x7f);
    for (length >>= 7; length > 0; length >>= 7)
        m_openNames += char(0x80 | (length & 0x7f));
    ++m_openCount;
}

size_t Utf8parser::innermostOpenName(size_t* length) const
{
    size_t end = m_openNames.size();
    size_t value = 0;
    while (uchar(m_openNames[end - 1]) & 0x80)
        value = (value << 7) | (uchar(m_openNames[--end]) & 0x7f);
    value = (value << 7) | uchar(m_openNames[--end]);
    *length = value;
    return end - value;
}

bool Utf8parser::endTag()
{
    const qint64 nameStart = m_pos + 2;
    const qint64 nameStop = nameEnd(nameStart);
    if (nameStop < 0 || m_openCount == 0)
        return false;
    size_t length = 0;
    const size_t open = innermostOpenName(&length);
    if (size_t(nameStop - nameStart) != length
        || std::memcmp(m_openNames.data() + open, m_in.data(nameStart), length) != 0)
        return false;
    const qint64 end = skipSpace(nameStop);
    if (at(end) != '>')
        return false;
    m_openNames.resize(open);
    --m_openCount;
    m_builder.endElement();
    m_pos = end + 1;
    return true;
}

bool Utf8parser::text(Place place)
{
    const qint64 start = m_pos;
    qint64 p = start;
    bool plain = true;
    bool whitespace = true;
    m_scratch.clear();
    for (int c = at(p); c >= 0 && c != '<'; c = at(p)) {
        uchar kinds = 0;
        if (const qint64 plainBytes = m_in.run(p, textBytes.kinds, kinds)) {
            if (!plain)
                m_scratch.append(m_in.data(p), size_t(plainBytes));
            whitespace = whitespace && !(kinds & Ordinary);
            p += plainBytes;
            continue;
        }
        if (c == '&') {
            if (place == Outside)
                return false;
            if (plain)
                m_scratch.assign(m_in.data(start), size_t(p - start));
            plain = false;
            whitespace = false;
            p = reference(p);
            if (p < 0)
                return false;
            continue;
        }
        if (c == ']' && at(p + 1) == ']' && at(p + 2) == '>')
            return false;
        if (c == '\r') {
            p = lineEnd(p, start, plain, '\n');
            continue;
        }
        const int length = charLength(p);
        if (length == 0)
            return false;
        whitespace = whitespace && isSpace(c);
        if (!plain)
            m_scratch.append(m_in.data(p), size_t(length));
        p += length;
    }
    m_pos = p;
    if (whitespace)
        return true;
    if (place == Outside)
        return false;
    m_builder.characters(dataView(start, p, plain), Text);
    return true;
}

bool Utf8parser::markup(Place place)
{
    const int next = at(m_pos + 1);
    if (next == '/')
        return place == Inside && endTag();
    if (next == '?')
        return processingInstruction();
    if (next == '!') {
        if (startsWith(m_pos, "<!--"))
            return comment();
        if (place == Outside && at(m_pos + 2) == 'D')
            return doctype();
        return place == Inside && startsWith(m_pos, "<![CDATA[") && cdata();
    }
    // A second document element is an error.
    if (place == Outside && m_builder.hasRoot())
        return false;
    return startTag();
}

bool Utf8parser::run(QString& encoding)
{
    if (startsWith(0, "\xEF\xBB\xBF"))
        m_pos = 3;
    m_in.release(m_pos);
    if (!declaration(encoding))
        return false;
    for (;;) {
        m_in.release(m_pos);
        const Place place = m_openCount == 0 ? Outside : Inside;
        const int c = at(m_pos);
        if (c < 0)
            return place == Outside && m_builder.hasRoot() && !m_in.failed();
        if (!(c == '<' ? markup(place) : text(place)))
            return false;
    }
}

} // namespace

bool readUtf8Document(QIODevice* device, Treebuilder& builder, QString& encoding)
{
    Utf8parser parser(device, builder);
    return parser.run(encoding);
}
