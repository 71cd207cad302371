// SPDX-License-Identifier: GPL-3.0-or-later
// duoskop-make-sample-drive DIR: writes the sample drive C (chart files, single meanings and
// picture collection) into DIR from the tables of sample_tables.h. The output depends on the
// tables only, so running it again gives the same bytes; data/drive_c is made this way.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/chart_file.h"
#include "base/cp1252.h"
#include "base/file_writer.h"
#include "data/gen/sample_tables.h"
#include "results/ktexte.h"
#include "results/pictures.h"

namespace fs = std::filesystem;
using namespace duoskop;

namespace {

std::string ansi(std::string_view utf8)
{
    auto text = utf8_to_cp1252(utf8);
    if (!text) throw std::runtime_error("no Windows-1252 form: " + std::string(utf8));
    return *text;
}

/// The DOS bytes of a Windows-1252 text; only the umlauts and sharp s of the collection exist.
std::string dos(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
            continue;
        }
        const auto it = std::find_if(std::begin(dos_umlauts), std::end(dos_umlauts),
                                     [byte](const DosUmlaut& u) { return u.ansi == byte; });
        if (it == std::end(dos_umlauts)) throw std::runtime_error("no DOS byte for a character");
        out += static_cast<char>(it->dos);
    }
    return out;
}

void write_file(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    if (const WriteResult written = write_file_whole(path, bytes); !written.ok())
        throw std::runtime_error("cannot write " + path.string() + ": " + cp1252_to_utf8(written.message()));
}

std::string code(int body) { return std::string(body_codes[static_cast<std::size_t>(body)]); }
std::string pair_key(int k, int l) { return code(k) + "/" + code(l); }

void write_charts(const fs::path& root)
{
    for (const sample::Person& p : sample::persons) {
        const chart_record record{ansi(p.name),  ansi(p.first_name),     ansi(p.date),
                                  ansi(p.time),  ansi(p.extra),          ansi(p.longitude),
                                  ansi(p.latitude)};
        if (!name_check(ansi(p.file_name), record))
            throw std::runtime_error("file name fails the name check: " + std::string(p.file_name));
        write_file(root / "astro" / "daten" / std::string(p.file_name), chart_record_bytes(record));
    }
}

std::string ktexte_record(const std::string& key, const std::string& text)
{
    if (key.size() > ktexte_key_capacity || text.size() > ktexte_text_capacity)
        throw std::runtime_error("single meaning too long: " + key);
    std::string record(ktexte_record_size, '\0');
    record[0] = static_cast<char>(key.size());
    record.replace(1, key.size(), key);
    record[1 + ktexte_key_capacity] = static_cast<char>(text.size());
    record.replace(2 + ktexte_key_capacity, text.size(), text);
    return record;
}

void write_ktexte(const fs::path& root)
{
    std::string bytes;
    for (int k = 0; k < compared_bodies; ++k) {
        for (int l = k; l < compared_bodies; ++l) {
            const std::string key = pair_key(k, l);
            const auto own = std::find_if(std::begin(sample::own_meanings), std::end(sample::own_meanings),
                                          [&](const sample::Meaning& m) { return m.key == key; });
            std::string text;
            if (own != std::end(sample::own_meanings)) {
                text = ansi(own->text);
            } else if (k == l) {
                text = ansi(sample::keywords[k]) + " in doppelter Betonung; ganz auf sich selbst bezogen.";
            } else {
                text = ansi(sample::keywords[k]) + " und " + ansi(sample::keywords[l]) + " wirken zusammen; " +
                       ansi(sample::pair_endings[(k + l) % 6]);
            }
            bytes += ktexte_record(key, text);
        }
    }
    write_file(root / "astro" / "KTEXTE.txt", bytes);
}

/// Breaks a text into lines of at most 72 characters at blanks.
std::vector<std::string> wrap(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find(' ', pos);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(pos, end - pos);
        if (!line.empty() && line.size() + 1 + word.size() > 72) {
            lines.push_back(line);
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
        pos = end + 1;
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

/// The lines of the picture text of axis `a` with the midpoint pair (k, l).
std::vector<std::string> picture_lines(const sample::Axis& a, int k, int l, bool long_text)
{
    std::string first = ansi(a.opening);
    if (k == l)
        first += " steht " + ansi(sample::keywords[k]) + " doppelt im Vordergrund. " + ansi(sample::body_sentences[k]);
    else
        first += " begegnen sich " + ansi(sample::keywords[k]) + " und " + ansi(sample::keywords[l]) + ". " +
                 ansi(sample::body_sentences[k]) + " " + ansi(sample::body_sentences[l]);
    const int h = k * 5 + l * 3 + a.second;
    std::vector<std::string> lines = wrap(first);
    if (!long_text) {
        lines.push_back("");  // a blank line between the paragraphs; the reader drops it
        for (const std::string& line : wrap(ansi(sample::closings[h % 8]))) lines.push_back(line);
        return lines;
    }
    // A long text fills all 14 lines.
    std::string more;
    for (int i = 0; i < 8; ++i) more += (i ? " " : "") + ansi(sample::closings[(h + i) % 8]);
    for (int i = 0; i < 8; ++i) more += " " + ansi(sample::body_sentences[(h + 3 * i) % 22]);
    for (const std::string& line : wrap(more)) lines.push_back(line);
    lines.resize(picture_line_count);
    return lines;
}

std::string picture_record(const std::vector<std::string>& lines)
{
    if (lines.size() > picture_line_count) throw std::runtime_error("picture text too long");
    std::string record(2, '\0');
    for (std::size_t i = 0; i < picture_line_count; ++i) {
        std::string line = i < lines.size() ? dos(lines[i]) : std::string();
        if (line.size() > picture_line_length) throw std::runtime_error("picture line too long");
        line.resize(picture_line_length, ' ');
        record += line;
    }
    return record;
}

void write_pictures(const fs::path& root)
{
    struct Forced {
        int axis, k, l;
    };
    // Pictures every reader of the sample drive should find, among them one long text.
    constexpr Forced forced[] = {{1, 9, 10}, {0, 0, 9}, {2, 7, 8}};
    constexpr Forced long_texts[] = {{1, 9, 10}, {0, 0, 9}};

    for (int ai = 0; ai < static_cast<int>(std::size(sample::axes)); ++ai) {
        const sample::Axis& a = sample::axes[ai];
        struct Picture {
            int k, l, order;
        };
        std::vector<Picture> pictures;
        for (int k = 0; k < compared_bodies; ++k)
            for (int l = k; l < compared_bodies; ++l) {
                const bool is_forced = std::any_of(std::begin(forced), std::end(forced), [&](const Forced& f) {
                    return f.axis == ai && f.k == k && f.l == l;
                });
                if (is_forced || (k * 31 + l * 17 + ai * 7) % 10 < a.tenths)
                    pictures.push_back({k, l, (k * 13 + l * 7 + ai) % 23});
            }
        // The slots are not in pair order, as in a collection that grew over time.
        std::stable_sort(pictures.begin(), pictures.end(),
                         [](const Picture& x, const Picture& y) { return x.order < y.order; });
        if (pictures.size() > picture_searched_slots) throw std::runtime_error("too many pictures");

        std::string index(picture_index_size, '\0');
        std::string texts;
        for (std::size_t slot = 0; slot < pictures.size(); ++slot) {
            const Picture& p = pictures[slot];
            const std::string key = pair_key(p.k, p.l);
            index[slot * picture_slot_size] = static_cast<char>(key.size());
            index.replace(slot * picture_slot_size + 1, key.size(), key);
            const bool long_text = std::any_of(std::begin(long_texts), std::end(long_texts), [&](const Forced& f) {
                return f.axis == ai && f.k == p.k && f.l == p.l;
            });
            texts += picture_record(picture_lines(a, p.k, p.l, long_text));
        }
        const std::string base = code(a.first) + code(a.second);
        write_file(root / "PBTX" / (base + ".vwt"), index);
        write_file(root / "PBTX" / (base + ".txt"), texts);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: duoskop-make-sample-drive DIR\n", stderr);
        return 2;
    }
    try {
        const fs::path root = argv[1];
        write_charts(root);
        write_ktexte(root);
        write_pictures(root);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "duoskop-make-sample-drive: %s\n", e.what());
        return 1;
    }
    return 0;
}
