// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/chart_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>

#include "base/cp1252.h"
#include "app/dial.h"
#include "base/io_error.h"
#include "base/texts.h"
#include "astro/std_ho.h"

namespace duoskop {

namespace {

// The characters `count` from position `start` (counted from 1) of `text`; shorter or empty when
// the text ends before.
std::string_view part(std::string_view text, std::size_t start, std::size_t count)
{
    if (start < 1 || start > text.size()) return {};
    return text.substr(start - 1, count);
}

// A decimal integer read leniently: leading blanks skipped, an optional sign, then digits up to
// the first other character; what was read so far counts, no digit at all gives 0.
std::int32_t lenient_int(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT32_MAX) value = INT32_MAX;  // fields hold at most 4 digits; a guard only
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

// The value of a part kept in one byte: modulo 256.
std::uint8_t byte_of(std::string_view text)
{
    return static_cast<std::uint8_t>(static_cast<std::uint32_t>(lenient_int(text)) & 0xFF);
}

// degrees + minutes/60 + seconds/3600, each part first kept in one byte.
double sexagesimal(std::string_view whole, std::string_view minutes, std::string_view seconds)
{
    const double w = byte_of(whole);
    const double m = byte_of(minutes);
    const double s = byte_of(seconds);
    return w + m / 60 + s / 3600;
}

}  // namespace

chart_record read_chart_record(std::span<const unsigned char, chart_record_size> bytes)
{
    std::string fields[7];
    for (std::size_t f = 0; f < 7; ++f) {
        const std::size_t offset = f * (chart_field_capacity + 1);
        const std::size_t length = std::min<std::size_t>(bytes[offset], chart_field_capacity);
        fields[f].assign(reinterpret_cast<const char*>(bytes.data() + offset + 1), length);
    }
    return {fields[0], fields[1], fields[2], fields[3], fields[4], fields[5], fields[6]};
}

std::string chart_record_bytes(const chart_record& record)
{
    std::string bytes;
    bytes.reserve(chart_record_size);
    for (const std::string* field : {&record.name, &record.first_name, &record.date, &record.time,
                                     &record.extra, &record.longitude_text, &record.latitude_text}) {
        const std::size_t length = std::min(field->size(), chart_field_capacity);
        bytes += static_cast<char>(length);
        bytes.append(*field, 0, length);
        bytes.append(chart_field_capacity - length, ' ');
    }
    return bytes;
}

DateParts date_parts(std::string_view date)
{
    // Characters 1-2, 4-5 and 7-10.
    return {lenient_int(part(date, 1, 2)), lenient_int(part(date, 4, 2)), lenient_int(part(date, 7, 4))};
}

TimeParts time_parts(std::string_view time)
{
    // Characters 1-2, 4-5 and 7-8.
    return {byte_of(part(time, 1, 2)), byte_of(part(time, 4, 2)), byte_of(part(time, 7, 2))};
}

BirthData werte_aktual(const chart_record& record)
{
    BirthData birth;
    const DateParts date = date_parts(record.date);
    birth.birth_day = date.day;
    birth.birth_month = date.month;
    birth.birth_year = date.year;
    // Time HH:MM:SS, universal time.
    const TimeParts time = time_parts(record.time);
    const double hours = time.hours;
    const double minutes = time.minutes;
    const double seconds = time.seconds;
    birth.birth_time = hours + minutes / 60 + seconds / 3600;
    // The sign of each coordinate is its first character.
    const bool west = !record.longitude_text.empty() && record.longitude_text[0] == '-';
    const bool south = !record.latitude_text.empty() && record.latitude_text[0] == '-';
    // Longitude: degrees in characters 2-4, minutes 6-7, seconds 9-10.
    birth.geo_longitude = sexagesimal(part(record.longitude_text, 2, 3),
                                      part(record.longitude_text, 6, 2),
                                      part(record.longitude_text, 9, 2));
    if (west) birth.geo_longitude = -birth.geo_longitude;
    // Latitude: degrees in characters 2-3, minutes 5-6, seconds 8-9.
    birth.geo_latitude = sexagesimal(part(record.latitude_text, 2, 2),
                                     part(record.latitude_text, 5, 2),
                                     part(record.latitude_text, 8, 2));
    if (south) birth.geo_latitude = -birth.geo_latitude;
    return birth;
}

bool name_check(std::string_view file_name, const chart_record& record)
{
    // e: the position of the first '.' minus 1; no '.' compares two empty texts.
    const std::size_t dot = file_name.find('.');
    const std::size_t e = dot == std::string_view::npos ? 0 : dot;
    const std::string_view file_part = file_name.substr(0, e);
    const std::string_view name_part = std::string_view(record.name).substr(0, e);
    if (file_part.size() != name_part.size()) return false;
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    for (std::size_t i = 0; i < file_part.size(); ++i)
        if (upper(file_part[i]) != upper(name_part[i])) return false;
    return true;
}

namespace {

LoadResult cannot_open(int errno_value) { return {LoadOutcome::cannot_open, io_error_text(errno_value)}; }

}  // namespace

LoadResult holen(const std::string& path, int person, ChartState& state)
{
    return holen(path, person, state, nullptr);
}

LoadResult holen(const std::string& path, int person, ChartState& state, ChartFunction compute)
{
    // 1. Open the file for reading. A directory cannot be opened as a file (access denied).
    if (path.find('\0') != std::string::npos) return cannot_open(EINVAL);
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!file) return cannot_open(errno);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) return cannot_open(errno);
    if (S_ISDIR(info.st_mode)) return cannot_open(EISDIR);

    // 2. Read the first record; a file shorter than one record cannot be read.
    std::array<unsigned char, chart_record_size> bytes{};
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(file.get(), bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    if (got < bytes.size()) {
        return {LoadOutcome::cannot_read, std::string(texts::kLoadFailedBefore) +
                                              cp1252_of_file_name(path) +
                                              std::string(texts::kLoadFailedAfter)};
    }
    file.close();

    // 3.-5. Copy the fields, read the birth data, compute the chart.
    const chart_record record = read_chart_record(bytes);
    const BirthData birth = werte_aktual(record);
    const Positions positions = compute != nullptr ? compute(birth) : f_rechnen(birth);

    // 6. Name check: the file name (after the last '/') in Windows-1252; a character that
    //    Windows-1252 cannot hold makes it fail.
    const std::size_t slash = path.rfind('/');
    const std::string file_name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::optional<std::string> file_name_1252 = utf8_to_cp1252(file_name);
    if (!file_name_1252 || !name_check(*file_name_1252, record)) {
        return {LoadOutcome::not_a_chart,
                cp1252_of_file_name(file_name) + std::string(texts::kNotAChartFile)};
    }

    // Only a load that passed every step changes the state.
    state.birth = birth;
    state.positions = positions;
    if (person == 1) {
        state.person1 = record;
        state.pos1 = positions;
    } else {
        state.person2 = record;
        state.pos2 = positions;
        form_search_axes(state.pos1, state.pos2, state.axes);
    }
    return {};
}

}  // namespace duoskop
