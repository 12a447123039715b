#include "scenario/codepage.h"

#include <array>
#include <cstdint>

namespace velmora {

namespace {

// Bytes 80 to 9F; the rest of the code page is Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t CharOfByte(unsigned char b) {
    return b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80u] : char32_t{b};
}

void AppendUtf8(std::string& out, char32_t c) {
    auto put = [&out](std::uint32_t v) { out.push_back(static_cast<char>(v)); };
    const auto v = static_cast<std::uint32_t>(c);
    if (v < 0x80) {
        put(v);
    } else if (v < 0x800) {
        put(0xC0 | (v >> 6));
        put(0x80 | (v & 0x3F));
    } else {
        put(0xE0 | (v >> 12));
        put(0x80 | ((v >> 6) & 0x3F));
        put(0x80 | (v & 0x3F));
    }
}

constexpr char kUnmappable = '?';

char ByteOfChar(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c)
            return static_cast<char>(0x80 + i);
    }
    return kUnmappable;
}

// Reads one character at pos and advances pos. A malformed sequence yields U+FFFD and
// advances past its longest well-formed prefix (at least one byte), so that each broken
// sequence counts as one character.
char32_t NextChar(std::string_view s, std::size_t& pos) {
    constexpr char32_t kBroken = 0xFFFD;
    const auto lead = static_cast<unsigned char>(s[pos++]);
    if (lead < 0x80)
        return lead;
    std::size_t more = 0;
    char32_t c = 0;
    unsigned char low = 0x80;  // allowed range of the first continuation byte
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        more = 1;
        c = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        more = 2;
        c = lead & 0x0Fu;
        if (lead == 0xE0)
            low = 0xA0;  // no overlong forms
        if (lead == 0xED)
            high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        more = 3;
        c = lead & 0x07u;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;  // nothing above U+10FFFF
    } else {
        return kBroken;
    }
    for (std::size_t i = 0; i < more; ++i) {
        if (pos >= s.size())
            return kBroken;
        const auto b = static_cast<unsigned char>(s[pos]);
        if (b < low || b > high)
            return kBroken;
        low = 0x80;
        high = 0xBF;
        c = (c << 6) | (b & 0x3Fu);
        ++pos;
    }
    return c;
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char b : bytes) {
        AppendUtf8(out, CharOfByte(static_cast<unsigned char>(b)));
    }
    return out;
}

bool Cp1252Holds(char32_t c) {
    return c == U'?' || ByteOfChar(c) != kUnmappable;
}

std::optional<char32_t> FirstUnstorable(std::string_view utf8) {
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        const char32_t c = NextChar(utf8, pos);
        // A broken sequence reads as U+FFFD; a real one takes three bytes.
        if (c == 0xFFFD && pos - start != 3)
            return kMalformedUtf8;
        if (!Cp1252Holds(c))
            return c;
    }
    return std::nullopt;
}

std::string Utf8ToCp1252(std::string_view utf8, std::size_t maxChars) {
    std::string out;
    std::size_t pos = 0;
    while (pos < utf8.size() && out.size() < maxChars) {
        out.push_back(ByteOfChar(NextChar(utf8, pos)));
    }
    return out;
}

}  // namespace velmora
