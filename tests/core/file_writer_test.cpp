// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a file whole or not at all.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "base/file_writer.h"
#include "test_support.h"

namespace duoskop {
namespace {

using test_support::slurp;
using test_support::TempDir;

std::size_t entries_in(const std::filesystem::path& dir)
{
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir), {}));
}

TEST(FileWriter, WritesNewAndReplacesOldFilesWhole)
{
    const TempDir dir;
    const auto path = dir.path() / "REPORT.TXT";
    ASSERT_TRUE(write_file_whole(path, "erste\r\n").ok());
    EXPECT_EQ(slurp(path), "erste\r\n");
    ASSERT_TRUE(write_file_whole(path, std::string("zweite\0\xFF", 8)).ok());
    EXPECT_EQ(slurp(path), std::string("zweite\0\xFF", 8));
    EXPECT_EQ(entries_in(dir.path()), 1u);  // no temporary file left
}

TEST(FileWriter, RefusedReplaceLeavesTheOldFile)
{
    const TempDir dir;
    const auto path = dir.path() / "MEIER.DAT";
    ASSERT_TRUE(write_file_whole(path, "alt").ok());
    const WriteResult result = write_file_whole(path, "neu", Replace::refused);
    EXPECT_EQ(result.error, EEXIST);
    EXPECT_EQ(slurp(path), "alt");
    EXPECT_EQ(entries_in(dir.path()), 1u);
}

TEST(FileWriter, FailureLeavesNothingAndSaysWhy)
{
    const TempDir dir;
    const WriteResult missing = write_file_whole(dir.path() / "fehlt" / "A.TXT", "x");
    EXPECT_EQ(missing.error, ENOENT);
    EXPECT_EQ(missing.message(), "Datei nicht gefunden");
    EXPECT_FALSE(write_file_whole(dir.path(), "x").ok());  // a folder is no file name
    if (::geteuid() != 0) {                                 // root may write anywhere
        std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_read |
                                                     std::filesystem::perms::owner_exec);
        EXPECT_EQ(write_file_whole(dir.path() / "B.TXT", "x").error, EACCES);
        std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
    }
    EXPECT_EQ(entries_in(dir.path()), 0u);
}

}  // namespace
}  // namespace duoskop
