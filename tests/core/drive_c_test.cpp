// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

#include "base/drive_c.h"
#include "tests/core/text_files_fixture.h"

using namespace duoskop;
using duoskop::text_testing::TempDir;

TEST(DriveC, ResolvesComponentsExactlyFirstThenIgnoringCase)
{
    TempDir dir;
    dir.write("astro/ktexte.TXT", "k");
    dir.write("astro/daten/MEIER.dat", "m");
    dir.write("PBTX/MCSO.vwt", "exact");
    dir.write("PBTX/mcso.VWT", "other case");
    const DriveC drive(dir.path());

    EXPECT_EQ(drive.resolve("C:\\astro\\KTEXTE.txt"), dir.path() / "astro" / "ktexte.TXT");
    EXPECT_EQ(drive.resolve("c:\\ASTRO\\daten"), dir.path() / "astro" / "daten");
    EXPECT_EQ(drive.resolve("C:\\PBTX\\MCSO.vwt"), dir.path() / "PBTX" / "MCSO.vwt");
    EXPECT_EQ(drive.resolve("c:\\"), dir.path());
}

TEST(DriveC, MissingComponentsStayAsWrittenAndNeverLeaveTheDrive)
{
    TempDir dir;
    dir.write("astro/x", "");
    const DriveC drive(dir.path());
    EXPECT_EQ(drive.resolve("C:\\PBTX\\MCSO.vwt"), dir.path() / "PBTX" / "MCSO.vwt");
    EXPECT_EQ(drive.resolve("C:\\Astro\\Nichts\\X.txt"), dir.path() / "astro" / "Nichts" / "X.txt");
    // ".." stops at the root of the drive; a '/' inside a name separates as '\' does.
    EXPECT_EQ(drive.resolve("C:\\..\\..\\etc\\passwd"), dir.path() / "etc" / "passwd");
    EXPECT_EQ(drive.resolve("C:\\PBTX\\../astro"), dir.path() / "astro");
}

/// Sets (or, with nothing, unsets) environment variables while it lives; the old values come back.
class ScopedEnvironment {
public:
    ScopedEnvironment(std::initializer_list<std::pair<const char*, std::optional<std::string>>> values)
    {
        for (const auto& [name, value] : values) {
            const char* old = std::getenv(name);
            saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
            if (value) setenv(name, value->c_str(), 1);
            else unsetenv(name);
        }
    }
    ~ScopedEnvironment()
    {
        for (const auto& [name, value] : saved_) {
            if (value) setenv(name, value->c_str(), 1);
            else unsetenv(name);
        }
    }

private:
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

// A user's home in a temporary folder: no drive C given, no Wine, nothing chosen yet.
struct DriveHome : ::testing::Test {
    TempDir home;
    ScopedEnvironment env{{"HOME", home.path().string()}, {"XDG_DATA_HOME", std::nullopt},
                          {"XDG_CONFIG_HOME", std::nullopt}, {"WINEPREFIX", std::nullopt},
                          {"DUOSKOP_DRIVE_C", std::nullopt}};
};

TEST_F(DriveHome, FirstMatchWinsInTheDocumentedOrder)
{
    const auto personal = home.path() / ".local" / "share" / "duoskop" / "drive_c";
    const auto wine = home.path() / ".wine" / "drive_c";
    const auto chosen = home.path() / "Eigene Horoskope";
    // Each row adds one more source; the highest one present wins.
    struct Row { const char* what; std::filesystem::path root; DriveSource source; };
    const Row rows[] = {
        {"personal", personal, DriveSource::personal},
        {"wine", wine, DriveSource::wine},
        {"chosen", chosen, DriveSource::chosen},
        {"environment", "/from/env", DriveSource::environment},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.source == DriveSource::wine) home.write(".wine/drive_c/Astro/Daten/x", "");
        if (row.source == DriveSource::chosen) {
            std::filesystem::create_directories(chosen);
            ASSERT_EQ(choose_drive(chosen / ""), 0);
            EXPECT_EQ(chosen_drive(), chosen);
        }
        if (row.source == DriveSource::environment) setenv("DUOSKOP_DRIVE_C", "/from/env", 1);
        const DriveChoice found = find_drive_c(std::nullopt);
        EXPECT_EQ(found.root, row.root);
        EXPECT_EQ(found.source, row.source);
        EXPECT_EQ(DriveC::locate(std::nullopt).root(), row.root);
        const DriveChoice given = find_drive_c(std::string("/from/cli"));
        EXPECT_EQ(given.root, "/from/cli");
        EXPECT_EQ(given.source, DriveSource::command_line);
    }
    unsetenv("DUOSKOP_DRIVE_C");
    ASSERT_EQ(forget_chosen_drive(), 0);
    EXPECT_EQ(forget_chosen_drive(), 0);  // forgetting twice is no failure
    EXPECT_EQ(find_drive_c(std::nullopt).source, DriveSource::wine);

    // WINEPREFIX names the one Wine drive that counts, as it does for Wine itself.
    setenv("WINEPREFIX", (home.path() / "anderes-wine").c_str(), 1);
    EXPECT_EQ(find_drive_c(std::nullopt).source, DriveSource::personal);
    home.write("anderes-wine/drive_c/astro/daten/x", "");
    EXPECT_EQ(find_drive_c(std::nullopt).root, home.path() / "anderes-wine" / "drive_c");
}

TEST_F(DriveHome, PersonalDriveIsACopyOfTheSampleDriveMadeOnce)
{
    setenv("XDG_DATA_HOME", (home.path() / "daten").c_str(), 1);
    const auto sample = sample_drive_dir();
    // The test program lies in the build tree's bin/, whose share/duoskop/drive_c is the sample drive.
    ASSERT_TRUE(sample.string().ends_with("share/duoskop/drive_c")) << sample;
    ASSERT_TRUE(std::filesystem::exists(sample / "astro" / "daten")) << sample;
    const auto before = std::filesystem::last_write_time(std::filesystem::canonical(sample) / "astro" / "daten");

    const DriveChoice first = find_drive_c(std::nullopt);
    const auto personal = home.path() / "daten" / "duoskop" / "drive_c";
    ASSERT_EQ(first.root, personal);
    EXPECT_EQ(first.source, DriveSource::personal);
    EXPECT_TRUE(first.problem.empty());
    for (const char* name : {"astro/daten/WEIDNER.dat", "astro/KTEXTE.txt", "PBTX"})
        EXPECT_TRUE(std::filesystem::exists(personal / name)) << name;
    // Nothing but the drive beside it (no half-made temporary folder), and it is the user's to change.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(personal.parent_path()), {}), 1);
    home.write("daten/duoskop/drive_c/astro/daten/NEU.dat", "neu");
    std::filesystem::remove(personal / "astro" / "daten" / "WEIDNER.dat");
    // A second start keeps what the user did.
    EXPECT_EQ(find_drive_c(std::nullopt).root, personal);
    EXPECT_TRUE(std::filesystem::exists(personal / "astro" / "daten" / "NEU.dat"));
    EXPECT_FALSE(std::filesystem::exists(personal / "astro" / "daten" / "WEIDNER.dat"));
    EXPECT_TRUE(std::filesystem::exists(sample / "astro" / "daten" / "WEIDNER.dat"));
    EXPECT_EQ(std::filesystem::last_write_time(std::filesystem::canonical(sample) / "astro" / "daten"), before);
}

TEST_F(DriveHome, WithoutAPersonalDriveTheSampleDriveIsReadAndTheReasonGiven)
{
    home.write("kein-ordner", "eine Datei, wo ein Ordner hingeh\xF6rt");
    setenv("XDG_DATA_HOME", (home.path() / "kein-ordner").c_str(), 1);
    const DriveChoice found = find_drive_c(std::nullopt);
    EXPECT_EQ(found.source, DriveSource::sample);
    EXPECT_EQ(found.root, sample_drive_dir());
    EXPECT_NE(found.problem.find("kein-ordner"), std::string::npos) << found.problem;
    EXPECT_FALSE(drive_source_text(found.source).empty());
    // A relative XDG_DATA_HOME is ignored, as the base-directory rules say.
    setenv("XDG_DATA_HOME", "relativ", 1);
    EXPECT_EQ(personal_drive_dir(), home.path() / ".local" / "share" / "duoskop" / "drive_c");
    // A chosen-folder file that holds no absolute path is no choice.
    home.write(".config/Duoskop/laufwerk-c", "relativ/ordner\n");
    EXPECT_EQ(chosen_drive(), std::nullopt);
}

#ifdef DUOSKOP_CLI
TEST_F(DriveHome, CommandLineShowsSetsAndResetsTheDrive)
{
    using test_support::run_cli;
    const std::string personal = (home.path() / ".local/share/duoskop/drive_c").string();
    const std::string mine = home.file("mein laufwerk");
    std::filesystem::create_directories(mine);
    const struct { std::vector<std::string> args; int status; std::string first_line; } rows[] = {
        {{"drive"}, 0, personal},
        {{"drive", "--set", mine}, 0, mine},
        {{"drive"}, 0, mine},
        {{"drive", "--drive-c", "/anders"}, 0, "/anders"},
        {{"drive", "--set", home.file("fehlt")}, 1, ""},
        {{"drive", "--reset"}, 0, personal},
        {{"drive", "--set"}, 2, ""},
        {{"drive", "--set", mine, "--reset"}, 2, ""},
        {{"drive", "unsinn"}, 2, ""},
    };
    for (const auto& row : rows) {
        const auto r = run_cli(row.args);
        EXPECT_EQ(r.status, row.status) << row.args.back() << r.err;
        EXPECT_EQ(r.out.substr(0, r.out.find('\n')), row.first_line) << row.args.back();
    }
}
#endif

// What the client's report may name of a drive: its kind, from the folder alone (links followed).
TEST_F(DriveHome, KindOfDriveAndWhatLiesInTheSampleDrive)
{
    home.write(".wine/drive_c/astro/daten/x", "");
    std::filesystem::create_directory_symlink(home.path() / ".wine", home.path() / "wein");
    EXPECT_EQ(drive_kind(home.path() / "wein" / "drive_c"), DriveKind::wine);
    EXPECT_EQ(drive_kind(home.path() / ".local/share/duoskop/drive_c"), DriveKind::personal);
    EXPECT_EQ(drive_kind(DUOSKOP_SOURCE_DRIVE_C), DriveKind::sample);  // the build tree's links to it
    EXPECT_EQ(drive_kind(home.path()), DriveKind::chosen);
    EXPECT_TRUE(in_sample_drive(std::filesystem::path(DUOSKOP_SOURCE_DRIVE_C) / "astro" / "neu"));
    EXPECT_FALSE(in_sample_drive(sample_drive_dir().string() + "2"));
}
