// SPDX-License-Identifier: GPL-3.0-or-later
// Any text typed into the chart dialog: what the checks accept becomes a record that reads back
// unchanged, whose file name passes the name check, and whose birth data lie within range.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/chart_file.h"
#include "base/cp1252.h"
#include "fuzz/fuzz_harness.h"
#include "kartei/draft.h"

using namespace duoskop;

// Input: six bytes for the coordinates and the time flags, then name, first name, date, time,
// extra, folder and zone separated by newlines.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 6) return 0;
    ChartDraft draft;
    draft.longitude = {data[0] % 200, data[1] % 64, data[2] % 64, (data[0] & 0x80) != 0};
    draft.latitude = {data[3] % 100, data[4] % 64, data[5] % 64, (data[3] & 0x80) != 0};
    draft.time_unknown = (data[5] & 0x80) != 0;
    draft.local_time = (data[4] & 0x80) != 0;
    draft.reading = static_cast<Ambiguous>(data[2] % 3);
    const std::string_view text(reinterpret_cast<const char*>(data + 6), size - 6);
    std::vector<std::string> parts;
    for (std::size_t start = 0; parts.size() < 7;) {
        const std::size_t stop = text.find('\n', start);
        parts.emplace_back(text.substr(start, stop == std::string_view::npos ? std::string_view::npos : stop - start));
        if (stop == std::string_view::npos) break;
        start = stop + 1;
    }
    parts.resize(7);
    draft.name = parts[0];
    draft.first_name = parts[1];
    draft.date = parts[2];
    draft.time = parts[3];
    draft.extra = parts[4];
    draft.folder = parts[5];
    draft.zone = parts[6];

    const DraftCheck check = check_draft(draft);
    if (check.twice) fuzzing::require(check.earlier.offset_seconds != check.later.offset_seconds);
    if (!check.ok()) return 0;
    fuzzing::require(check.universal.has_value() == (draft.local_time && !draft.time_unknown));
    const chart_record& record = check.record;
    const std::string bytes = chart_record_bytes(record);
    const chart_record back = read_chart_record(std::span<const unsigned char, chart_record_size>(
        reinterpret_cast<const unsigned char*>(bytes.data()), chart_record_size));
    fuzzing::require(back == record);
    const auto file_name = utf8_to_cp1252(chart_file_name(record.name));
    fuzzing::require(file_name && name_check(*file_name, record));
    // The folder stays inside the chart folder: no empty, hidden, "." or ".." part.
    for (std::size_t start = 0; !check.folder.empty() && start <= check.folder.size();) {
        const std::size_t stop = std::min(check.folder.find('/', start), check.folder.size());
        fuzzing::require(stop > start && check.folder[start] != '.');
        start = stop + 1;
    }
    const BirthData birth = werte_aktual(back);
    fuzzing::require(birth.birth_time >= 0 && birth.birth_time < 24);
    fuzzing::require(std::fabs(birth.geo_longitude) <= 180 && std::fabs(birth.geo_latitude) <= 90);
    const ChartPreview preview = chart_preview(record);
    fuzzing::require(!preview.sun.empty() && !preview.mc.empty() && !preview.as.empty());
    return 0;
}
