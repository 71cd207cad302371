// SPDX-License-Identifier: GPL-3.0-or-later
// Any 77-byte record: its birth data are read leniently and the chart computed from them
// holds finite longitudes only.
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "app/chart_file.h"
#include "astro/std_ho.h"
#include "fuzz/fuzz_harness.h"

using namespace duoskop;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::array<unsigned char, chart_record_size> bytes{};
    std::memcpy(bytes.data(), data, std::min(size, bytes.size()));
    const chart_record record = read_chart_record(bytes);
    for (const std::string* field : {&record.name, &record.first_name, &record.date, &record.time,
                                     &record.extra, &record.longitude_text, &record.latitude_text})
        fuzzing::require(field->size() <= chart_field_capacity);
    // A record written back and read again is the same record.
    const std::string again = chart_record_bytes(record);
    fuzzing::require(again.size() == chart_record_size);
    fuzzing::require(read_chart_record(std::span<const unsigned char, chart_record_size>(
                         reinterpret_cast<const unsigned char*>(again.data()), chart_record_size)) == record);

    const BirthData birth = werte_aktual(record);
    fuzzing::require(birth.birth_time >= 0 && birth.birth_time < 256 + 256.0 / 60 + 256.0 / 3600);
    const Positions positions = f_rechnen(birth);
    for (double p : positions) fuzzing::require(std::isfinite(p));
    return 0;
}
