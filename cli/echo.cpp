#include "cli/echo.h"

#include <cstdint>
#include <cstdio>

namespace velmora::cli {

namespace {

// The length of the well-formed UTF-8 sequence at text[pos], or 0.
std::size_t SequenceLength(std::string_view text, std::size_t pos, char32_t& c) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead < 0x80) {
        c = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0Fu;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07u;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (pos + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if (byte(i) < low || byte(i) > high)
            return 0;
        low = 0x80;
        high = 0xBF;
        c = (c << 6) | (byte(i) & 0x3Fu);
    }
    return length;
}

bool Hidden(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c >= 0x200E && c <= 0x200F) ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

std::string Escape(char32_t c) {
    switch (c) {
        case U'\n':
            return "\\n";
        case U'\t':
            return "\\t";
        case U'\r':
            return "\\r";
        default:
            break;
    }
    char code[12];
    if (c < 0x80)
        std::snprintf(code, sizeof code, "\\x%02x", static_cast<unsigned>(c));
    else
        std::snprintf(code, sizeof code, "\\u%04x", static_cast<unsigned>(c));
    return code;
}

}  // namespace

std::string Echoed(std::string_view text, std::size_t maxChars) {
    std::string shown;
    std::size_t chars = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        if (chars == maxChars)
            return shown + "...";
        char32_t c = 0;
        const std::size_t length = SequenceLength(text, pos, c);
        if (length == 0) {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02x",
                          static_cast<unsigned>(static_cast<unsigned char>(text[pos])));
            shown += code;
            ++pos;
        } else {
            if (Hidden(c))
                shown += Escape(c);
            else
                shown.append(text.substr(pos, length));
            pos += length;
        }
        ++chars;
    }
    return shown;
}

}  // namespace velmora::cli
