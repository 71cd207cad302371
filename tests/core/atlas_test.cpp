// SPDX-License-Identifier: GPL-3.0-or-later
// The place atlas: the search form of names, reading atlas text, ranking, and the shipped atlas.
#include <gtest/gtest.h>

#include "places/atlas.h"
#include "tests/core/test_support.h"

using namespace duoskop;
using test_support::run_cli;

namespace {

const Atlas& shipped_atlas()
{
    static const Atlas atlas = [] {
        std::string error;
        auto loaded = Atlas::load(DUOSKOP_SOURCE_ATLAS, error);
        EXPECT_TRUE(loaded) << error;
        return loaded ? *loaded : Atlas::parse("");
    }();
    return atlas;
}

}  // namespace

TEST(SearchKey, FoldsCaseAccentsAndGermanSpellings)
{
    const struct {
        const char* name;
        const char* key;
    } cases[] = {
        {"Z\xC3\xBCrich", "zurich"},           {"Zuerich", "zurich"},
        {"ZURICH", "zurich"},                  {"M\xC3\xBCnchen", "munchen"},
        {"K\xC3\xB6ln", "koln"},               {"Koeln", "koln"},
        {"Gie\xC3\x9F" "en", "giessen"},       {"\xC5\x81\xC3\xB3" "d\xC5\xBA", "lodz"},
        {"St. Gallen", "st gallen"},           {"Saint-\xC3\x89tienne", "saint etienne"},
        {"  Bad   Ems ", "bad ems"},           {"L'Aquila", "laquila"},
        {"Queens", "quens"},                   {"Muee", "mue"},  // the e after a dropped e stays
        {"\xD0\x9C\xD0\xB8\xD0\xBB\xD0\xB0\xD0\xBD", "\xD0\x9C\xD0\xB8\xD0\xBB\xD0\xB0\xD0\xBD"},
        {"a\xFF" "b", "a\xFF" "b"},           // a stray byte stays as it is
    };
    for (const auto& c : cases) EXPECT_EQ(search_key(c.name), c.key) << c.name;
}

TEST(AtlasText, SkipsBadLinesNamesRegionsAndRanksWholeNamesFirst)
{
    const Atlas atlas = Atlas::parse(
        "#\tcomment\n"
        "Z\tEurope/Berlin\n"
        "Z\tEurope/Zurich\n"
        "R\tDE\t02\tBayern\n"
        "P\tBergen\tDE\t02\t48.5\t11.5\t0\t5000\t\n"
        "P\tBerg\tDE\t07\t50.5\t7\t0\t2000\tMontagne|Berg am See\n"
        "P\tBergamo\tIT\t09\t45.7\t9.7\t0\t120000\t\n"
        "P\tBerg\tCH\tTG\t47.6\t9.2\t1\t3000\t\n"
        "P\tBroken zone\tDE\t02\t48\t11\t7\t100\t\n"       // no such zone
        "P\tBroken latitude\tDE\t02\t98\t11\t0\t100\t\n"  // beyond the pole
        "P\tBroken number\tDE\t02\t4x\t11\t0\t100\t\n"
        "P\tShort\n"
        "junk line\n");
    EXPECT_EQ(atlas.size(), 4u);

    const auto names = [](const std::vector<Place>& places) {
        std::vector<std::string> out;
        for (const auto& p : places) out.push_back(p.name + "/" + p.country);
        return out;
    };
    // Whole names first (by population), then the prefix matches by population.
    EXPECT_EQ(names(atlas.search("berg", 10)),
              (std::vector<std::string>{"Berg/CH", "Berg/DE", "Bergamo/IT", "Bergen/DE"}));
    EXPECT_EQ(names(atlas.search("Berg", 2)), (std::vector<std::string>{"Berg/CH", "Berg/DE"}));
    EXPECT_EQ(names(atlas.search("berg", 10, "de")), (std::vector<std::string>{"Berg/DE", "Bergen/DE"}));
    EXPECT_EQ(names(atlas.search("berg", 10, {}, NameMatch::whole)),
              (std::vector<std::string>{"Berg/CH", "Berg/DE"}));
    // An alternate name finds the place once, under its own name.
    EXPECT_EQ(names(atlas.search("montagne", 10)), (std::vector<std::string>{"Berg/DE"}));
    EXPECT_EQ(names(atlas.search("berg am", 10)), (std::vector<std::string>{"Berg/DE"}));
    EXPECT_TRUE(atlas.search("", 10).empty());
    EXPECT_TRUE(atlas.search(" - ", 10).empty());
    EXPECT_TRUE(atlas.search("x", 10).empty());

    const Place bergen = atlas.search("Bergen", 1).at(0);
    EXPECT_EQ(bergen, (Place{"Bergen", "Bayern", "DE", 48.5, 11.5, "Europe/Berlin", 5000}));
    EXPECT_EQ(atlas.search("Berg", 10, "DE").at(0).region, "07");  // no name known: the code
}

TEST(AtlasFile, MissingFileGivesTheGermanErrorText)
{
    std::string error;
    EXPECT_FALSE(Atlas::load("/nonexistent/atlas.txt", error));
    EXPECT_EQ(error, "Datei nicht gefunden");
}

TEST(ShippedAtlas, FindsPlacesUnderEveryWriting)
{
    const Atlas& atlas = shipped_atlas();
    EXPECT_GT(atlas.size(), 130000u);
    const struct {
        const char* query;
        const char* name;
        const char* country;
        const char* zone;
    } cases[] = {
        {"Zurich", "Z\xC3\xBCrich", "CH", "Europe/Zurich"},
        {"Z\xC3\xBCrich", "Z\xC3\xBCrich", "CH", "Europe/Zurich"},
        {"Zuerich", "Z\xC3\xBCrich", "CH", "Europe/Zurich"},
        {"Muenchen", "M\xC3\xBCnchen", "DE", "Europe/Berlin"},
        {"Koeln", "K\xC3\xB6ln", "DE", "Europe/Berlin"},
        {"Wien", "Vienna", "AT", "Europe/Vienna"},
        {"Mailand", "Milano", "IT", "Europe/Rome"},
        {"sao paulo", "S\xC3\xA3o Paulo", "BR", "America/Sao_Paulo"},
        {"Berlin", "Berlin", "DE", "Europe/Berlin"},
        {"Muenc", "M\xC3\xBCnchen", "DE", "Europe/Berlin"},  // typing: the biggest place first
    };
    for (const auto& c : cases) {
        const auto found = atlas.search(c.query, 5);
        ASSERT_FALSE(found.empty()) << c.query;
        EXPECT_EQ(found[0].name, c.name) << c.query;
        EXPECT_EQ(found[0].country, c.country) << c.query;
        EXPECT_EQ(found[0].zone, c.zone) << c.query;
    }
    const Place munich = atlas.search("M\xC3\xBCnchen", 1).at(0);
    EXPECT_EQ(munich.region, "Bayern");
    EXPECT_NEAR(munich.latitude, 48.1374, 1e-9);
    EXPECT_NEAR(munich.longitude, 11.5755, 1e-9);
}

TEST(ShippedAtlas, CountryCodesAsIsoOrVehicleCode)
{
    const struct {
        const char* text;
        const char* iso;
    } cases[] = {{"D", "DE"}, {"a", "AT"}, {" CH ", "CH"}, {"USA", "US"}, {"F", "FR"}, {"I", "IT"},
                 {"NL", "NL"}, {"de", "DE"}, {"SF", "FI"}, {"", nullptr}, {"XYZ", nullptr}, {"D1", nullptr}};
    for (const auto& c : cases) {
        const auto iso = country_code(c.text);
        if (c.iso) EXPECT_EQ(iso, std::optional<std::string>(c.iso)) << c.text;
        else EXPECT_FALSE(iso) << c.text;
    }
}

TEST(CliPlaces, ListsTabSeparatedFieldsBestFirstAndRefusesNoMatch)
{
    const auto run = run_cli({"places", "Muenchen", "--limit", "2"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find('\n') + 1),
              "M\xC3\xBCnchen\tBayern\tDE\t48.1374\t11.5755\tEurope/Berlin\t1260391\n");
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 2);
    const auto south_west = run_cli({"places", "S\xC3\xA3o Paulo", "--limit", "1"});
    EXPECT_EQ(south_west.out, "S\xC3\xA3o Paulo\tS\xC3\xA3o Paulo\tBR\t-23.5475\t-46.6361\tAmerica/Sao_Paulo\t10021295\n");
    const auto none = run_cli({"places", "Xyzzyq"});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.err, "duoskop-cli places: Kein Ort im Atlas passt zu \"Xyzzyq\".\n");
    EXPECT_EQ(run_cli({"places", "Berlin", "--limit", "0"}).status, 2);
    EXPECT_EQ(run_cli({"places"}).status, 2);
}
