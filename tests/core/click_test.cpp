// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "base/texts.h"
#include "results/click.h"
#include "tests/core/text_files_fixture.h"

using namespace duoskop;
using namespace duoskop::text_testing;

namespace {

class Click : public ::testing::Test {
protected:
    Click()
    {
        ktexte.ktexte_table = {{"MC/SO", "Ziel und Kraft"}, {"JU/SA", "Geduld"}};
        ktexte.ktexte_da = true;
    }
    std::vector<MessageBox> click(std::string_view entry) { return click_display(entry, ktexte, drive); }

    TempDir dir;
    DriveC drive{dir.path()};
    Ktexte ktexte;
};

const std::string kMeaningsBox = "MC/SO: Ziel und Kraft           \r\rJU/SA: Geduld           ";

}  // namespace

TEST_F(Click, PictureTextIsShownWholeBeyond255Characters)
{
    std::vector<std::string> lines;
    for (int i = 0; i < 14; ++i) lines.push_back("Zeile " + std::to_string(i));
    dir.write("PBTX/MCSO.vwt", picture_index({{0, "JU/SA"}}));
    dir.write("PBTX/MCSO.txt", picture_record(lines));
    const auto boxes = click("MC/SO=JU/SA");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, BoxType::information);
    EXPECT_EQ(boxes[0].text.size(), 11u + 2u + 14u * 74u);
    EXPECT_EQ(boxes[0].text.substr(0, 13 + 74), "MC/SO=JU/SA\r\rZeile 0" + std::string(66, ' ') + "\r");
    EXPECT_EQ(boxes[0].text.back(), '\r');
}

TEST_F(Click, AllBlankPictureShowsTheEntryAndAnEmptyLine)
{
    dir.write("PBTX/MCSO.vwt", picture_index({{0, "JU/SA"}}));
    dir.write("PBTX/MCSO.txt", picture_record({"          nur rechts"}));
    EXPECT_EQ(click("MC/SO=JU/SA"), (std::vector<MessageBox>{{BoxType::information, "MC/SO=JU/SA\r\r"}}));
}

TEST_F(Click, PictureMissingFromTheIndexShowsTheMeaningsWithHeading)
{
    dir.write("PBTX/MCSO.vwt", picture_index({{0, "SA/JU"}}));
    const std::string heading = "F\xFCr  MC/SO = JU/SA  gibt es bisher nur Einzeltexte.     \r\r";
    EXPECT_EQ(click("MC/SO=JU/SA"), (std::vector<MessageBox>{{BoxType::information, heading + kMeaningsBox}}));
}

TEST_F(Click, MissingCollectionShowsItsBoxThenTheMeaningsWithoutHeading)
{
    EXPECT_EQ(click("MC/SO=JU/SA"),
              (std::vector<MessageBox>{{BoxType::error, std::string(texts::kCollectionMissing)},
                                       {BoxType::information, kMeaningsBox}}));
}

TEST_F(Click, WithoutSingleMeaningsTheReminderBoxIsShown)
{
    ktexte.ktexte_da = false;
    EXPECT_EQ(click("MC/SO=JU/SA"),
              (std::vector<MessageBox>{{BoxType::error, std::string(texts::kCollectionMissing)},
                                       {BoxType::error, std::string(texts::kReminderKtexte)}}));
    dir.write("PBTX/MCSO.vwt", picture_index({}));
    EXPECT_EQ(click("MC/SO=JU/SA"),
              (std::vector<MessageBox>{{BoxType::error, std::string(texts::kReminderKtexte)}}));
}

TEST_F(Click, DamagedCollectionShowsOnlyTheIoError)
{
    dir.write("PBTX/MCSO.vwt", picture_index({{3, "JU/SA"}}));
    dir.write("PBTX/MCSO.txt", picture_record({"eins"}));
    EXPECT_EQ(click("MC/SO=JU/SA"),
              (std::vector<MessageBox>{{BoxType::error, std::string(texts::kIoReadPastEnd)}}));
}
