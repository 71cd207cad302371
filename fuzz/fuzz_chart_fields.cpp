// SPDX-License-Identifier: GPL-3.0-or-later
// Any command-line values for a new chart file: what the field checks accept is written to a
// record that reads back to the same fields and to birth data within range.
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/chart_fields.h"
#include "app/chart_file.h"
#include "fuzz/fuzz_harness.h"

using namespace duoskop;

// Input: date, time, longitude and latitude separated by newlines.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> parts;
    for (std::size_t start = 0; parts.size() < 4;) {
        const std::size_t stop = text.find('\n', start);
        parts.push_back(text.substr(start, stop == std::string_view::npos ? std::string_view::npos : stop - start));
        if (stop == std::string_view::npos) break;
        start = stop + 1;
    }
    parts.resize(4);
    const auto date = date_field(parts[0]);
    const auto time = time_field(parts[1]);
    const auto lon = coordinate_field(parts[2], 3, 180);
    const auto lat = coordinate_field(parts[3], 2, 90);
    if (date) fuzzing::require(date->size() == 10);
    if (time) fuzzing::require(time->size() == 8);
    if (lon) fuzzing::require(lon->size() == 10);
    if (lat) fuzzing::require(lat->size() == 9);
    if (!date || !time || !lon || !lat) return 0;

    chart_record record{"Name", "Vorname", *date, *time, "", *lon, *lat};
    const std::string bytes = chart_record_bytes(record);
    const chart_record back = read_chart_record(std::span<const unsigned char, chart_record_size>(
        reinterpret_cast<const unsigned char*>(bytes.data()), chart_record_size));
    fuzzing::require(back == record);
    const BirthData birth = werte_aktual(back);
    fuzzing::require(birth.birth_day >= 1 && birth.birth_day <= 31);
    fuzzing::require(birth.birth_month >= 1 && birth.birth_month <= 12);
    fuzzing::require(birth.birth_year >= 1 && birth.birth_year <= 9999);
    fuzzing::require(birth.birth_time >= 0 && birth.birth_time < 24);
    fuzzing::require(std::fabs(birth.geo_longitude) <= 180 && std::fabs(birth.geo_latitude) <= 90);
    return 0;
}
