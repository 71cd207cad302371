// SPDX-License-Identifier: GPL-3.0-or-later
// The chart index's import and export: chart files from AAF and CSV with a summary of what was
// written and skipped, never over another person's file; the charts chosen written as AAF.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/chart_file.h"
#include "base/cp1252.h"
#include "kartei/exchange_files.h"
#include "places/atlas.h"
#include "tests/core/test_support.h"

using namespace duoskop;
namespace fs = std::filesystem;

namespace {

std::size_t count(const std::string& text, const std::string& piece)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
    return n;
}

}  // namespace

TEST(KarteiExchange, ImportWritesGoodRecordsAndSaysWhyOthersWereSkipped)
{
    test_support::TempDir dir;
    const fs::path root = dir.path() / "daten";
    dir.write("daten/Familie/SOMMER.dat", "schon da");
    const std::string aaf = dir.write("ein.aaf",
                                      "#: Beispieldatei\r\n"
                                      "#A93:Muster,Anna,w,27.9.1970,11:04,Kandel/Pfalz,D\r\n"
                                      "#B93:*,49n05,8e11,1he,0\r\n"
                                      "#A93:Datum,X,m,31.2.1970,11:04,Berlin,D\r\n"
                                      "#A93:Sommer,Eva,w,1.7.1980,12:00,*,*\r\n"
                                      "#B93:*,52n31,13e24,1he00,1\r\n"
                                      "#A93:Muster,Karl,m,1.1.1960,10:00,*,*\r\n"
                                      "#B93:*,49n05,8e11,1he00,0\r\n");
    const ImportResult result = import_charts(aaf, root, "Familie", nullptr);
    EXPECT_EQ(result.error, "");
    ASSERT_EQ(result.written, std::vector<fs::path>{root / "Familie" / "MUSTER.dat"});
    ASSERT_EQ(result.skipped.size(), 3u);
    EXPECT_EQ(result.skipped[0].rfind("Zeile 4: ", 0), 0u) << result.skipped[0];
    EXPECT_EQ(result.skipped[1].rfind("Zeile 5: Sommer: Die Datei SOMMER.dat geh\xC3\xB6rt schon", 0), 0u)
        << result.skipped[1];
    EXPECT_EQ(result.skipped[2].rfind("Zeile 7: Der Name \"Muster\" kam schon in Zeile 2 vor", 0), 0u) << result.skipped[2];
    EXPECT_EQ(dir.read("daten/Familie/SOMMER.dat"), "schon da");

    const std::string bytes = dir.read("daten/Familie/MUSTER.dat");
    ASSERT_EQ(bytes.size(), chart_record_size);
    const chart_record anna = read_chart_record(std::span<const unsigned char, chart_record_size>(
        reinterpret_cast<const unsigned char*>(bytes.data()), chart_record_size));
    EXPECT_EQ(anna.first_name, "Anna");
    EXPECT_EQ(anna.date, "27.09.1970");
    EXPECT_EQ(anna.time, "10:04:00");  // one hour east of Greenwich, no summer time

    const std::string box = import_summary(result, "Familie", 2);
    EXPECT_EQ(box.rfind("1 geschrieben, 3 \xFC" "bersprungen\rZiel: Familie\r\rZeile 4: ", 0), 0u) << box;
    EXPECT_NE(box.find("\r\x85 und weitere: 1"), std::string::npos) << box;
}

TEST(KarteiExchange, ImportOfCsvAndOfWhatCannotBeRead)
{
    test_support::TempDir dir;
    const fs::path root = dir.path() / "daten";
    std::string error;
    const auto atlas = Atlas::load(atlas_path(), error);  // the build tree has the atlas file
    ASSERT_TRUE(atlas) << error;
    const std::string csv = dir.write("liste.csv",
                                      "Name;Vorname;Datum;Zeit;Zone;Ort;Land;Breite;Laenge;Zusatz\n"
                                      "Wiener;Anna;30.1.1958;22:50;;Wien;A;;;\n"
                                      "Kaputt;X;1.13.1958;22:50;;Wien;A;;;\n");
    const ImportResult result = import_charts(csv, root, "", &*atlas);
    ASSERT_EQ(result.written.size(), 1u);
    ASSERT_EQ(result.skipped.size(), 1u);
    EXPECT_EQ(result.skipped.back().rfind("Zeile 3: ", 0), 0u);
    EXPECT_EQ(dir.read("daten/WIENER.dat").substr(34, 8), "21:50:00");  // the time field

    const ImportResult missing = import_charts(dir.path() / "fehlt.aaf", root, "", nullptr);
    EXPECT_EQ(missing.error, "Datei nicht gefunden");
    EXPECT_TRUE(missing.written.empty());
}

TEST(KarteiExchange, ExportWritesTheLoadableChartsAsAaf)
{
    test_support::TempDir dir;
    const fs::path daten = fs::path(DUOSKOP_SOURCE_DRIVE_C) / "astro" / "daten";
    std::vector<KarteiEntry> entries = list_charts(daten).entries;
    ASSERT_GE(entries.size(), 2u);
    entries.resize(2);
    KarteiEntry broken;
    broken.file_name = "KAPUTT.dat";
    broken.reason = "KAPUTT.dat ist keine Horoskop-Datei.";
    entries.push_back(broken);
    const ExportResult result = export_charts(entries, dir.path() / "aus.aaf");
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(result.written, 2u);
    EXPECT_EQ(result.skipped, std::vector<std::string>{"KAPUTT.dat"});
    const std::string aaf = dir.read("aus.aaf");
    EXPECT_EQ(count(aaf, "#A93:"), 2u);
    EXPECT_EQ(count(aaf, "#B93:"), 2u);
    EXPECT_NE(aaf.find("#A93:" + entries[0].record.name + ","), std::string::npos) << aaf;

    // A folder that does not exist cannot take the file; nothing is left behind.
    const ExportResult failed = export_charts(entries, dir.path() / "fehlt" / "aus.aaf");
    EXPECT_EQ(failed.error, "Datei nicht gefunden");
}

TEST(KarteiExchange, ImportSeesItsOwnChartsNamesWhatItRefusesAndSyncsTheFolderOnce)
{
    test_support::TempDir dir;
    const fs::path root = dir.path() / "daten";
    const std::string aaf = dir.write("ein.aaf",
                                      "#A93:Muster,Anna,w,27.9.1970,11:04,*,*\n"
                                      "#B93:*,49n05,8e11,1he,0\n"
                                      "#A93:B\xC3\xA4" "cker,Eva,w,1.7.1980,12:00,*,*\n"
                                      "#B93:*,52n31,13e24,1he00,1\n"
                                      "#A93:Kaya,Ay\xC5\x9F" "e,w,1.7.1980,12:00,*,*\n"
                                      "#B93:*,52n31,13e24,1he00,1\n");
    const ImportResult first = import_charts(aaf, root, "", nullptr);
    EXPECT_EQ(first.written.size(), 2u);
    EXPECT_EQ(first.folder_syncs, 1);
    EXPECT_TRUE(fs::exists(root / "B\xC3\xA4" "CKER.dat"));
    // The character the chart file cannot hold is named in the box by its number, not as '?'.
    const std::string box = import_summary(first, "daten", 5);
    EXPECT_NE(box.find("Zeile 5: Vorname: Diese Zeichen kann die Horoskop-Datei nicht aufnehmen: U+015F"), std::string::npos)
        << box;
    EXPECT_EQ(box.find('?'), std::string::npos) << box;

    // The same file again: both charts are there already, nothing is written, nothing synced.
    const ImportResult again = import_charts(aaf, root, "", nullptr);
    EXPECT_TRUE(again.written.empty());
    EXPECT_EQ(again.unchanged.size(), 2u);
    EXPECT_EQ(again.skipped.size(), 1u);
    EXPECT_EQ(again.folder_syncs, 0);
    EXPECT_EQ(import_summary(again, "daten", 5).rfind("0 geschrieben, 1 \xFC" "bersprungen, 2 schon vorhanden\r", 0), 0u);

    // A-umlaut and a-umlaut name one file on the other program's drive: a second person whose
    // name differs so goes nowhere beside it.
    const ImportResult twin = import_charts(dir.write("zwei.aaf", "#A93:B\xC3\x84" "CKER,Otto,m,1.7.1980,12:00,*,*\n"
                                                                  "#B93:*,52n31,13e24,1he00,1\n"),
                                            root, "", nullptr);
    ASSERT_EQ(twin.skipped.size(), 1u);
    EXPECT_NE(twin.skipped[0].find("Die Datei B\xC3\xA4" "CKER.dat geh\xC3\xB6rt schon einer anderen Person"), std::string::npos)
        << twin.skipped[0];
    EXPECT_FALSE(fs::exists(root / "B\xC3\x84" "CKER.dat"));
}

TEST(KarteiExchange, ExportWithNothingToWriteLeavesTheTarget)
{
    test_support::TempDir dir;
    const std::string target = dir.write("aus.aaf", "#A93:Alt,Anna,*,01.05.1960,06:30:45,*,*\r\n");
    KarteiEntry broken;
    broken.file_name = "KAPUTT.dat";
    for (const std::vector<KarteiEntry>& entries : {std::vector<KarteiEntry>{}, std::vector<KarteiEntry>{broken}}) {
        const ExportResult result = export_charts(entries, target);
        EXPECT_NE(result.error.find("die Datei bleibt, wie sie war"), std::string::npos) << result.error;
        EXPECT_EQ(result.written, 0u);
        EXPECT_EQ(dir.read("aus.aaf"), "#A93:Alt,Anna,*,01.05.1960,06:30:45,*,*\r\n");
    }
}
