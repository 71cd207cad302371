// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a file whole or not at all.
#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <vector>
#include <filesystem>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

// The names of the program's own descriptors are written through that descriptor: a file the
// shell opened for appending (`>> log`) keeps what it had, a pipe gets the bytes.
TEST(FileWriter, OwnDescriptorsAreWrittenWhereTheyStandAppendingWhereTheyAppend)
{
    const TempDir dir;
    const auto log = dir.path() / "log.txt";
    const std::string pid = std::to_string(::getpid());
    const std::vector<std::string> forms = {"/dev/fd/", "/proc/self/fd/", "/proc/" + pid + "/fd/"};
    for (const std::string& form : forms) {
        for (const bool whole : {true, false}) {
            SCOPED_TRACE(form + (whole ? " whole" : " appender"));
            ASSERT_TRUE(write_file_whole(log, "alt\n").ok());
            const int fd = ::open(log.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
            ASSERT_GE(fd, 0);
            const std::string name = form + std::to_string(fd);
            if (whole) {
                EXPECT_TRUE(write_file_whole(name, "neu\n").ok());
            } else {
                FileAppender file(name);
                EXPECT_TRUE(file.append("neu\n").ok());
                EXPECT_TRUE(file.finish().ok());
            }
            EXPECT_EQ(::fcntl(fd, F_GETFD), FD_CLOEXEC);  // the program's descriptor stays open
            ::close(fd);
            EXPECT_EQ(slurp(log), "alt\nneu\n");
        }
    }
    // A link to such a name, and a pipe (formerly "Datei nicht gefunden").
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    std::filesystem::create_symlink("/proc/self/fd/" + std::to_string(ends[1]), dir.path() / "rohr");
    EXPECT_TRUE(write_file_whole(dir.path() / "rohr", "durch").ok());
    ::close(ends[1]);
    char got[16] = {};
    EXPECT_EQ(::read(ends[0], got, sizeof got), 5);
    EXPECT_EQ(std::string(got), "durch");
    ::close(ends[0]);
    EXPECT_EQ(write_file_whole("/dev/fd/987", "x").error, EBADF);
    EXPECT_EQ(entries_in(dir.path()), 2u);
}

TEST(FileWriter, DescriptorNamesAreRecognisedLexically)
{
    const std::string own = "/proc/" + std::to_string(::getpid()) + "/fd/7";
    const struct { std::string name; std::optional<int> fd; } cases[] = {
        {"/dev/stdout", 1}, {"/dev/stderr", 2}, {"/dev/stdin", 0}, {"/dev/fd/12", 12},
        {"/proc/self/fd/3", 3}, {own, 7}, {"/dev//stdout", 1},
        {"/dev/fd/", std::nullopt}, {"/dev/fd/1x", std::nullopt}, {"/proc/1/fd/1", std::nullopt},
        {"dev/stdout", std::nullopt}, {"/tmp/stdout", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(descriptor_of(c.name), c.fd) << c.name;
}

TEST(FileWriter, AnyLegalNameKeepsOwnerModeAndLinks)
{
    const TempDir dir;
    // A name of 250 bytes: the temporary name must not grow from it.
    const auto long_name = dir.path() / (std::string(246, 'n') + ".TXT");
    ASSERT_TRUE(write_file_whole(long_name, "eins").ok());
    ASSERT_TRUE(write_file_whole(long_name, "zwei").ok());
    EXPECT_EQ(slurp(long_name), "zwei");

    // Mode, owner and group of a replaced file stay.
    const auto kept = dir.path() / "kept.txt";
    ASSERT_TRUE(write_file_whole(kept, "alt").ok());
    ::chmod(kept.c_str(), 0640);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(kept.c_str(), 4321, 8765), 0);
    }
    ASSERT_TRUE(write_file_whole(kept, "neu").ok());
    struct stat st{};
    ASSERT_EQ(::stat(kept.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(st.st_uid, 4321u);
        EXPECT_EQ(st.st_gid, 8765u);
    }

    // A dangling link, absolute or relative, gets the file it names; the link stays a link.
    std::filesystem::create_directory(dir.path() / "sub");
    std::filesystem::create_symlink(dir.path() / "ziel-a.txt", dir.path() / "sub" / "a");
    std::filesystem::create_symlink("../ziel-b.txt", dir.path() / "sub" / "b");
    for (const char* name : {"a", "b"}) {
        const auto link = dir.path() / "sub" / name;
        ASSERT_TRUE(write_file_whole(link, name).ok()) << name;
        EXPECT_TRUE(std::filesystem::is_symlink(link));
        EXPECT_EQ(slurp(link), name);
    }
    EXPECT_EQ(slurp(dir.path() / "ziel-b.txt"), "b");
    // A loop of links is refused, and nothing is made.
    std::filesystem::create_symlink("schleife", dir.path() / "schleife");
    EXPECT_EQ(write_file_whole(dir.path() / "schleife", "x").error, ELOOP);
    EXPECT_EQ(entries_in(dir.path()), 6u);
}

// The writer's one rule, as a table over file kinds, modes and the user's class: a regular file
// whose mode gives that class no write bit is neither replaced nor emptied (EROFS), however
// writable its folder; root counts as owner. Each row runs in a child process, which for the rows
// of another user (root only) acts as the user nobody.
TEST(FileWriter, AWriteProtectedFileIsNeverReplaced)
{
    const bool root = ::geteuid() == 0;
    const passwd* pw = ::getpwnam("nobody");
    const uid_t nb = pw != nullptr ? pw->pw_uid : 65534;
    const gid_t ng = pw != nullptr ? pw->pw_gid : 65534;
    const TempDir dir;
    ::chmod(dir.path().c_str(), 0777);
    const auto file = dir.path() / "ziel.txt";
    const auto link = dir.path() / "verweis.txt";
    const struct {
        bool other_user;  // root only: the file is chowned to `owner`:`group`, or the child is nobody
        bool as_nobody;
        uid_t owner;
        gid_t group;
        mode_t mode;
        bool via_link;
        int rule, write;  // check_writable and FileAppender; write_file_whole
    } cases[] = {
        {false, false, 0, 0, 0644, false, 0, 0},          {false, false, 0, 0, 0444, false, EROFS, EROFS},
        {false, false, 0, 0, 0200, false, 0, 0},          {false, false, 0, 0, 0466, false, EROFS, EROFS},
        {false, false, 0, 0, 0444, true, EROFS, EROFS},   {true, false, 4321, 8765, 0644, false, 0, 0},
        {true, false, 4321, 8765, 0466, false, EROFS, EROFS},
        {true, true, nb, 0, 0464, false, EROFS, EROFS},  // owner's bits count, not the group's
        {true, true, 0, ng, 0464, false, 0, EPERM},      // group may write; the file would change hands
        {true, true, 0, 0, 0646, false, 0, EPERM},       {true, true, 0, 0, 0644, false, EROFS, EROFS},
    };
    for (const auto& c : cases) {
        if (c.other_user && (!root || pw == nullptr)) continue;
        SCOPED_TRACE(std::to_string(c.mode) + (c.as_nobody ? " nobody" : "") + (c.via_link ? " link" : ""));
        std::filesystem::remove(file);
        std::filesystem::remove(link);
        ASSERT_TRUE(write_file_whole(file, "alt").ok());
        if (c.via_link) std::filesystem::create_symlink(file, link);
        ASSERT_TRUE(!c.other_user || ::chown(file.c_str(), c.owner, c.group) == 0);
        ::chmod(file.c_str(), c.mode);
        const auto name = c.via_link ? link : file;
        int got[3] = {-1, -1, -1}, ends[2];
        ASSERT_EQ(::pipe(ends), 0);
        if (const pid_t child = ::fork(); child == 0) {
            if (c.as_nobody && (::setgroups(0, nullptr) != 0 || ::setresgid(ng, ng, ng) != 0 || ::setresuid(nb, nb, nb) != 0))
                ::_exit(1);
            FileAppender appender(name);
            appender.append("neu");
            const int r[3] = {check_writable(name).error, write_file_whole(name, "neu").error, appender.finish().error};
            ::_exit(::write(ends[1], r, sizeof r) == sizeof r ? 0 : 1);
        } else {
            ::close(ends[1]);
            EXPECT_EQ(::read(ends[0], got, sizeof got), static_cast<ssize_t>(sizeof got));
            ::close(ends[0]);
            ::waitpid(child, nullptr, 0);
        }
        EXPECT_EQ(got[0], c.rule);
        EXPECT_EQ(got[1], c.write);
        EXPECT_EQ(got[2], c.rule);
        if (root || (c.mode & 0400) != 0) {
            EXPECT_EQ(slurp(file), c.rule == 0 ? "neu" : "alt");
        }
        EXPECT_EQ(std::filesystem::status(file).permissions(), static_cast<std::filesystem::perms>(c.mode));
        EXPECT_EQ(entries_in(dir.path()), c.via_link ? 2u : 1u);  // no temporary file left
    }
    EXPECT_EQ(WriteResult{EROFS}.message(), "Datei ist schreibgesch\xFCtzt");
    EXPECT_TRUE(check_writable("/dev/null").ok());  // devices are written where they are
    EXPECT_EQ(check_writable("/dev/fd/987").error, EBADF);
}

#ifdef DUOSKOP_CLI
// A command that replaced a write-protected file keeps it now and says why.
TEST(FileWriter, CommandsKeepAWriteProtectedFile)
{
    const TempDir dir;
    const std::string entries = dir.write("e.txt", "alt");
    ::chmod(entries.c_str(), 0444);
    const test_support::CliRun r = test_support::run_cli(
        {"compare", "WEIDNER.dat", "HOLLMANN.dat", "--analysis", "double", "--double", "2,0", "--simple", "1,5",
         "--drive-c", DUOSKOP_SOURCE_DRIVE_C, "--entries", entries});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "duoskop-cli: " + entries + ": Datei ist schreibgesch\u00FCtzt\n");
    EXPECT_EQ(slurp(entries), "alt");
}

// What a user typed: the entries of a comparison appended to a log through the shell.
TEST(FileWriter, CommandLineAppendsToTheShellsLogAndWritesIntoPipes)
{
    const TempDir dir;
    const std::string log = dir.file("log.txt");
    write_file_whole(log, "alte Zeile\n");
    const std::string compare = std::string("'") + DUOSKOP_CLI + "' compare WEIDNER.dat HOLLMANN.dat "
        "--analysis double --double 2,0 --simple 1,5 --drive-c '" DUOSKOP_SOURCE_DRIVE_C "' ";
    ASSERT_EQ(std::system((compare + "--entries /dev/stdout >>'" + log + "' 2>/dev/null").c_str()), 0);
    const std::string appended = slurp(log);
    EXPECT_TRUE(appended.starts_with("alte Zeile\n")) << appended.substr(0, 40);
    EXPECT_GT(appended.size(), 100u);
    const std::string piped = dir.file("piped.txt");
    ASSERT_EQ(std::system((compare + "--report /dev/stdout | cat >'" + piped + "'").c_str()), 0);
    EXPECT_GT(slurp(piped).size(), 100u);
}
#endif

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
