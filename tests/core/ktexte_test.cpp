// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <set>

#include "base/texts.h"
#include "results/ktexte.h"
#include "tests/core/text_files_fixture.h"

using namespace duoskop;
using duoskop::text_testing::ktexte_record;
using duoskop::text_testing::TempDir;

namespace {
const std::string kReadPastEnd(texts::kIoReadPastEnd);
}

TEST(Ktexte, HoldsEveryRecordInFileOrderAndFirstKeyWins)
{
    std::string bytes = ktexte_record("MC/SO", "Ziel und Kraft") + ktexte_record("SO/SO", "Wille") +
                        ktexte_record("MC/SO", "zweiter Eintrag");
    for (int i = 0; i < 310; ++i) bytes += ktexte_record("VU/PO", "F\xFCllung");
    TempDir dir;
    dir.write("astro/KTEXTE.TXT", bytes);

    Ktexte k;
    const KtexteLoadResult r = load_ktexte(DriveC(dir.path()), k);
    EXPECT_EQ(r.outcome, KtexteOutcome::loaded);
    EXPECT_TRUE(r.message.empty());
    EXPECT_TRUE(k.ktexte_da);
    ASSERT_EQ(k.ktexte_table.size(), 313u);  // more than 300 are all kept
    EXPECT_EQ(k.ktexte_table[1], (KtexteRecord{"SO/SO", "Wille"}));
    EXPECT_EQ(single_meaning(k, "MC/SO"), "Ziel und Kraft");
    EXPECT_EQ(single_meaning(k, "VU/PO"), "F\xFCllung");
    EXPECT_EQ(single_meaning(k, "SO/MC"), "");   // keys compare exactly
    EXPECT_EQ(single_meaning(k, "MC/SO "), "");
}

TEST(Ktexte, LengthBytesBeyondTheFieldsAreCut)
{
    Ktexte k;
    const std::string text(80, 'T');
    EXPECT_EQ(parse_ktexte(ktexte_record("MC/SO", text, 255, 255) + ktexte_record("AB", "kurz", 0, 2), k).outcome,
              KtexteOutcome::loaded);
    ASSERT_EQ(k.ktexte_table.size(), 2u);
    EXPECT_EQ(k.ktexte_table[0], (KtexteRecord{"MC/SO", text}));
    EXPECT_EQ(k.ktexte_table[1], (KtexteRecord{"", "ku"}));
}

TEST(Ktexte, MissingFileGivesTheKtexteBox)
{
    TempDir dir;
    Ktexte k;
    k.ktexte_table.push_back({"old", "old"});
    const KtexteLoadResult r = load_ktexte(DriveC(dir.path()), k);
    EXPECT_EQ(r.outcome, KtexteOutcome::missing);
    EXPECT_EQ(r.message, texts::kKtexteMissing);
    EXPECT_FALSE(k.ktexte_da);
    EXPECT_TRUE(k.ktexte_table.empty());
}

TEST(Ktexte, EmptyShortOrUnreadableFilesKeepWholeRecordsAndStayUnloaded)
{
    TempDir dir;
    Ktexte k;

    const auto empty = load_ktexte(dir.write("empty.txt", ""), k);
    EXPECT_EQ(empty.outcome, KtexteOutcome::read_error);
    EXPECT_EQ(empty.message, kReadPastEnd);
    EXPECT_FALSE(k.ktexte_da);

    const std::string two = ktexte_record("MC/MC", "eins") + ktexte_record("MC/WI", "zwei");
    const auto short_last = load_ktexte(dir.write("short.txt", two + ktexte_record("MC/SO", "drei").substr(0, 40)), k);
    EXPECT_EQ(short_last.outcome, KtexteOutcome::read_error);
    EXPECT_EQ(short_last.message, kReadPastEnd);
    EXPECT_FALSE(k.ktexte_da);
    ASSERT_EQ(k.ktexte_table.size(), 2u);
    EXPECT_EQ(k.ktexte_table[1].text, "zwei");

    // A directory in place of the file opens but cannot be read.
    std::filesystem::create_directories(dir.path() / "astro" / "KTEXTE.txt");
    const auto directory = load_ktexte(DriveC(dir.path()), k);
    EXPECT_EQ(directory.outcome, KtexteOutcome::read_error);
    EXPECT_FALSE(directory.message.empty());
    EXPECT_FALSE(k.ktexte_da);
}

TEST(Ktexte, SampleDriveHasOneMeaningForEachOfThe253Pairs)
{
    Ktexte k;
    ASSERT_EQ(load_ktexte(DriveC(DUOSKOP_SOURCE_DRIVE_C), k).outcome, KtexteOutcome::loaded);
    ASSERT_EQ(k.ktexte_table.size(), 253u);
    std::set<std::string> keys;
    for (const auto& r : k.ktexte_table) {
        EXPECT_EQ(r.key.size(), 5u);
        EXPECT_FALSE(r.text.empty()) << r.key;
        keys.insert(r.key);
    }
    EXPECT_EQ(keys.size(), 253u);
    EXPECT_TRUE(keys.contains("MC/PO") && keys.contains("PO/PO") && keys.contains("JU/SA"));
}
