// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "base/texts.h"
#include "results/pictures.h"
#include "tests/core/text_files_fixture.h"

using namespace duoskop;
using namespace duoskop::text_testing;

namespace {

std::optional<std::size_t> find(const std::string& index, std::string_view key)
{
    std::array<unsigned char, picture_index_size> raw{};
    std::memcpy(raw.data(), index.data(), raw.size());
    return find_picture_slot(raw, key);
}

std::vector<std::string> lines_of(const std::string& record)
{
    std::array<unsigned char, picture_record_size> raw{};
    std::memcpy(raw.data(), record.data(), raw.size());
    return picture_text_lines(raw);
}

std::string padded(std::string line)
{
    line.resize(73, ' ');
    return line;
}

Ktexte loaded_meanings()
{
    Ktexte k;
    k.ktexte_table = {{"MC/SO", "Ziel und Kraft"}, {"JU/SA", "Geduld"}};
    k.ktexte_da = true;
    return k;
}

}  // namespace

TEST(PictureText, ConvertsExactlyTheSevenDosBytes)
{
    const std::array<std::pair<int, int>, 7> umlauts = {
        {{0x81, 0xFC}, {0x84, 0xE4}, {0x8E, 0xC4}, {0x94, 0xF6}, {0x99, 0xD6}, {0x9A, 0xDC}, {0xE1, 0xDF}}};
    for (int b = 0; b < 256; ++b) {
        int expected = b;
        for (const auto& [dos, ansi] : umlauts)
            if (b == dos) expected = ansi;
        EXPECT_EQ(dos_to_ansi(static_cast<unsigned char>(b)), expected) << b;
    }
    const auto lines = lines_of(picture_record({"Gr\xE1\x81\x65 \x8E\x84\x99\x94\x9A\xFC"}));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], padded("Gr\xDF\xFC" "e \xC4\xE4\xD6\xF6\xDC\xFC"));
}

TEST(PictureText, DropsLinesWhoseFirstTenCharactersAreBlank)
{
    const auto lines = lines_of(picture_record({"Erste Zeile", "          weiter rechts", "         x", "", "Letzte"}));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], padded("Erste Zeile"));  // kept whole, trailing blanks included
    EXPECT_EQ(lines[1], padded("         x"));
    EXPECT_EQ(lines[2], padded("Letzte"));
    EXPECT_TRUE(lines_of(picture_record({})).empty());
}

TEST(PictureIndex, SearchesSlotsZeroTo252WithExactKeysLowestFirst)
{
    EXPECT_EQ(find(picture_index({{7, "JU/SA"}, {9, "JU/SA"}}), "JU/SA"), 7u);
    EXPECT_EQ(find(picture_index({{252, "JU/SA"}}), "JU/SA"), 252u);
    EXPECT_EQ(find(picture_index({{253, "JU/SA"}, {254, "JU/SA"}}), "JU/SA"), std::nullopt);
    EXPECT_EQ(find(picture_index({{0, "SA/JU"}}), "JU/SA"), std::nullopt);
    EXPECT_EQ(find(picture_index({{0, "JU/SA "}}), "JU/SA"), std::nullopt);
    EXPECT_EQ(find(picture_index({{0, "ju/sa"}}), "JU/SA"), std::nullopt);
    EXPECT_EQ(find(picture_index({}), ""), 0u);  // an empty slot matches an empty key only
}

TEST(PictureIndex, LengthBytesAbove13StayInsideTheSlot)
{
    std::string index = picture_index({{254, "MC/SO"}});
    index[254 * 14] = static_cast<char>(255);  // last slot: a length byte running past the block
    index[0] = static_cast<char>(200);
    index.replace(1, 13, "ABCDEFGHIJKLM");
    EXPECT_EQ(find(index, "ABCDEFGHIJKLM"), 0u);
    EXPECT_EQ(find(index, "MC/SO"), std::nullopt);
}

class Resolve : public ::testing::Test {
protected:
    TempDir dir;
    DriveC drive{dir.path()};
    Ktexte ktexte = loaded_meanings();
};

TEST_F(Resolve, FoundPictureGivesItsKeptLines)
{
    dir.write("PBTX/MCSO.vwt", picture_index({{0, "MC/MO"}, {2, "JU/SA"}}));
    dir.write("PBTX/MCSO.txt", picture_record({"null"}) + picture_record({"eins"}) +
                                   picture_record({"Geduld zahlt sich aus", "          x", "\x9A" "berall"}));
    const Resolution r = resolve_entry("MC/SO=JU/SA", ktexte, drive);
    EXPECT_TRUE(r.picture_da);
    EXPECT_TRUE(r.found);
    EXPECT_TRUE(r.io_error.empty());
    EXPECT_FALSE(r.singles);
    EXPECT_EQ(r.lines, (std::vector<std::string>{padded("Geduld zahlt sich aus"), padded("\xDC" "berall")}));
}

TEST_F(Resolve, NotFoundOrNoIndexGivesTheSingleMeanings)
{
    dir.write("PBTX/MCSO.vwt", picture_index({{0, "SA/JU"}}));
    Resolution r = resolve_entry("MC/SO=JU/SA", ktexte, drive);
    EXPECT_TRUE(r.picture_da);
    EXPECT_FALSE(r.found);
    EXPECT_TRUE(r.singles);
    EXPECT_EQ(r.key1, "MC/SO");
    EXPECT_EQ(r.text1, "Ziel und Kraft");
    EXPECT_EQ(r.key2, "JU/SA");
    EXPECT_EQ(r.text2, "Geduld");

    r = resolve_entry("AS/AS=VE/MA", ktexte, drive);  // no index; VE/MA has no meaning
    EXPECT_FALSE(r.picture_da);
    EXPECT_TRUE(r.singles);
    EXPECT_EQ(r.key2, "VE/MA");
    EXPECT_EQ(r.text2, "");

    ktexte.ktexte_da = false;
    r = resolve_entry("MC/SO=JU/SA", ktexte, drive);
    EXPECT_FALSE(r.singles);
    EXPECT_TRUE(r.key1.empty());
}

TEST_F(Resolve, DamagedCollectionGivesTheIoError)
{
    dir.write("PBTX/MCSO.vwt", picture_index({{1, "JU/SA"}}).substr(0, 3569));
    EXPECT_EQ(resolve_entry("MC/SO=JU/SA", ktexte, drive).io_error, texts::kIoReadPastEnd);

    dir.write("PBTX/MCSO.vwt", picture_index({{1, "JU/SA"}}));
    Resolution r = resolve_entry("MC/SO=JU/SA", ktexte, drive);
    EXPECT_EQ(r.io_error, texts::kIoFileNotFound);  // index without its text file
    EXPECT_FALSE(r.found);
    EXPECT_FALSE(r.singles);

    dir.write("PBTX/MCSO.txt", picture_record({"nur Satz null"}));  // no record 1
    EXPECT_EQ(resolve_entry("MC/SO=JU/SA", ktexte, drive).io_error, texts::kIoReadPastEnd);
    dir.write("PBTX/MCSO.txt", picture_record({"null"}) + picture_record({"eins"}).substr(0, 1000));
    EXPECT_EQ(resolve_entry("MC/SO=JU/SA", ktexte, drive).io_error, texts::kIoReadPastEnd);
}

TEST_F(Resolve, ShortAndOddEntriesAreTakenAsFarAsTheyGo)
{
    dir.write("PBTX/MCSO.vwt", picture_index({{0, "JU"}}));
    dir.write("PBTX/MCSO.txt", picture_record({"kurz"}));
    EXPECT_TRUE(resolve_entry("MC/SO=JU", ktexte, drive).found);
    const Resolution empty = resolve_entry("", ktexte, drive);
    EXPECT_FALSE(empty.picture_da);
    EXPECT_TRUE(empty.io_error.empty());
    EXPECT_FALSE(resolve_entry("../..=../..", ktexte, drive).found);
}

TEST(SampleCollection, CoversSomePicturesButNotAll)
{
    const DriveC drive(DUOSKOP_SOURCE_DRIVE_C);
    Ktexte k;
    k.ktexte_da = true;
    const Resolution found = resolve_entry("MC/SO=JU/SA", k, drive);
    ASSERT_TRUE(found.found) << found.io_error;
    EXPECT_EQ(found.lines.size(), 14u);  // a long text fills all lines
    for (const char* axis : {"MC/MC", "MC/SO", "SO/SO", "MC/AS", "AS/AS"}) {
        int hits = 0;
        for (const char* pair : {"MC/MC", "SO/MO", "VE/MA", "JU/SA", "ME/PL", "MO/NE", "SA/UR", "KN/PO",
                                 "AS/JU", "MA/HA", "UR/NE", "CU/ZE"}) {
            const Resolution r = resolve_entry(std::string(axis) + "=" + pair, k, drive);
            EXPECT_TRUE(r.picture_da && r.io_error.empty()) << axis << "=" << pair;
            hits += r.found;
        }
        EXPECT_GT(hits, 0) << axis;
        EXPECT_LT(hits, 12) << axis;
    }
}

TEST(Collection, GarbageFilesOfAnySizeNeverCrash)
{
    TempDir dir;
    const DriveC drive(dir.path());
    unsigned state = 12345;
    const auto garbage = [&state](std::size_t size) {
        std::string bytes(size, '\0');
        for (char& c : bytes) c = static_cast<char>((state = state * 1103515245u + 12345u) >> 23);
        return bytes;
    };
    for (const std::size_t size : {0u, 1u, 86u, 87u, 1023u, 3569u, 3570u, 3571u, 9000u, 70000u}) {
        dir.write("astro/KTEXTE.txt", garbage(size));
        dir.write("PBTX/MCSO.vwt", garbage(size));
        dir.write("PBTX/MCSO.txt", garbage(size));
        Ktexte k;
        load_ktexte(drive, k);
        k.ktexte_da = true;
        for (const char* entry : {"MC/SO=JU/SA", "MC/SO", "MC/SO=\xFF\xFF\xFF\xFF\xFF", ""}) {
            const Resolution r = resolve_entry(entry, k, drive);
            EXPECT_TRUE(!r.found || r.io_error.empty());
            EXPECT_TRUE(size >= 3570 || !r.found);  // a short index is never searched
        }
    }
}
