// SPDX-License-Identifier: GPL-3.0-or-later
// The shipped atlas names every place's region in words: GeoNames' names, German ones for
// Germany, Austria and Switzerland, never a bare code.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "places/atlas.h"
#include "tests/core/test_support.h"

using namespace duoskop;
using test_support::run_cli;

namespace {

std::vector<std::string> fields(const std::string& line)
{
    std::vector<std::string> out;
    std::stringstream in(line);
    for (std::string f; std::getline(in, f, '\t');) out.push_back(f);
    return out;
}

}  // namespace

TEST(AtlasRegions, PlacesNameTheirRegionInWords)
{
    std::string error;
    const auto atlas = Atlas::load(DUOSKOP_SOURCE_ATLAS, error);
    ASSERT_TRUE(atlas) << error;
    const struct {
        const char* query;
        const char* country;
        const char* region;
    } cases[] = {
        {"Vientiane", "LA", "Vientiane Prefecture"},
        {"S\xC3\xA3o Paulo", "BR", "S\xC3\xA3o Paulo"},
        {"Paris", "FR", "\xC3\x8Ele-de-France"},  // a region of 2016, code 11
        {"Lyon", "FR", "Auvergne-Rh\xC3\xB4ne-Alpes"},
        {"M\xC3\xBCnchen", "DE", "Bayern"},        // German names for DE, AT, CH
        {"Villach", "AT", "K\xC3\xA4rnten"},
        {"Chur", "CH", "Graub\xC3\xBCnden"},
        {"Los Angeles", "US", "California"},
    };
    for (const auto& c : cases) {
        const auto found = atlas->search(c.query, 1, c.country);
        ASSERT_FALSE(found.empty()) << c.query;
        EXPECT_EQ(found[0].region, c.region) << c.query;
    }
}

TEST(AtlasRegions, EveryRegionCodeOfAPlaceHasItsName)
{
    std::ifstream in(DUOSKOP_SOURCE_ATLAS, std::ios::binary);
    ASSERT_TRUE(in);
    std::set<std::pair<std::string, std::string>> named;
    std::size_t places = 0;
    for (std::string line; std::getline(in, line);) {
        const auto f = fields(line);
        if (f.size() >= 4 && f[0] == "R") named.insert({f[1], f[2]});
        if (f.size() >= 4 && f[0] == "P") {
            ++places;
            if (!f[3].empty()) {
                EXPECT_TRUE(named.count({f[2], f[3]})) << f[1] << " " << f[2] << " " << f[3];
            }
        }
    }
    EXPECT_GT(places, 100000u);
}

TEST(AtlasRegions, CliPrintsTheSameRegionText)
{
    const auto run = run_cli({"places", "Vientiane", "--limit", "1"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(fields(run.out.substr(0, run.out.find('\n')))[1], "Vientiane Prefecture");
}
