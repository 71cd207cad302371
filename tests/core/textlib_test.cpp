// SPDX-License-Identifier: GPL-3.0-or-later
// The text library against the reader of the result window: what it writes, the reader shows;
// what it refuses, it leaves unwritten; round trips keep every byte.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>

#include "base/file_writer.h"
#include "results/pictures.h"
#include "tests/core/text_files_fixture.h"
#include "textlib/coverage.h"
#include "textlib/exchange.h"
#include "textlib/library.h"

using namespace duoskop;
using namespace duoskop::text_testing;
using namespace duoskop::textlib;
namespace fs = std::filesystem;

namespace {

using test_support::slurp;

/// Every file under `root` except the kept versions, by relative path.
std::map<std::string, std::string> snapshot(const fs::path& root)
{
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        const std::string rel = fs::relative(e.path(), root).string();
        if (e.is_regular_file() && rel.find("Textversionen") == std::string::npos) files[rel] = slurp(e.path());
    }
    return files;
}

/// A drive C with a small collection: MCSO with JU/SA in slot 0, an empty slot 1, SO/MO in slot 2
/// and JU/SA again in slot 3 (never found); two single meanings with filler bytes.
struct SmallDrive : ::testing::Test {
    TempDir dir;
    DriveC drive{dir.path()};
    void SetUp() override
    {
        dir.write("astro/KTEXTE.txt", ktexte_record("MC/SO", "Ziel und Kraft") + ktexte_record("JU/SA", "Geduld"));
        dir.write("PBTX/MCSO.vwt", picture_index({{0, "JU/SA"}, {2, "SO/MO"}, {3, "JU/SA"}}));
        dir.write("PBTX/MCSO.txt", picture_record({"Erste Zeile", "", "Zweite Zeile"}) + picture_record({}) +
                                       picture_record({"Sonne und Mond"}) + picture_record({"nie gefunden"}));
    }
    Library open() const { return open_library(drive); }
    ApplyResult import(const std::string& text)
    {
        Library lib = open();
        return import_exchange(lib, text);
    }
    Resolution resolve(const std::string& entry) const
    {
        Ktexte k;
        load_ktexte(drive, k);
        return resolve_entry(entry, k, drive);
    }
};

std::string padded(std::string line)
{
    line.resize(73, ' ');
    return line;
}

}  // namespace

TEST_F(SmallDrive, ReadsWhatTheReaderFinds)
{
    const Library lib = open();
    ASSERT_EQ(lib.axes.size(), 1u);
    ASSERT_EQ(lib.axes[0].pictures.size(), 2u);  // the second JU/SA is never found
    EXPECT_EQ(text_of(lib, {"MC/SO", "JU/SA"}), (std::vector<std::string>{"Erste Zeile", "Zweite Zeile"}));
    EXPECT_EQ(text_of(lib, {"", "JU/SA"}), std::vector<std::string>{"Geduld"});
    EXPECT_FALSE(text_of(lib, {"MC/SO", "SA/JU"}));
    EXPECT_EQ(all_formulas(lib).size(), 4u);
}

TEST_F(SmallDrive, WritesOnlyTheChangedRecordAndTheReaderShowsIt)
{
    const auto before = snapshot(dir.path());
    const ApplyResult r = import("[MC/SO=SO/MO]\nGr\u00F6\u00DFe \u00C4rger \u00DCbermut \u00E4\u00F6\u00FC \u00E9t\u00E9\n");
    ASSERT_EQ(r.outcome, ApplyOutcome::written);
    EXPECT_EQ(r.replaced, 1u);
    EXPECT_FALSE(r.version.empty());
    const auto after = snapshot(dir.path());
    EXPECT_EQ(after.at("PBTX/MCSO.vwt"), before.at("PBTX/MCSO.vwt"));
    EXPECT_EQ(after.at("astro/KTEXTE.txt"), before.at("astro/KTEXTE.txt"));
    const std::string& old_text = before.at("PBTX/MCSO.txt");
    const std::string& new_text = after.at("PBTX/MCSO.txt");
    ASSERT_EQ(new_text.size(), old_text.size());
    // Only the lines of record 2 differ; its two unused bytes and every other record are kept.
    EXPECT_EQ(new_text.substr(0, 2048 + 2), old_text.substr(0, 2048 + 2));
    EXPECT_EQ(new_text.substr(3072), old_text.substr(3072));
    EXPECT_EQ(new_text.substr(2048 + 2, 5), "Gr\x94\xE1\x65");  // umlauts in the DOS code page
    const Resolution res = resolve("MC/SO=SO/MO");
    ASSERT_TRUE(res.found);
    EXPECT_EQ(res.lines, std::vector<std::string>{padded("Gr\xF6\xDF" "e \xC4rger \xDC" "bermut \xE4\xF6\xFC \xE9t\xE9")});
}

TEST_F(SmallDrive, NewPicturesTakeTheFirstFreeSlotAndNewAxisPairsGetTheirFiles)
{
    ASSERT_EQ(import("[MC/SO=VE/MA]\nNeu\n[MC/JU=VE/MA]\nAuch neu\n[AS/AS]\nEine neue Einzelbedeutung\n").outcome,
              ApplyOutcome::written);
    const std::string index = dir.read("PBTX/MCSO.vwt");
    EXPECT_EQ(index.substr(14, 6), "\x05VE/MA");
    EXPECT_EQ(resolve("MC/SO=VE/MA").lines, std::vector<std::string>{padded("Neu")});
    EXPECT_EQ(resolve("MC/JU=VE/MA").lines, std::vector<std::string>{padded("Auch neu")});
    EXPECT_EQ(dir.read("PBTX/MCJU.vwt").size(), picture_index_size);
    EXPECT_EQ(dir.read("astro/KTEXTE.txt").size(), 3 * ktexte_record_size);
    EXPECT_EQ(resolve("AS/AS=XX/YY").text1, "Eine neue Einzelbedeutung");
}

TEST_F(SmallDrive, RefusesWhatTheFilesCannotHoldAndWritesNothing)
{
    struct Case {
        const char* name;
        std::string file;
        std::vector<Refusal> expected;  // reasons compared by their start only
    };
    const std::string long_line(74, 'x');
    const Case cases[] = {
        {"line too long", "[MC/SO=JU/SA]\n" + long_line + "\n", {{2, 74, "Zeile l\xE4nger als 73"}}},
        {"single too long", "[MC/SO]\n" + std::string(81, 'y') + "\n", {{2, 81, "Zeile l\xE4nger als 80"}}},
        {"fifteen lines", "[MC/SO=JU/SA]\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n13\n14\n15\n", {{16, 0, "mehr als 14"}}},
        {"two single lines", "[MC/SO]\neins\n\nzwei\n", {{4, 0, "eine Einzelbedeutung"}}},
        {"low quote", "[MC/SO=JU/SA]\nSo \u201Egut\u201C\n", {{2, 4, "das Zeichen k\xF6nnen"}}},
        {"a acute", "[MC/SO=JU/SA]\nCaf\u00E1\n", {{2, 4, "das Zeichen k\xF6nnen"}}},
        {"trade mark", "[MC/SO=JU/SA]\nMarke\u2122\n", {{2, 6, "das Zeichen k\xF6nnen"}}},
        {"outside 1252", "[MC/SO=JU/SA]\nGro\u0151\n", {{2, 4, "das Zeichen gibt es"}}},
        {"bad utf-8", "[MC/SO=JU/SA]\nab\xC3(\n", {{2, 3, "kein g\xFCltiges"}}},
        {"tab", "[MC/SO]\na\tb\n", {{2, 2, "Steuerzeichen"}}},
        {"ten blanks", "[MC/SO=JU/SA]\nText\n          weiter\n", {{3, 1, "die Zeile beginnt"}}},
        {"unknown factor", "[MC/XY=JU/SA]\nText\n", {{1, 0, "unbekannter Faktor"}}},
        {"bad formula", "[MC/SO=]\nText\n[MCSO=JU/SA]\n", {{1, 1, "keine Formel"}, {3, 1, "keine Formel"}}},
        {"duplicate", "[MC/SO]\nx\n[MC/SO]\ny\n", {{3, 1, "die Formel steht schon in Zeile 1"}}},
        {"text first", "# ok\nText\n[MC/SO]\nx\n", {{2, 1, "Text vor dem ersten"}}},
        {"escaped line too long", "[MC/SO=JU/SA]\n\\[" + std::string(73, 'x') + "\n", {{2, 75, "Zeile l\xE4nger als 73"}}},
        {"new control character", "[MC/SO]\nzwei\u240AZeilen\n", {{2, 5, "Steuerzeichen"}}},
        {"every refusal", "[MC/SO=JU/SA]\n" + long_line + "\n[JU/SA]\n\u0151\n[SO/MO]\nok\n",
         {{2, 74, "Zeile"}, {4, 1, "das Zeichen gibt es"}}},
    };
    const auto before = snapshot(dir.path());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ApplyResult r = import(c.file);
        EXPECT_EQ(r.outcome, ApplyOutcome::refused);
        ASSERT_EQ(r.refusals.size(), c.expected.size());
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            EXPECT_EQ(r.refusals[i].line, c.expected[i].line);
            EXPECT_EQ(r.refusals[i].column, c.expected[i].column);
            EXPECT_EQ(r.refusals[i].reason.rfind(c.expected[i].reason, 0), 0u) << r.refusals[i].reason;
        }
        EXPECT_TRUE(snapshot(dir.path()) == before);
        EXPECT_TRUE(list_versions(open()).empty());
    }
}

TEST_F(SmallDrive, AFullAxisPairRefusesOneMoreUnlessADeletionFreesASlot)
{
    std::vector<std::pair<int, std::string>> keys;
    for (int k = 0; k < 253; ++k) keys.push_back({k, std::string(1, static_cast<char>('A' + k / 26 % 26)) + char('a' + k % 26)});
    keys.push_back({253, "VE/MA"});  // slots 253 and 254 never count
    dir.write("PBTX/ASAS.vwt", picture_index(keys));
    dir.write("PBTX/ASAS.txt", std::string(253 * 1024, ' '));
    const ApplyResult full = import("[AS/AS=VE/MA]\nNeu\n");
    ASSERT_EQ(full.outcome, ApplyOutcome::refused);
    EXPECT_EQ(full.refusals.at(0).line, 1u);
    const ApplyResult swapped = import("[AS/AS=VE/MA]\nNeu\n[AS/AS=Ac]\n");
    ASSERT_EQ(swapped.outcome, ApplyOutcome::written);
    EXPECT_EQ(swapped.deleted, 1u);
    EXPECT_EQ(swapped.added, 1u);
    EXPECT_EQ(dir.read("PBTX/ASAS.vwt").substr(2 * 14, 6), "\x05VE/MA");
}

TEST_F(SmallDrive, ANewSingleMeaningBeyondThreeHundredIsRefused)
{
    std::string bytes;
    for (int r = 0; r < 300; ++r) bytes += ktexte_record(r == 0 ? "MC/SO" : "x" + std::to_string(r), "t");
    dir.write("astro/KTEXTE.txt", bytes);
    EXPECT_EQ(import("[JU/SA]\nneu\n").outcome, ApplyOutcome::refused);
    EXPECT_EQ(import("[MC/SO]\nge\xC3\xA4ndert\n").outcome, ApplyOutcome::written);  // replacing still works
}

TEST_F(SmallDrive, ExportImportExportKeepsEveryByte)
{
    const std::string first = export_exchange(open());
    const auto before = snapshot(dir.path());
    const ApplyResult r = import(first);
    EXPECT_EQ(r.outcome, ApplyOutcome::written);
    EXPECT_TRUE(r.version.empty());
    EXPECT_TRUE(snapshot(dir.path()) == before);
    EXPECT_EQ(export_exchange(open()), first);
}

TEST(TextLibrarySample, ExportImportExportKeepsEveryByteOfTheSampleDrive)
{
    TempDir dir;
    fs::copy(DUOSKOP_SOURCE_DRIVE_C, dir.path() / "c", fs::copy_options::recursive);
    const DriveC drive(dir.path() / "c");
    Library lib = open_library(drive);
    const std::string first = export_exchange(lib);
    const auto before = snapshot(drive.root());
    ASSERT_EQ(import_exchange(lib, first).outcome, ApplyOutcome::written);
    EXPECT_TRUE(snapshot(drive.root()) == before);
    EXPECT_EQ(export_exchange(open_library(drive)), first);
    // Every picture the export holds is what the reader shows for that entry.
    Ktexte k;
    load_ktexte(drive, k);
    for (const Formula& f : all_formulas(lib)) {
        if (!f.picture()) continue;
        const Resolution r = resolve_entry(f.text(), k, drive);
        ASSERT_TRUE(r.found) << f.text();
        std::vector<std::string> trimmed;
        for (const std::string& line : r.lines) trimmed.push_back(line.substr(0, line.find_last_not_of(' ') + 1));
        EXPECT_EQ(text_of(lib, f), trimmed);
    }
}

TEST_F(SmallDrive, VersionsKeepTheFilesBeforeEachChangeAndRestoreBringsThemBack)
{
    const auto original = snapshot(dir.path());
    ASSERT_EQ(import("[MC/SO=JU/SA]\nEins\n").outcome, ApplyOutcome::written);
    const auto first_change = snapshot(dir.path());
    ASSERT_EQ(import("[MC/SO=JU/SA]\n[MC/JU=VE/MA]\nZwei\n").outcome, ApplyOutcome::written);
    Library lib = open();
    const std::vector<std::string> versions = list_versions(lib);
    ASSERT_EQ(versions.size(), 2u);
    const RestoreResult back = restore_version(lib, versions[1]);  // the oldest: before "Eins"
    ASSERT_TRUE(back.ok) << back.message;
    EXPECT_TRUE(snapshot(dir.path()) == original);  // MCJU's files, new in the second change, are gone
    EXPECT_EQ(list_versions(lib).front(), back.version);
    ASSERT_TRUE(restore_version(lib, versions[0]).ok);  // before the second change, past the restore
    EXPECT_TRUE(snapshot(dir.path()) == first_change);
    for (const std::string bad : {"", "..", "../astro", "nicht-da"}) EXPECT_FALSE(restore_version(lib, bad).ok) << bad;
}

TEST_F(SmallDrive, AFileChangedOnDiskIsNotOverwrittenWithoutLeave)
{
    Library lib = open();
    const std::string theirs = dir.read("PBTX/MCSO.txt") + picture_record({"von anderswo"});
    dir.write("PBTX/MCSO.txt", theirs);
    const std::vector<TextChange> change = {{{"MC/SO", "JU/SA"}, {"Meins"}, 0}};
    const ApplyResult refused = apply_changes(lib, change);
    EXPECT_EQ(refused.outcome, ApplyOutcome::changed);
    EXPECT_EQ(refused.files.size(), 1u);
    EXPECT_EQ(dir.read("PBTX/MCSO.txt"), theirs);
    ASSERT_EQ(apply_changes(lib, change, {.overwrite_changed = true}).outcome, ApplyOutcome::written);
    EXPECT_EQ(resolve("MC/SO=JU/SA").lines, std::vector<std::string>{padded("Meins")});
}

TEST_F(SmallDrive, SearchIgnoresCaseAndAccentsAndSpellsUmlautsOut)
{
    ASSERT_EQ(import("[MC/SO=SO/MO]\nGr\u00F6\u00DFe und Caf\u00E9\n").outcome, ApplyOutcome::written);
    const Library lib = open();
    const auto hits = [&](std::vector<std::string> words) {
        std::string out;
        for (const Formula& f : search(lib, words)) out += f.text() + " ";
        return out;
    };
    EXPECT_EQ(hits({"groesse"}), "MC/SO=SO/MO ");
    EXPECT_EQ(hits({"GR\xD6SSE", "cafe"}), "MC/SO=SO/MO ");
    EXPECT_EQ(hits({"gr\xF6\xDF" "e", "tee"}), "");
    EXPECT_EQ(hits({"geduld"}), "JU/SA ");
    EXPECT_EQ(hits({"zeile"}), "MC/SO=JU/SA ");
}

TEST(ExchangeFile, ReadsCommentsMarksAndLineEnds)
{
    const ExchangeFile f = parse_exchange("\xEF\xBB\xBF# Kommentar\r\n\r\n[MC/SO]\r\nText  \r\n\r\n[MC/SO=JU/SA]\r\n# kein Kommentar\r\n");
    EXPECT_TRUE(f.refusals.empty());
    ASSERT_EQ(f.changes.size(), 2u);
    EXPECT_EQ(f.changes[0].formula, (Formula{"", "MC/SO"}));
    EXPECT_EQ(f.changes[0].lines, (std::vector<std::string>{"Text", ""}));
    EXPECT_EQ(f.changes[1].formula, (Formula{"MC/SO", "JU/SA"}));
    EXPECT_EQ(f.changes[1].lines, std::vector<std::string>{"# kein Kommentar"});
    EXPECT_EQ(exchange_utf8("\x81\x8D\xE4\r\n"), "\u0081\u008D\u00E4\u240D\u240A");
}

TEST(Coverage, TellsThePictureTheSingleMeaningsOrNothing)
{
    TempDir dir;
    dir.write("astro/KTEXTE.txt", ktexte_record("MC/SO", "Ziel") + ktexte_record("JU/SA", ""));
    dir.write("PBTX/MCSO.vwt", picture_index({{0, "VE/MA"}}));
    dir.write("PBTX/MCSO.txt", picture_record({"Bildtext"}));
    dir.write("PBTX/ASAS.vwt", std::string(100, '\0'));  // too short: the reader fails
    const DriveC drive(dir.path());
    Ktexte k;
    load_ktexte(drive, k);
    const Coverage c = coverage({"MC/SO=VE/MA", "MC/SO=JU/SA", "JU/SA=SA/JU", "AS/AS=MC/SO"}, k, drive);
    ASSERT_EQ(c.lines.size(), 4u);
    EXPECT_EQ(c.lines[0].source, TextSource::picture);
    EXPECT_EQ(c.lines[1].source, TextSource::singles);
    EXPECT_EQ(c.lines[2].source, TextSource::none);
    EXPECT_EQ(c.lines[3].source, TextSource::none);
    EXPECT_FALSE(c.lines[3].io_error.empty());
    EXPECT_EQ(coverage_summary(c), "4 Eintr\xE4ge: 1 Bild, 1 Einzelbedeutungen, 2 keine");
    Ktexte none;  // single meanings not loaded
    EXPECT_EQ(coverage({"MC/SO=JU/SA"}, none, drive).lines[0].source, TextSource::none);
}

TEST(WrapWords, BreaksAtBlanksKeepsIndentsAndCutsLongWords)
{
    struct Case {
        std::string text;
        std::size_t width;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"eins zwei drei", 9, {"eins zwei", "drei"}},
        {"eins  zwei\n\n  drei vier", 10, {"eins zwei", "  drei", "vier"}},
        {"abcdefghij kl", 4, {"abcd", "efgh", "ij", "kl"}},
        {"   ", 5, {}},
        {std::string(73, 'x') + " y", 73, {std::string(73, 'x'), "y"}},
    };
    for (const Case& c : cases) EXPECT_EQ(wrap_words(c.text, c.width), c.lines) << c.text;
}

TEST_F(SmallDrive, AFileThatCannotBeReadIsNeverReplaced)
{
    if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
    fs::permissions(dir.path() / "PBTX/MCSO.vwt", fs::perms::none);
    Library lib = open();
    EXPECT_FALSE(lib.problem.empty());
    const ApplyResult r = apply_changes(lib, {{{"MC/SO", "VE/MA"}, {"Neu"}, 0}});
    EXPECT_EQ(r.outcome, ApplyOutcome::failed);
    fs::permissions(dir.path() / "PBTX/MCSO.vwt", fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(dir.read("PBTX/MCSO.vwt"), picture_index({{0, "JU/SA"}, {2, "SO/MO"}, {3, "JU/SA"}}));
}

TEST_F(SmallDrive, TheOpenLibraryHoldsWhatItWrote)
{
    Library lib = open();
    ASSERT_EQ(apply_changes(lib, {{{"MC/SO", "JU/SA"}, {"Neu geschrieben"}, 0}}).outcome, ApplyOutcome::written);
    EXPECT_EQ(text_of(lib, {"MC/SO", "JU/SA"}), std::vector<std::string>{"Neu geschrieben"});
    EXPECT_EQ(search(lib, {"geschrieben"}).size(), 1u);
    EXPECT_TRUE(search(lib, {"erste"}).empty());
    ASSERT_EQ(apply_changes(lib, {{{"MC/SO", "VE/MA"}, {"Dazu"}, 0}, {{"", "JU/SA"}, {}, 0}}).outcome,
              ApplyOutcome::written);
    EXPECT_EQ(export_exchange(lib), export_exchange(open()));
}

TEST_F(SmallDrive, TheExchangeFileCarriesEveryTextTheFilesHold)
{
    // Each stored line, and how the exchange file writes it.
    struct Case {
        std::string stored;
        std::string written;
    };
    const Case cases[] = {
        {"[MC/SO=VU/PO]", "\\[MC/SO=VU/PO]"},   // looks like a header
        {"[Klammer", "\\[Klammer"},
        {"\\Rand", "\\\\Rand"},
        {"\\\\[doppelt]", "\\\\\\[doppelt]"},
        {"Wagen\r\x8D" "Ende", "Wagen\u240D\u008D" "Ende"},   // a CR byte, an unassigned byte
        {"eins\ndrei", "eins\u240Adrei"},
        {"# kein Kommentar", "# kein Kommentar"},
        {"mitten [in] \\ Klammern", "mitten [in] \\ Klammern"},
    };
    std::vector<std::string> lines;
    for (const Case& c : cases) lines.push_back(c.stored);
    dir.write("PBTX/MCSO.txt", picture_record(lines) + picture_record({}) + picture_record({"Sonne und Mond"}));
    dir.write("astro/KTEXTE.txt", ktexte_record("MC/SO", "[JU/SA]\r\nzwei") + ktexte_record("JU/SA", "\\Geduld"));

    const std::string exported = export_exchange(open());
    std::string expected_entry = "[MC/SO=JU/SA]\n";
    for (const Case& c : cases) expected_entry += c.written + "\n";
    EXPECT_NE(exported.find(expected_entry), std::string::npos) << exported;
    EXPECT_NE(exported.find("[MC/SO]\n\\[JU/SA]\u240D\u240Azwei\n\n[JU/SA]\n\\\\Geduld\n"), std::string::npos);

    // Reading gives back every line as stored, without an entry of its own for a header look-alike.
    const ExchangeFile parsed = parse_exchange(exported);
    EXPECT_TRUE(parsed.refusals.empty());
    ASSERT_EQ(parsed.changes.size(), 4u);
    const auto text_lines = [](std::vector<std::string> read) {
        std::erase(read, std::string());  // the empty line before the next entry stands for nothing
        return read;
    };
    EXPECT_EQ(text_lines(parsed.changes[0].lines), std::vector<std::string>{"[JU/SA]\r\nzwei"});
    EXPECT_EQ(text_lines(parsed.changes[2].lines), lines);

    // Importing the export changes no byte and keeps no version; exporting again gives the same.
    const auto before = snapshot(dir.path());
    const ApplyResult r = import(exported);
    EXPECT_EQ(r.outcome, ApplyOutcome::written);
    EXPECT_EQ(r.replaced + r.added + r.deleted, 0u);
    EXPECT_TRUE(r.version.empty());
    EXPECT_TRUE(snapshot(dir.path()) == before);
    EXPECT_EQ(export_exchange(open()), exported);

    // A changed text keeps its escaped lines as typed.
    ASSERT_EQ(import("[MC/SO=SO/MO]\n\\[neu]\n\\\\zwei\n").outcome, ApplyOutcome::written);
    EXPECT_EQ(text_of(open(), {"MC/SO", "SO/MO"}), (std::vector<std::string>{"[neu]", "\\zwei"}));
}

TEST_F(SmallDrive, AFormulaTheExchangeFileCannotNameIsLeftOutAndLeftAlone)
{
    dir.write("PBTX/MCSO.vwt", picture_index({{0, "JU/SA"}, {2, "SO=MO"}}));
    dir.write("astro/KTEXTE.txt", ktexte_record("MC/SO", "Ziel") + ktexte_record("a=b", "nie gesucht"));
    const std::string exported = export_exchange(open());
    EXPECT_EQ(exported.find("SO=MO"), std::string::npos);
    EXPECT_EQ(exported.find("a=b"), std::string::npos);
    const auto before = snapshot(dir.path());
    EXPECT_EQ(import(exported).outcome, ApplyOutcome::written);
    EXPECT_TRUE(snapshot(dir.path()) == before);
}

namespace {

/// A writer that fails for chosen files of the collection (never for the kept versions): the
/// `fail_at`-th write of a file whose name ends in `name` (0: every write of it).
struct FailingWrites {
    struct Rule {
        std::string name;
        int fail_at = 0;
        int seen = 0;
    };
    std::vector<Rule> rules;
    std::vector<std::string> removals_refused;  ///< file names whose removal fails

    FileChanges changes()
    {
        FileChanges c;
        c.write = [this](const fs::path& path, std::string_view bytes) {
            if (path.string().find("Textversionen") == std::string::npos)
                for (Rule& rule : rules)
                    if (path.filename() == rule.name && (++rule.seen == rule.fail_at || rule.fail_at == 0)) return ENOSPC;
            return write_file_whole(path, bytes).error;
        };
        c.remove = [this](const fs::path& path) {
            for (const std::string& name : removals_refused)
                if (path.filename() == name) return EACCES;
            std::error_code ec;
            fs::remove(path, ec);
            return ec.value();
        };
        return c;
    }
};

}  // namespace

TEST_F(SmallDrive, AFailedWriteLeavesEveryFileAsItWasOrNamesWhatDiffersAndItsVersion)
{
    // One import that changes KTEXTE.txt, makes MCJU.txt and MCJU.vwt and changes MCSO.txt and
    // MCSO.vwt, written in that order (put back the other way round).
    const std::string file = "[MC/SO]\nneu\n[MC/SO=VE/MA]\nneu\n[MC/JU=VE/MA]\nneu\n";
    struct Case {
        const char* name;
        std::vector<FailingWrites::Rule> rules;
        std::vector<std::string> removals_refused;
        std::vector<std::string> differing;  ///< file names left changed
    };
    const Case cases[] = {
        {"last write fails, all put back", {{"MCSO.vwt", 0}}, {}, {}},
        {"first write fails", {{"KTEXTE.txt", 0}}, {}, {}},
        {"putting back KTEXTE fails", {{"MCSO.vwt", 1}, {"KTEXTE.txt", 2}}, {}, {"KTEXTE.txt"}},
        {"putting back two fails", {{"MCSO.vwt", 1}, {"MCSO.txt", 2}, {"KTEXTE.txt", 2}}, {}, {"MCSO.txt", "KTEXTE.txt"}},
        {"removing a new file fails", {{"MCSO.txt", 1}}, {"MCJU.txt"}, {"MCJU.txt"}},
    };
    const auto before = snapshot(dir.path());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FailingWrites failing{c.rules, c.removals_refused};
        Library lib = open();
        lib.file_changes = failing.changes();
        const ApplyResult r = import_exchange(lib, file);
        ASSERT_EQ(r.outcome, ApplyOutcome::failed);
        EXPECT_EQ(r.replaced + r.added + r.deleted, 0u);
        std::vector<std::string> differing;
        for (const std::string& path : r.differing) differing.push_back(fs::path(path).filename().string());
        EXPECT_EQ(differing, c.differing);
        if (c.differing.empty()) {
            EXPECT_TRUE(snapshot(dir.path()) == before);
            EXPECT_TRUE(r.version.empty());
            EXPECT_TRUE(list_versions(open()).empty());  // no version of a change that never happened
            EXPECT_EQ(r.message.find("Zur\xFC" "ckschreiben"), std::string::npos) << r.message;
            continue;
        }
        // The message names each file that now differs and the version that restores them.
        for (const std::string& path : r.differing) EXPECT_NE(r.message.find(path), std::string::npos) << r.message;
        EXPECT_NE(r.message.find("Die Version " + r.version), std::string::npos) << r.message;
        EXPECT_FALSE(snapshot(dir.path()) == before);
        Library again = open();
        ASSERT_TRUE(restore_version(again, r.version).ok);
        auto restored = snapshot(dir.path());
        EXPECT_TRUE(restored == before);
        fs::remove_all(dir.path() / "astro/Textversionen");
    }
}

TEST_F(SmallDrive, RestoreRefusesACurrentFileItCannotReadAndWritesNothing)
{
    ASSERT_EQ(import("[MC/SO=JU/SA]\nEins\n[JU/SA]\nneu\n").outcome, ApplyOutcome::written);
    const std::string version = list_versions(open()).at(0);
    struct Case {
        const char* name;
        std::function<bool()> spoil;  ///< makes MCSO.txt unreadable; false when it cannot here
        std::function<void()> mend;
    };
    const fs::path text = dir.path() / "PBTX/MCSO.txt";
    const std::string bytes = dir.read("PBTX/MCSO.txt");
    const Case cases[] = {
        {"a folder in its place",
         [&] {
             fs::remove(text);
             return fs::create_directory(text);
         },
         [&] {
             fs::remove(text);
             dir.write("PBTX/MCSO.txt", bytes);
         }},
        {"no right to read it",
         [&] {
             fs::permissions(text, fs::perms::none);
             return ::geteuid() != 0;  // root reads every file
         },
         [&] { fs::permissions(text, fs::perms::owner_read | fs::perms::owner_write); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const bool spoiled = c.spoil();
        if (spoiled) {
            const std::string ktexte = dir.read("astro/KTEXTE.txt");
            Library lib = open();
            const RestoreResult r = restore_version(lib, version);
            EXPECT_FALSE(r.ok);
            EXPECT_NE(r.message.find("MCSO.txt"), std::string::npos) << r.message;
            EXPECT_EQ(list_versions(open()), std::vector<std::string>{version});  // nothing kept
            EXPECT_EQ(dir.read("astro/KTEXTE.txt"), ktexte);                     // nothing written
        }
        c.mend();
    }
    EXPECT_EQ(dir.read("PBTX/MCSO.txt"), bytes);
}

namespace {

/// The process's time zone set to `zone` while it lives.
class ZoneForTest {
public:
    explicit ZoneForTest(const char* zone)
    {
        if (const char* tz = std::getenv("TZ")) old_ = tz;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~ZoneForTest()
    {
        if (old_) ::setenv("TZ", old_->c_str(), 1);
        else ::unsetenv("TZ");
        ::tzset();
    }
    ZoneForTest(const ZoneForTest&) = delete;
    ZoneForTest& operator=(const ZoneForTest&) = delete;

private:
    std::optional<std::string> old_;
};

}  // namespace

TEST_F(SmallDrive, VersionsAreNamedInUniversalTimeAndSortByTheTimeTheyRecord)
{
    // A new version: universal time with a Z, within a few seconds of now.
    ASSERT_EQ(import("[JU/SA]\nneu\n").outcome, ApplyOutcome::written);
    const std::string made = list_versions(open()).at(0);
    ASSERT_EQ(made.size(), 20u) << made;
    EXPECT_EQ(made.substr(10, 1) + made.substr(19), "TZ");
    const auto t = version_time(made);
    ASSERT_TRUE(t);
    const auto now = std::chrono::duration_cast<std::chrono::seconds>(
                         std::chrono::system_clock::now().time_since_epoch()).count();
    EXPECT_LE(std::abs(now - t->seconds), 5);
    fs::remove_all(dir.path() / "astro/Textversionen");

    // Older names in local time and the clock going back at the end of summer time (Berlin,
    // 25.10.2026 03:00 CEST -> 02:00 CET): the newest by the recorded time first.
    const ZoneForTest berlin("Europe/Berlin");
    const std::vector<std::string> newest_first = {
        "2026-12-08T14-30-00Z",     // 15:30 CET
        "2026-12-08_15-00-00",      // older name, 15:00 CET = 14:00 UT
        "2026-10-25T01-15-00Z.10",  // 02:15 CET, the tenth of that second
        "2026-10-25T01-15-00Z.2",
        "2026-10-25T01-15-00Z",
        "2026-10-25T00-45-00Z",     // 02:45 CEST, earlier although its local time is later
        "2026-10-24_23-00-00",      // older name, 21:00 UT
        "Sicherung",                // no time: after all others
    };
    for (const std::string& name : newest_first) dir.write("astro/Textversionen/" + name + "/Dateien.txt", "");
    EXPECT_EQ(list_versions(open()), newest_first);

    // The window shows local time.
    const std::pair<std::string, std::string> labels[] = {
        {"2026-12-08T14-30-00Z", "08.12.2026 15:30:00"},
        {"2026-12-08_15-00-00", "08.12.2026 15:00:00"},
        {"2026-10-25T01-15-00Z.2", "25.10.2026 02:15:00 (2)"},
        {"2026-10-25T00-45-00Z", "25.10.2026 02:45:00"},
        {"Sicherung", "Sicherung"},
    };
    for (const auto& [name, label] : labels) EXPECT_EQ(version_label(name), label);
    for (const std::string bad : {"2026-10-25T01-15-00Z.", "2026-10-25T01-15-00Z.02", "2026-10-25X01-15-00Z",
                                  "2026-1a-25T01-15-00Z", "2026-10-25T01-15-00"})
        EXPECT_FALSE(version_time(bad)) << bad;
}

TEST_F(SmallDrive, RestoreStillTakesAVersionWithAnOlderName)
{
    const auto original = snapshot(dir.path());
    ASSERT_EQ(import("[MC/SO=JU/SA]\nEins\n").outcome, ApplyOutcome::written);
    const fs::path versions = dir.path() / "astro/Textversionen";
    fs::rename(versions / list_versions(open()).at(0), versions / "2026-03-29_02-30-00");  // a time the clocks skipped
    Library lib = open();
    const RestoreResult r = restore_version(lib, "2026-03-29_02-30-00");
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_TRUE(snapshot(dir.path()) == original);
}
