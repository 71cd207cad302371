// SPDX-License-Identifier: GPL-3.0-or-later
// The report's content: each entry's text and its source as the one resolution finds it, the
// chapters in menu order with the comparisons' own lines and entries, the Zeitprobe marks, the
// settings line; German hyphenation against libhyphen with the whole pattern file.
#include <gtest/gtest.h>

#include <hyphen.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/chart_file.h"
#include "astro/calendar.h"
#include "report/hyphenation.h"
#include "report/report_model.h"
#include "results/pictures.h"
#include "timeline/timeline_export.h"
#include "tests/core/text_files_fixture.h"

using namespace duoskop;
using namespace duoskop::text_testing;

namespace {

TEST(ReportEntryText, SourceAndLinesForEachWayAnEntryResolves)
{
    const TempDir dir;
    dir.write("PBTX/MCSO.vwt", picture_index({{0, "JU/SA"}}));
    dir.write("PBTX/MCSO.txt", picture_record({"Gemeinsame Ziele   ", "", "  tragen weit"}));
    dir.write("PBTX/ASAS.vwt", std::string(100, '\0'));  // damaged: shorter than an index
    const DriveC drive{dir.path()};
    Ktexte loaded;
    loaded.ktexte_table = {{"MC/SO", "Ziel und Kraft  "}, {"VE/MA", "Anziehung"}};
    loaded.ktexte_da = true;
    const Ktexte missing;

    struct Case {
        const char* entry;
        const Ktexte* ktexte;
        TextSource source;
        std::vector<std::string> lines;
        bool io_error;
    };
    const Case cases[] = {
        {"MC/SO=JU/SA", &loaded, TextSource::picture, {"Gemeinsame Ziele", "  tragen weit"}, false},
        {"MC/SO=VE/MA", &loaded, TextSource::singles, {"MC/SO: Ziel und Kraft", "VE/MA: Anziehung"}, false},
        {"MC/JU=VE/MA", &loaded, TextSource::singles, {"MC/JU: ", "VE/MA: Anziehung"}, false},  // no index
        {"MC/JU=KR/ZE", &loaded, TextSource::none, {}, false},   // neither key has a meaning
        {"MC/SO=VE/MA", &missing, TextSource::none, {}, false},  // single meanings not loaded
        {"AS/AS=MC/SO", &loaded, TextSource::none, {}, true},    // the collection cannot be read
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        const EntryText text = entry_text(c.entry, *c.ktexte, drive);
        EXPECT_EQ(text.source, c.source);
        EXPECT_EQ(text.lines, c.lines);
        EXPECT_EQ(!text.io_error.empty(), c.io_error);
    }
}

class ReportOfSampleCharts : public ::testing::Test {
protected:
    ReportOfSampleCharts()
    {
        const std::string dir = std::string(DUOSKOP_SOURCE_DRIVE_C) + "/astro/daten/";
        if (holen(dir + "ALBRECHT.dat", 1, chart).outcome != LoadOutcome::loaded ||
            holen(dir + "HOLLMANN.dat", 2, chart).outcome != LoadOutcome::loaded)
            ADD_FAILURE() << "sample charts";
        load_ktexte(drive, ktexte);
        request.orbs = {1.0, 0.5, 0.3};
        request.version = "9.9";
    }
    DriveC drive{std::filesystem::path(DUOSKOP_SOURCE_DRIVE_C)};
    ChartState chart;
    Ktexte ktexte;
    ReportRequest request;
};

TEST_F(ReportOfSampleCharts, ChaptersInMenuOrderHoldTheComparisonsOwnLinesEntriesAndTexts)
{
    request.comparisons = {Comparison::list, Comparison::halfsums, Comparison::solar, Comparison::list,
                           Comparison::doubles, Comparison::simples};
    const ReportModel model = build_report(chart, request, ktexte, drive);
    ASSERT_EQ(model.chapters.size(), all_comparisons.size());
    std::size_t pictures = 0;
    for (std::size_t c = 0; c < all_comparisons.size(); ++c) {
        const ReportChapter& chapter = model.chapters[c];
        const ResultText result = run_comparison(all_comparisons[c], chart, request.orbs);
        EXPECT_EQ(chapter.comparison, all_comparisons[c]);
        EXPECT_EQ(chapter.title, result.analysis_title);
        EXPECT_EQ(chapter.lines, result.lines);
        ASSERT_EQ(chapter.entries.size(), result.entries.size());
        for (std::size_t i = 0; i < chapter.entries.size(); ++i) {
            const ReportEntry& e = chapter.entries[i];
            EXPECT_EQ(e.entry, result.entries[i]);
            const EntryText expected = entry_text(e.entry, ktexte, drive);
            EXPECT_EQ(e.text.source, expected.source);
            EXPECT_EQ(e.text.lines, expected.lines);
            EXPECT_FALSE(e.stability.has_value());
            pictures += e.text.source == TextSource::picture;
        }
    }
    EXPECT_GT(pictures, 0u);  // the sample collection covers some pictures
    EXPECT_EQ(model.person1.record.name, "Albrecht");
    EXPECT_EQ(model.person2.pos, chart.pos2);
    EXPECT_TRUE(model.settings.halfsum_orb_used);
    EXPECT_TRUE(model.settings.ktexte_da);
    // The folder's name and the kind of drive, never the path (the report goes to the client).
    EXPECT_EQ(model.settings.text_collection, "PBTX");
    EXPECT_EQ(model.settings.drive_kind, drive_kind(drive.root()));
}

TEST_F(ReportOfSampleCharts, ZeitprobeMarksEveryEntryAsTheProbeOfItsComparison)
{
    request.comparisons = {Comparison::simples, Comparison::solar};
    request.time_window = TimeWindow{3, 0};
    const ReportModel model = build_report(chart, request, ktexte, drive);
    ASSERT_EQ(model.chapters.size(), 2u);
    for (const ReportChapter& chapter : model.chapters) {
        std::vector<std::string> entries;
        for (const ReportEntry& e : chapter.entries) entries.push_back(e.entry);
        const auto probe = time_probe(chapter.comparison, chart, request.orbs, entries, *request.time_window);
        ASSERT_EQ(probe.size(), chapter.entries.size());
        for (std::size_t i = 0; i < probe.size(); ++i) {
            ASSERT_TRUE(chapter.entries[i].stability.has_value());
            EXPECT_EQ(*chapter.entries[i].stability, probe[i]);
        }
    }
}

// The chapter of hits in time: the range in its title, the clusters first, then only the hits on
// the comparisons' points, month by month in time order, each row as the TSV has it.
TEST_F(ReportOfSampleCharts, TimelineChapterHoldsClustersAndTheErgebnisHitsByMonth)
{
    request.comparisons = {Comparison::doubles};
    EXPECT_FALSE(build_report(chart, request, ktexte, drive).timeline.has_value());
    const double from = chart_julian_day0(2025, 1, 1), to = chart_julian_day0(2025, 4, 1);
    request.timeline = ReportRange{from, to};
    const ReportModel model = build_report(chart, request, ktexte, drive);
    ASSERT_TRUE(model.timeline.has_value());
    const ReportTimeline& chapter = *model.timeline;
    EXPECT_EQ(chapter.title, "Ausl\xF6sungen 01.01.2025\x96" "31.03.2025");
    EXPECT_TRUE(chapter.notes.empty());

    TimelineRequest same;
    same.from = from;
    same.to = to;
    same.orbs = request.orbs;
    const Timeline timeline = compute_timeline(chart, same);
    EXPECT_EQ(chapter.clusters.size(), timeline.clusters.size());
    std::vector<std::vector<std::string>> expected;
    for (const Hit& h : timeline.hits) {
        if (!h.ergebnis) continue;
        expected.push_back(hit_fields(timeline, h));
        expected.back().pop_back();
    }
    ASSERT_GT(expected.size(), 10u);
    std::vector<std::string> months;
    std::vector<std::vector<std::string>> rows;
    for (const ReportTimeline::Month& m : chapter.months) {
        months.push_back(m.title);
        for (const auto& row : m.rows) {
            EXPECT_EQ(row[0].substr(3), m.title == "Januar 2025" ? "01.2025" : m.title == "Februar 2025" ? "02.2025" : "03.2025");
            rows.push_back(row);
        }
    }
    EXPECT_EQ(months, (std::vector<std::string>{"Januar 2025", "Februar 2025", "M\xE4rz 2025"}));
    EXPECT_EQ(rows, expected);
}

TEST(ReportSettings, NamesOrbsAndTheFooterLine)
{
    for (const Comparison c : all_comparisons) EXPECT_EQ(comparison_by_name(comparison_name(c)), c);
    for (const char* wrong : {"", "Solar", "doubles", "solar,double", "liste"})
        EXPECT_FALSE(comparison_by_name(wrong)) << wrong;
    EXPECT_EQ(menu_order({Comparison::list, Comparison::solar, Comparison::list}),
              (std::vector<Comparison>{Comparison::solar, Comparison::list}));

    const std::pair<double, const char*> orbs[] = {{1.0, "1,0"}, {0.5, "0,5"}, {0.25, "0,25"},
                                                   {2, "2,0"},   {0, "0,0"},   {12.75, "12,75"}};
    for (const auto& [orb, text] : orbs) EXPECT_EQ(orb_text(orb), text);

    ReportSettings s;
    s.version = "1.8";
    s.orbs = {1.0, 0.5, 0.3};
    s.text_collection = "PBTX";
    s.drive_kind = DriveKind::personal;
    s.ktexte_da = true;
    EXPECT_EQ(settings_line(s), "Duoskop 1.8 \xB7 Orben: doppelt 1,0\xB0, einfach 0,5\xB0 \xB7 "
                                "Positionen: Theorie \xB7 Texte: PBTX, Laufwerk C: pers\xF6nlich");
    s.halfsum_orb_used = true;
    s.source = PositionSource::precise;
    s.ktexte_da = false;
    s.time_window = TimeWindow{4, 2};
    s.drive_kind = DriveKind::wine;
    EXPECT_EQ(settings_line(s), "Duoskop 1.8 \xB7 Orben: doppelt 1,0\xB0, einfach 0,5\xB0, Halbsummen 0,3\xB0 \xB7 "
                                "genaue Positionen \xB7 Texte: PBTX, Laufwerk C: Wine (ohne Einzeltexte) \xB7 "
                                "Zeitprobe \xB1" "4/2 min");
    s.drive_kind = DriveKind::chosen;
    EXPECT_NE(settings_line(s).find("Texte: PBTX, Laufwerk C: gew\xE4hlt"), std::string::npos);
}

// ---- Hyphenation ---------------------------------------------------------------------------------

std::string without_soft_hyphens(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), '\xAD'), text.end());
    return text;
}

TEST(Hyphenation, BreaksLongWordsOnlyAndKeepsEveryLetter)
{
    const Hyphenator& german = Hyphenator::german();
    ASSERT_TRUE(german.loaded()) << "hyphen-de is installed";
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"Partnerschaft", "Part\xADner\xADschaft"},
        {"Zusammenarbeit", "Zu\xADsam\xADmen\xAD" "ar\xAD" "beit"},
        {"Gro\xDFz\xFCgigkeit", "Gro\xDF\xADz\xFC\xADgig\xADkeit"},  // ß and ü are letters
        {"Die Lebenskraft.", "Die Le\xAD" "bens\xADkraft."},
        {"Ehe und Wind", "Ehe und Wind"},                   // short words stay whole
        {"MC/JU=VE/MA 05\xB0" "30'", "MC/JU=VE/MA 05\xB0" "30'"},  // codes and angles stay
        {"Planet7Partnerschaft", "Planet7Partnerschaft"},   // glued to a digit
        {"Part\xADnerschaft", "Part\xADnerschaft"},          // already broken by hand
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(german.hyphenate(c.text), c.expected) << c.text;

    const Hyphenator none{std::filesystem::path("/nonexistent/hyph.dic")};
    EXPECT_FALSE(none.loaded());
    EXPECT_EQ(none.hyphenate("Partnerschaft"), "Partnerschaft");
}

TEST(Hyphenation, TheCutPatternsBreakAsTheWholePatternFile)
{
    const std::vector<std::string> words = {
        "Partnerschaft", "Lebenskraft", "Zusammenarbeit", "Begegnungen", "Entwicklung",
        "Selbstgef\xFChl", "Verantwortungsbewusstsein", "Gro\xDFz\xFCgigkeit", "Zuckerb\xE4" "cker",
        "Schifffahrt", "Anregung", "Ausdauer", "Umformung", "Hemmnisse", "Entschlossenheit",
        "Zuversicht", "Kraftreserven", "Gemeinschaft", "Beziehungen", "Vorstellungskraft"};
    const Hyphenator& german = Hyphenator::german();
    const std::vector<std::string> ours = german.hyphenate(words, 1);
    HyphenDict* whole = hnj_hyphen_load(std::string(german_patterns).c_str());
    ASSERT_NE(whole, nullptr);
    for (std::size_t w = 0; w < words.size(); ++w) {
        std::string low;
        for (const char c : words[w])
            low += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
        std::vector<char> hyphens(low.size() + 5, '0');
        char** rep = nullptr;
        int* pos = nullptr;
        int* cut = nullptr;
        ASSERT_EQ(hnj_hyphen_hyphenate2(whole, low.c_str(), static_cast<int>(low.size()), hyphens.data(),
                                        nullptr, &rep, &pos, &cut), 0);
        std::string expected;
        for (std::size_t k = 0; k < low.size(); ++k) {
            expected += words[w][k];
            const bool plain = rep == nullptr || rep[k] == nullptr;
            if ((hyphens[k] - '0') % 2 == 1 && plain && k + 1 >= 2 && low.size() - (k + 1) >= 3) expected += '\xAD';
        }
        if (rep != nullptr) {
            for (std::size_t k = 0; k < low.size(); ++k) std::free(rep[k]);
            std::free(rep);
            std::free(pos);
            std::free(cut);
        }
        EXPECT_EQ(ours[w], expected) << words[w];
        EXPECT_EQ(without_soft_hyphens(ours[w]), words[w]);
    }
    hnj_hyphen_free(whole);
}

}  // namespace
