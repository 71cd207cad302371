// SPDX-License-Identifier: GPL-3.0-or-later
// texts: the text library from the terminal: show, search, export, import, coverage, versions and
// restore of the single meanings and the picture collection on drive C. Draws nothing; no Qt.
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/chart_file.h"
#include "base/cp1252.h"
#include "base/file_writer.h"
#include "base/io_error.h"
#include "textlib/textlib_texts.h"
#include "cli/cli.h"
#include "cli/options.h"
#include "results/pictures.h"
#include "textlib/coverage.h"
#include "textlib/exchange.h"
#include "textlib/library.h"
#include "analysis/comparisons.h"

namespace duoskop::cli {

const std::string_view texts_summary = "zeigt, sucht, pr\u00FCft und schreibt die Deutungstexte";
const std::string_view texts_call =
    "duoskop-cli texts show FORMEL | search WORT... | export DATEI | import DATEI\n"
    "                   | coverage P1 P2 --analysis A --double O --simple O [--halfsum O]\n"
    "                   | versions | restore NAME   [--drive-c ORDNER]";
const std::string_view texts_help =
    "Die Textbibliothek: die Einzelbedeutungen (C:\\astro\\KTEXTE.txt) und die Planetenbild-\n"
    "Sammlung (C:\\PBTX\\) auf Laufwerk C. Eine FORMEL ist XX/YY=AA/BB (Planetenbild) oder\n"
    "XX/YY (Einzelbedeutung).\n"
    "\n"
    "  show FORMEL        der Text, den das Programm f\u00FCr den Eintrag oder die Einzelbedeutung\n"
    "                     zeigt, und woher er kommt\n"
    "  search WORT...     Formeln, deren Text jedes Wort enth\u00E4lt (Gro\u00DF-/Kleinschreibung und\n"
    "                     Akzente z\u00E4hlen nicht, \u00E4 = ae, \u00F6 = oe, \u00FC = ue, \u00DF = ss); je Zeile\n"
    "                     Formel, Tabulator, erste Textzeile\n"
    "  export DATEI       schreibt alle Texte als Austauschdatei (UTF-8)\n"
    "  import DATEI       \u00FCbernimmt die Eintr\u00E4ge einer Austauschdatei: ganz oder gar nicht,\n"
    "                     jede Ablehnung mit Zeile und Spalte; vorher wird eine Version behalten\n"
    "  coverage P1 P2 --analysis A --double O --simple O [--halfsum O]\n"
    "                     je Eintrag des Vergleichs (wie bei compare) der Eintrag, ein Tabulator\n"
    "                     und Bild, Einzelbedeutungen oder keine; dann eine Summenzeile\n"
    "  versions           die behaltenen Versionen, die neueste zuerst (Name, Tabulator, Dateien)\n"
    "  restore NAME       stellt die Texte wieder her, wie sie vor der \u00C4nderung NAME waren\n"
    "                     (die jetzigen Dateien werden vorher als Version behalten)\n"
    "  --drive-c ORDNER   Ordner, der f\u00FCr Laufwerk C steht\n"
    "\n"
    "Austauschdatei: Kommentarzeilen mit # vor dem ersten Eintrag; [XX/YY] und eine Zeile\n"
    "(h\u00F6chstens 80 Zeichen) f\u00FCr eine Einzelbedeutung, [XX/YY=AA/BB] und bis zu 14 Zeilen\n"
    "(je h\u00F6chstens 73 Zeichen) f\u00FCr ein Planetenbild; leere Zeilen z\u00E4hlen nicht. Ein Eintrag\n"
    "ohne Textzeilen l\u00F6scht das Bild (leert die Einzelbedeutung). Eine Textzeile, die mit [ oder \\\n"
    "beginnt, steht dort mit einem \\ mehr davor; CR und LF in einem Text stehen als \u240D und \u240A.\n";

constexpr OptionRule texts_rule_table[] = {
    {"--drive-c", 1}, {"--analysis", 1}, {"--double", 1}, {"--simple", 1}, {"--halfsum", 1}};
constinit const std::span<const OptionRule> texts_rules = texts_rule_table;

namespace {

struct TextsOptions {
    std::vector<std::string> words;  ///< the subcommand and its arguments
    std::optional<std::string> drive_c;
    std::optional<std::string> analysis;
    std::optional<std::string> orb_double, orb_simple, orb_halfsum;
};

bool parse_texts_options(const Args& args, TextsOptions& o)
{
    const ReadOptions read = read_options(args, texts_rules);
    if (!read.ok()) return false;
    o.words = read.positionals;
    o.drive_c = read.value("--drive-c");
    o.analysis = read.value("--analysis");
    o.orb_double = read.value("--double");
    o.orb_simple = read.value("--simple");
    o.orb_halfsum = read.value("--halfsum");
    return !o.words.empty();
}

void print(const std::string& cp1252) { std::printf("%s\n", terminal_text(cp1252).c_str()); }

void error(const std::string& cp1252)
{
    std::fflush(stdout);
    std::fprintf(stderr, "duoskop-cli: %s\n", terminal_text(cp1252).c_str());
}

bool writable(const DriveC& drive)
{
    if (!textlib::is_shipped_sample_drive(drive)) return true;
    error(std::string(texts::kTlSampleDrive));
    return false;
}

int show(const std::string& formula_text, const DriveC& drive)
{
    const std::optional<std::string> cp = utf8_to_cp1252(formula_text);
    const std::optional<textlib::Formula> formula = cp ? textlib::parse_formula(*cp) : std::nullopt;
    if (!formula) return usage("texts");
    Ktexte ktexte;
    load_ktexte(drive, ktexte);
    print(formula->text());
    if (!formula->picture()) {
        for (const KtexteRecord& r : ktexte.ktexte_table) {
            if (r.key != formula->key || !ktexte.ktexte_da) continue;
            print("Quelle: Einzelbedeutung (C:\\astro\\KTEXTE.txt)");
            print(r.text);
            return 0;
        }
        print("Quelle: " + std::string(texts::kTlSourceNone));
        return 0;
    }
    const Resolution r = resolve_entry(formula->text(), ktexte, drive);
    if (!r.io_error.empty()) {
        error(r.io_error);
        return 1;
    }
    const std::string base = formula->axis.substr(0, 2) + formula->axis.substr(3, 2);
    if (r.found) {
        print("Quelle: " + std::string(texts::kTlSourcePicture) + " (C:\\PBTX\\" + base + ".txt)");
        for (const std::string& line : r.lines) print(line.substr(0, line.find_last_not_of(' ') + 1));
    } else if (r.singles && (!r.text1.empty() || !r.text2.empty())) {
        print("Quelle: " + std::string(texts::kTlSourceSingles) + " (C:\\astro\\KTEXTE.txt)");
        print(r.key1 + ": " + r.text1);
        print(r.key2 + ": " + r.text2);
    } else {
        print("Quelle: " + std::string(texts::kTlSourceNone));
    }
    return 0;
}

int search(const std::vector<std::string>& words, const DriveC& drive)
{
    std::vector<std::string> cp_words;
    for (const std::string& w : words) {
        const std::optional<std::string> cp = utf8_to_cp1252(w);
        if (!cp) return 0;  // a word with a character the texts cannot hold is in no text
        cp_words.push_back(*cp);
    }
    const textlib::Library library = textlib::open_library(drive);
    for (const textlib::Formula& f : textlib::search(library, cp_words)) {
        const auto lines = textlib::text_of(library, f);
        print(f.text() + "\t" + (lines && !lines->empty() ? lines->front() : std::string()));
    }
    return 0;
}

int export_file(const std::string& path, const DriveC& drive)
{
    const textlib::Library library = textlib::open_library(drive);
    if (!library.problem.empty()) {
        error(library.problem);
        return 1;
    }
    const WriteResult written = write_file_whole(path, textlib::export_exchange(library));
    if (written.ok()) return 0;
    std::fprintf(stderr, "duoskop-cli: %s: %s\n", valid_utf8(path).c_str(), terminal_text(written.message()).c_str());
    return 1;
}

std::string number(std::size_t n) { return std::to_string(n); }

int import_file(const std::string& path, const DriveC& drive)
{
    if (!writable(drive)) return 1;
    std::string bytes;
    // A folder, or a read that fails part way, is no exchange file: nothing is merged.
    if (const int e = textlib::read_file(path, bytes); e != 0) {
        std::fprintf(stderr, "duoskop-cli: %s: %s\n", valid_utf8(path).c_str(), terminal_text(io_error_text(e)).c_str());
        return 1;
    }
    textlib::Library library = textlib::open_library(drive);
    if (!library.problem.empty()) {
        error(library.problem);
        return 1;
    }
    const textlib::ApplyResult r = textlib::import_exchange(library, bytes);
    switch (r.outcome) {
    case textlib::ApplyOutcome::written:
        print(number(r.replaced) + " ge\xE4ndert, " + number(r.added) + " neu, " + number(r.deleted) + " gel\xF6scht" +
              (r.version.empty() ? std::string() : ", vorher behalten als Version " + r.version));
        return 0;
    case textlib::ApplyOutcome::refused:
        std::fflush(stdout);
        for (const textlib::Refusal& refusal : r.refusals)
            std::fprintf(stderr, "%s:%zu:%s %s\n", valid_utf8(path).c_str(), refusal.line,
                         refusal.column == 0 ? "" : (std::to_string(refusal.column) + ":").c_str(),
                         terminal_text(refusal.reason).c_str());
        std::fprintf(stderr, "duoskop-cli: nichts geschrieben (%zu abgelehnt)\n", r.refusals.size());
        return 1;
    case textlib::ApplyOutcome::changed:
        for (const std::string& f : r.files) error(f + ": seit dem Lesen ge\xE4ndert; nichts geschrieben");
        return 1;
    case textlib::ApplyOutcome::failed:
        break;
    }
    error(r.message);
    return 1;
}

int coverage(const TextsOptions& o, const DriveC& drive)
{
    if (o.words.size() != 3 || !o.analysis || !o.orb_double || !o.orb_simple) return usage("texts");
    std::optional<Comparison> comparison;
    if (*o.analysis == "solar") comparison = Comparison::solar;
    if (*o.analysis == "double") comparison = Comparison::doubles;
    if (*o.analysis == "simple") comparison = Comparison::simples;
    if (*o.analysis == "halfsum") comparison = Comparison::halfsums;
    if (*o.analysis == "list") comparison = Comparison::list;
    const std::optional<double> d = parse_orb(*o.orb_double), s = parse_orb(*o.orb_simple);
    const std::optional<double> h = o.orb_halfsum ? parse_orb(*o.orb_halfsum) : std::optional<double>(0);
    if (!comparison || !d || !s || !h) return usage("texts");
    if (*comparison == Comparison::halfsums && !(o.orb_halfsum && *h > 0)) return usage("texts");

    ChartState chart;
    for (int person = 1; person <= 2; ++person) {
        const LoadResult loaded = holen(chart_file_path(o.words[static_cast<std::size_t>(person)], drive), person, chart);
        if (loaded.outcome != LoadOutcome::loaded) {
            error(loaded.message);
            return 1;
        }
    }
    const ResultText result = run_comparison(*comparison, chart, Orbs{*d, *s, *h});
    Ktexte ktexte;
    load_ktexte(drive, ktexte);
    const textlib::Coverage c = textlib::coverage(result.entries, ktexte, drive);
    for (const textlib::CoverageLine& line : c.lines) {
        print(line.entry + "\t" + std::string(textlib::source_name(line.source)));
        if (!line.io_error.empty()) error(line.entry + ": " + line.io_error);
    }
    print(textlib::coverage_summary(c));
    return 0;
}

int versions(const DriveC& drive)
{
    const textlib::Library library = textlib::open_library(drive);
    for (const std::string& name : textlib::list_versions(library)) {
        std::string files;
        std::string manifest;
        if (const File f(std::fopen((library.versions_dir / name / "Dateien.txt").c_str(), "rb")); f) {
            char buffer[4096];
            for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, f.get())) > 0;) manifest.append(buffer, got);
        }
        for (char& ch : manifest)
            if (ch == '\n') ch = ' ';
        while (!manifest.empty() && manifest.back() == ' ') manifest.pop_back();
        std::printf("%s\t%s\n", valid_utf8(name).c_str(), valid_utf8(manifest).c_str());
    }
    return 0;
}

int restore(const std::string& name, const DriveC& drive)
{
    if (!writable(drive)) return 1;
    textlib::Library library = textlib::open_library(drive);
    const textlib::RestoreResult r = textlib::restore_version(library, name);
    if (!r.ok) {
        error(r.message);
        return 1;
    }
    print("Version " + name + " zur\xFC" "ckgeholt, vorher behalten als Version " + r.version);
    return 0;
}

}  // namespace

int cmd_texts(const Args& args)
{
    TextsOptions o;
    if (!parse_texts_options(args, o)) return usage("texts");
    const DriveC drive = DriveC::locate(o.drive_c);
    const std::string& sub = o.words[0];
    const std::size_t n = o.words.size();
    const bool orbs_given = o.analysis || o.orb_double || o.orb_simple || o.orb_halfsum;
    if (sub == "coverage") return coverage(o, drive);
    if (orbs_given) return usage("texts");
    if (sub == "show" && n == 2) return show(o.words[1], drive);
    if (sub == "search" && n >= 2) return search({o.words.begin() + 1, o.words.end()}, drive);
    if (sub == "export" && n == 2) return export_file(o.words[1], drive);
    if (sub == "import" && n == 2) return import_file(o.words[1], drive);
    if (sub == "versions" && n == 1) return versions(drive);
    if (sub == "restore" && n == 2) return restore(o.words[1], drive);
    return usage("texts");
}

}  // namespace duoskop::cli
