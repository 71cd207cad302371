// SPDX-License-Identifier: GPL-3.0-or-later
// duoskop-cli texts: the text library from the terminal, on copies of the sample drive.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/core/test_support.h"

using duoskop::test_support::CliRun;
using duoskop::test_support::run_cli;
using duoskop::test_support::slurp;
using duoskop::test_support::TempDir;
namespace fs = std::filesystem;

namespace {

struct CliTexts : ::testing::Test {
    TempDir dir;
    std::string drive;
    void SetUp() override
    {
        fs::copy(DUOSKOP_SOURCE_DRIVE_C, dir.path() / "c", fs::copy_options::recursive);
        drive = dir.file("c");
    }
    CliRun texts(std::vector<std::string> args)
    {
        args.insert(args.begin(), "texts");
        args.insert(args.end(), {"--drive-c", drive});
        return run_cli(args);
    }
    static std::string person(const std::string& name)
    {
        return std::string(DUOSKOP_SOURCE_DRIVE_C) + "/astro/daten/" + name + ".dat";
    }
};

}  // namespace

TEST_F(CliTexts, ImportShowsAtOnceAndRefusalsNameLineAndColumn)
{
    dir.write("neu.txt", "# Probe\n[MC/JU=VE/MA]\nVenus und Mars mit Gr\u00F6\u00DFe\n");
    const CliRun imported = texts({"import", dir.file("neu.txt")});
    EXPECT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(imported.out.rfind("0 ge\u00E4ndert, 1 neu, 0 gel\u00F6scht, vorher behalten als Version ", 0), 0u);
    EXPECT_EQ(texts({"show", "MC/JU=VE/MA"}).out,
              "MC/JU=VE/MA\nQuelle: Bild (C:\\PBTX\\MCJU.txt)\nVenus und Mars mit Gr\u00F6\u00DFe\n");
    EXPECT_EQ(texts({"search", "groesse", "MARS"}).out, "MC/JU=VE/MA\tVenus und Mars mit Gr\u00F6\u00DFe\n");

    dir.write("falsch.txt", "[MC/JU=VE/MA]\nSo \u201Egut\u201C\n[MC/SO]\neins\nzwei\n");
    const std::string before = slurp(dir.path() / "c/PBTX/MCJU.txt");
    const CliRun refused = texts({"import", dir.file("falsch.txt")});
    EXPECT_EQ(refused.status, 1);
    const std::string f = dir.file("falsch.txt");
    EXPECT_NE(refused.err.find(f + ":2:4: das Zeichen k\u00F6nnen"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find(f + ":5: eine Einzelbedeutung hat nur eine Zeile"), std::string::npos);
    EXPECT_NE(refused.err.find("nichts geschrieben (2 abgelehnt)"), std::string::npos);
    EXPECT_EQ(slurp(dir.path() / "c/PBTX/MCJU.txt"), before);
}

TEST_F(CliTexts, ExportImportRoundTripAndVersionsRestore)
{
    ASSERT_EQ(texts({"export", dir.file("a.txt")}).status, 0);
    const CliRun same = texts({"import", dir.file("a.txt")});
    EXPECT_EQ(same.out, "0 ge\u00E4ndert, 0 neu, 0 gel\u00F6scht\n");
    EXPECT_EQ(texts({"versions"}).out, "");

    const std::string original = slurp(dir.path() / "c/astro/KTEXTE.txt");
    dir.write("b.txt", "[MC/SO]\nGanz anders\n");
    ASSERT_EQ(texts({"import", dir.file("b.txt")}).status, 0);
    const CliRun versions = texts({"versions"});
    const std::string name = versions.out.substr(0, versions.out.find('\t'));
    EXPECT_EQ(versions.out, name + "\tastro/KTEXTE.txt\n");
    ASSERT_EQ(texts({"restore", name}).status, 0);
    EXPECT_EQ(slurp(dir.path() / "c/astro/KTEXTE.txt"), original);
    EXPECT_EQ(texts({"restore", "gibt-es-nicht"}).status, 1);
}

TEST_F(CliTexts, CoverageAgreesWithShowForEveryEntry)
{
    const CliRun c = texts({"coverage", person("ALBRECHT"), person("HOLLMANN"), "--analysis", "simple", "--double",
                            "1,0", "--simple", "0,5"});
    ASSERT_EQ(c.status, 0) << c.err;
    std::size_t lines = 0, pictures = 0;
    std::size_t pos = 0;
    for (std::size_t end; (end = c.out.find('\n', pos)) != std::string::npos; pos = end + 1) {
        const std::string line = c.out.substr(pos, end - pos);
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos) {
            EXPECT_EQ(line.find(std::to_string(lines) + " Eintr\u00E4ge: " + std::to_string(pictures) + " Bild"), 0u)
                << line;
            continue;
        }
        ++lines;
        const std::string source = line.substr(tab + 1);
        pictures += source == "Bild";
        const std::string shown = texts({"show", line.substr(0, tab)}).out;
        EXPECT_NE(shown.find("Quelle: " + source), std::string::npos) << line;
    }
    EXPECT_GT(lines, 0u);
}

TEST_F(CliTexts, WrongCallsAndTheSampleDrive)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"texts"}, {"texts", "show"}, {"texts", "lesen"}, {"texts", "versions", "x"},
          {"texts", "coverage", "a", "b"}, {"texts", "show", "MC/SO=JU/SA", "--double", "1"}})
        EXPECT_EQ(run_cli(args).status, 2) << args.size();
    // Without --drive-c the tests point at the shipped sample drive, which is never written.
    const CliRun sample = run_cli({"texts", "restore", "x"});
    EXPECT_EQ(sample.status, 1);
    EXPECT_NE(sample.err.find("Beispiel-Laufwerk"), std::string::npos);
    EXPECT_NE(run_cli({"--help"}).out.find("texts"), std::string::npos);
}

TEST_F(CliTexts, ImportRefusesWhatIsNoFileItCanRead)
{
    // A folder, and a file whose reading fails: nothing merged, nothing kept, exit 1.
    for (const std::string& path : {dir.file("c/PBTX"), std::string("/proc/self/mem")}) {
        const CliRun r = texts({"import", path});
        EXPECT_EQ(r.status, 1) << path;
        EXPECT_EQ(r.out, "") << path;
        EXPECT_EQ(r.err.rfind("duoskop-cli: " + path + ": ", 0), 0u) << r.err;
    }
    EXPECT_EQ(texts({"versions"}).out, "");
}

TEST_F(CliTexts, ExportedTextsThatLookLikeHeadersComeBackUnchanged)
{
    dir.write("neu.txt", "[MC/SO=VU/PO]\n\\[MC/SO=JU/SA]\n\\\\Rand\n");
    ASSERT_EQ(texts({"import", dir.file("neu.txt")}).status, 0);
    ASSERT_EQ(texts({"export", dir.file("a.txt")}).status, 0);
    EXPECT_NE(slurp(dir.path() / "a.txt").find("[MC/SO=VU/PO]\n\\[MC/SO=JU/SA]\n\\\\Rand\n"), std::string::npos);
    const CliRun again = texts({"import", dir.file("a.txt")});
    EXPECT_EQ(again.out, "0 ge\u00E4ndert, 0 neu, 0 gel\u00F6scht\n") << again.err;
    EXPECT_EQ(texts({"show", "MC/SO=VU/PO"}).out, "MC/SO=VU/PO\nQuelle: Bild (C:\\PBTX\\MCSO.txt)\n[MC/SO=JU/SA]\n\\Rand\n");
}
