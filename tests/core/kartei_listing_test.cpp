// SPDX-License-Identifier: GPL-3.0-or-later
// The chart index listing: good files, files the main window refuses (with its own message), a
// subfolder, hidden and special files; positions written as the main window writes them.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "app/chart_file.h"
#include "app/dial.h"
#include "base/cp1252.h"
#include "kartei/listing.h"
#include "tests/core/test_support.h"

using namespace duoskop;
namespace fs = std::filesystem;

namespace {

chart_record person(std::string name, std::string date, std::string time)
{
    return {std::move(name), "Hans", std::move(date), std::move(time), "Hamburg", "+010 00 00", "+53 33 00"};
}

const KarteiEntry* find(const Listing& listing, const std::string& folder, const std::string& file)
{
    for (const KarteiEntry& e : listing.entries)
        if (e.folder == folder && e.file_name == file) return &e;
    return nullptr;
}

}  // namespace

TEST(KarteiListing, ListsEveryFileWithTheMainWindowsVerdict)
{
    test_support::TempDir dir;
    const fs::path root = dir.path() / "daten";
    const std::string meier = chart_record_bytes(person("Meier", "01.05.1960", "06:30:45"));
    dir.write("daten/MEIER.dat", meier);
    dir.write("daten/zwei/MEIER.dat", chart_record_bytes(person("Meier", "17.11.1964", "12:00:00")));
    dir.write("daten/zwei/tiefer/Kurz.dat", meier.substr(0, 76));
    dir.write("daten/FALSCH.dat", meier);                          // name check fails
    dir.write("daten/leer.dat", "");
    dir.write("daten/.MEIER.dat.a1b2c3", meier);                   // a save in progress
    dir.write("daten/.versteckt/MEIER.dat", meier);
    dir.write("daten/lang.dat", chart_record_bytes(person("Lang", "03.03.1970", "12:00:00")) + "Rest");
    dir.write(std::string("daten/M\xFC.dat"), meier);            // not UTF-8 as a file name
    // A picture saved among the charts: long enough, but no chart record.
    dir.write("daten/bild.png", std::string("\x89PNG\r\n\x1A\n", 8) + std::string(200, '\x07'));
    ASSERT_EQ(::mkfifo((root / "Rohr").c_str(), 0600), 0);
    fs::create_directory_symlink(root / "zwei", root / "verweis");

    const Listing listing = list_charts(root);
    std::vector<std::string> shown;
    for (const KarteiEntry& e : listing.entries) shown.push_back(e.folder + "|" + e.file_name);
    const std::vector<std::string> expected = {
        "|FALSCH.dat", "|MEIER.dat", "|M\xEF\xBF\xBD.dat", "|Rohr", "|bild.png", "|lang.dat", "|leer.dat", "|verweis",
        "zwei|MEIER.dat", "zwei/tiefer|Kurz.dat"};
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(listing.folders, (std::vector<fs::path>{root, root / "zwei", root / "zwei" / "tiefer"}));

    struct Case {
        std::string folder, file;
        bool readable, loadable;
        std::string reason;
    };
    const std::string kurz = (root / "zwei" / "tiefer" / "Kurz.dat").string();
    const std::vector<Case> cases = {
        {"", "MEIER.dat", true, true, ""},
        {"zwei", "MEIER.dat", true, true, ""},
        {"", "lang.dat", true, true, ""},
        {"", "FALSCH.dat", true, false, "FALSCH.dat ist keine Horoskop-Datei."},
        {"", "M\xEF\xBF\xBD.dat", true, false, "M\xFC.dat ist keine Horoskop-Datei."},  // the message keeps the byte
        {"", "bild.png", false, false, "bild.png ist keine Horoskop-Datei."},
        {"zwei/tiefer", "Kurz.dat", false, false, "Ladeversuch mit " + kurz + " ging daneben"},
        {"", "leer.dat", false, false, "Ladeversuch mit " + (root / "leer.dat").string() + " ging daneben"},
        {"", "Rohr", false, false, "Ladeversuch mit " + (root / "Rohr").string() + " ging daneben"},
        {"", "verweis", false, false, "Dateizugriff verweigert"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder + "/" + c.file);
        const KarteiEntry* e = find(listing, c.folder, c.file);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->readable, c.readable);
        EXPECT_EQ(e->loadable, c.loadable);
        EXPECT_EQ(e->reason, c.reason);
        if (c.readable) EXPECT_EQ(e->record.first_name, "Hans");
        else EXPECT_EQ(e->record, chart_record{});
    }
    // The two Meiers are two persons, told apart by their folder.
    EXPECT_EQ(find(listing, "", "MEIER.dat")->record.date, "01.05.1960");
    EXPECT_EQ(find(listing, "zwei", "MEIER.dat")->record.date, "17.11.1964");
}

TEST(KarteiListing, MissingFolderListsNothing)
{
    test_support::TempDir dir;
    const Listing listing = list_charts(dir.path() / "fehlt");
    EXPECT_TRUE(listing.entries.empty());
    EXPECT_TRUE(listing.folders.empty());
}

TEST(KarteiListing, PositionsReadAsTheMainWindowWritesThem)
{
    // The search-axis block of the main window shows MC and Sun of both persons; the listing
    // must show the same degrees, minutes and signs.
    const fs::path daten = fs::path(DUOSKOP_SOURCE_DRIVE_C) / "astro" / "daten";
    const Listing listing = list_charts(daten);
    ASSERT_GE(listing.entries.size(), 2u);
    for (std::size_t i = 0; i + 1 < listing.entries.size(); ++i) {
        const KarteiEntry& a = listing.entries[i];
        const KarteiEntry& b = listing.entries[i + 1];
        ASSERT_TRUE(a.loadable && b.loadable) << a.file_name << " " << b.file_name;
        ChartState state;
        ASSERT_EQ(holen(a.path.string(), 1, state).outcome, LoadOutcome::loaded);
        ASSERT_EQ(holen(b.path.string(), 2, state).outcome, LoadOutcome::loaded);
        const auto lines = search_axis_lines(state.pos1, state.pos2, state.axes);
        EXPECT_NE(lines[1].find("MC " + position_text(a.positions[0]) + " = "), std::string::npos) << lines[1];
        EXPECT_NE(lines[1].find("SO " + position_text(a.positions[2]) + " = "), std::string::npos) << lines[1];
        EXPECT_NE(lines[2].find("MC " + position_text(b.positions[0]) + " = "), std::string::npos) << lines[2];
        EXPECT_EQ(a.positions, state.pos1);
    }
    // A rounded minute that reaches the next degree keeps the sign of the unrounded longitude.
    EXPECT_EQ(position_text(95.5), "05\xB0" "30' KRE");
    EXPECT_EQ(position_text(29.995), "30\xB0" "00' WID");
    EXPECT_EQ(position_text(360.001), "00\xB0" "00' WID");
}

TEST(KarteiListing, CoordinatesAndSortKeys)
{
    struct Case {
        double degrees;
        std::string east_west, north_south;
    };
    const std::vector<Case> cases = {
        {16 + 22 / 60.0, "16\xB0" "22' O", "16\xB0" "22' N"},
        {-(58 + 27 / 60.0), "58\xB0" "27' W", "58\xB0" "27' S"},
        {-(34 + 36 / 60.0 + 15 / 3600.0), "34\xB0" "36'15\" W", "34\xB0" "36'15\" S"},
        {0, "0\xB0" "00' O", "0\xB0" "00' N"},
        {-0.0001, "0\xB0" "00' O", "0\xB0" "00' N"},
        {180, "180\xB0" "00' O", "180\xB0" "00' N"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(coordinate_text(c.degrees, "O", "W"), c.east_west) << c.degrees;
        EXPECT_EQ(coordinate_text(c.degrees, "N", "S"), c.north_south) << c.degrees;
    }
    const auto key = [](const char* date, const char* time) {
        return birth_sort_key(werte_aktual({"X", "", date, time, "", "", ""}));
    };
    EXPECT_LT(key("31.12.1899", "23:59:59"), key("01.01.1900", "00:00:00"));
    EXPECT_LT(key("01.02.1960", "06:00:00"), key("01.02.1960", "06:00:01"));
    EXPECT_LT(key("09.01.1960", "00:00:00"), key("10.01.1960", "00:00:00"));
}
