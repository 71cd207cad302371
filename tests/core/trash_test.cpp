// SPDX-License-Identifier: GPL-3.0-or-later
// The user's trash: made when missing, a note for every file, never a file lost.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

#include "base/trash.h"
#include "test_support.h"

namespace duoskop {
namespace {

using test_support::slurp;
using test_support::TempDir;

// A data folder that does not exist yet, as on a fresh account without ~/.local/share.
struct TrashHome : ::testing::Test {
    TempDir dir;
    std::string saved = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
    std::filesystem::path trash = dir.path() / "neu" / "share" / "Trash";
    TrashHome() { setenv("XDG_DATA_HOME", (dir.path() / "neu" / "share").c_str(), 1); }
    ~TrashHome() override
    {
        if (saved.empty()) unsetenv("XDG_DATA_HOME");
        else setenv("XDG_DATA_HOME", saved.c_str(), 1);
    }
};

TEST_F(TrashHome, MovesAndCopiesWithANoteAndFreeNames)
{
    const std::string chart = dir.write("daten/M\xC3\xBCller A.dat", "alt");
    // Moved twice under the same name: the second gets a name of its own.
    const TrashResult first = move_to_trash(chart);
    ASSERT_TRUE(first.ok()) << first.error;
    EXPECT_FALSE(std::filesystem::exists(chart));
    dir.write("daten/M\xC3\xBCller A.dat", "neuer");
    const TrashResult copied = copy_to_trash(chart);
    ASSERT_TRUE(copied.ok());
    EXPECT_EQ(slurp(chart), "neuer");  // a copy leaves the file where it is

    EXPECT_EQ(first.where, trash / "files" / "M\xC3\xBCller A.dat");
    EXPECT_EQ(copied.where, trash / "files" / "M\xC3\xBCller A.2.dat");
    EXPECT_EQ(slurp(first.where), "alt");
    EXPECT_EQ(slurp(copied.where), "neuer");
    const std::string note = slurp(trash / "info" / "M\xC3\xBCller A.dat.trashinfo");
    EXPECT_TRUE(note.starts_with("[Trash Info]\nPath=" + dir.path().string() + "/daten/M%C3%BCller%20A.dat\n"
                                 "DeletionDate=")) << note;
    EXPECT_EQ(note.size(), note.find("DeletionDate=") + 13 + 19 + 1);  // YYYY-MM-DDThh:mm:ss\n
    struct stat st{};
    ASSERT_EQ(::stat(trash.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(TrashHome, WhenNoTrashCanBeMadeTheFileStays)
{
    const std::string chart = dir.write("daten/MEIER.dat", "bleibt");
    dir.write("neu", "eine Datei, wo der Datenordner hingeh\xC3\xB6rt");
    EXPECT_EQ(move_to_trash(chart).error, ENOTDIR);
    EXPECT_EQ(copy_to_trash(chart).error, ENOTDIR);
    EXPECT_EQ(slurp(chart), "bleibt");
    EXPECT_EQ(move_to_trash(dir.path() / "daten" / "FEHLT.dat").error, ENOENT);
    // Nothing was put into the working folder (formerly files/ and info/ appeared there).
    for (const char* stray : {"files", "info", "daten/files"}) EXPECT_FALSE(std::filesystem::exists(stray)) << stray;
}

}  // namespace
}  // namespace duoskop
