// SPDX-License-Identifier: GPL-3.0-or-later
#include "textlib/exchange.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <map>
#include <optional>

#include "base/cp1252.h"
#include "textlib/textlib_texts.h"

namespace duoskop::textlib {

namespace {

/// The code point of each Windows-1252 byte; the unassigned bytes as the code point of their number.
const std::array<char32_t, 256>& code_points()
{
    static const std::array<char32_t, 256> table = [] {
        std::array<char32_t, 256> t{};
        for (int b = 0; b < 256; ++b) {
            const std::string u = cp1252_to_utf8(std::string(1, static_cast<char>(b)));
            char32_t c = static_cast<unsigned char>(u[0]);
            if (u.size() == 2) c = ((c & 0x1F) << 6) | (static_cast<unsigned char>(u[1]) & 0x3F);
            if (u.size() == 3)
                c = ((c & 0x0F) << 12) | ((static_cast<unsigned char>(u[1]) & 0x3F) << 6) |
                    (static_cast<unsigned char>(u[2]) & 0x3F);
            if (c == 0xFFFD) c = static_cast<char32_t>(b);
            t[static_cast<std::size_t>(b)] = c;
        }
        return t;
    }();
    return table;
}

/// What the exchange file writes for the bytes CR and LF inside a stored text: the pictures of
/// those control characters, which the files cannot hold, so that nothing else means them.
constexpr char32_t kCarriageReturnPicture = 0x240D;
constexpr char32_t kLineFeedPicture = 0x240A;

/// The Windows-1252 byte of a code point, or -1.
int byte_of(char32_t c)
{
    if (c == kCarriageReturnPicture) return '\r';
    if (c == kLineFeedPicture) return '\n';
    const auto& t = code_points();
    if (c < 0x80 || (c >= 0xA0 && c < 0x100)) return static_cast<int>(c);
    for (int b = 0x80; b < 0xA0; ++b)
        if (t[static_cast<std::size_t>(b)] == c) return b;
    return -1;
}

void append_utf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

/// Decodes one well-formed UTF-8 character at `text[pos]`; its code point and length, or length 0.
std::pair<char32_t, std::size_t> decode(std::string_view text, std::size_t pos)
{
    const auto b0 = static_cast<unsigned char>(text[pos]);
    if (b0 < 0x80) return {b0, 1};
    std::size_t n = 0;
    char32_t c = 0, min = 0;
    if ((b0 & 0xE0) == 0xC0) n = 2, c = b0 & 0x1F, min = 0x80;
    else if ((b0 & 0xF0) == 0xE0) n = 3, c = b0 & 0x0F, min = 0x800;
    else if ((b0 & 0xF8) == 0xF0) n = 4, c = b0 & 0x07, min = 0x10000;
    else return {0, 0};
    if (pos + n > text.size()) return {0, 0};
    for (std::size_t i = 1; i < n; ++i) {
        const auto b = static_cast<unsigned char>(text[pos + i]);
        if ((b & 0xC0) != 0x80) return {0, 0};
        c = (c << 6) | (b & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return {0, 0};
    return {c, n};
}

/// A line of the exchange file in Windows-1252, or the refusal of its first character that has none.
std::optional<std::string> to_cp1252(std::string_view line, std::size_t line_number, std::vector<Refusal>& refusals)
{
    std::string out;
    std::size_t column = 1;
    for (std::size_t pos = 0; pos < line.size(); ++column) {
        const auto [c, n] = decode(line, pos);
        if (n == 0) {
            refusals.push_back({line_number, column, std::string(texts::kTlNoUtf8)});
            return std::nullopt;
        }
        const int b = byte_of(c);
        if (b < 0) {
            refusals.push_back({line_number, column, std::string(texts::kTlNoCharacter)});
            return std::nullopt;
        }
        out += static_cast<char>(b);
        pos += n;
    }
    return out;
}

std::string number_text(std::size_t n)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, n);
    return std::string(buffer, result.ptr);
}

std::string trim_right(std::string_view text)
{
    const std::size_t end = text.find_last_not_of(' ');
    return std::string(end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1));
}

}  // namespace

std::string exchange_utf8(std::string_view cp1252)
{
    std::string out;
    out.reserve(cp1252.size() + 8);
    for (const char ch : cp1252) {
        if (ch == '\r')
            append_utf8(out, kCarriageReturnPicture);
        else if (ch == '\n')
            append_utf8(out, kLineFeedPicture);
        else
            append_utf8(out, code_points()[static_cast<unsigned char>(ch)]);
    }
    return out;
}

ExchangeFile parse_exchange(std::string_view bytes)
{
    ExchangeFile file;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    std::map<std::string, std::size_t> first_line;  // formula -> line of its header
    bool in_entry = false;
    bool entry_ok = false;  // the current entry is kept (its header and lines are sound so far)
    std::size_t line_number = 0;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t stop = bytes.find('\n', pos);
        if (stop == std::string_view::npos) stop = bytes.size();
        std::string_view raw = bytes.substr(pos, stop - pos);
        pos = stop + 1;
        ++line_number;
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);

        const bool header = !raw.empty() && raw.front() == '[' && trim_right(raw).back() == ']';
        if (!in_entry && !header) {
            if (trim_right(raw).empty() || raw.front() == '#') continue;
            file.refusals.push_back({line_number, 1, std::string(texts::kTlTextBeforeEntry)});
            continue;
        }
        const std::optional<std::string> line = to_cp1252(raw, line_number, file.refusals);
        if (header) {
            in_entry = true;
            entry_ok = false;
            if (!line) continue;
            const std::string inner = trim_right(*line);
            const auto formula = parse_formula(std::string_view(inner).substr(1, inner.size() - 2));
            if (!formula) {
                file.refusals.push_back({line_number, 1, std::string(texts::kTlBadFormula)});
                continue;
            }
            const auto [it, fresh] = first_line.emplace(formula->text(), line_number);
            if (!fresh) {
                file.refusals.push_back({line_number, 1, std::string(texts::kTlDuplicate) + number_text(it->second)});
                continue;
            }
            entry_ok = true;
            file.changes.push_back({*formula, {}, line_number});
            continue;
        }
        if (!line) {
            if (entry_ok) file.changes.pop_back();
            entry_ok = false;
            continue;
        }
        if (!entry_ok) continue;
        std::string text = trim_right(*line);
        // A text line that begins with '[' or a backslash stands with one more backslash in front.
        const bool escaped = text.starts_with('\\');
        if (escaped) file.escaped_lines.push_back(line_number);
        // An empty line stands for nothing; it still counts for the line numbers.
        file.changes.back().lines.push_back(text.substr(escaped ? 1 : 0));
    }
    return file;
}

std::string export_exchange(const Library& library)
{
    std::string out =
        "# Duoskop-Textbibliothek (UTF-8)\n"
        "# [XX/YY] Einzelbedeutung: eine Zeile, h\u00F6chstens 80 Zeichen\n"
        "# [XX/YY=AA/BB] Planetenbild-Text: h\u00F6chstens 14 Zeilen zu 73 Zeichen\n"
        "# Ein Eintrag ohne Textzeilen l\u00F6scht das Bild (leert die Einzelbedeutung).\n";
    for (const Formula& f : all_formulas(library)) {
        // A formula the file cannot name (a key holding '=') is no result entry's: importing
        // leaves it as it is.
        if (parse_formula(f.text()) != f) continue;
        out += "\n[" + exchange_utf8(f.text()) + "]\n";
        const auto lines = text_of(library, f);
        for (const std::string& line : lines.value_or(std::vector<std::string>{})) {
            if (line.starts_with('[') || line.starts_with('\\')) out += '\\';
            out += exchange_utf8(line) + "\n";
        }
    }
    return out;
}

ApplyResult import_exchange(Library& library, std::string_view bytes, const ApplyOptions& options)
{
    ExchangeFile file = parse_exchange(bytes);
    ApplyOptions check = options;
    check.check_only = true;
    ApplyResult checked = apply_changes(library, file.changes, check);
    // A refused column of a text line counts the escaping backslash the file has in front of it.
    for (Refusal& refusal : checked.refusals)
        if (refusal.column != 0 &&
            std::binary_search(file.escaped_lines.begin(), file.escaped_lines.end(), refusal.line))
            ++refusal.column;
    if (!file.refusals.empty() || !checked.refusals.empty()) {
        checked.refusals.insert(checked.refusals.end(), file.refusals.begin(), file.refusals.end());
        std::stable_sort(checked.refusals.begin(), checked.refusals.end(),
                         [](const Refusal& x, const Refusal& y) { return x.line < y.line; });
        checked.outcome = ApplyOutcome::refused;
        checked.replaced = checked.added = checked.deleted = 0;
        return checked;
    }
    return apply_changes(library, file.changes, options);
}

}  // namespace duoskop::textlib
