// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "base/texts.h"
#include "results/report.h"
#include "tests/core/text_files_fixture.h"

using namespace duoskop;
using duoskop::text_testing::TempDir;
using duoskop::test_support::FileSizeLimit;

TEST(TextFile, EveryLineEndsWithCrLfAndNothingElse)
{
    EXPECT_EQ(text_file_bytes({}), "");
    EXPECT_EQ(text_file_bytes({""}), "\r\n");
    EXPECT_EQ(text_file_bytes({"Gr\xFC\xDF" "e", "", "  x  "}), "Gr\xFC\xDF" "e\r\n\r\n  x  \r\n");
}

TEST(TextFile, WritesReplacesAndEmptiesFiles)
{
    TempDir dir;
    const auto path = dir.path() / "bericht.txt";
    ASSERT_EQ(write_text_file(path, {std::string(300, 'a'), "\xC4nde"}), "");
    EXPECT_EQ(dir.read("bericht.txt"), std::string(300, 'a') + "\r\n\xC4nde\r\n");
    ASSERT_EQ(write_text_file(path, {"kurz"}), "");  // an existing file is replaced, not appended to
    EXPECT_EQ(dir.read("bericht.txt"), "kurz\r\n");
    ASSERT_EQ(write_text_file(path, {}), "");
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
}

TEST(TextFile, FailuresGiveTheIoErrorText)
{
    TempDir dir;
    EXPECT_EQ(write_text_file(dir.path() / "fehlt" / "x.txt", {"a"}), texts::kIoFileNotFound);
    EXPECT_FALSE(write_text_file(dir.path(), {"a"}).empty());  // a directory
    if (std::filesystem::exists("/dev/full")) {  // a full disk shows when closing
        EXPECT_FALSE(write_text_file("/dev/full", {"a"}).empty());
    }
}

TEST(TextFile, ASavedReportIsWrittenWholeAnExportLineByLine)
{
    TempDir dir;
    const auto report = dir.path() / "bericht.txt";
    const auto exported = dir.path() / "texte.txt";
    ASSERT_EQ(write_text_file(report, {"alter Bericht"}), "");
    ASSERT_EQ(append_text_file(exported, {"alt", "alt"}), "");
    EXPECT_EQ(dir.read("texte.txt"), "alt\r\nalt\r\n");
    ASSERT_EQ(append_text_file(exported, {"neu"}), "");  // emptied first, not appended to
    EXPECT_EQ(dir.read("texte.txt"), "neu\r\n");
    {
        const FileSizeLimit disk_full(16);
        EXPECT_FALSE(write_text_file(report, {"erste Zeile", "zweite Zeile"}).empty());
        EXPECT_FALSE(append_text_file(exported, {"erste Zeile", "zweite Zeile"}).empty());
    }
    EXPECT_EQ(dir.read("bericht.txt"), "alter Bericht\r\n");  // the old report, not a torn one
    EXPECT_EQ(dir.read("texte.txt"), "erste Zeile\r\nzwe");   // what was written stays
    EXPECT_EQ(append_text_file(dir.path() / "fehlt" / "x.txt", {"a"}), texts::kIoFileNotFound);
}
