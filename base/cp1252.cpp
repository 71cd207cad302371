// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/cp1252.h"

#include <array>
#include <cstdint>

namespace duoskop {

namespace {

// Code points of the bytes 0x80..0x9F; 0 marks the five bytes Windows-1252 leaves unassigned.
// The bytes 0xA0..0xFF are the code points U+00A0..U+00FF.
constexpr std::array<char32_t, 32> high_controls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88..8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98..9F
};

void append_utf8(std::string& out, char32_t c)
{
    static constexpr unsigned lead[] = {0x00, 0xC0, 0xE0, 0xF0};
    const int tail = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    out += static_cast<char>(lead[tail] | (c >> (6 * tail)));
    for (int k = tail - 1; k >= 0; --k) out += static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F));
}

// The Windows-1252 byte of a code point, or -1 when it has none.
int cp1252_byte(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    for (std::size_t i = 0; i < high_controls.size(); ++i)
        if (high_controls[i] != 0 && high_controls[i] == c) return static_cast<int>(0x80 + i);
    return -1;
}

// Decodes one well-formed UTF-8 sequence at text[i]; its length, or 0 when it is not one.
std::size_t decode_utf8(std::string_view text, std::size_t i, char32_t& c)
{
    const auto b0 = static_cast<unsigned char>(text[i]);
    std::size_t len;
    if (b0 < 0x80) { c = b0; len = 1; }
    else if (b0 >= 0xC2 && b0 <= 0xDF) { c = b0 & 0x1F; len = 2; }
    else if (b0 >= 0xE0 && b0 <= 0xEF) { c = b0 & 0x0F; len = 3; }
    else if (b0 >= 0xF0 && b0 <= 0xF4) { c = b0 & 0x07; len = 4; }
    else return 0;
    if (i + len > text.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(text[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        c = (c << 6) | (b & 0x3F);
    }
    // Overlong forms, surrogates and values beyond U+10FFFF are not UTF-8.
    if ((len == 3 && c < 0x800) || (len == 4 && (c < 0x10000 || c > 0x10FFFF)) ||
        (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    return len;
}

// Walks `text` as UTF-8: visit(c, bytes) for each well-formed sequence, visit(no_char, byte) for
// each byte that begins none. A false from `visit` ends the walk.
constexpr char32_t no_char = 0xFFFFFFFF;

template <class Visit>
void each_utf8(std::string_view text, Visit visit)
{
    std::size_t i = 0;
    while (i < text.size()) {
        char32_t c = 0;
        std::size_t len = decode_utf8(text, i, c);
        if (len == 0) {
            c = no_char;
            len = 1;
        }
        if (!visit(c, text.substr(i, len))) return;
        i += len;
    }
}

}  // namespace

std::string cp1252_to_utf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (const char ch : text) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80) out += ch;
        else if (b >= 0xA0) append_utf8(out, b);
        else append_utf8(out, high_controls[b - 0x80] != 0 ? high_controls[b - 0x80] : 0xFFFD);
    }
    return out;
}

std::optional<std::string> utf8_to_cp1252(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    bool whole = true;
    each_utf8(text, [&](char32_t c, std::string_view) {
        const int byte = c == no_char ? -1 : cp1252_byte(c);
        if (byte < 0) return whole = false;
        out += static_cast<char>(byte);
        return true;
    });
    if (!whole) return std::nullopt;
    return out;
}

std::string cp1252_of_file_name(std::string_view name)
{
    std::string out;
    out.reserve(name.size());
    each_utf8(name, [&](char32_t c, std::string_view bytes) {
        if (c == no_char) {
            out.append(bytes);
        } else {
            const int byte = cp1252_byte(c);
            out += byte < 0 ? '?' : static_cast<char>(byte);
        }
        return true;
    });
    return out;
}

std::string valid_utf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    each_utf8(text, [&](char32_t c, std::string_view bytes) {
        if (c == no_char) append_utf8(out, 0xFFFD);
        else out.append(bytes);
        return true;
    });
    return out;
}

}  // namespace duoskop
