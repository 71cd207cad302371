// SPDX-License-Identifier: GPL-3.0-or-later
// The chart index's folder checks: where a copy is proposed, which subfolders cannot be read.
#include <gtest/gtest.h>

#include <unistd.h>

#include "kartei/folder_checks.h"
#include "tests/core/test_support.h"

using namespace duoskop;
using test_support::TempDir;

TEST(CopyFolder, ProposesAFolderWhereTheFileNameIsFree)
{
    const struct {
        const char* what;
        std::vector<const char*> files;     // chart files already there
        std::string from;                   // the folder of the chart copied
        std::vector<std::string> folders;   // the subfolders listed
        std::string expected;
    } cases[] = {
        {"name free where it is", {"MEIER.dat"}, "", {}, ""},  // copying Schulz from the root
        {"taken: the first subfolder with room", {"SCHULZ.dat", "familie/SCHULZ.dat"}, "", {"familie", "freunde"},
         "freunde"},
        {"taken in any case of a-z", {"schulz.DAT"}, "", {}, "Kopie"},
        {"taken everywhere: a new subfolder", {"SCHULZ.dat", "Kopie/SCHULZ.dat"}, "", {"Kopie"}, "Kopie 2"},
        {"from a subfolder, free beside it", {"alt/MEIER.dat"}, "alt", {"alt"}, "alt"},
        {"from a subfolder, taken there", {"alt/SCHULZ.dat"}, "alt", {"alt"}, "Kopie"},
    };
    for (const auto& c : cases) {
        const TempDir root;
        for (const char* f : c.files) root.write(f, "x");
        for (const auto& folder : c.folders) std::filesystem::create_directories(root.path() / folder);
        const std::string proposed = copy_folder(root.path(), "Schulz", c.from, c.folders);
        EXPECT_EQ(proposed, c.expected) << c.what;
        EXPECT_TRUE(chart_name_free(root.path(), proposed, "Schulz")) << c.what;
    }
}

TEST(UnreadableFolders, NamesFoldersThatCannotBeListed)
{
    const TempDir root;
    std::filesystem::create_directories(root.path() / "offen");
    std::filesystem::create_directories(root.path() / "privat");
    // A folder gone since it was listed cannot be read either.
    const std::vector<std::filesystem::path> folders = {root.path(), root.path() / "offen", root.path() / "weg"};
    EXPECT_EQ(unreadable_folders(root.path(), folders), std::vector<std::string>{"weg"});

    if (geteuid() == 0) GTEST_SKIP() << "root reads every folder";
    std::filesystem::permissions(root.path() / "privat", std::filesystem::perms::none);
    EXPECT_EQ(unreadable_folders(root.path(), {root.path() / "offen", root.path() / "privat"}),
              std::vector<std::string>{"privat"});
    std::filesystem::permissions(root.path() / "privat", std::filesystem::perms::owner_all);
}
