// SPDX-License-Identifier: GPL-3.0-or-later
#include "textlib/library.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <set>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

#include "astro/bodies.h"
#include "base/cp1252.h"
#include "base/file_writer.h"
#include "base/io_error.h"
#include "textlib/textlib_texts.h"
#include "results/pictures.h"

namespace duoskop::textlib {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kManifest = "Dateien.txt";

/// Reads a whole file: 0 and its bytes, ENOENT when it does not exist, else the errno value.
int read_whole(const fs::path& path, std::string& bytes)
{
    bytes.clear();
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file) return errno;
    struct stat info{};
    if (::fstat(file.get(), &info) == 0 && info.st_size > 0) bytes.reserve(static_cast<std::size_t>(info.st_size) + 1);
    for (;;) {
        // Read into the string's own spare room: one copy from the kernel, none after.
        const std::size_t at = bytes.size();
        bytes.resize(std::max<std::size_t>(bytes.capacity(), at + 4096));
        const ssize_t got = ::read(file.get(), bytes.data() + at, bytes.size() - at);
        if (got < 0 && errno == EINTR) {
            bytes.resize(at);
            continue;
        }
        bytes.resize(at + static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
        if (got < 0) return errno;
        if (got == 0) return 0;
    }
}

std::string trim_right(std::string_view text)
{
    const std::size_t end = text.find_last_not_of(' ');
    return std::string(end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1));
}

char lower_ascii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

/// A two-letter half of a file name as the body code it names, ignoring case; else as written.
std::string canonical_code(std::string_view half)
{
    for (std::string_view code : body_codes)
        if (code.size() == half.size() &&
            std::equal(code.begin(), code.end(), half.begin(),
                       [](char a, char b) { return lower_ascii(a) == lower_ascii(b); }))
            return std::string(code);
    return std::string(half);
}

bool is_code(std::string_view text)
{
    return std::find(body_codes.begin(), body_codes.end(), text) != body_codes.end();
}

bool is_pair_of_codes(std::string_view pair)
{
    return pair.size() == 5 && pair[2] == '/' && is_code(pair.substr(0, 2)) && is_code(pair.substr(3, 2));
}

/// The file base of an axis pair: "MC/SO" -> "MCSO", as the reader forms it.
std::string file_base(std::string_view axis) { return std::string(axis.substr(0, 2)) + std::string(axis.substr(3, 2)); }

/// The fold of one Windows-1252 byte: one or two lower-case letters.
struct Folded {
    char c[2];
    unsigned char n;
};

std::array<Folded, 256> make_fold_table()
{
    std::array<Folded, 256> t{};
    for (int b = 0; b < 256; ++b) t[static_cast<std::size_t>(b)] = {{lower_ascii(static_cast<char>(b)), 0}, 1};
    const auto set = [&](int b, std::string_view s) {
        t[static_cast<std::size_t>(b)] = {{s[0], s.size() > 1 ? s[1] : '\0'}, static_cast<unsigned char>(s.size())};
    };
    set(0x8A, "s"); set(0x8C, "oe"); set(0x8E, "z"); set(0x9A, "s"); set(0x9C, "oe"); set(0x9E, "z"); set(0x9F, "y");
    for (int base : {0xC0, 0xE0}) {
        for (int b = 0; b <= 5; ++b) set(base + b, "a");
        set(base + 0x04, "ae");
        set(base + 0x06, "ae");
        set(base + 0x07, "c");
        for (int b = 0x08; b <= 0x0B; ++b) set(base + b, "e");
        for (int b = 0x0C; b <= 0x0F; ++b) set(base + b, "i");
        set(base + 0x10, "d");
        set(base + 0x11, "n");
        for (int b = 0x12; b <= 0x15; ++b) set(base + b, "o");
        set(base + 0x16, "oe");
        set(base + 0x18, "o");
        for (int b = 0x19; b <= 0x1B; ++b) set(base + b, "u");
        set(base + 0x1C, "ue");
        set(base + 0x1D, "y");
        set(base + 0x1E, "th");
    }
    set(0xD7, "\xD7");
    set(0xF7, "\xF7");
    set(0xDF, "ss");
    set(0xFF, "y");
    return t;
}

/// Adds the folded formula and text of one entry to `folded`.
void add_folded(FoldedTexts& folded, const Formula& formula, const std::vector<std::string>& lines)
{
    folded.starts.push_back(folded.text.size());
    fold_into(folded.text, formula.text());
    for (const std::string& line : lines) {
        folded.text += '\n';
        fold_into(folded.text, line);
    }
    folded.text += '\0';
}

/// The kept lines of a picture's record as the reader shows them, trailing blanks removed.
void read_record(const AxisFiles& a, Picture& p)
{
    p.lines.clear();
    p.readable = a.text_bytes.size() >= (p.slot + 1) * picture_record_size;
    if (!p.readable) return;
    const auto* record = reinterpret_cast<const unsigned char*>(a.text_bytes.data()) + p.slot * picture_record_size;
    p.lines = picture_text_lines(std::span<const unsigned char, picture_record_size>(record, picture_record_size));
    for (std::string& line : p.lines) line.erase(line.find_last_not_of(' ') + 1);  // npos + 1 == 0
}

/// The pictures the reader finds in an axis pair's files.
void parse_axis(AxisFiles& a)
{
    a.pictures.clear();
    a.folded = {};
    a.index_short = a.index_exists && a.index_bytes.size() < picture_index_size;
    if (!a.index_exists || a.index_short) return;
    std::set<std::string> seen;
    for (std::size_t k = 0; k < picture_searched_slots; ++k) {
        const auto* slot = reinterpret_cast<const unsigned char*>(a.index_bytes.data()) + k * picture_slot_size;
        const std::size_t length = std::min<std::size_t>(slot[0], picture_slot_size - 1);
        if (length == 0) continue;
        std::string key(reinterpret_cast<const char*>(slot + 1), length);
        if (!seen.insert(key).second) continue;  // a later slot with the same key is never found
        Picture p;
        p.key = std::move(key);
        p.slot = k;
        read_record(a, p);
        add_folded(a.folded, {a.axis, p.key}, p.lines);
        a.pictures.push_back(std::move(p));
    }
}

/// After a write: the pictures of `a` again, reading only the records that changed when the
/// index stayed as it was.
void reparse_axis(AxisFiles& a, const std::string& old_index, const std::string& old_text)
{
    if (a.index_bytes != old_index || a.pictures.empty()) {
        parse_axis(a);
        return;
    }
    a.folded = {};
    for (Picture& p : a.pictures) {
        const std::size_t at = p.slot * picture_record_size;
        const bool same = old_text.size() >= at + picture_record_size &&
                          a.text_bytes.size() >= at + picture_record_size &&
                          std::string_view(old_text).substr(at, picture_record_size) ==
                              std::string_view(a.text_bytes).substr(at, picture_record_size);
        if (!same) read_record(a, p);
        add_folded(a.folded, {a.axis, p.key}, p.lines);
    }
}

void parse_ktexte_bytes(Library& lib)
{
    lib.ktexte = {};
    lib.singles.clear();
    lib.singles_folded = {};
    if (!lib.ktexte_exists) return;
    parse_ktexte(lib.ktexte_bytes, lib.ktexte);
    std::set<std::string> seen;
    for (std::size_t r = 0; r < lib.ktexte.ktexte_table.size(); ++r) {
        const KtexteRecord& record = lib.ktexte.ktexte_table[r];
        if (record.key.empty() || !seen.insert(record.key).second) continue;
        SingleMeaning s{r, record.key, trim_right(record.text)};
        add_folded(lib.singles_folded, {{}, s.key}, {s.text});
        lib.singles.push_back(std::move(s));
    }
}

/// Reads the files of `lib`'s paths into it.
void load(Library& lib)
{
    lib.problem.clear();
    const int k = read_whole(lib.ktexte_path, lib.ktexte_bytes);
    lib.ktexte_exists = k == 0;
    if (k != 0 && k != ENOENT) lib.problem = io_error_text(k);
    parse_ktexte_bytes(lib);

    lib.axes.clear();
    std::error_code ec;
    fs::directory_iterator it(lib.pbtx_dir, ec);
    if (ec) return;
    const DriveC folder(lib.pbtx_dir);
    std::set<std::string> axes_seen;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        const std::string name = it->path().filename().string();
        if (name.size() != 8 || !it->is_regular_file(ec)) continue;
        std::string ext = name.substr(4);
        std::transform(ext.begin(), ext.end(), ext.begin(), lower_ascii);
        if (ext != ".vwt") continue;
        if (!std::all_of(name.begin(), name.begin() + 4, [](char c) { return c > ' ' && c < 0x7F; })) continue;
        AxisFiles a;
        a.axis = canonical_code(name.substr(0, 2)) + "/" + canonical_code(name.substr(2, 2));
        // Only the file the reader opens for this axis pair counts (not one shadowed by another case).
        if (folder.resolve(file_base(a.axis) + ".vwt").filename() != name) continue;
        if (!axes_seen.insert(a.axis).second) continue;
        a.index_name = name;
        a.text_name = folder.resolve(file_base(a.axis) + ".txt").filename().string();
        const int i = read_whole(lib.pbtx_dir / a.index_name, a.index_bytes);
        a.index_exists = i == 0;
        if (i != 0) lib.problem = io_error_text(i);
        const int t = read_whole(lib.pbtx_dir / a.text_name, a.text_bytes);
        a.text_exists = t == 0;
        if (t != 0 && t != ENOENT) lib.problem = io_error_text(t);
        parse_axis(a);
        lib.axes.push_back(std::move(a));
    }
    std::sort(lib.axes.begin(), lib.axes.end(), [](const AxisFiles& x, const AxisFiles& y) { return x.axis < y.axis; });
}

const AxisFiles* find_axis(const Library& lib, std::string_view axis)
{
    for (const AxisFiles& a : lib.axes)
        if (a.axis == axis) return &a;
    return nullptr;
}

const Picture* find_picture(const AxisFiles& a, std::string_view key)
{
    for (const Picture& p : a.pictures)
        if (p.key == key) return &p;
    return nullptr;
}

const SingleMeaning* find_single(const Library& lib, std::string_view key)
{
    for (const SingleMeaning& s : lib.singles)
        if (s.key == key) return &s;
    return nullptr;
}

/// Whether the reader finds the formula (a picture's key in the index, a single meaning's record).
bool present_in(const Library& lib, const Formula& f)
{
    if (!f.picture()) return find_single(lib, f.key) != nullptr;
    const AxisFiles* a = find_axis(lib, f.axis);
    return a != nullptr && find_picture(*a, f.key) != nullptr;
}

bool storable_byte(unsigned char b, bool picture)
{
    if (b < 0x20 || b == 0x7F || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) return false;
    if (!picture) return b != 0x81;
    return std::none_of(std::begin(dos_umlauts), std::end(dos_umlauts),
                        [b](const DosUmlaut& u) { return u.dos == b; });
}

std::string number_text(std::size_t n)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, n);
    return std::string(buffer, result.ptr);
}

std::string two_digits(int n)
{
    return std::string(1, static_cast<char>('0' + n / 10 % 10)) + static_cast<char>('0' + n % 10);
}

/// A file to be written by a change: what it held and what it will hold.
struct Pending {
    fs::path path;
    std::string manifest_name;   ///< "astro/KTEXTE.txt", "PBTX/MCSO.vwt"
    bool existed = false;
    std::string before;
    std::string after;
    bool remains = true;         ///< false: the change removes the file
};

int write_through(const Library& lib, const fs::path& path, std::string_view bytes)
{
    if (lib.file_changes.write) return lib.file_changes.write(path, bytes);
    return write_file_whole(path, bytes).error;
}

int remove_through(const Library& lib, const fs::path& path)
{
    if (lib.file_changes.remove) return lib.file_changes.remove(path);
    return ::unlink(path.c_str()) == 0 || errno == ENOENT ? 0 : errno;
}

/// The name of a version made at `now`: universal time, "2026-12-08T14-21-11Z", so that names
/// never repeat or run backwards when the local clock goes back.
std::string version_base_name(std::chrono::system_clock::time_point now)
{
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm u{};
    gmtime_r(&t, &u);
    return number_text(static_cast<std::size_t>(u.tm_year + 1900)) + "-" + two_digits(u.tm_mon + 1) + "-" +
           two_digits(u.tm_mday) + "T" + two_digits(u.tm_hour) + "-" + two_digits(u.tm_min) + "-" +
           two_digits(u.tm_sec) + "Z";
}

/// Creates a new version folder named after the universal time; its name, or empty on failure.
std::string new_version_folder(const fs::path& versions_dir, int& error)
{
    std::error_code ec;
    fs::create_directories(versions_dir, ec);
    const std::string base = version_base_name(std::chrono::system_clock::now());
    for (std::size_t n = 1; n < 100000; ++n) {
        const std::string name = n == 1 ? base : base + "." + number_text(n);
        if (fs::create_directory(versions_dir / name, ec)) return name;
        if (ec) {
            error = ec.value();
            return {};
        }
    }
    error = EEXIST;
    return {};
}

/// Keeps the files of `pending` as they are now (`before`) as a new version; its name, or an error.
std::string keep_version(const Library& lib, const std::vector<Pending>& pending, int& error)
{
    error = 0;
    const std::string name = new_version_folder(lib.versions_dir, error);
    if (name.empty()) return {};
    const fs::path dir = lib.versions_dir / name;
    std::string manifest;
    std::error_code ec;
    for (const Pending& p : pending) {
        manifest += (p.existed ? "" : "-") + p.manifest_name + "\n";
        if (!p.existed) continue;
        fs::create_directories((dir / p.manifest_name).parent_path(), ec);
        error = write_through(lib, dir / p.manifest_name, p.before);
        if (error != 0) break;
    }
    if (error == 0) error = write_through(lib, dir / kManifest, manifest);
    if (error != 0) {
        fs::remove_all(dir, ec);
        return {};
    }
    return name;
}

/// How a write of several files failed: the first error, the file it hit, and the files that
/// could not be put back afterwards.
struct WriteFailure {
    int error = 0;
    fs::path file;
    std::vector<fs::path> differing;
};

/// Writes (or removes) every file of `pending` in order, or none: a failure puts back those
/// already changed, newest first, and names each that could not be put back.
WriteFailure write_all_or_nothing(const Library& lib, const std::vector<Pending>& pending)
{
    WriteFailure failure;
    std::error_code ec;
    for (std::size_t i = 0; i < pending.size(); ++i) {
        const Pending& p = pending[i];
        if (p.remains) fs::create_directories(p.path.parent_path(), ec);
        const int error = p.remains ? write_through(lib, p.path, p.after) : remove_through(lib, p.path);
        if (error == 0) continue;
        failure.error = error;
        failure.file = p.path;
        for (std::size_t j = i; j-- > 0;) {
            const Pending& back = pending[j];
            const int undone = back.existed ? write_through(lib, back.path, back.before) : remove_through(lib, back.path);
            if (undone != 0) failure.differing.push_back(back.path);
        }
        return failure;
    }
    return failure;
}

/// The German text of a failed write: the file and its error and, when putting back failed, the
/// files that now differ and the version that restores them.
std::string failure_text(const WriteFailure& failure, const std::string& version)
{
    std::string text = cp1252_of_file_name(failure.file.string()) + ": " + io_error_text(failure.error);
    if (failure.differing.empty()) return text;
    text += std::string(texts::kTlNotPutBack);
    for (const fs::path& path : failure.differing) text += "\r" + cp1252_of_file_name(path.string());
    return text + std::string(texts::kTlRestoredBy) + version + " (" + version_label(version) + ")" +
           std::string(texts::kTlRestoredByEnd);
}

/// The record of a picture text: the two unused bytes kept, the lines in DOS bytes padded with blanks.
void put_picture_record(std::string& text_bytes, std::size_t slot, const std::vector<std::string>& lines)
{
    std::string blank_record(picture_record_size, ' ');
    blank_record[0] = blank_record[1] = '\0';
    while (text_bytes.size() < (slot + 1) * picture_record_size) {
        text_bytes.resize(text_bytes.size() / picture_record_size * picture_record_size);  // whole records
        text_bytes += blank_record;
    }
    for (std::size_t l = 0; l < picture_line_count; ++l) {
        std::string line(picture_line_length, ' ');
        if (l < lines.size()) {
            for (std::size_t c = 0; c < lines[l].size() && c < picture_line_length; ++c) {
                auto b = static_cast<unsigned char>(lines[l][c]);
                for (const DosUmlaut& u : dos_umlauts)
                    if (u.ansi == b) b = u.dos;
                line[c] = static_cast<char>(b);
            }
        }
        text_bytes.replace(slot * picture_record_size + 2 + l * picture_line_length, picture_line_length, line);
    }
}

bool version_name_ok(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

/// Orders version names newest first: by the time each records, then by its number; names that
/// record no time after all others, in reverse name order.
bool newer(const std::string& a, const std::string& b)
{
    const std::optional<VersionTime> ta = version_time(a), tb = version_time(b);
    if (ta && tb) return std::tie(ta->seconds, ta->number, a) > std::tie(tb->seconds, tb->number, b);
    if (ta || tb) return ta.has_value();
    return a > b;
}

fs::path manifest_target(const Library& lib, const std::string& entry)
{
    if (entry.rfind("astro/", 0) == 0) return lib.ktexte_path.parent_path() / entry.substr(6);
    if (entry.rfind("PBTX/", 0) == 0) return lib.pbtx_dir / entry.substr(5);
    return {};
}

}  // namespace

std::optional<Formula> parse_formula(std::string_view text)
{
    const std::size_t eq = text.find('=');
    if (eq == std::string_view::npos) {
        if (text.empty() || text.size() > ktexte_key_capacity) return std::nullopt;
        return Formula{{}, std::string(text)};
    }
    const std::string_view axis = text.substr(0, eq);
    const std::string_view key = text.substr(eq + 1);
    if (axis.size() != 5 || axis[2] != '/' || key.empty() || key.size() > picture_slot_size - 1 ||
        key.find('=') != std::string_view::npos)
        return std::nullopt;
    return Formula{std::string(axis), std::string(key)};
}

bool known_factors(const Formula& formula)
{
    return is_pair_of_codes(formula.key) && (!formula.picture() || is_pair_of_codes(formula.axis));
}

int read_file(const fs::path& path, std::string& bytes)
{
    return read_whole(path, bytes);
}

Library open_library(const DriveC& drive)
{
    Library lib;
    lib.ktexte_path = drive.resolve("C:\\astro\\KTEXTE.txt");
    lib.pbtx_dir = drive.resolve("C:\\PBTX");
    lib.versions_dir = drive.resolve("C:\\astro\\Textversionen");
    load(lib);
    return lib;
}

bool is_shipped_sample_drive(const DriveC& drive) { return in_sample_drive(drive.root()); }

Library open_collection(const fs::path& folder)
{
    Library lib;
    lib.pbtx_dir = folder;
    const DriveC inside(folder);
    lib.ktexte_path = inside.resolve("KTEXTE.txt");
    std::error_code ec;
    if (!fs::exists(lib.ktexte_path, ec)) lib.ktexte_path = DriveC(folder.parent_path()).resolve("KTEXTE.txt");
    if (!fs::exists(lib.ktexte_path, ec)) lib.ktexte_path = DriveC(folder.parent_path()).resolve("astro\\KTEXTE.txt");
    load(lib);
    return lib;
}

std::optional<std::vector<std::string>> text_of(const Library& library, const Formula& formula)
{
    if (!formula.picture()) {
        const SingleMeaning* s = find_single(library, formula.key);
        if (s == nullptr) return std::nullopt;
        if (s->text.empty()) return std::vector<std::string>{};
        return std::vector<std::string>{s->text};
    }
    const AxisFiles* a = find_axis(library, formula.axis);
    if (a == nullptr) return std::nullopt;
    const Picture* p = find_picture(*a, formula.key);
    if (p == nullptr || !p->readable) return std::nullopt;
    return p->lines;
}

std::vector<Formula> all_formulas(const Library& library)
{
    std::vector<Formula> out;
    for (const SingleMeaning& s : library.singles) out.push_back({{}, s.key});
    for (const AxisFiles& a : library.axes)
        for (const Picture& p : a.pictures)
            if (p.readable && !p.lines.empty()) out.push_back({a.axis, p.key});
    return out;
}

void fold_into(std::string& out, std::string_view cp1252)
{
    static const std::array<Folded, 256> table = make_fold_table();
    const std::size_t at = out.size();
    out.resize(at + 2 * cp1252.size());
    char* o = out.data() + at;
    for (const char c : cp1252) {
        const Folded& f = table[static_cast<unsigned char>(c)];
        *o++ = f.c[0];
        if (f.n == 2) *o++ = f.c[1];
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
}

std::string fold(std::string_view cp1252)
{
    std::string out;
    fold_into(out, cp1252);
    return out;
}

namespace {

/// Calls `take` with each entry of `folded` that holds every word; `words[0]` is looked for in
/// the whole block, the others only inside the entries where it stands.
template <typename Take>
void search_block(const FoldedTexts& folded, const std::vector<std::string>& words, Take take)
{
    const char* const base = folded.text.data();
    const std::size_t size = folded.text.size();
    const auto holds = [](const char* from, std::size_t length, const std::string& word) {
        return ::memmem(from, length, word.data(), word.size()) != nullptr;
    };
    for (std::size_t at = 0; at < size;) {
        const void* hit = ::memmem(base + at, size - at, words[0].data(), words[0].size());
        if (hit == nullptr) break;
        const auto offset = static_cast<std::size_t>(static_cast<const char*>(hit) - base);
        const std::size_t i =
            static_cast<std::size_t>(std::upper_bound(folded.starts.begin(), folded.starts.end(), offset) -
                                     folded.starts.begin()) - 1;
        const std::size_t begin = folded.starts[i];
        const std::size_t end = i + 1 < folded.starts.size() ? folded.starts[i + 1] : size;
        if (std::all_of(words.begin() + 1, words.end(),
                        [&](const std::string& w) { return holds(base + begin, end - begin, w); }))
            take(i);
        at = end;
    }
}

}  // namespace

std::vector<Formula> search(const Library& library, const std::vector<std::string>& words)
{
    std::vector<std::string> folded;
    for (const std::string& w : words)
        if (!w.empty()) folded.push_back(fold(w));
    if (folded.empty()) return all_formulas(library);
    // The longest word first: it stands in the fewest places.
    std::stable_sort(folded.begin(), folded.end(),
                     [](const std::string& x, const std::string& y) { return x.size() > y.size(); });
    std::vector<Formula> out;
    search_block(library.singles_folded, folded, [&](std::size_t i) { out.push_back({{}, library.singles[i].key}); });
    for (const AxisFiles& a : library.axes)
        search_block(a.folded, folded, [&](std::size_t i) {
            const Picture& p = a.pictures[i];
            if (p.readable && !p.lines.empty()) out.push_back({a.axis, p.key});
        });
    return out;
}

std::vector<Refusal> check_text(const Formula& formula, const std::vector<std::string>& lines)
{
    const bool picture = formula.picture();
    const std::size_t max_lines = picture ? picture_line_count : 1;
    const std::size_t max_length = picture ? picture_line_length : ktexte_text_capacity;
    std::vector<Refusal> refusals;
    for (std::size_t l = 0; l < lines.size(); ++l) {
        const std::string& line = lines[l];
        const auto refuse = [&](std::size_t column, std::string reason) {
            refusals.push_back({l + 1, column, std::move(reason)});
        };
        if (l == max_lines) {
            refuse(0, std::string(picture ? texts::kTlTooManyLines : texts::kTlOneLine));
            break;
        }
        const auto bad = std::find_if(line.begin(), line.end(), [&](char c) {
            return !storable_byte(static_cast<unsigned char>(c), picture);
        });
        if (bad != line.end()) {
            const auto b = static_cast<unsigned char>(*bad);
            const bool control = b < 0x20 || b == 0x7F || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
            refuse(static_cast<std::size_t>(bad - line.begin()) + 1,
                   std::string(control ? texts::kTlControl : texts::kTlDosConverted));
        } else if (line.size() > max_length) {
            refuse(max_length + 1,
                   std::string(texts::kTlLongerThan) + number_text(max_length) + std::string(texts::kTlCharacters));
        } else if (picture && line.find_first_not_of(' ') >= picture_blank_prefix) {
            refuse(1, std::string(texts::kTlTenBlanks));
        }
    }
    return refusals;
}

std::vector<std::string> wrap_words(std::string_view text, std::size_t width)
{
    std::vector<std::string> lines;
    if (width == 0) return lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t stop = text.find('\n', start);
        if (stop == std::string_view::npos) stop = text.size();
        std::string_view paragraph = text.substr(start, stop - start);
        if (!paragraph.empty() && paragraph.back() == '\r') paragraph.remove_suffix(1);
        start = stop + 1;
        // Blanks before the first word stay as an indent of the paragraph's first line.
        const std::size_t first = std::min(paragraph.find_first_not_of(' '), paragraph.size());
        std::string line(std::min(first, width - 1), ' ');
        bool line_has_word = false;
        for (std::size_t pos = first; pos < paragraph.size();) {
            std::size_t end = paragraph.find(' ', pos);
            if (end == std::string_view::npos) end = paragraph.size();
            std::string_view word = paragraph.substr(pos, end - pos);
            pos = paragraph.find_first_not_of(' ', end);
            if (pos == std::string_view::npos) pos = paragraph.size();
            if (line_has_word && line.size() + 1 + word.size() > width) {
                lines.push_back(std::move(line));
                line.clear();
                line_has_word = false;
            }
            if (line_has_word) line += ' ';
            while (line.size() + word.size() > width) {  // a word longer than a line
                const std::size_t room = width - line.size();
                line += word.substr(0, room);
                word.remove_prefix(room);
                lines.push_back(std::move(line));
                line.clear();
            }
            line += word;
            line_has_word = true;
        }
        if (line_has_word) lines.push_back(std::move(line));
    }
    return lines;
}

ApplyResult apply_changes(Library& library, const std::vector<TextChange>& changes, const ApplyOptions& options)
{
    ApplyResult result;
    Library& lib = library;
    std::string ktexte_after = lib.ktexte_bytes;
    std::size_t ktexte_records = lib.ktexte.ktexte_table.size();
    struct AxisAfter {
        std::string index, text;
        bool existed_index = false, existed_text = false;
        std::string index_name, text_name;
        std::string index_before, text_before;
    };
    std::map<std::string, AxisAfter> axes_after;
    const auto axis_after = [&](const std::string& axis) -> AxisAfter& {
        auto it = axes_after.find(axis);
        if (it != axes_after.end()) return it->second;
        AxisAfter a;
        if (const AxisFiles* f = find_axis(lib, axis)) {
            a.index = a.index_before = f->index_bytes;
            a.text = a.text_before = f->text_bytes;
            a.existed_index = f->index_exists;
            a.existed_text = f->text_exists;
            a.index_name = f->index_name;
            a.text_name = f->text_name;
        } else {
            const DriveC folder(lib.pbtx_dir);
            a.index_name = folder.resolve(file_base(axis) + ".vwt").filename().string();
            a.text_name = folder.resolve(file_base(axis) + ".txt").filename().string();
        }
        if (!a.existed_index) a.index.assign(picture_index_size, '\0');
        return axes_after.emplace(axis, std::move(a)).first->second;
    };

    struct Planned {
        const TextChange* change;
        std::vector<std::string> lines;
        std::vector<std::size_t> source_lines;
    };
    std::vector<Planned> existing, additions;
    const auto file_line = [](const TextChange& c, std::size_t text_line) {
        return c.line == 0 ? text_line : c.line + text_line;
    };

    // Each change: normalised lines, compared with what the reader shows, then checked.
    for (const TextChange& change : changes) {
        Planned p{&change, {}, {}};
        for (std::size_t i = 0; i < change.lines.size(); ++i) {
            std::string line = trim_right(change.lines[i]);
            if (line.empty()) continue;  // the reader drops empty lines: they are not stored
            p.lines.push_back(std::move(line));
            p.source_lines.push_back(i + 1);
        }
        // Left alone: a text equal to what the reader shows, a deletion of what is not there. A
        // picture without visible lines still takes its slot, so deleting it is a change.
        const auto current = text_of(lib, change.formula);
        if (current && *current == p.lines && !(change.formula.picture() && p.lines.empty())) continue;
        if (p.lines.empty() && !present_in(lib, change.formula)) continue;
        if (auto refusals = check_text(change.formula, p.lines); !refusals.empty()) {
            for (Refusal& refusal : refusals) {
                refusal.line = file_line(change, p.source_lines[refusal.line - 1]);
                result.refusals.push_back(std::move(refusal));
            }
            continue;
        }
        const Formula& f = change.formula;
        if (const AxisFiles* a = f.picture() ? find_axis(lib, f.axis) : nullptr; a != nullptr && a->index_short) {
            result.refusals.push_back({change.line, 0, std::string(texts::kTlIndexShort)});
            continue;
        }
        const bool present = present_in(lib, f);
        if (!present && !known_factors(f)) {
            result.refusals.push_back({change.line, 0, std::string(texts::kTlUnknownFactor)});
            continue;
        }
        (present ? existing : additions).push_back(std::move(p));
    }

    // Replacements and deletions first: a deleted picture frees its slot for a new one.
    for (const Planned& p : existing) {
        const Formula& f = p.change->formula;
        if (f.picture()) {
            AxisAfter& a = axis_after(f.axis);
            const Picture* pic = find_picture(*find_axis(lib, f.axis), f.key);
            if (p.lines.empty()) {
                a.index[pic->slot * picture_slot_size] = '\0';
                if (a.text.size() >= (pic->slot + 1) * picture_record_size) put_picture_record(a.text, pic->slot, {});
                ++result.deleted;
            } else {
                put_picture_record(a.text, pic->slot, p.lines);
                ++result.replaced;
            }
        } else {
            const SingleMeaning* s = find_single(lib, f.key);
            const std::string text = p.lines.empty() ? std::string() : p.lines[0];
            const std::size_t at = s->record * ktexte_record_size + 1 + ktexte_key_capacity;
            ktexte_after[at] = static_cast<char>(text.size());
            ktexte_after.replace(at + 1, text.size(), text);
            ++(p.lines.empty() ? result.deleted : result.replaced);
        }
    }
    for (const Planned& p : additions) {
        const Formula& f = p.change->formula;
        if (f.picture()) {
            AxisAfter& a = axis_after(f.axis);
            std::size_t slot = 0;
            while (slot < picture_searched_slots && a.index[slot * picture_slot_size] != '\0') ++slot;
            if (slot == picture_searched_slots) {
                result.refusals.push_back({p.change->line, 0, std::string(texts::kTlAxisFull)});
                continue;
            }
            a.index[slot * picture_slot_size] = static_cast<char>(f.key.size());
            a.index.replace(slot * picture_slot_size + 1, f.key.size(), f.key);
            put_picture_record(a.text, slot, p.lines);
        } else {
            if (ktexte_after.size() % ktexte_record_size != 0) {
                result.refusals.push_back({p.change->line, 0, std::string(texts::kTlKtexteBroken)});
                continue;
            }
            if (ktexte_records >= max_single_meanings) {
                result.refusals.push_back({p.change->line, 0, std::string(texts::kTlKtexteFull)});
                continue;
            }
            std::string record(ktexte_record_size, '\0');
            record[0] = static_cast<char>(f.key.size());
            record.replace(1, f.key.size(), f.key);
            const std::string text = p.lines.empty() ? std::string() : p.lines[0];
            record[1 + ktexte_key_capacity] = static_cast<char>(text.size());
            record.replace(2 + ktexte_key_capacity, text.size(), text);
            ktexte_after += record;
            ++ktexte_records;
        }
        ++result.added;
    }
    std::stable_sort(result.refusals.begin(), result.refusals.end(),
                     [](const Refusal& x, const Refusal& y) { return x.line < y.line; });
    if (!result.refusals.empty()) {
        result.outcome = ApplyOutcome::refused;
        result.replaced = result.added = result.deleted = 0;
        return result;
    }
    if (options.check_only) return result;

    // The files that change: picture texts before their index, so a new slot never points nowhere.
    std::vector<Pending> pending;
    if (ktexte_after != lib.ktexte_bytes || (!lib.ktexte_exists && !ktexte_after.empty()))
        pending.push_back({lib.ktexte_path, "astro/" + lib.ktexte_path.filename().string(), lib.ktexte_exists,
                           lib.ktexte_bytes, ktexte_after});
    for (const auto& [axis, a] : axes_after) {
        if (a.text != a.text_before || !a.existed_text)
            pending.push_back({lib.pbtx_dir / a.text_name, "PBTX/" + a.text_name, a.existed_text, a.text_before, a.text});
        if (a.index != a.index_before || !a.existed_index)
            pending.push_back({lib.pbtx_dir / a.index_name, "PBTX/" + a.index_name, a.existed_index, a.index_before,
                               a.index});
    }
    if (pending.empty()) return result;
    if (lib.versions_dir.empty()) {
        result.outcome = ApplyOutcome::failed;
        result.message = std::string(texts::kTlReadOnly);
        return result;
    }

    // A file another program changed since it was read is not overwritten without leave.
    for (Pending& p : pending) {
        std::string now;
        const int r = read_whole(p.path, now);
        if (r != 0 && r != ENOENT) {  // a file that is there but cannot be read is never replaced
            result.outcome = ApplyOutcome::failed;
            result.message = cp1252_of_file_name(p.path.string()) + ": " + io_error_text(r);
            result.replaced = result.added = result.deleted = 0;
            return result;
        }
        const bool exists_now = r == 0;
        if (exists_now == p.existed && now == p.before) continue;
        if (!options.overwrite_changed) result.files.push_back(cp1252_of_file_name(p.path.string()));
        p.existed = exists_now;
        p.before = std::move(now);
    }
    if (!result.files.empty()) {
        result.outcome = ApplyOutcome::changed;
        result.replaced = result.added = result.deleted = 0;
        return result;
    }

    int error = 0;
    result.version = keep_version(lib, pending, error);
    if (error != 0) {
        result.outcome = ApplyOutcome::failed;
        result.message = io_error_text(error);
        result.replaced = result.added = result.deleted = 0;
        return result;
    }
    if (const WriteFailure failure = write_all_or_nothing(lib, pending); failure.error != 0) {
        result.outcome = ApplyOutcome::failed;
        result.message = failure_text(failure, result.version);
        result.replaced = result.added = result.deleted = 0;
        for (const fs::path& path : failure.differing) result.differing.push_back(cp1252_of_file_name(path.string()));
        if (failure.differing.empty()) {
            // Every file is as it was: the version of a change that never happened goes again.
            std::error_code ec;
            fs::remove_all(lib.versions_dir / result.version, ec);
            result.version.clear();
        }
        return result;
    }

    // The library takes the new state.
    lib.ktexte_bytes = std::move(ktexte_after);
    lib.ktexte_exists = lib.ktexte_exists || !lib.ktexte_bytes.empty();
    parse_ktexte_bytes(lib);
    for (auto& entry : axes_after) {
        const auto& axis = entry.first;  // a name of its own: lambdas may not capture a structured binding
        auto& after = entry.second;
        auto it = std::find_if(lib.axes.begin(), lib.axes.end(), [&](const AxisFiles& f) { return f.axis == axis; });
        if (it == lib.axes.end()) {
            AxisFiles f;
            f.axis = axis;
            it = lib.axes.insert(std::upper_bound(lib.axes.begin(), lib.axes.end(), f,
                                                  [](const AxisFiles& x, const AxisFiles& y) { return x.axis < y.axis; }),
                                 std::move(f));
        }
        it->index_name = after.index_name;
        it->text_name = after.text_name;
        const std::string old_index = std::move(it->index_bytes);
        const std::string old_text = std::move(it->text_bytes);
        it->index_bytes = std::move(after.index);
        it->text_bytes = std::move(after.text);
        it->index_exists = it->text_exists = true;
        reparse_axis(*it, old_index, old_text);
    }
    return result;
}

std::vector<std::string> list_versions(const Library& library)
{
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(library.versions_dir, ec);
    if (ec) return names;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        if (it->is_directory(ec) && fs::exists(it->path() / kManifest, ec))
            names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end(), newer);
    return names;
}

RestoreResult restore_version(Library& library, const std::string& name)
{
    RestoreResult result;
    const std::vector<std::string> versions = list_versions(library);
    const auto chosen = std::find(versions.begin(), versions.end(), name);
    if (library.versions_dir.empty() || !version_name_ok(name) || chosen == versions.end()) {
        result.message = std::string(texts::kTlNoVersion) + cp1252_of_file_name(name);
        return result;
    }
    // Each file as it was before the chosen change: its copy in the oldest version from the
    // chosen one on that holds it (no change in between touched it).
    std::vector<Pending> pending;
    std::set<std::string> taken;
    for (auto v = std::make_reverse_iterator(chosen + 1); v != versions.rend(); ++v) {
        const fs::path dir = library.versions_dir / *v;
        std::string manifest;
        if (const int r = read_whole(dir / kManifest, manifest); r != 0) {
            result.message = io_error_text(r);
            return result;
        }
        std::size_t start = 0;
        while (start < manifest.size()) {
            std::size_t stop = manifest.find('\n', start);
            if (stop == std::string::npos) stop = manifest.size();
            std::string entry = manifest.substr(start, stop - start);
            start = stop + 1;
            const bool existed = !entry.empty() && entry[0] != '-';
            if (!existed && !entry.empty()) entry.erase(0, 1);
            const fs::path target = manifest_target(library, entry);
            const std::string file = entry.substr(entry.find('/') + 1);
            if (target.empty() || !version_name_ok(file) || !taken.insert(entry).second) continue;
            Pending p{target, entry, false, {}, {}, existed};
            if (existed) {
                if (const int r = read_whole(dir / entry, p.after); r != 0) {
                    result.message = io_error_text(r);
                    return result;
                }
            }
            // A current file that cannot be read could be neither kept nor brought back.
            const int now = read_whole(target, p.before);
            if (now != 0 && now != ENOENT) {
                result.message = cp1252_of_file_name(target.string()) + ": " + io_error_text(now);
                return result;
            }
            p.existed = now == 0;
            if (!existed && !p.existed) continue;
            pending.push_back(std::move(p));
        }
    }
    // The current files are kept first; then each is written back, or removed when it was absent.
    int error = 0;
    result.version = keep_version(library, pending, error);
    if (error != 0) {
        result.message = io_error_text(error);
        return result;
    }
    if (const WriteFailure failure = write_all_or_nothing(library, pending); failure.error != 0) {
        result.message = failure_text(failure, result.version);
        for (const fs::path& path : failure.differing) result.differing.push_back(cp1252_of_file_name(path.string()));
        if (failure.differing.empty()) {
            std::error_code ec;
            fs::remove_all(library.versions_dir / result.version, ec);
            result.version.clear();
        }
        return result;
    }
    load(library);
    result.ok = true;
    return result;
}

std::optional<VersionTime> version_time(std::string_view name)
{
    // "2026-12-08T14-21-11Z" or "2026-12-08_14-21-11": digits, separators, then ".N" or nothing.
    const bool universal = name.size() >= 20 && name[10] == 'T' && name[19] == 'Z';
    const bool local = name.size() >= 19 && name[10] == '_';
    if (!universal && !local) return std::nullopt;
    const std::size_t stamp = universal ? 20 : 19;
    constexpr std::string_view pattern = "dddd-dd-dd_dd-dd-dd";
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = name[i];
        if (pattern[i] == 'd' ? (c < '0' || c > '9') : (i != 10 && c != pattern[i])) return std::nullopt;
    }
    VersionTime t;
    if (name.size() > stamp) {
        const std::string_view rest = name.substr(stamp + 1);
        if (name[stamp] != '.' || rest.empty() || rest[0] == '0') return std::nullopt;
        const auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), t.number);
        if (ec != std::errc() || end != rest.data() + rest.size()) return std::nullopt;
    }
    const auto field = [name](std::size_t at, std::size_t length) {
        int value = 0;
        std::from_chars(name.data() + at, name.data() + at + length, value);
        return value;
    };
    std::tm tm{};
    tm.tm_year = field(0, 4) - 1900;
    tm.tm_mon = field(5, 2) - 1;
    tm.tm_mday = field(8, 2);
    tm.tm_hour = field(11, 2);
    tm.tm_min = field(14, 2);
    tm.tm_sec = field(17, 2);
    tm.tm_isdst = -1;  // older names: whichever reading the zone gives that local time
    const std::time_t seconds = universal ? timegm(&tm) : std::mktime(&tm);
    if (seconds == static_cast<std::time_t>(-1)) return std::nullopt;
    t.seconds = static_cast<std::int64_t>(seconds);
    return t;
}

std::string version_label(std::string_view name)
{
    const std::optional<VersionTime> t = version_time(name);
    if (!t) return std::string(name);
    const auto seconds = static_cast<std::time_t>(t->seconds);
    std::tm local{};
    localtime_r(&seconds, &local);
    std::string label = two_digits(local.tm_mday) + "." + two_digits(local.tm_mon + 1) + "." +
                        number_text(static_cast<std::size_t>(local.tm_year + 1900)) + " " + two_digits(local.tm_hour) +
                        ":" + two_digits(local.tm_min) + ":" + two_digits(local.tm_sec);
    if (t->number > 1) label += " (" + number_text(t->number) + ")";
    return label;
}

}  // namespace duoskop::textlib
