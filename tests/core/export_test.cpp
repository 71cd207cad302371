// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "base/texts.h"
#include "results/export.h"
#include "tests/core/text_files_fixture.h"

using namespace duoskop;
using namespace duoskop::text_testing;

namespace {

chart_record person(std::string first_name, std::string name)
{
    chart_record r;
    r.first_name = std::move(first_name);
    r.name = std::move(name);
    return r;
}

std::string padded(std::string line)
{
    line.resize(73, ' ');
    return line;
}

class Export : public ::testing::Test {
protected:
    Export()
    {
        ktexte.ktexte_table = {{"MC/SO", "Ziel und Kraft"}, {"JU/SA", "Geduld"}, {"VE/MA", "Anziehung"}};
        ktexte.ktexte_da = true;
        dir.write("PBTX/MCSO.vwt", picture_index({{4, "JU/SA"}}));
        dir.write("PBTX/MCSO.txt", std::string(4 * 1024, ' ') + picture_record({"Bild eins", "", "Bild zwei"}));
    }
    ExportLines file(const std::vector<std::string>& entries, ExportScope scope)
    {
        return export_file_lines(entries, scope, p1, p2, "MC-SO-Achsen (dopp.)", ktexte, drive);
    }
    ExportLines printer(const std::vector<std::string>& entries, ExportScope scope)
    {
        return export_printer_lines(entries, scope, p1, p2, "MC-SO-Achsen (dopp.)", ktexte, drive);
    }

    TempDir dir;
    DriveC drive{dir.path()};
    Ktexte ktexte;
    chart_record p1 = person("Liesel", "Sonnberg");
    chart_record p2 = person("J\xFCrgen", "Weidner");
    const std::string picture_block = "MC/SO=JU/SA\r" + padded("Bild eins") + "\r" + padded("Bild zwei") + "\r    \r";
};

}  // namespace

TEST(ExportHeader, ThreeVariantsDifferOnlyInTheirBlanks)
{
    const chart_record a = person("Liesel", "Sonnberg"), b = person("Otto", "Kranich");
    EXPECT_EQ(export_file_header(a, b, "MC-AS-Liste (nur gemeinsame)", ExportScope::pictures_only),
              "Liesel Sonnberg,   Otto Kranich    MC-AS-Liste (nur gemeinsame)");
    EXPECT_EQ(export_file_header(a, b, "SO1/SO2-Achse", ExportScope::all), "Liesel Sonnberg,   Otto Kranich   SO1/SO2-Achse");
    EXPECT_EQ(export_printer_header(a, b, "SO1/SO2-Achse"), "   Liesel Sonnberg,   Otto Kranich   SO1/SO2-Achse");
    // Empty names stay empty; at most 28 characters of the title are used.
    EXPECT_EQ(export_file_header({}, {}, std::string(40, 'T'), ExportScope::all), " ,    " "   " + std::string(28, 'T'));
}

TEST(ExportBlock, FinalCarriageReturnAddsNoEmptyLine)
{
    EXPECT_EQ(block_lines("E\r\rA\r    \r"), (std::vector<std::string>{"E", "", "A", "    "}));
    EXPECT_EQ(block_lines("ohne Ende"), (std::vector<std::string>{"ohne Ende"}));
    EXPECT_TRUE(block_lines("").empty());
}

TEST_F(Export, BlocksOfTheThreeKinds)
{
    const std::vector<std::string> entries = {"MC/SO=JU/SA", "MC/SO=VE/MA", "AS/AS=VE/MA"};
    EXPECT_EQ(texte(entries, 0, false, ktexte, drive).block, picture_block);
    EXPECT_EQ(texte(entries, 0, true, ktexte, drive).block, picture_block);
    EXPECT_EQ(texte(entries, 1, false, ktexte, drive).block, "");
    EXPECT_EQ(texte(entries, 1, true, ktexte, drive).block,
              "MC/SO=VE/MA\rMC/SO: Ziel und Kraft\rVE/MA: Anziehung\r    \r");
    // No collection for AS/AS: no message, just the substitute; a key without meaning is empty.
    EXPECT_EQ(texte(entries, 2, true, ktexte, drive).block, "AS/AS=VE/MA\rAS/AS: \rVE/MA: Anziehung\r    \r");
    EXPECT_EQ(texte(entries, 3, true, ktexte, drive).block, "");
    ktexte.ktexte_da = false;
    EXPECT_EQ(texte(entries, 1, true, ktexte, drive).block, "");
}

TEST_F(Export, PictureBlocksAreNotCutAt255)
{
    std::vector<std::string> lines(14, std::string(73, 'x'));
    dir.write("PBTX/SOSO.vwt", picture_index({{0, "VE/MA"}}));
    dir.write("PBTX/SOSO.txt", picture_record(lines));
    const auto block = texte({"SO/SO=VE/MA"}, 0, false, ktexte, drive).block;
    EXPECT_EQ(block.size(), 12u + 14u * 74u + 5u);
}

TEST_F(Export, FileLinesHeaderEmptyLineThenBlocksInListOrder)
{
    EXPECT_EQ(file({}, ExportScope::pictures_only).lines,
              (std::vector<std::string>{"Liesel Sonnberg,   J\xFCrgen Weidner    MC-SO-Achsen (dopp.)", ""}));

    const std::vector<std::string> entries = {"MC/SO=VE/MA", "MC/SO=JU/SA", "AS/AS=JU/SA", "MC/SO=JU/SA"};
    const ExportLines only = file(entries, ExportScope::pictures_only);
    EXPECT_TRUE(only.io_error.empty());
    const std::vector<std::string> block = {"MC/SO=JU/SA", padded("Bild eins"), padded("Bild zwei"), "    "};
    std::vector<std::string> expected = {"Liesel Sonnberg,   J\xFCrgen Weidner    MC-SO-Achsen (dopp.)", ""};
    expected.insert(expected.end(), block.begin(), block.end());
    expected.insert(expected.end(), block.begin(), block.end());  // listed twice, exported twice
    EXPECT_EQ(only.lines, expected);

    const ExportLines all = file(entries, ExportScope::all);
    ASSERT_EQ(all.lines.size(), 2u + 4u * 4u);
    EXPECT_EQ(all.lines[0], "Liesel Sonnberg,   J\xFCrgen Weidner   MC-SO-Achsen (dopp.)");
    EXPECT_EQ(all.lines[3], "MC/SO: Ziel und Kraft");
    EXPECT_EQ(all.lines[10], "AS/AS=JU/SA");

    ktexte.ktexte_da = false;  // "alle" without single meanings equals "nur PL-Bild-Texte" but for the header
    const ExportLines reduced = file(entries, ExportScope::all);
    EXPECT_EQ(std::vector<std::string>(reduced.lines.begin() + 1, reduced.lines.end()),
              std::vector<std::string>(expected.begin() + 1, expected.end()));
}

TEST_F(Export, PrinterLinesAreIndentedByThreeBlanks)
{
    EXPECT_EQ(printer({}, ExportScope::all).lines,
              (std::vector<std::string>{"", "", "   Liesel Sonnberg,   J\xFCrgen Weidner   MC-SO-Achsen (dopp.)", ""}));
    const ExportLines lines = printer({"MC/SO=JU/SA", "MC/SO=VE/MA"}, ExportScope::all);
    ASSERT_EQ(lines.lines.size(), 4u + 8u);
    for (std::size_t i = 2; i < lines.lines.size(); ++i) {
        if (i == 3) continue;  // the empty line after the header
        EXPECT_TRUE(lines.lines[i].starts_with("   ")) << i;
    }
    EXPECT_EQ(lines.lines[4], "   MC/SO=JU/SA");
    EXPECT_EQ(lines.lines[7], "       ");
    EXPECT_EQ(lines.lines[9], "   MC/SO: Ziel und Kraft");
}

TEST_F(Export, IoErrorStopsTheExportAfterWhatCameBefore)
{
    dir.write("PBTX/SOSO.vwt", picture_index({}).substr(0, 100));
    const ExportLines lines = file({"MC/SO=JU/SA", "SO/SO=VE/MA", "MC/SO=JU/SA"}, ExportScope::all);
    EXPECT_EQ(lines.io_error, texts::kIoReadPastEnd);
    EXPECT_EQ(lines.lines.size(), 2u + 4u);
    EXPECT_EQ(texte({"SO/SO=VE/MA"}, 0, true, ktexte, drive).io_error, texts::kIoReadPastEnd);
}
