// SPDX-License-Identifier: GPL-3.0-or-later
// A chart typed into the chart index: the refusals per field, the record and file it becomes,
// and saving that never replaces another person's file.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/chart_file.h"
#include "astro/std_ho.h"
#include "base/cp1252.h"
#include "kartei/draft.h"
#include "kartei/listing.h"
#include "tests/core/test_support.h"

using namespace duoskop;
namespace fs = std::filesystem;

namespace {

ChartDraft weidner()
{
    ChartDraft d;
    d.name = "Weidner";
    d.first_name = "J\xC3\xBCrgen";  // UTF-8 as the window hands it over
    d.date = "9.9.1990";
    d.time = "3:05";
    d.longitude = {13, 24, 0, false};
    d.latitude = {52, 31, 0, false};
    d.extra = "Berlin";
    return d;
}

// The 77 bytes the sample drive holds for Jürgen Weidner.
std::string weidner_bytes()
{
    const auto field = [](std::string_view text) {
        std::string f(1, static_cast<char>(text.size()));
        f += text;
        f.append(10 - text.size(), ' ');
        return f;
    };
    return field("Weidner") + field("J\xFCrgen") + field("09.09.1990") + field("03:05:00") + field("Berlin") +
           field("+013 24 00") + field("+52 31 00");
}

}  // namespace

TEST(KarteiDraft, GoodDraftBecomesTheRecordOfTheSampleFile)
{
    const DraftCheck check = check_draft(weidner());
    ASSERT_TRUE(check.ok());
    EXPECT_EQ(chart_record_bytes(check.record), weidner_bytes());
    // And the sample drive's file reads back into the same draft.
    const fs::path sample = fs::path(DUOSKOP_SOURCE_DRIVE_C) / "astro" / "daten" / "WEIDNER.dat";
    EXPECT_EQ(test_support::slurp(sample), weidner_bytes());
    const ChartDraft back = draft_of(check.record, "sub");
    EXPECT_EQ(check_draft(back).record, check.record);
    EXPECT_EQ(back.folder, "sub");
    EXPECT_EQ(back.time, "03:05:00");
    EXPECT_FALSE(back.time_unknown);
}

TEST(KarteiDraft, RefusesWhatTheFileCannotHoldNextToTheField)
{
    struct Case {
        const char* what;
        void (*change)(ChartDraft&);
        DraftField field;
        std::string reason;  // UTF-8, a part of the refusal
    };
    const std::vector<Case> cases = {
        {"eleven characters", [](ChartDraft& d) { d.name = "Weidnerhofe"; }, DraftField::name, "Mehr als 10 Zeichen"},
        {"ten with umlauts fit", [](ChartDraft& d) { d.name = "\xC3\x84\xC3\x96\xC3\x9C\xC3\x9F" "abcdef"; }, DraftField::name, ""},
        {"outside Windows-1252", [](ChartDraft& d) { d.name = "\xC5\x81\xC3\xB3\x64\xC5\xBA"; }, DraftField::name,
         "nicht aufnehmen: \xC5\x81\xC5\xBA"},
        {"no name", [](ChartDraft& d) { d.name = "  "; }, DraftField::name, "Namen eingeben"},
        {"slash", [](ChartDraft& d) { d.name = "A/B"; }, DraftField::name, "Dateinamen"},
        {"hidden", [](ChartDraft& d) { d.name = ".Meier"; }, DraftField::name, "Punkt"},
        {"control character", [](ChartDraft& d) { d.first_name = "Ha\x01ns"; }, DraftField::first_name, "Steuerzeichen"},
        {"bad UTF-8", [](ChartDraft& d) { d.first_name = "Ha\xFFns"; }, DraftField::first_name, "\xEF\xBF\xBD"},
        {"extra too long", [](ChartDraft& d) { d.extra = "Berlin-Mitte"; }, DraftField::extra, "10 Zeichen"},
        {"no such day", [](ChartDraft& d) { d.date = "29.2.1900"; }, DraftField::date, "der Februar 1900 hat 28 Tage"},
        {"two-digit year", [](ChartDraft& d) { d.date = "1.5.60"; }, DraftField::date, "Kalenderdatum"},
        {"no such hour", [](ChartDraft& d) { d.time = "24:00"; }, DraftField::time, "Uhrzeit"},
        {"unknown time needs none", [](ChartDraft& d) { d.time = "x"; d.time_unknown = true; }, DraftField::time, ""},
        {"beyond 180", [](ChartDraft& d) { d.longitude = {180, 0, 1, true}; }, DraftField::longitude, "180"},
        {"180 itself", [](ChartDraft& d) { d.longitude = {180, 0, 0, true}; }, DraftField::longitude, ""},
        {"beyond 90", [](ChartDraft& d) { d.latitude = {91, 0, 0, false}; }, DraftField::latitude, "90"},
        {"sixty minutes", [](ChartDraft& d) { d.latitude = {50, 60, 0, false}; }, DraftField::latitude, "59"},
        {"out of the folder", [](ChartDraft& d) { d.folder = "a/../../b"; }, DraftField::folder, "Unterordner"},
        {"hidden folder", [](ChartDraft& d) { d.folder = ".trash"; }, DraftField::folder, "Unterordner"},
        {"nested folder", [](ChartDraft& d) { d.folder = "/Familie//Meier/"; }, DraftField::folder, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ChartDraft d = weidner();
        c.change(d);
        const DraftCheck check = check_draft(d);
        for (std::size_t f = 0; f < draft_field_count; ++f) {
            if (f == static_cast<std::size_t>(c.field) && !c.reason.empty())
                EXPECT_NE(check.refusals[f].find(c.reason), std::string::npos) << check.refusals[f];
            else
                EXPECT_EQ(check.refusals[f], "") << f;
        }
        EXPECT_EQ(check.ok(), c.reason.empty());
    }
    ChartDraft d = weidner();
    d.time_unknown = true;
    d.folder = "/Familie//Meier/";
    const DraftCheck check = check_draft(d);
    EXPECT_EQ(check.record.time, "12:00:00");
    EXPECT_EQ(check.folder, "Familie/Meier");
    d.longitude.negative = d.latitude.negative = true;
    EXPECT_EQ(check_draft(d).record.longitude_text, "-013 24 00");
    EXPECT_EQ(check_draft(d).record.latitude_text, "-52 31 00");
}

TEST(KarteiDraft, PreviewShowsUniversalTimeAndTheChartsPositions)
{
    const DraftCheck check = check_draft(weidner());
    const ChartPreview preview = chart_preview(check.record);
    EXPECT_EQ(preview.universal, "09.09.1990 03:05:00 UT");
    const Positions p = f_rechnen(werte_aktual(check.record));
    EXPECT_EQ(preview.sun, position_text(p[2]));
    EXPECT_EQ(preview.mc, position_text(p[0]));
    EXPECT_EQ(preview.as, position_text(p[3]));
    EXPECT_EQ(preview.sun.substr(preview.sun.size() - 3), "JUN");  // early September: Virgo
}

TEST(KarteiDraft, FileNamesPassTheNameCheck)
{
    for (const std::string name : {"Meier", "M\xFCller", "St.Clair", "van Dyk", "O'Neil"}) {
        const std::string file = chart_file_name(name);
        const auto file_1252 = utf8_to_cp1252(file);
        ASSERT_TRUE(file_1252);
        EXPECT_TRUE(name_check(*file_1252, {name, "", "", "", "", "", ""})) << file;
    }
    EXPECT_EQ(chart_file_name("M\xFCller"), "M\xC3\xBCLLER.dat");
    EXPECT_EQ(chart_file_name("van Dyk"), "VAN DYK.dat");
}

TEST(KarteiDraft, SavingNeverReplacesAnotherPersonsFile)
{
    test_support::TempDir dir;
    const fs::path root = dir.path();
    chart_record meier = check_draft(weidner()).record;
    meier.name = "Meier";

    // A new chart.
    const SaveResult made = save_chart(root, meier, "", std::nullopt);
    ASSERT_EQ(made.outcome, SaveResult::Outcome::written) << made.message;
    EXPECT_EQ(made.path, root / "MEIER.dat");
    EXPECT_EQ(dir.read("MEIER.dat"), chart_record_bytes(meier));
    EXPECT_FALSE(made.original_left);

    // A second Meier in the same folder is refused and the first stays; so is a case variant.
    chart_record other = meier;
    other.first_name = "Anna";
    SaveResult again = save_chart(root, other, "", std::nullopt);
    EXPECT_EQ(again.outcome, SaveResult::Outcome::taken);
    EXPECT_EQ(again.message, "Die Datei MEIER.dat geh\xC3\xB6rt schon einer anderen Person in diesem Ordner; "
                             "bitte einen anderen Ordner w\xC3\xA4hlen.");
    EXPECT_EQ(dir.read("MEIER.dat"), chart_record_bytes(meier));
    dir.write("Lang.dat", "fremd");
    chart_record lang = other;
    lang.name = "LANG";
    EXPECT_EQ(save_chart(root, lang, "", std::nullopt).outcome, SaveResult::Outcome::taken);
    EXPECT_EQ(dir.read("Lang.dat"), "fremd");

    // In a subfolder (made as needed) she has a place of her own.
    again = save_chart(root, other, "Familie/Meier", std::nullopt);
    ASSERT_EQ(again.outcome, SaveResult::Outcome::written);
    EXPECT_EQ(dir.read("Familie/Meier/MEIER.dat"), chart_record_bytes(other));

    // Editing keeps the file while its name still fits, even when written in another case.
    dir.write("meier.dat", "x");
    fs::remove(root / "MEIER.dat");
    chart_record edited = meier;
    edited.time = "04:00:00";
    SaveResult edit = save_chart(root, edited, "", root / "meier.dat");
    ASSERT_EQ(edit.outcome, SaveResult::Outcome::written);
    EXPECT_EQ(edit.path, root / "meier.dat");
    EXPECT_EQ(dir.read("meier.dat"), chart_record_bytes(edited));
    EXPECT_FALSE(edit.original_left);

    // A new name makes a new file; the old one is left for the caller to put away.
    edited.name = "Neumann";
    edit = save_chart(root, edited, "", root / "meier.dat");
    ASSERT_EQ(edit.outcome, SaveResult::Outcome::written);
    EXPECT_EQ(edit.path, root / "NEUMANN.dat");
    EXPECT_TRUE(edit.original_left);
    EXPECT_EQ(dir.read("NEUMANN.dat"), chart_record_bytes(edited));

    // Renaming onto another person's file is refused like a new chart.
    edited.name = "Lang";
    edit = save_chart(root, edited, "", root / "NEUMANN.dat");
    EXPECT_EQ(edit.outcome, SaveResult::Outcome::taken);
    EXPECT_EQ(dir.read("Lang.dat"), "fremd");

    // A folder that cannot be made is an I/O error.
    dir.write("Datei", "");
    const SaveResult blocked = save_chart(root, meier, "Datei/unter", std::nullopt);
    EXPECT_EQ(blocked.outcome, SaveResult::Outcome::failed);
    EXPECT_FALSE(blocked.message.empty());
}

TEST(KarteiDraft, LocalTimeIsWrittenAsUniversalTime)
{
    struct Case {
        const char* what;
        const char* date;
        const char* time;
        const char* zone;
        DegreesMinutes longitude;
        Ambiguous reading;
        std::string record_date, record_time;  // empty: refused
        DraftField refused;
        std::string reason;  // UTF-8, a part of the refusal
        bool twice;
    };
    const DegreesMinutes berlin{13, 24, 0, false};
    const std::vector<Case> cases = {
        {"double summer time", "1.6.1945", "12:00", "Europe/Berlin", berlin, Ambiguous::refuse, "01.06.1945", "09:00:00",
         DraftField::time, "", false},
        {"Vienna in winter", "30.1.1958", "22:50", "Europe/Vienna", berlin, Ambiguous::refuse, "30.01.1958", "21:50:00",
         DraftField::time, "", false},
        {"the previous universal date", "1.1.2000", "0:30", "Europe/Berlin", berlin, Ambiguous::refuse, "31.12.1999",
         "23:30:00", DraftField::time, "", false},
        {"local mean time", "1.1.1850", "12:00", "LMT", berlin, Ambiguous::refuse, "01.01.1850", "11:06:24",
         DraftField::time, "", false},
        {"fixed offset", "15.8.1947", "0:10", "UTC+05:30", berlin, Ambiguous::refuse, "14.08.1947", "18:40:00",
         DraftField::time, "", false},
        {"skipped in spring", "31.3.2019", "2:30", "Europe/Berlin", berlin, Ambiguous::refuse, "", "", DraftField::time,
         "gibt es in Europe/Berlin nicht: am 31.03.2019 wurde die Uhr um 02:00:00 CET (UTC+01:00) auf 03:00:00 CEST "
         "(UTC+02:00) gestellt.",
         false},
        {"twice in autumn", "27.10.2019", "2:30", "Europe/Berlin", berlin, Ambiguous::refuse, "", "", DraftField::time,
         "zweimal", true},
        {"the earlier reading", "27.10.2019", "2:30", "Europe/Berlin", berlin, Ambiguous::earlier, "27.10.2019",
         "00:30:00", DraftField::time, "", true},
        {"the later reading", "27.10.2019", "2:30", "Europe/Berlin", berlin, Ambiguous::later, "27.10.2019", "01:30:00",
         DraftField::time, "", true},
        {"no zone", "1.6.1945", "12:00", " ", berlin, Ambiguous::refuse, "", "", DraftField::zone, "Zeitzone", false},
        {"unknown zone", "1.6.1945", "12:00", "Mars/Olymp", berlin, Ambiguous::refuse, "", "", DraftField::zone,
         "Mars/Olymp", false},
        {"before the year 1", "1.1.0001", "0:30", "UTC+01:00", berlin, Ambiguous::refuse, "", "", DraftField::date,
         "Jahre 1 bis 9999", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ChartDraft d = weidner();
        d.local_time = true;
        d.date = c.date;
        d.time = c.time;
        d.zone = c.zone;
        d.longitude = c.longitude;
        d.reading = c.reading;
        const DraftCheck check = check_draft(d);
        EXPECT_EQ(check.twice, c.twice);
        if (c.record_date.empty()) {
            EXPECT_FALSE(check.ok());
            EXPECT_NE(check.refusal(c.refused).find(c.reason), std::string::npos) << check.refusal(c.refused);
            continue;
        }
        ASSERT_TRUE(check.ok()) << check.refusal(DraftField::time) << check.refusal(DraftField::zone);
        EXPECT_EQ(check.record.date, c.record_date);
        EXPECT_EQ(check.record.time, c.record_time);
        ASSERT_TRUE(check.universal);
    }
    // The zone time in force is shown while typing.
    ChartDraft d = weidner();
    d.local_time = true;
    d.date = "1.6.1945";
    d.time = "12:00";
    d.zone = "Europe/Berlin";
    const DraftCheck summer = check_draft(d);
    EXPECT_EQ(summer.universal->abbreviation, "CEMT");
    EXPECT_EQ(summer.universal->offset_seconds, 3 * 3600);
    // An unknown time keeps the date as given and marks it with 12:00:00.
    d.time_unknown = true;
    d.time = "";
    d.zone = "";
    const DraftCheck unknown = check_draft(d);
    ASSERT_TRUE(unknown.ok());
    EXPECT_EQ(unknown.record.date, "01.06.1945");
    EXPECT_EQ(unknown.record.time, "12:00:00");
    EXPECT_FALSE(unknown.universal);
}

TEST(KarteiDraft, TheDialogTakesTheOneWayIn)
{
    // The same cases as on the command line, through the dialog's core.
    struct Case {
        const char* what;
        const char* date;
        const char* time;
        const char* zone;  // "" for universal time
        DegreesMinutes longitude;
        const char* ut;    // the record's date and time; "" when refused
    };
    const Case cases[] = {
        {"Julian leap day", "29.2.1500", "12:00", "", {8, 0, 0, false}, "29.02.1500 12:00:00"},
        {"into the Julian leap day", "1.3.1500", "0:30", "UTC+1", {8, 0, 0, false}, "29.02.1500 23:30:00"},
        {"no Gregorian leap day", "29.2.1700", "12:00", "", {8, 0, 0, false}, ""},
        {"Etc zone", "1.6.1990", "12:00", "Etc/GMT+1", {8, 0, 0, false}, "01.06.1990 13:00:00"},
        {"old name", "1.6.1990", "12:00", "Europe/Kiev", {30, 31, 0, false}, "01.06.1990 08:00:00"},
        {"Aachen's own mean time", "1.6.1880", "12:00", "Europe/Berlin", {6, 5, 0, false}, "01.06.1880 11:35:40"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ChartDraft d = weidner();
        d.date = c.date;
        d.time = c.time;
        d.local_time = *c.zone != '\0';
        d.zone = c.zone;
        d.longitude = c.longitude;
        const DraftCheck check = check_draft(d);
        EXPECT_EQ(check.ok(), *c.ut != '\0') << check.refusal(DraftField::date) << check.refusal(DraftField::time);
        if (check.ok()) {
            EXPECT_EQ(check.record.date + " " + check.record.time, c.ut);
        }
    }
    ChartDraft tab = weidner();
    tab.name = "Wei\tdner";
    EXPECT_NE(check_draft(tab).refusal(DraftField::name).find("Steuerzeichen"), std::string::npos);
}
