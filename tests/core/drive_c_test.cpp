// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdlib>

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

TEST(DriveC, LocateTakesCommandLineThenEnvironmentThenSampleDrive)
{
    const char* saved = std::getenv("DUOSKOP_DRIVE_C");
    const std::string saved_value = saved ? saved : "";

    setenv("DUOSKOP_DRIVE_C", "/from/env", 1);
    EXPECT_EQ(DriveC::locate(std::string("/from/cli")).root(), "/from/cli");
    EXPECT_EQ(DriveC::locate(std::nullopt).root(), "/from/env");
    unsetenv("DUOSKOP_DRIVE_C");
    const auto fallback = DriveC::locate(std::nullopt).root();
    // The test program lies in the build tree's bin/, whose share/duoskop/drive_c is the sample drive.
    EXPECT_TRUE(fallback.string().ends_with("share/duoskop/drive_c")) << fallback;
    EXPECT_TRUE(std::filesystem::exists(fallback / "astro" / "daten")) << fallback;

    if (saved) setenv("DUOSKOP_DRIVE_C", saved_value.c_str(), 1);
}
