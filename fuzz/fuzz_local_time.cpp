// SPDX-License-Identifier: GPL-3.0-or-later
// Any date, clock time, zone and longitude as typed: what is accepted converts to a valid
// universal time within a day of the local time, or is refused with a German reason.
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "birth/chart_input.h"
#include "birth/local_time.h"
#include "fuzz/fuzz_harness.h"

using namespace duoskop;

// Input: date, time, zone, longitude and the choice (0, 1, 2) separated by newlines.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> parts;
    for (std::size_t start = 0; parts.size() < 5;) {
        const std::size_t stop = text.find('\n', start);
        parts.push_back(text.substr(start, stop == std::string_view::npos ? std::string_view::npos : stop - start));
        if (stop == std::string_view::npos) break;
        start = stop + 1;
    }
    parts.resize(5);
    const auto date = parse_date(parts[0]);
    if (!date) return 0;
    const auto local = parse_clock(parts[1], *date);
    if (!local) return 0;
    fuzzing::require(valid_civil_time(*local));
    std::string error;
    const auto zone = parse_zone(parts[2], error);
    fuzzing::require(zone.has_value() == error.empty());
    if (!zone) return 0;
    double longitude = 0;
    std::from_chars(parts[3].data(), parts[3].data() + parts[3].size(), longitude);
    const Ambiguous choice = parts[4] == "1" ? Ambiguous::earlier : parts[4] == "2" ? Ambiguous::later : Ambiguous::refuse;
    const Conversion c = to_universal(*local, *zone, longitude, choice);
    fuzzing::require(c.time.has_value() == c.error.empty());
    if (!c.time) return 0;
    fuzzing::require(std::abs(c.time->offset_seconds) <= 15 * 3600);
    const double shift = julian_day(*local) - julian_day(c.time->ut);
    fuzzing::require(shift * 86400.0 > c.time->offset_seconds - 1 && shift * 86400.0 < c.time->offset_seconds + 1);
    return 0;
}
