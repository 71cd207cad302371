// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as an atlas index: it is refused with a reason or read, and searching what was read
// (with a few queries, by prefix and whole name, with and without a country, and as a typed place
// with a qualifier) never breaks.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_harness.h"
#include "places/atlas.h"

using namespace duoskop;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string error;
    const auto atlas = Atlas::from_index(bytes, error);
    fuzzing::require(atlas.has_value() == error.empty());
    fuzzing::require(atlas.has_value() == Atlas::index_source(bytes).has_value());
    if (!atlas) return 0;
    for (const char* query : {"a", "b", "berg", "augsburg", "\xC3\xBC", "berg (a)", "a/b"}) {
        for (const NameMatch match : {NameMatch::prefix, NameMatch::whole}) {
            fuzzing::require(atlas->search(query, 20, {}, match).size() <= 20);
            fuzzing::require(atlas->search(query, 5, "DE", match).size() <= 5);
        }
        const PlaceMatch m = atlas->match(query, {});
        fuzzing::require(m.places.empty() == (m.tier == PlaceTier::none));
        fuzzing::require(m.places.size() <= atlas->size());
    }
    return 0;
}
