// SPDX-License-Identifier: GPL-3.0-or-later
// duoskop-cli report: the PDF read back with pdftotext (every entry of every chosen comparison,
// both persons, picture texts, the contents' page numbers, "Seite N von M" on every page), its
// fonts embedded and no raster image; the ODT's content.xml and the HTML with every entry; bad
// input gives a message and writes nothing.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/chart_file.h"
#include "base/cp1252.h"
#include "report/report_model.h"
#include "tests/core/test_support.h"

using duoskop::test_support::CliRun;
using duoskop::test_support::run_cli;
using duoskop::test_support::slurp;
using duoskop::test_support::TempDir;
using namespace duoskop;

namespace {

std::string chart(const std::string& name)
{
    return std::string(DUOSKOP_SOURCE_DRIVE_C) + "/astro/daten/" + name + ".dat";
}

/// Standard output of a shell command.
std::string output_of(const std::string& command)
{
    const TempDir scratch;
    const std::string out = scratch.file("out");
    if (std::system((command + " > '" + out + "' 2>/dev/null").c_str()) != 0) return {};
    return slurp(out);
}

/// Text as pdftotext gives it with the breaks of hyphenated words joined, the ligatures of the
/// typeset text (ff, fi, fl) as their letters and every run of blanks and line ends one blank, so
/// that a paragraph can be found whole.
std::string flowing(std::string text)
{
    const auto replace_all = [&text](std::string_view from, std::string_view to) {
        for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
            text.replace(at, from.size(), to);
    };
    replace_all("\xC2\xAD\n", "");
    replace_all("-\n", "");
    const std::pair<const char*, const char*> ligatures[] = {
        {"\uFB00", "ff"}, {"\uFB01", "fi"}, {"\uFB02", "fl"}, {"\uFB03", "ffi"}, {"\uFB04", "ffl"}};
    for (const auto& [ligature, letters] : ligatures) replace_all(ligature, letters);
    std::string out;
    for (const char c : text) {
        const bool blank = c == ' ' || c == '\n' || c == '\f';
        if (!blank) out += c;
        else if (out.empty() || out.back() != ' ') out += ' ';
    }
    return out;
}

/// The lines of `text`, without their line ends.
std::vector<std::string> lines_of(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t nl = text.find('\n'); nl != std::string::npos; nl = text.find('\n', start)) {
        lines.push_back(text.substr(start, nl - start));
        start = nl + 1;
    }
    return lines;
}

/// The first words of a paragraph (UTF-8), far enough to be its own.
std::string opening(const std::string& cp1252_paragraph, std::size_t words)
{
    std::string utf8 = cp1252_to_utf8(cp1252_paragraph);
    std::size_t at = 0;
    for (std::size_t w = 0; w < words && at != std::string::npos; ++w) at = utf8.find(' ', at + 1);
    return at == std::string::npos ? utf8 : utf8.substr(0, at);
}

std::vector<std::string> pages_of(const std::string& text)
{
    std::vector<std::string> pages;
    std::size_t start = 0;
    for (std::size_t ff = text.find('\f'); ff != std::string::npos; ff = text.find('\f', start)) {
        pages.push_back(text.substr(start, ff - start));
        start = ff + 1;
    }
    return pages;
}

/// The content the CLI reports on, computed in this process through the same core.
ReportModel sample_model(const std::vector<Comparison>& comparisons)
{
    const DriveC drive{std::filesystem::path(DUOSKOP_SOURCE_DRIVE_C)};
    ChartState state;
    EXPECT_EQ(holen(chart("ALBRECHT"), 1, state).outcome, LoadOutcome::loaded);
    EXPECT_EQ(holen(chart("HOLLMANN"), 2, state).outcome, LoadOutcome::loaded);
    Ktexte ktexte;
    load_ktexte(drive, ktexte);
    ReportRequest request;
    request.comparisons = comparisons;
    request.orbs = {1.0, 0.5, 0.3};
    return build_report(state, request, ktexte, drive);
}

const std::vector<std::string> base_call = {"report", chart("ALBRECHT"), chart("HOLLMANN"), "--double", "1,0",
                                            "--simple", "0,5", "--halfsum", "0,3"};

std::vector<std::string> call(std::vector<std::string> more)
{
    std::vector<std::string> args = base_call;
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

class CliReport : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = new TempDir;
        run = new CliRun(run_cli(call({"--pdf", dir->file("b.pdf"), "--odt", dir->file("b.odt"), "--html",
                                       dir->file("b.html"), "--title", "F\u00FCr Erika Wei\u00DF",
                                       "--astrologer", "Hans Gro\u00DF|Stra\u00DFe 1|50667 K\u00F6ln"})));
        text = new std::string(output_of("pdftotext -enc UTF-8 '" + dir->file("b.pdf") + "' -"));
    }
    static void TearDownTestSuite()
    {
        delete text;
        delete run;
        delete dir;
    }
    static TempDir* dir;
    static CliRun* run;
    static std::string* text;
};
TempDir* CliReport::dir = nullptr;
CliRun* CliReport::run = nullptr;
std::string* CliReport::text = nullptr;

TEST_F(CliReport, PdfHoldsBothPersonsEveryEntryAndThePictureTexts)
{
    ASSERT_EQ(run->status, 0) << run->err;
    ASSERT_FALSE(text->empty());
    const std::string flow = flowing(*text);
    for (const char* expected : {"Albrecht", "Marie", "Hollmann", "Greta", "30.01.1958", "21:50:00", "Wien",
                                 "+016 22 00", "S\u00FCdamerika", "F\u00FCr Erika Wei\u00DF", "50667 K\u00F6ln",
                                 "Die 22,5\u00B0-Scheibe", "Positionen", "Inhalt"})
        EXPECT_NE(flow.find(expected), std::string::npos) << expected;
    EXPECT_NE(flow.find("\u00B0" "31\u2032 WAS"), std::string::npos);  // degree and prime signs

    const ReportModel model = sample_model({all_comparisons.begin(), all_comparisons.end()});
    std::size_t pictures = 0;
    for (const ReportChapter& c : model.chapters) {
        EXPECT_NE(flow.find(cp1252_to_utf8(c.title)), std::string::npos) << c.title;
        for (const ReportEntry& e : c.entries) {
            EXPECT_NE(flow.find(e.entry), std::string::npos) << e.entry;
            if (e.text.source == TextSource::picture) {
                ++pictures;
                std::string paragraph;
                for (const std::string& line : e.text.lines)
                    paragraph += (paragraph.empty() ? "" : " ") + line.substr(line.find_first_not_of(' '));
                EXPECT_NE(flow.find(opening(paragraph, 6)), std::string::npos) << e.entry;
            }
        }
    }
    EXPECT_GT(pictures, 0u);
}

TEST_F(CliReport, EveryPageCountsItselfAndTheContentsPointToTheChapters)
{
    const std::vector<std::string> pages = pages_of(*text);
    ASSERT_GE(pages.size(), 7u);
    const std::string total = std::to_string(pages.size());
    for (std::size_t p = 0; p < pages.size(); ++p) {
        EXPECT_NE(pages[p].find("Seite " + std::to_string(p + 1) + " von " + total), std::string::npos) << p + 1;
        EXPECT_NE(pages[p].find("Marie Albrecht"), std::string::npos);  // running header
        EXPECT_NE(pages[p].find("Orben: doppelt 1,0\u00B0, einfach 0,5\u00B0, Halbsummen 0,3\u00B0"),
                  std::string::npos);
        EXPECT_NE(pages[p].find("Positionen: Theorie"), std::string::npos);
    }
    // "3. MC-AS-Achsen (einf.) ... 10" in the contents: the chapter starts on that page.
    // pdftotext gives the title and its page number as lines of their own.
    std::vector<std::string> lines;
    for (const std::string& line : lines_of(pages[1]))
        if (!line.empty()) lines.push_back(line);
    const auto is_number = [](const std::string& s) { return s.find_first_not_of("0123456789") == std::string::npos; };
    int chapters = 0;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        const std::string& title = lines[i];
        if (title.size() < 4 || title[0] < '0' || title[0] > '9' || title.compare(1, 2, ". ") != 0 ||
            !is_number(lines[i + 1]))
            continue;
        const std::size_t page = std::stoul(lines[i + 1]);
        ASSERT_LE(page, pages.size());
        EXPECT_NE(pages[page - 1].find(title), std::string::npos) << title << " " << page;
        ++chapters;
    }
    EXPECT_EQ(chapters, 5);
}

TEST_F(CliReport, AnEntryAndItsWholeTextStandOnOnePage)
{
    std::vector<std::string> pages;
    for (const std::string& page : pages_of(*text)) pages.push_back(flowing(page));
    const ReportModel model = sample_model({all_comparisons.begin(), all_comparisons.end()});
    int checked = 0;
    for (const ReportChapter& c : model.chapters)
        for (const ReportEntry& e : c.entries) {
            if (e.text.source != TextSource::picture) continue;
            std::string paragraph;
            for (const std::string& line : e.text.lines)
                paragraph += (paragraph.empty() ? "" : " ") + line.substr(line.find_first_not_of(' '));
            // A block split across pages would leave no page with the entry and its whole text.
            const std::string whole = e.entry + " [Bildtext] " + cp1252_to_utf8(paragraph);
            bool found = false;
            for (const std::string& page : pages) found = found || page.find(whole) != std::string::npos;
            EXPECT_TRUE(found) << e.entry;
            ++checked;
        }
    EXPECT_GT(checked, 5);
}

TEST_F(CliReport, PdfEmbedsItsFontsAndHoldsNoRasterImage)
{
    const std::string fonts = output_of("pdffonts '" + dir->file("b.pdf") + "'");
    const std::vector<std::string> rows = lines_of(fonts);
    ASSERT_GT(rows.size(), 2u) << fonts;
    for (std::size_t i = 2; i < rows.size(); ++i)
    {
        // The "emb" column right after the encoding says whether the font is embedded.
        const std::size_t encoding = rows[i].find("Identity-H");
        ASSERT_NE(encoding, std::string::npos) << rows[i];
        const std::size_t emb = rows[i].find_first_not_of(' ', encoding + 10);
        EXPECT_EQ(rows[i].compare(emb, 3, "yes"), 0) << rows[i];
    }
    const std::string images = output_of("pdfimages -list '" + dir->file("b.pdf") + "'");
    EXPECT_EQ(std::count(images.begin(), images.end(), '\n'), 2) << images;  // the heading only
}

TEST_F(CliReport, OdtAndHtmlHoldEveryEntryWithTheirCharacters)
{
    const std::string content = output_of("unzip -p '" + dir->file("b.odt") + "' content.xml");
    const std::string html = slurp(dir->file("b.html"));
    ASSERT_FALSE(content.empty());
    ASSERT_FALSE(html.empty());
    const ReportModel model = sample_model({all_comparisons.begin(), all_comparisons.end()});
    for (const ReportChapter& c : model.chapters)
        for (const ReportEntry& e : c.entries) {
            EXPECT_NE(content.find(e.entry), std::string::npos) << e.entry;
            EXPECT_NE(html.find(e.entry), std::string::npos) << e.entry;
        }
    for (const std::string* doc : {&content, &html})
        for (const char* expected : {"F\u00FCr Erika Wei\u00DF", "S\u00FCdamerika", "\u00B0" "31\u2032 WAS"})
            EXPECT_NE(doc->find(expected), std::string::npos) << expected;
    EXPECT_NE(html.find("charset=\"utf-8\""), std::string::npos);
    EXPECT_NE(html.find("<svg"), std::string::npos);  // the dial inline
    EXPECT_NE(html.find(">MC</text>"), std::string::npos);
    EXPECT_EQ(html.find("<img"), std::string::npos);
    EXPECT_NE(output_of("unzip -l '" + dir->file("b.odt") + "'").find("Pictures/"), std::string::npos);
}

TEST(CliReportChoice, OnlyTheChosenComparisonsWithTheirZeitprobe)
{
    const TempDir dir;
    const CliRun r = run_cli({"report", chart("ALBRECHT"), chart("HOLLMANN"), "--double", "1", "--simple", "0,5",
                              "--analyses", "list,solar", "--time-window", "3", "--html", dir.file("r.html")});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string html = slurp(dir.file("r.html"));
    EXPECT_NE(html.find("1. SO1/SO2-Achse"), std::string::npos);
    EXPECT_NE(html.find("2. MC-AS-Liste"), std::string::npos);
    EXPECT_EQ(html.find("MC-SO-Achsen"), std::string::npos);
    EXPECT_NE(html.find("Zeitprobe: "), std::string::npos);
    EXPECT_NE(html.find("Zeitprobe \u00B1" "3/3 min"), std::string::npos);
}

TEST(CliReportInput, BadInputSaysWhatIsWrongAndWritesNothing)
{
    struct Case {
        std::vector<std::string> args;  // "@" stands for the scratch folder
        int status;
        const char* message;
    };
    const Case cases[] = {
        {{"report", "@/fehlt.dat", chart("HOLLMANN"), "--double", "1", "--simple", "0,5", "--analyses", "solar",
          "--pdf", "@/a.pdf"}, 1, "fehlt.dat"},
        {{"report", chart("ALBRECHT"), chart("HOLLMANN"), "--double", "1", "--simple", "0,5", "--analyses",
          "solar,doppelt", "--pdf", "@/a.pdf"}, 2, "unbekannte Auswertung \"doppelt\""},
        {{"report", chart("ALBRECHT"), chart("HOLLMANN"), "--double", "1", "--simple", "0,5", "--analyses",
          "solar"}, 2, "mindestens eine Ausgabe"},
        {{"report", chart("ALBRECHT"), chart("HOLLMANN"), "--double", "1", "--simple", "0,5", "--pdf", "@/a.pdf"},
         2, "Halbsummen brauchen --halfsum"},
        {{"report", chart("ALBRECHT"), chart("HOLLMANN"), "--double", "1", "--simple", "0,5", "--analyses", "solar",
          "--pdf", "@/a.pdf", "--html", "@/kein/ordner/a.html"}, 1, "den Ordner gibt es nicht"},
        {{"report", chart("ALBRECHT"), chart("HOLLMANN"), "--double", "1", "--simple", "0,5", "--analyses", "solar",
          "--odt", "@/a.odt", "--pdf", "@"}, 1, "ist ein Ordner"},
        {{"report", chart("ALBRECHT"), chart("HOLLMANN"), "--double", "1", "--simple", "0,5", "--analyses", "solar",
          "--odt", "@/a.odt", "--pdf", "@/a.odt"}, 2, "dieselbe Datei"},
        {{"report", chart("ALBRECHT"), "--double", "1", "--simple", "0,5", "--pdf", "@/a.pdf"}, 2, "P1 und P2"},
    };
    for (const Case& c : cases) {
        const TempDir dir;
        std::vector<std::string> args;
        for (const std::string& a : c.args)
            args.push_back(a.rfind('@', 0) == 0 ? dir.path().string() + a.substr(1) : a);
        const CliRun r = run_cli(args);
        SCOPED_TRACE(c.message);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    }
}

// Names, places, the title and the astrologer's lines are text in every format, never markup (a
// line that reads like the dial's place in the HTML stays a line); the texts are named by their
// folder and the kind of drive C, never by a path of the astrologer's; the title is the document's.
TEST(CliReportText, NamesAreTextAndNoPathIsShown)
{
    const TempDir dir;
    std::filesystem::copy(DUOSKOP_SOURCE_DRIVE_C, dir.path() / "c", std::filesystem::copy_options::recursive);
    // Files without a dot: the program's name check then asks nothing of the name.
    dir.write("eins", chart_record_bytes({"<i>A&B\"'", "<b>x</b>", "01.05.1960", "06:30:45", "<img/x='",
                                          "+008 30 00", "+53 33 00"}));
    dir.write("zwei", chart_record_bytes({"Z'\"<&>", "<svg>", "02.06.1961", "12:00:00", "a&amp;b",
                                          "+013 24 00", "+52 31 00"}));
    const CliRun r = run_cli({"report", dir.file("eins"), dir.file("zwei"), "--double", "1", "--simple", "0,5",
                              "--analyses", "solar,list", "--drive-c", dir.file("c"), "--title", "<script>T&'\"",
                              "--astrologer", "duoskop-scheibe-svg|<p>Erika", "--pdf", dir.file("b.pdf"),
                              "--odt", dir.file("b.odt"), "--html", dir.file("b.html")});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string html = slurp(dir.file("b.html"));
    const std::string odt = output_of("unzip -p '" + dir.file("b.odt") + "' content.xml");
    const std::string pdf = flowing(output_of("pdftotext -enc UTF-8 '" + dir.file("b.pdf") + "' -"));
    for (const char* raw : {"<i>", "<b>", "<img", "<script>", "<svg>", "<p>Erika", "A&B", "Z'\"<", "a&amp;b<"}) {
        EXPECT_EQ(html.find(raw), std::string::npos) << raw;
        EXPECT_EQ(odt.find(raw), std::string::npos) << raw;
    }
    EXPECT_EQ(html.find("<svg"), html.rfind("<svg"));  // one dial
    EXPECT_NE(html.find("<html lang=\"de\">"), std::string::npos);
    // The document's title and the dial's, as text.
    EXPECT_NE(html.find("<title>&lt;script&gt;T&amp;&#39;&quot;: &lt;b&gt;x&lt;/b&gt; &lt;i&gt;A&amp;B&quot;&#39;"),
              std::string::npos);
    EXPECT_NE(html.find("<title>&lt;b&gt;x&lt;/b&gt; &lt;i&gt;A&amp;B&quot;&#39;"), std::string::npos);
    EXPECT_NE(output_of("pdfinfo '" + dir.file("b.pdf") + "'").find("Title:           <script>T&'\": <b>x</b>"),
              std::string::npos);
    for (const std::string* doc : {&html, &odt, &pdf}) {
        EXPECT_EQ(doc->find(dir.path().string()), std::string::npos);
        EXPECT_NE(flowing(*doc).find("Texte: PBTX, Laufwerk C: gew\u00E4hlt"), std::string::npos);
    }
    // The ODT's contents list the chapters without the PDF's page numbers.
    const std::size_t contents = odt.find(">Inhalt<");
    const std::string listed = odt.substr(contents, odt.find("<table:table ", contents) - contents);
    EXPECT_NE(listed.find(">2. MC-AS-Liste (nur gemeinsame)<"), std::string::npos) << listed;
    // No element holds a number alone (a page number).
    for (std::size_t open = listed.find('>'); open != std::string::npos; open = listed.find('>', open + 1)) {
        const std::size_t close = listed.find('<', open);
        if (close == std::string::npos) break;
        const std::string_view inside = std::string_view(listed).substr(open + 1, close - open - 1);
        EXPECT_FALSE(!inside.empty() && inside.find_first_not_of("0123456789") == std::string_view::npos) << listed;
    }
}

// Standard output is written in place for any user (as root the program runs as the user
// nobody), as `compare --entries` writes it; one file under two names takes no two formats.
TEST(CliReportInput, StandardOutputForAnyUserAndOneFileUnderTwoNames)
{
    const std::string as_user = ::geteuid() == 0 ? "setpriv --reuid=nobody --regid=nogroup --clear-groups " : "";
    EXPECT_TRUE(output_of(as_user + "'" + DUOSKOP_CLI + "' report '" + chart("ALBRECHT") + "' '" + chart("HOLLMANN") +
                          "' --double 1 --simple 0,5 --analyses solar --html /dev/stdout")
                    .starts_with("<!DOCTYPE HTML"));

    const TempDir dir;
    const std::string a = dir.write("a.pdf", "alt");
    const std::string relative = std::filesystem::relative(a).string();
    std::filesystem::create_symlink(a, dir.path() / "verweis.pdf");
    std::filesystem::create_hard_link(a, dir.path() / "hart.html");
    for (const std::string& other : {relative, dir.file("verweis.pdf"), dir.file("hart.html")}) {
        const CliRun r = run_cli({"report", chart("ALBRECHT"), chart("HOLLMANN"), "--double", "1", "--simple",
                                  "0,5", "--analyses", "solar", "--pdf", a, "--html", other});
        EXPECT_EQ(r.status, 2) << other;
        EXPECT_NE(r.err.find("dieselbe Datei"), std::string::npos) << r.err;
    }
    EXPECT_EQ(slurp(a), "alt");
}

}  // namespace
