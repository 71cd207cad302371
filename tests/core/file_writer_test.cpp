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

using test_support::FileSizeLimit;
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

TEST(FileWriter, AFailedWriteLeavesTheOldFileWhole)
{
    const TempDir dir;
    const auto path = dir.path() / "MEIER.DAT";
    ASSERT_TRUE(write_file_whole(path, "alt").ok());
    {
        const FileSizeLimit disk_full(10);
        EXPECT_EQ(write_file_whole(path, std::string(100, 'n')).error, EFBIG);
        EXPECT_EQ(write_file_whole(dir.path() / "NEU.DAT", std::string(100, 'n')).error, EFBIG);
    }
    EXPECT_EQ(slurp(path), "alt");
    EXPECT_EQ(entries_in(dir.path()), 1u);  // neither a torn file nor a temporary one
}

TEST(FileWriter, FollowsLinksAndWritesDevicesInPlace)
{
    const TempDir dir;
    const auto target = dir.path() / "ziel.txt";
    const auto link = dir.path() / "verweis.txt";
    ASSERT_TRUE(write_file_whole(target, "alt").ok());
    std::filesystem::create_symlink(target, link);
    ASSERT_TRUE(write_file_whole(link, "neu").ok());
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(slurp(target), "neu");
    EXPECT_EQ(write_file_whole(link, "x", Replace::refused).error, EEXIST);

    // A device is no file to replace: /dev/null takes the bytes and stays a device.
    ASSERT_TRUE(write_file_whole("/dev/null", "weg").ok());
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_EQ(write_file_whole("/dev/full", "x").error, ENOSPC);
        EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
    }
}

TEST(FileAppender, WhatWasWrittenBeforeAFailureStays)
{
    const TempDir dir;
    const auto path = dir.path() / "EXPORT.TXT";
    ASSERT_TRUE(write_file_whole(path, "alter Inhalt, viel l\xE4nger").ok());
    {
        FileAppender file(path);  // empties the old file
        EXPECT_TRUE(file.append("eins\r\n").ok());
        EXPECT_TRUE(file.append("").ok());
        EXPECT_TRUE(file.finish().ok());
    }
    EXPECT_EQ(slurp(path), "eins\r\n");
    {
        const FileSizeLimit disk_full(8);
        FileAppender file(path);
        EXPECT_TRUE(file.append("eins\r\n").ok());
        EXPECT_EQ(file.append("zwei\r\n").error, EFBIG);
        EXPECT_EQ(file.append("drei\r\n").error, EFBIG);  // the first failure sticks
        EXPECT_EQ(file.finish().error, EFBIG);
    }
    EXPECT_EQ(slurp(path), "eins\r\nzw");

    FileAppender missing(dir.path() / "fehlt" / "A.TXT");
    EXPECT_EQ(missing.append("x").error, ENOENT);
    EXPECT_EQ(missing.finish().message(), "Datei nicht gefunden");
    EXPECT_EQ(FileAppender(dir.path()).finish().error, EISDIR);
}

}  // namespace
}  // namespace duoskop
