// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as atlas text: reading never fails, every place found lies within the coordinate
// ranges, searching and matching a typed place with any query (here: the input's first line) never
// break, and plain letters are ASCII.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_harness.h"
#include "places/atlas.h"

using namespace duoskop;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string query = text.substr(0, text.find('\n'));
    const Atlas atlas = Atlas::parse(text);
    for (const NameMatch match : {NameMatch::prefix, NameMatch::whole}) {
        const auto places = atlas.search(query, 20, {}, match);
        fuzzing::require(places.size() <= 20 && places.size() <= atlas.size());
        for (const Place& p : places) {
            fuzzing::require(p.latitude >= -90 && p.latitude <= 90);
            fuzzing::require(p.longitude >= -180 && p.longitude <= 180);
            fuzzing::require(p.population >= 0);
        }
    }
    // The typed place: one place taken, or the candidates of one tier that a chart may take.
    for (const std::string_view country : {std::string_view(), std::string_view("DE")}) {
        const PlaceMatch m = atlas.match(query, country);
        fuzzing::require(m.places.empty() == (m.tier == PlaceTier::none));
        fuzzing::require(m.places.empty() || m.tier <= PlaceTier::other);
        fuzzing::require(!m.ambiguous || m.places.size() >= 1);
        fuzzing::require(m.places.size() <= atlas.size());
    }
    const std::string plain = plain_letters(text);
    for (const char c : plain) fuzzing::require(static_cast<unsigned char>(c) < 0x80);
    const std::string key = search_key(text);
    fuzzing::require(key.empty() || (key.front() != ' ' && key.back() != ' '));
    fuzzing::require(key.find("  ") == std::string::npos);
    return 0;
}
