// SPDX-License-Identifier: GPL-3.0-or-later
#include "kartei/listing.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <span>
#include <tuple>

#include "app/chart_file.h"
#include "app/dial.h"
#include "astro/std_ho.h"
#include "astro/un_math.h"
#include "base/cp1252.h"
#include "birth/exchange.h"

namespace duoskop {

namespace {

// The first record of a regular file, or nothing when the file is shorter or cannot be read.
// Opened without blocking, so that a pipe among the files cannot stop the listing.
std::optional<std::array<unsigned char, chart_record_size>> first_record(const std::filesystem::path& file)
{
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    std::array<unsigned char, chart_record_size> bytes{};
    std::size_t got = 0;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        while (got < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            got += static_cast<std::size_t>(n);
        }
    }
    ::close(fd);
    if (got < bytes.size()) return std::nullopt;
    return bytes;
}

// Whether the bytes have the shape of a chart record: seven length bytes within the fields'
// capacity, a date DD.MM.YYYY and a time HH:MM:SS. A picture or any other file that only happens
// to be long enough has not, and shows no positions (nor can it be edited as a chart).
bool chart_shaped(std::span<const unsigned char, chart_record_size> bytes)
{
    for (std::size_t f = 0; f < 7; ++f)
        if (bytes[f * (chart_field_capacity + 1)] > chart_field_capacity) return false;
    const chart_record record = read_chart_record(bytes);
    const auto shaped = [](const std::string& field, std::size_t size, char separator) {
        if (field.size() != size) return false;
        for (std::size_t i = 0; i < size; ++i) {
            const bool digit = field[i] >= '0' && field[i] <= '9';
            if (i == 2 || i == 5 ? field[i] != separator : !digit) return false;
        }
        return true;
    };
    return shaped(record.date, 10, '.') && shaped(record.time, 8, ':');
}

bool hidden(const std::filesystem::path& p)
{
    const std::string name = p.filename().string();
    return !name.empty() && name[0] == '.';
}

std::string append_number(std::string text, long value, int width)
{
    std::string digits = std::to_string(value);
    if (static_cast<int>(digits.size()) < width) digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
    return text + digits;
}

}  // namespace

KarteiEntry read_entry(const std::filesystem::path& root, const std::filesystem::path& file)
{
    KarteiEntry entry;
    entry.path = file;
    entry.file_name = valid_utf8(file.filename().string());
    std::error_code error;
    const std::filesystem::path relative = file.parent_path().lexically_relative(root);
    if (!relative.empty() && relative != ".") entry.folder = valid_utf8(relative.generic_string());

    // The verdict is the main window's own load, on a scratch state.
    ChartState scratch;
    const LoadResult load = holen(file.string(), 1, scratch);
    entry.loadable = load.outcome == LoadOutcome::loaded;
    entry.reason = load.message;
    if (entry.loadable) {
        entry.readable = true;
        entry.record = scratch.person1;
        entry.birth = scratch.birth;
        entry.positions = scratch.positions;
        // Loaded, but not from real values: the Hinweis column says what the computation reads.
        if (const auto note = reading_note(entry.record)) entry.reason = utf8_to_cp1252(*note).value_or("");
        return entry;
    }
    // A file refused by the name check still shows what it holds.
    if (load.outcome == LoadOutcome::not_a_chart) {
        if (const auto bytes = first_record(file); bytes && chart_shaped(*bytes)) {
            entry.readable = true;
            entry.record = read_chart_record(*bytes);
            entry.birth = werte_aktual(entry.record);
            entry.positions = f_rechnen(entry.birth);
        }
    }
    return entry;
}

Listing list_charts(const std::filesystem::path& root)
{
    Listing listing;
    std::error_code error;
    if (!std::filesystem::is_directory(root, error)) return listing;
    listing.folders.push_back(root);
    std::vector<std::filesystem::path> files;
    auto it = std::filesystem::recursive_directory_iterator(
        root, std::filesystem::directory_options::skip_permission_denied, error);
    for (; !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        const std::filesystem::directory_entry& item = *it;
        if (hidden(item.path())) {
            if (item.is_directory(error)) it.disable_recursion_pending();
            continue;
        }
        // A link to a folder is listed as a file (and so marked), never walked into.
        if (item.is_directory(error) && !item.is_symlink(error)) listing.folders.push_back(item.path());
        else files.push_back(item.path());
    }
    for (const auto& file : files) listing.entries.push_back(read_entry(root, file));
    std::sort(listing.entries.begin(), listing.entries.end(),
              [](const KarteiEntry& a, const KarteiEntry& b) {
                  return std::tie(a.folder, a.file_name, a.path) < std::tie(b.folder, b.file_name, b.path);
              });
    std::sort(listing.folders.begin() + 1, listing.folders.end());
    return listing;
}

std::string coordinate_text(double degrees, std::string_view positive, std::string_view negative)
{
    if (!std::isfinite(degrees)) return "";
    const long seconds = std::lround(std::fabs(degrees) * 3600);
    std::string text = append_number("", seconds / 3600, 1) + "\xB0";
    text = append_number(text, seconds / 60 % 60, 2) + "'";
    if (seconds % 60 != 0) text = append_number(text, seconds % 60, 2) + "\"";
    text += ' ';
    text += seconds == 0 || degrees > 0 ? positive : negative;
    return text;
}

long long birth_sort_key(const BirthData& birth)
{
    const long long seconds = std::llround(std::clamp(birth.birth_time, 0.0, 260.0) * 3600);
    return ((static_cast<long long>(birth.birth_year) * 100 + birth.birth_month) * 100 + birth.birth_day) *
               1000000LL +
           seconds;
}

}  // namespace duoskop
