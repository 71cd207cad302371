// SPDX-License-Identifier: GPL-3.0-or-later
// Any 77-byte record and any shift of up to 720 minutes either way: the shifted record holds a
// time of day HH:MM:SS that lies the shift away from the record's time, and, when the shift
// crosses midnight, a date of the calendar; and the shifted instant is the record's, bit for bit.
#include <array>
#include <cstdint>
#include <cstring>

#include "app/chart_file.h"
#include "fuzz/fuzz_harness.h"
#include "timeprobe/time_probe.h"

using namespace duoskop;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::array<unsigned char, chart_record_size> bytes{};
    std::memcpy(bytes.data(), data, std::min(size, bytes.size()));
    const chart_record record = read_chart_record(bytes);
    int minutes = 0;
    if (size >= chart_record_size + 2)
        minutes = (data[chart_record_size] << 8 | data[chart_record_size + 1]) % 1441 - 720;

    const auto shifted = shifted_record(record, minutes);
    const auto instant = shifted_instant(record, minutes);
    fuzzing::require(shifted.has_value() == instant.has_value());
    if (!shifted) return 0;
    // The probe's instant is the one a chart file holding the shifted record gives, bit for bit.
    const ChartInstant read = chart_instant(werte_aktual(*shifted));
    fuzzing::require(std::memcmp(&read.jd0, &instant->jd0, sizeof read.jd0) == 0 &&
                     std::memcmp(&read.hours, &instant->hours, sizeof read.hours) == 0 &&
                     read.year == instant->year);
    if (minutes == 0) {
        fuzzing::require(*shifted == record);
        return 0;
    }
    fuzzing::require(shifted->time.size() == 8 && shifted->date.size() <= chart_field_capacity);
    const TimeParts before = time_parts(record.time);
    const TimeParts after = time_parts(shifted->time);
    fuzzing::require(after.hours < 24 && after.minutes < 60 && after.seconds < 60);
    const long moved = (after.hours * 3600L + after.minutes * 60L + after.seconds) -
                       (before.hours * 3600L + before.minutes * 60L + before.seconds) - minutes * 60L;
    fuzzing::require(moved % 86400 == 0);
    if (shifted->date != record.date) {
        const DateParts date = date_parts(shifted->date);
        fuzzing::require(date.month >= 1 && date.month <= 12 && date.day >= 1 && date.day <= 31);
    }
    // The record written back keeps every field.
    const std::string again = chart_record_bytes(*shifted);
    fuzzing::require(read_chart_record(std::span<const unsigned char, chart_record_size>(
                         reinterpret_cast<const unsigned char*>(again.data()), chart_record_size)) ==
                     *shifted);
    return 0;
}
