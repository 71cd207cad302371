// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as KTEXTE.txt: whole records are kept, fields never exceed their capacity, and the
// single-meaning search stops at the last record.
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_harness.h"
#include "results/ktexte.h"

using namespace duoskop;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Ktexte ktexte;
    const KtexteLoadResult result = parse_ktexte(bytes, ktexte);
    fuzzing::require(ktexte.ktexte_table.size() == size / ktexte_record_size);
    fuzzing::require(ktexte.ktexte_da == (result.outcome == KtexteOutcome::loaded));
    for (const KtexteRecord& record : ktexte.ktexte_table)
        fuzzing::require(record.key.size() <= ktexte_key_capacity && record.text.size() <= ktexte_text_capacity);
    if (size >= 5) single_meaning(ktexte, bytes.substr(0, 5));
    return 0;
}
