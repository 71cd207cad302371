// SPDX-License-Identifier: GPL-3.0-or-later
// A typed place through every door: the tiers, the 10 km rule, dominance and qualifiers on a small
// atlas made here and on the shipped one; the lists of the atlas search; new-chart and import.
#include <gtest/gtest.h>

#include <span>

#include "app/chart_file.h"
#include "birth/chart_input.h"
#include "birth/intake.h"
#include "places/atlas.h"
#include "tests/core/test_support.h"

using namespace duoskop;

namespace {

const Atlas& shipped_atlas()
{
    static const Atlas atlas = [] {
        std::string error;
        auto loaded = Atlas::load(DUOSKOP_SOURCE_ATLAS, error);
        return loaded ? *loaded : Atlas::parse("");
    }();
    return atlas;
}

/// "Name/population" of the place taken, or "?" and the candidates, largest first.
std::string outcome(const PlaceMatch& m)
{
    if (m.places.empty()) return "-";
    if (!m.ambiguous) return m.places.front().name + "/" + std::to_string(m.places.front().population);
    std::string text = "?";
    for (const Place& p : m.places) text += " " + p.name + "/" + p.country;
    return text;
}

std::string names(const std::vector<Place>& places)
{
    std::string text;
    for (const Place& p : places) text += (text.empty() ? "" : " | ") + p.name + "/" + p.country;
    return text;
}

// 0.01 degrees of latitude are 1.1 km.
const char* const small_atlas =
    "Z\tEurope/Berlin\n"
    "R\tDE\t01\tBergland\n"
    "R\tDE\t02\tFlachland\n"
    "P\tAlpha\tDE\t01\t50.00\t10.00\t0\t500\t\n"
    "P\tAlpha\tDE\t01\t50.04\t10.00\t0\t2000\t\n"
    "P\tAlpha\tDE\t01\t50.08\t10.00\t0\t800\t\n"        // 8.9 km from the first: one place
    "P\tBeta\tDE\t01\t50.00\t11.00\t0\t100000\t\n"
    "P\tBeta\tDE\t02\t52.00\t11.00\t0\t10000\t\n"       // just dominated
    "P\tGamma\tDE\t01\t50.00\t12.00\t0\t99999\t\n"
    "P\tGamma\tDE\t02\t52.00\t12.00\t0\t9999\t\n"       // too few inhabitants to dominate
    "P\tDelta\tDE\t01\t50.00\t13.00\t0\t100000\t\n"
    "P\tDelta\tDE\t02\t52.00\t13.00\t0\t10001\t\n"      // more than a tenth
    "P\tEpsilon\tDE\t01\t50.00\t14.00\t0\t150000\t\n"
    "P\tEpsilon\tDE\t01\t50.05\t14.00\t0\t120000\t\n"   // near: no rival
    "P\tEpsilon\tDE\t02\t55.00\t14.00\t0\t14000\t\n"
    "P\tMetropolis\tFR\t01\t45.00\t5.00\t0\t5000000\tZeta|Kappa\n"
    "P\tZeta\tDE\t02\t51.00\t9.00\t0\t1000\t\n"          // its own name beats the metropolis's other name
    "P\tKappa\tCH\t01\t47.00\t8.00\t0\t3000\t\n"
    "P\tTheta\tDE\t01\t51.00\t7.00\t0\t1000\t\n"
    "P\tTheta\tDE\t02\t53.00\t7.00\t0\t1200\t\n"
    "P\tTheta auf Insel\tDE\t02\t54.00\t7.00\t0\t500\t\n"
    "P\tHuge\tDE\t01\t50.00\t6.00\t0\t9223372036854775807\t\n"  // no product may overflow
    "P\tHuge\tDE\t02\t52.00\t6.00\t0\t922337203685477580\t\n";

}  // namespace

TEST(PlaceTiers, OnePlaceWithinTenKilometresOrADominantOneElseAmbiguous)
{
    const Atlas atlas = Atlas::parse(small_atlas);
    const struct {
        const char* query;
        const char* country;
        const char* expected;
    } cases[] = {
        {"Alpha", "", "Alpha/2000"},
        {"Beta", "", "Beta/100000"},
        {"Gamma", "", "? Gamma/DE Gamma/DE"},
        {"Delta", "", "? Delta/DE Delta/DE"},
        {"Epsilon", "", "Epsilon/150000"},
        {"Zeta", "", "Zeta/1000"},
        {"Kappa", "", "Kappa/3000"},
        {"Kappa", "FR", "Metropolis/5000000"},  // the country narrows before the tier is chosen
        {"Metro", "", "Metropolis/5000000"},     // the beginning of an own name
        {"Theta", "", "? Theta/DE Theta/DE"},
        {"Theta (Insel)", "", "Theta auf Insel/500"},
        {"Theta/Bergland", "", "Theta/1000"},    // the qualifier in the region
        {"Theta (Flach)", "", "Theta/1200"},     // of the places it fits, the best tier decides
        {"Theta (Meer)", "", "? Theta/DE Theta/DE"},   // fits none: ambiguous, never the larger one
        {"Theta (sel)", "", "? Theta/DE Theta/DE"},    // inside a word does not count
        {"Huge", "", "Huge/9223372036854775807"},
        {"Omega", "", "-"},
        {"Omega (Insel)", "", "-"},
    };
    for (const auto& c : cases) EXPECT_EQ(outcome(atlas.match(c.query, c.country)), c.expected) << c.query;
}

TEST(PlaceTiers, TheTypedNamesOfTheShippedAtlas)
{
    const Atlas& atlas = shipped_atlas();
    if (atlas.size() == 0) GTEST_SKIP() << "no atlas";
    struct Case {
        const char* query;
        const char* country;
        const char* region;
        const char* name;  // the place taken (with `in`); nullptr: ambiguous, with `in` among the candidates
        const char* in;    // country of the place taken, or a candidate's name
        PlaceTier tier;
    };
    const Case cases[] = {
        {"Wien", "", "", "Vienna", "AT", PlaceTier::other},
        {"Berlin", "", "", "Berlin", "DE", PlaceTier::exact},
        {"P\xC3\xB6" "cking", "", "", "P\xC3\xB6" "cking", "DE", PlaceTier::exact},
        {"Pocking", "", "", "Pocking", "DE", PlaceTier::exact},
        {"Poecking", "DE", "", nullptr, "Pocking", PlaceTier::umlauts},
        {"Kerns", "", "", "Kerns", "CH", PlaceTier::exact},
        {"Bergen (R\xC3\xBCgen)", "", "", "Bergen auf R\xC3\xBCgen", "DE", PlaceTier::other},
        {"Neustadt/Weinstra\xC3\x9F" "e", "", "", "Neustadt an der Weinstra\xC3\x9F" "e", "DE", PlaceTier::other},
        {"Neustadt (Hessen)", "", "", "Neustadt (Hessen)", "DE", PlaceTier::exact},
        {"Kandel/Pfalz", "", "", "Kandel", "DE", PlaceTier::exact},
        {"Neustadt", "", "", nullptr, "Neustadt", PlaceTier::exact},
        {"Wei\xC3\x9F" "enburg", "", "", nullptr, "Wei\xC3\x9F" "enburg in Bayern", PlaceTier::other},
        {"Wei\xC3\x9F" "enburg", "", "", nullptr, "Alba Iulia", PlaceTier::other},
        {"Rosenberg", "", "", nullptr, "Rosenberg", PlaceTier::exact},
        {"Au (SG)", "", "", "Au", "CH", PlaceTier::other},  // "Au SG", another name of Au in St. Gallen
        {"Au (BW)", "", "", nullptr, "Au", PlaceTier::exact},
        {"Oelsberg", "DE", "", "Oelsberg", "DE", PlaceTier::exact},
        {"Olsberg", "DE", "", "Olsberg", "DE", PlaceTier::exact},
        {"Br\xC3\xBCgg", "CH", "", "Br\xC3\xBCgg", "CH", PlaceTier::exact},
        {"Au", "DE", "", "Au", "DE", PlaceTier::exact},  // the one named Au, not Au am Rhein that is also called so
        {"Au", "CH", "", nullptr, "Au", PlaceTier::exact},
        {"Au", "CH", "St. Gallen", "Au", "CH", PlaceTier::exact},
        {"Au, St. Gallen", "", "", "Au", "CH", PlaceTier::exact},
        {"Zurich", "CH", "", "Z\xC3\xBCrich", "CH", PlaceTier::accents},
        {"Neuenkirchen", "DE", "", nullptr, "Neuenkirchen", PlaceTier::exact},
        {"Aache", "DE", "", "Aachen", "DE", PlaceTier::other},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.query) + " " + c.country + " " + c.region);
        const PlaceMatch m = atlas.match(c.query, c.country, c.region);
        ASSERT_FALSE(m.places.empty());
        EXPECT_EQ(m.tier, c.tier);
        EXPECT_EQ(m.ambiguous, c.name == nullptr) << outcome(m);
        if (c.name) {
            EXPECT_EQ(m.places.front().name, c.name);
            EXPECT_EQ(m.places.front().country, c.in);
        } else {
            EXPECT_NE(names(m.places).find(std::string(c.in) + "/"), std::string::npos) << names(m.places);
        }
    }
    // The Rosenbergs: two in Germany and a larger one in Texas, and not the Slovak town that has it
    // as another name.
    const PlaceMatch rosenberg = atlas.match("Rosenberg", "");
    EXPECT_EQ(names(rosenberg.places), "Rosenberg/US | Rosenberg/DE | Rosenberg/DE");
}

TEST(PlaceTiers, ListsGoByTierThenPopulation)
{
    const Atlas atlas = Atlas::parse(small_atlas);
    EXPECT_EQ(names(atlas.search("Zeta", 5)), "Zeta/DE | Metropolis/FR");
    EXPECT_EQ(names(atlas.search("Theta (Insel)", 5)), "Theta auf Insel/DE");
    EXPECT_EQ(names(atlas.search("Kap", 5)), "Kappa/CH | Metropolis/FR");  // another name's beginning last

    const Atlas& shipped = shipped_atlas();
    if (shipped.size() == 0) GTEST_SKIP() << "no atlas";
    const auto first = [&](const char* query, std::size_t n) {
        auto places = shipped.search(query, n);
        places.resize(std::min(places.size(), n));
        return names(places);
    };
    EXPECT_EQ(first("P\xC3\xB6" "cking", 2), "P\xC3\xB6" "cking/DE | Pocking/DE");
    EXPECT_EQ(first("Pocking", 2), "Pocking/DE | P\xC3\xB6" "cking/DE");
    EXPECT_EQ(first("Neustadt", 2), "Neustadt/DE | Neustadt/DE");
    EXPECT_EQ(first("Kerns", 1), "Kerns/CH");
    EXPECT_EQ(first("Wien", 1), "Vienna/AT");
}

TEST(PlaceTiers, TextsBeyondWindows1252InPlainLetters)
{
    const struct {
        const char* utf8;
        const char* plain;
    } cases[] = {
        {"\xC5\x81\xC3\xB3" "d\xC5\xBA", "Lodz"},       // Łódź: Ł is a capital at an odd place
        {"Plze\xC5\x88", "Plzen"},
        {"\xC3\x86" "r\xC3\xB8" "sk\xC3\xB8" "bing", "Aeroskobing"},
        {"Gie\xC3\x9F" "en", "Giessen"},
        {"\xC5\xBD" "ilina", "Zilina"},                 // Ž: also at an odd place
        {"\xE1\xBA\xA0" "n", "An"},                     // Ạ of Latin Extended Additional
        {"\xE5\x8C\x97\xE4\xBA\xAC", "??"},
        {"a\xFF" "b", "a?b"},
    };
    for (const auto& c : cases) EXPECT_EQ(plain_letters(c.utf8), c.plain) << c.utf8;
}

TEST(CliPlaces, NewChartAndImportTakeAPlaceOnlyWhereItIsClear)
{
    if (shipped_atlas().size() == 0) GTEST_SKIP() << "no atlas";
    using test_support::run_cli;
    test_support::TempDir dir;
    const auto chart = [&](const std::string& name, const std::string& place) {
        return run_cli({"new-chart", dir.file(name + ".dat"), "--name", name, "--first-name", "Hans", "--date",
                        "1.6.1960", "--local-time", "12:00", "--place", place});
    };
    struct Case {
        const char* name;
        const char* place;
        int status;
        const char* said;  // a part of stdout (status 0) or stderr
    };
    const Case cases[] = {
        {"KERNS", "Kerns", 0, "Ort: Kerns, Obwalden, CH"},
        {"BERGEN", "Bergen (R\xC3\xBCgen)", 0, "Ort: Bergen auf R\xC3\xBCgen, Mecklenburg-Vorpommern, DE"},
        {"NEUSTADT", "Neustadt", 1, "Neustadt, Hamburg, DE (53.5520, 9.9856), 11856 Einw.; Neustadt, Th\xC3\xBCringen, DE"},
        {"ROSENBERG", "Rosenberg", 1, "Rosenberg, Texas, US"},
        {"LODZ", "\xC5\x81\xC3\xB3" "d\xC5\xBA", 0, "Ort: \xC5\x81\xC3\xB3" "d\xC5\xBA, \xC5\x81\xC3\xB3" "d\xC5\xBA Voivodeship, PL"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto run = chart(c.name, c.place);
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_NE((c.status == 0 ? run.out : run.err).find(c.said), std::string::npos) << run.out << run.err;
        EXPECT_EQ(std::filesystem::exists(dir.path() / (std::string(c.name) + ".dat")), c.status == 0);
    }
    // Łódź is "Lodz" in the chart, and new-chart says so.
    const auto lodz = chart("LODZ2", "\xC5\x81\xC3\xB3" "d\xC5\xBA");
    EXPECT_EQ(lodz.err, "duoskop-cli new-chart: Zusatz \"Lodz\": der Ort \"\xC5\x81\xC3\xB3" "d\xC5\xBA\" in einfachen "
                        "Buchstaben, weil die Horoskop-Datei nicht alle seine Zeichen aufnehmen kann.\n");
    const std::string bytes = dir.read("LODZ2.dat");
    ASSERT_EQ(bytes.size(), chart_record_size);
    EXPECT_EQ(read_chart_record(std::span<const unsigned char, chart_record_size>(
                  reinterpret_cast<const unsigned char*>(bytes.data()), chart_record_size)).extra,
              "Lodz");

    // Import: what is clear is written, an ambiguous place refuses its record naming the candidates,
    // a place in plain letters is named.
    test_support::TempDir to;
    const std::string csv = dir.write("in.csv", "Name;Vorname;Datum;Zeit;Ort\n"
                                                "Kerns;Hans;1.6.1960;12:00;Kerns\n"
                                                "Neustadt;Hans;1.6.1960;12:00;Neustadt\n"
                                                "Weissenb;Hans;1.6.1960;12:00;Wei\xC3\x9F" "enburg\n"
                                                "Wien;Hans;1.6.1960;12:00;Wien\n"
                                                "Lodz;Hans;1.6.1960;12:00;\xC5\x81\xC3\xB3" "d\xC5\xBA\n");
    const auto imported = run_cli({"import", csv, "--to", to.path().string()});
    EXPECT_EQ(imported.status, 1);
    EXPECT_EQ(imported.out, "3 geschrieben, 2 \xC3\xBC" "bersprungen\n");
    EXPECT_NE(imported.err.find(":6: Zusatz \"Lodz\": der Ort"), std::string::npos) << imported.err;
    EXPECT_NE(imported.err.find(":3: Ort: Der Ort \"Neustadt\" ist mehrdeutig"), std::string::npos) << imported.err;
    EXPECT_NE(imported.err.find("Alba Iulia, Alba County, RO"), std::string::npos) << imported.err;
    EXPECT_TRUE(std::filesystem::exists(to.path() / "KERNS.dat"));
    EXPECT_TRUE(std::filesystem::exists(to.path() / "WIEN.dat"));
}
