// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a position table: refused with a reason or read, and reading every body at the
// edges and inside of its range (each block checked as it is read) gives nothing or a longitude
// in [0, 360). The same bytes with their checksums set afresh reach the checks behind them.
#include <cmath>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_harness.h"
#include "precise/precise_table.h"

using namespace duoskop;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    for (const bool sealed : {false, true}) {
        if (sealed) seal_table(bytes);
        std::string error;
        const auto table = PreciseTable::from_bytes(bytes, error);
        fuzzing::require((table == nullptr) == !error.empty());
        if (!table) continue;
        const TableInfo& info = table->info();
        const double span = info.end_jde - info.start_jde;
        for (const double at : {0.0, 1e-9, 0.3, 0.5, 0.999, 1.0, -0.1, 1.1}) {
            const double jde = info.start_jde + at * span;
            for (std::size_t b = 0; b < precise_body_count; ++b) {
                const auto l = table->longitude(precise_body(b), jde);
                fuzzing::require(!l || (*l >= 0 && *l < 360));
                fuzzing::require(!l || table->covers(jde));
            }
        }
        fuzzing::require(!table->longitude(PreciseBody::sun, std::nan("")));
    }
    return 0;
}
