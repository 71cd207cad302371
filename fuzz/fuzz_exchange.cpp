// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as AAF and as CSV, read with a small atlas: every record either has a checked chart
// record (text fields of Windows-1252 without control characters, a name that makes a file name)
// or a reason with a line number inside the file; AAF written from the records it can carry reads
// back to the same records, names, extra and stars ("*" as a name, first name or extra) included;
// a file in which no record is recognised is refused whole.
#include <cstdint>
#include <string>
#include <string_view>

#include "app/chart_file.h"
#include "birth/exchange.h"
#include "birth/intake.h"
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

bool plain_field(const std::string& text)
{
    if (text.size() > chart_field_capacity) return false;
    for (const char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
    return true;
}

void check(const std::vector<ImportedRecord>& records, std::size_t lines)
{
    std::vector<chart_record> good;
    for (const auto& r : records) {
        fuzzing::require(r.line >= 1 && r.line <= lines);
        fuzzing::require(r.data.has_value() != !r.error.empty());
        fuzzing::require(r.data.has_value() == r.record.has_value());
        if (!r.record) continue;
        const chart_record& record = *r.record;
        fuzzing::require(plain_field(record.name) && plain_field(record.first_name) && plain_field(record.extra));
        fuzzing::require(!file_name_refusal(record.name) && r.file_name == chart_file_name(record.name));
        fuzzing::require(r.file_name.find_first_of("/\t\r\n") == std::string::npos);
        if (aaf_refusal(record)) continue;
        good.push_back(record);
        // The same chart with stars for its texts: "*" is AAF's "not given", yet it comes back.
        // Its texts are others, so export may refuse it (bytes that now read as UTF-8).
        chart_record starred = record;
        starred.first_name = "*";
        starred.extra = "**";
        if (!aaf_refusal(starred)) good.push_back(starred);
    }
    const auto trimmed = [](const std::string& text) {
        const std::size_t first = text.find_first_not_of(" \t");
        return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(" \t") - first + 1);
    };
    const auto back = read_aaf(write_aaf(good), nullptr);
    fuzzing::require(back.size() == good.size());
    for (std::size_t i = 0; i < good.size(); ++i) {
        fuzzing::require(back[i].record.has_value());
        const chart_record& again = *back[i].record;
        fuzzing::require(again.name == good[i].name && again.first_name == good[i].first_name &&
                         again.date == good[i].date && again.time == good[i].time &&
                         again.longitude_text == good[i].longitude_text &&
                         again.latitude_text == good[i].latitude_text);
        // The extra travels as the place, which AAF reads without its outer blanks.
        fuzzing::require(trimmed(again.extra) == trimmed(good[i].extra));
    }
}

void check_file(const ExchangeFile& file, std::size_t lines)
{
    // Nothing recognised: refused whole, never an empty success.
    fuzzing::require(!file.records.empty() || !file.error.empty());
    check(file.records, lines);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::size_t lines = 1;
    for (char c : bytes) lines += c == '\n' || c == '\r';  // CR alone ends a line too
    check(read_aaf(bytes, &small_atlas()), lines);
    check(read_csv(bytes, &small_atlas()), lines);
    check_file(read_exchange(bytes, &small_atlas()), lines);
    check_file(read_aaf_file(bytes, &small_atlas()), lines);
    check_file(read_csv_file(bytes, &small_atlas()), lines);
    return 0;
}
