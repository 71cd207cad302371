// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as AAF and as CSV, read with a small atlas: every record either has birth data that
// make a chart record, or a reason with a line number inside the file; AAF written from those
// records reads back to the same records.
#include <cstdint>
#include <string>
#include <string_view>

#include "birth/exchange.h"
#include "fuzz/fuzz_harness.h"

using namespace duoskop;

namespace {

const Atlas& small_atlas()
{
    static const Atlas atlas = Atlas::parse(
        "Z\tEurope/Berlin\nZ\tAmerica/Sao_Paulo\n"
        "P\tBerlin\tDE\t16\t52.5244\t13.4105\t0\t3426354\tBerlino\n"
        "P\tS\xC3\xA3o Paulo\tBR\t27\t-23.5475\t-46.6361\t1\t10021295\t\n");
    return atlas;
}

void check(const std::vector<ImportedRecord>& records, std::size_t lines)
{
    std::vector<chart_record> good;
    for (const auto& r : records) {
        fuzzing::require(r.line >= 1 && r.line <= lines);
        fuzzing::require(r.data.has_value() != !r.error.empty());
        if (!r.data) continue;
        std::string why;
        const auto record = chart_record_of(*r.data, why);
        fuzzing::require(record.has_value());
        good.push_back(*record);
    }
    const auto back = read_aaf(write_aaf(good), nullptr);
    fuzzing::require(back.size() == good.size());
    for (std::size_t i = 0; i < good.size(); ++i) {
        fuzzing::require(back[i].data.has_value());
        std::string why;
        const auto again = chart_record_of(*back[i].data, why);
        fuzzing::require(again && again->date == good[i].date && again->time == good[i].time &&
                         again->longitude_text == good[i].longitude_text &&
                         again->latitude_text == good[i].latitude_text);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::size_t lines = 1;
    for (char c : bytes) lines += c == '\n';
    check(read_aaf(bytes, &small_atlas()), lines);
    check(read_csv(bytes, &small_atlas()), lines);
    return 0;
}
