// SPDX-License-Identifier: GPL-3.0-or-later
// CSV headers: any bytes as the header line before a good record, and the known columns in any
// order the input chooses. A file is refused whole or read with its records after the header; the
// same columns in another order give the same chart record.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "birth/exchange.h"
#include "fuzz/fuzz_harness.h"

using namespace duoskop;

namespace {

using Column = std::pair<std::string_view, std::string_view>;  // header name, value
constexpr std::array<Column, 10> columns = {{{"Name", "Meier"},        {"Vorname", "Hans"},   {"Datum", "1.6.1945"},
                                             {"Zeit", "12:00"},        {"Zone", "UTC+01:00"}, {"Ort", "Berlin"},
                                             {"Land", "DE"},           {"Breite", "52.5"},    {"L\xC3\xA4nge", "13.4"},
                                             {"Zusatz", "Mitte"}}};

std::string csv_of(const std::array<Column, 10>& order)
{
    std::string header, line;
    for (std::size_t i = 0; i < order.size(); ++i) {
        header += (i == 0 ? "" : ";") + std::string(order[i].first);
        line += (i == 0 ? "" : ";") + std::string(order[i].second);
    }
    return header + "\r\n" + line + "\r\n";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // The bytes as the header line.
    const ExchangeFile any = read_csv_file(std::string(bytes) + "\nMeier;Hans;1.6.1945;12:00;UT;;;52;13;\n", nullptr);
    fuzzing::require(any.error.empty() || any.records.empty());
    for (const ImportedRecord& r : any.records) fuzzing::require(r.line >= 2);

    // The bytes choose the order of the columns.
    static const ExchangeFile canonical = read_csv_file(csv_of(columns), nullptr);
    fuzzing::require(canonical.records.size() == 1 && canonical.records[0].record.has_value());
    std::array<Column, 10> order = columns;
    for (std::size_t i = order.size() - 1; i > 0 && !bytes.empty(); --i) {
        const std::size_t k = static_cast<unsigned char>(bytes[i % bytes.size()]) % (i + 1);
        std::swap(order[i], order[k]);
    }
    const ExchangeFile shuffled = read_csv_file(csv_of(order), nullptr);
    fuzzing::require(shuffled.error.empty() && shuffled.records.size() == 1);
    fuzzing::require(shuffled.records[0].record == canonical.records[0].record);
    return 0;
}
