// new-chart: writes the 77-byte chart file of one person from the command line, for users
// without the companion chart program. Every field is checked before anything is written.
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "app/chart_file.h"
#include "app/cp1252.h"
#include "app/io_error.h"
#include "cli/cli.h"

namespace duoskop::cli {

namespace {

int refuse(const std::string& why)
{
    std::fprintf(stderr, "duoskop-cli new-chart: %s; nothing written\n", why.c_str());
    return 1;
}

/// A whole number of 1 to `max_digits` digits, nothing else.
std::optional<int> digits(std::string_view text, std::size_t max_digits)
{
    if (text.empty() || text.size() > max_digits) return std::nullopt;
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

/// Splits `text` at every `separator`.
std::vector<std::string_view> split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t stop = text.find(separator, start);
        parts.push_back(text.substr(start, stop == std::string_view::npos ? std::string_view::npos : stop - start));
        if (stop == std::string_view::npos) return parts;
        start = stop + 1;
    }
}

bool leap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

/// "D.M.YYYY" (day and month with one or two digits) as DD.MM.YYYY, or nothing when it is no date.
std::optional<std::string> date_field(std::string_view text)
{
    const auto parts = split(text, '.');
    if (parts.size() != 3 || parts[2].size() != 4) return std::nullopt;
    const auto d = digits(parts[0], 2), m = digits(parts[1], 2), y = digits(parts[2], 4);
    if (!d || !m || !y || *y < 1 || *m < 1 || *m > 12 || *d < 1) return std::nullopt;
    constexpr int month_days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (*d > month_days[*m - 1] + (*m == 2 && leap(*y) ? 1 : 0)) return std::nullopt;
    char out[48];
    std::snprintf(out, sizeof out, "%02d.%02d.%04d", *d, *m, *y);
    return out;
}

/// "H:M:S" or "H:M" (universal time) as HH:MM:SS, or nothing when it is no time of day.
std::optional<std::string> time_field(std::string_view text)
{
    const auto parts = split(text, ':');
    if (parts.size() != 2 && parts.size() != 3) return std::nullopt;
    const auto h = digits(parts[0], 2), m = digits(parts[1], 2);
    const auto s = parts.size() == 3 ? digits(parts[2], 2) : std::optional<int>(0);
    if (!h || !m || !s || *h > 23 || *m > 59 || *s > 59) return std::nullopt;
    char out[48];
    std::snprintf(out, sizeof out, "%02d:%02d:%02d", *h, *m, *s);
    return out;
}

/// A coordinate as "[+-]D M S" (blank-separated, minutes and seconds below 60) or as decimal
/// degrees ("8.5", "-8,5"), written as sign + degrees (`degree_digits` wide) + " MM SS".
/// Nothing when it is malformed or its size exceeds `limit` degrees.
std::optional<std::string> coordinate_field(std::string_view text, int degree_digits, int limit)
{
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    long total_seconds = 0;
    if (text.find(' ') != std::string_view::npos) {
        std::vector<std::string_view> parts;
        for (std::string_view p : split(text, ' '))
            if (!p.empty()) parts.push_back(p);
        if (parts.size() < 2 || parts.size() > 3) return std::nullopt;
        const auto d = digits(parts[0], 3), m = digits(parts[1], 2);
        const auto s = parts.size() == 3 ? digits(parts[2], 2) : std::optional<int>(0);
        if (!d || !m || !s || *m > 59 || *s > 59) return std::nullopt;
        total_seconds = *d * 3600L + *m * 60L + *s;
    } else {
        std::string decimal(text);
        for (char& c : decimal)
            if (c == ',') c = '.';
        if (decimal.empty() || decimal.find_first_not_of("0123456789.") != std::string::npos) return std::nullopt;
        double degrees = 0;
        const auto [end, ec] = std::from_chars(decimal.data(), decimal.data() + decimal.size(), degrees);
        if (ec != std::errc() || end != decimal.data() + decimal.size()) return std::nullopt;
        if (degrees > limit + 1.0) return std::nullopt;
        total_seconds = std::lround(degrees * 3600.0);
    }
    if (total_seconds > limit * 3600L) return std::nullopt;
    if (total_seconds == 0) negative = false;
    char out[64];
    std::snprintf(out, sizeof out, "%c%0*ld %02ld %02ld", negative ? '-' : '+', degree_digits,
                  total_seconds / 3600, total_seconds / 60 % 60, total_seconds % 60);
    return out;
}

/// A text field in Windows-1252, at most 10 characters.
std::optional<std::string> text_field(const std::string& utf8, const char* what, std::string& why)
{
    const auto text = utf8_to_cp1252(utf8);
    if (!text) {
        why = std::string(what) + " \"" + utf8 + "\" has characters outside Windows-1252";
        return std::nullopt;
    }
    if (text->size() > chart_field_capacity) {
        why = std::string(what) + " \"" + utf8 + "\" is longer than 10 characters";
        return std::nullopt;
    }
    return text;
}

}  // namespace

int cmd_new_chart(const Args& args)
{
    std::optional<std::string> file, name, first_name, date, time, longitude, latitude, extra;
    bool force = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::optional<std::string>* option = a == "--name"         ? &name
                                             : a == "--first-name" ? &first_name
                                             : a == "--date"       ? &date
                                             : a == "--time"       ? &time
                                             : a == "--longitude"  ? &longitude
                                             : a == "--latitude"   ? &latitude
                                             : a == "--extra"      ? &extra
                                                                   : nullptr;
        if (option != nullptr) {
            if (i + 1 >= args.size() || option->has_value()) return usage();
            *option = args[++i];
        } else if (a == "--force") {
            force = true;
        } else if (a.starts_with("--") || file) {
            return usage();
        } else {
            file = a;
        }
    }
    if (!file || !name || !first_name || !date || !time || !longitude || !latitude) return usage();

    std::string why;
    chart_record record;
    const auto n = text_field(*name, "the name", why);
    const auto f = text_field(*first_name, "the first name", why);
    const auto x = text_field(extra.value_or(""), "the extra field", why);
    if (!n || !f || !x) return refuse(why);
    record.name = *n;
    record.first_name = *f;
    record.extra = *x;

    const auto d = date_field(*date);
    if (!d) return refuse("the date \"" + *date + "\" is no date DD.MM.YYYY between 0001 and 9999");
    const auto t = time_field(*time);
    if (!t) return refuse("the time \"" + *time + "\" is no time of day HH:MM:SS");
    const auto lon = coordinate_field(*longitude, 3, 180);
    if (!lon)
        return refuse("the longitude \"" + *longitude +
                      "\" is neither like +008 30 00 nor decimal degrees, or lies beyond 180 degrees");
    const auto lat = coordinate_field(*latitude, 2, 90);
    if (!lat)
        return refuse("the latitude \"" + *latitude +
                      "\" is neither like +53 33 00 nor decimal degrees, or lies beyond 90 degrees");
    record.date = *d;
    record.time = *t;
    record.longitude_text = *lon;
    record.latitude_text = *lat;

    // The program loads the file only when its name up to the first '.' matches the name field.
    const std::string base = file->substr(file->rfind('/') == std::string::npos ? 0 : file->rfind('/') + 1);
    const auto base_ansi = utf8_to_cp1252(base);
    if (base.empty() || !base_ansi || !name_check(*base_ansi, record))
        return refuse("the file name \"" + base + "\" does not match the name \"" + *name +
                      "\" (its part before the first '.' must equal the name's beginning, "
                      "letters a-z in any case, umlauts and other characters exactly)");

    // "x": never replace an existing chart file unless asked to.
    std::FILE* out = std::fopen(file->c_str(), force ? "wb" : "wbx");
    if (out == nullptr) {
        if (errno == EEXIST) return refuse("\"" + *file + "\" exists already (--force replaces it)");
        std::fprintf(stderr, "duoskop-cli new-chart: %s: %s\n", file->c_str(),
                     cp1252_to_utf8(io_error_text(errno)).c_str());
        return 1;
    }
    const std::string bytes = chart_record_bytes(record);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    const int write_errno = errno;
    if (std::fclose(out) != 0 || !written) {
        std::fprintf(stderr, "duoskop-cli new-chart: %s: %s\n", file->c_str(),
                     cp1252_to_utf8(io_error_text(written ? errno : write_errno)).c_str());
        return 1;
    }
    return 0;
}

}  // namespace duoskop::cli
