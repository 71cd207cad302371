// SPDX-License-Identifier: GPL-3.0-or-later
// places: searches the place atlas as the chart input does and lists the best matches.
#include <charconv>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>

#include "base/cp1252.h"
#include "cli/cli.h"
#include "cli/options.h"
#include "places/atlas.h"

namespace duoskop::cli {

std::optional<Atlas> open_atlas(const char* command)
{
    std::string error;
    auto atlas = Atlas::load(atlas_path(), error);
    if (!atlas)
        std::fprintf(stderr, "duoskop-cli %s: Atlas %s: %s\n", command, valid_utf8(atlas_path().string()).c_str(),
                     cp1252_to_utf8(error).c_str());
    return atlas;
}

std::string decimal_text(double value, int decimals)
{
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    std::string text(buffer, ec == std::errc() ? end : buffer);
    if (text.starts_with('-') && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
    return text;
}

constexpr OptionRule places_rule_table[] = {{"--limit", 1}};
constinit const std::span<const OptionRule> places_rules = places_rule_table;

int cmd_places(const Args& args)
{
    const ReadOptions o = read_options(args, places_rules);
    if (!o.ok() || o.positionals.size() != 1) return usage("places");
    std::size_t limit = 10;
    for (const std::string& n : o.each("--limit")) {
        const auto given = parse_whole(n, 1, std::numeric_limits<long long>::max());
        if (!given) return usage("places");
        limit = static_cast<std::size_t>(*given);
    }
    const std::string& query = o.positionals.front();
    const auto atlas = open_atlas("places");
    if (!atlas) return 1;
    const auto places = atlas->search(query, limit);
    if (places.empty()) {
        std::fprintf(stderr, "duoskop-cli places: Kein Ort im Atlas passt zu \"%s\".\n", valid_utf8(query).c_str());
        return 1;
    }
    for (const Place& p : places)
        std::printf("%s\t%s\t%s\t%s\t%s\t%s\t%lld\n", valid_utf8(p.name).c_str(), valid_utf8(p.region).c_str(),
                    p.country.c_str(), decimal_text(p.latitude, 4).c_str(), decimal_text(p.longitude, 4).c_str(),
                    p.zone.c_str(), static_cast<long long>(p.population));
    return 0;
}

}  // namespace duoskop::cli
