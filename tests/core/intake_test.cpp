// SPDX-License-Identifier: GPL-3.0-or-later
// The one way into chart files: the chart calendar against the chart computation's own day count,
// local mean time of the birth place, zone names of the system's database, the checks of
// make_chart, and CSV/AAF files as they come (header, byte order mark, line ends, mixed encodings).
#include <gtest/gtest.h>

#include <cmath>

#include "app/chart_file.h"
#include "astro/calendar.h"
#include "astro/std_ho.h"
#include "birth/exchange.h"
#include "base/cp1252.h"
#include "birth/intake.h"
#include "kartei/listing.h"
#include "tests/core/test_support.h"

using namespace duoskop;

namespace {

const Atlas& shipped_atlas()
{
    static const Atlas atlas = [] {
        std::string error;
        auto loaded = Atlas::load(DUOSKOP_SOURCE_ATLAS, error);
        return loaded ? *loaded : Atlas::parse("");
    }();
    return atlas;
}

BirthInput person(std::string date, std::string time)
{
    BirthInput in;
    in.name = "Meier";
    in.first_name = "Hans";
    in.date = std::move(date);
    in.time = std::move(time);
    in.longitude = 8.0;
    in.latitude = 50.0;
    return in;
}

}  // namespace

TEST(ChartCalendar, CountsDaysAsTheChartComputation)
{
    // Each date, the day number the chart computation gives it, and the name that number comes
    // back as: 01.-10.01.1582 are the ten days 22.-31.12.1581 and come back with the Julian name.
    struct Case { int year, month, day; int back_year, back_month, back_day; };
    const Case cases[] = {
        {1, 1, 1, 1, 1, 1},                {1500, 2, 29, 1500, 2, 29},      {1500, 3, 1, 1500, 3, 1},
        {1581, 12, 21, 1581, 12, 21},      {1581, 12, 22, 1581, 12, 22},    {1581, 12, 25, 1581, 12, 25},
        {1581, 12, 31, 1581, 12, 31},      {1582, 1, 1, 1581, 12, 22},      {1582, 1, 4, 1581, 12, 25},
        {1582, 1, 10, 1581, 12, 31},       {1582, 1, 11, 1582, 1, 11},      {1582, 10, 15, 1582, 10, 15},
        {1700, 2, 28, 1700, 2, 28},        {1900, 3, 1, 1900, 3, 1},        {2000, 2, 29, 2000, 2, 29},
        {9999, 12, 31, 9999, 12, 31},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.day) + "." + std::to_string(c.month) + "." + std::to_string(c.year));
        BirthData birth{};
        birth.birth_day = c.day;
        birth.birth_month = c.month;
        birth.birth_year = c.year;
        StdHoValues values;
        f_rechnen(birth, values);
        const auto number = chart_day_number(c.year, c.month, c.day);
        EXPECT_EQ(static_cast<double>(number) - 0.5, values.jd0);
        const ChartDate back = chart_date_of(number);
        EXPECT_EQ(back.year, c.back_year);
        EXPECT_EQ(back.month, c.back_month);
        EXPECT_EQ(back.day, c.back_day);
        // Named like the date typed, every date comes back as typed.
        const ChartDate typed = chart_date_of(number, ChartDate{c.year, c.month, c.day});
        EXPECT_EQ(typed.year, c.year);
        EXPECT_EQ(typed.month, c.month);
        EXPECT_EQ(typed.day, c.day);
    }
    // The day after 31.12.1581 is 11.01.1582, as the chart computation counts.
    EXPECT_EQ(chart_day_number(1582, 1, 11), chart_day_number(1581, 12, 31) + 1);
    // A typed 1582 date names only its twin days so: the day before 01.01.1582 is 21.12.1581.
    const ChartDate before = chart_date_of(chart_day_number(1582, 1, 1) - 1, ChartDate{1582, 1, 1});
    EXPECT_EQ(before.year * 10000 + before.month * 100 + before.day, 15811221);
    EXPECT_TRUE(chart_date_valid(1500, 2, 29));
    EXPECT_FALSE(chart_date_valid(1700, 2, 29));
}

TEST(ChartCalendar, TheTenDaysOf1581KeepTheirNameThroughConversionsAndExport)
{
    std::string error;
    const auto utc1 = parse_zone("UTC+1", error);
    ASSERT_TRUE(utc1);
    // Local time to universal time: 25.12.1581 stays in 1581, a typed 04.01.1582 stays in 1582.
    struct Case { CivilTime local, ut; };
    const Case cases[] = {
        {{1581, 12, 25, 12, 0, 0}, {1581, 12, 25, 11, 0, 0}},
        {{1581, 12, 22, 0, 30, 0}, {1581, 12, 21, 23, 30, 0}},
        {{1582, 1, 4, 12, 0, 0}, {1582, 1, 4, 11, 0, 0}},
        {{1582, 1, 1, 0, 30, 0}, {1581, 12, 21, 23, 30, 0}},
        {{1582, 1, 11, 0, 30, 0}, {1581, 12, 31, 23, 30, 0}},
    };
    for (const Case& c : cases) {
        const Conversion converted = to_universal(c.local, *utc1, 8.0);
        ASSERT_TRUE(converted.time) << converted.error;
        EXPECT_EQ(converted.time->ut, c.ut) << civil_time_text(c.local) << " -> " << civil_time_text(converted.time->ut);
    }

    // A chart of 25.12.1581 goes through AAF unchanged, without a note, the galactic centre too;
    // so does one typed as 04.01.1582.
    for (const chart_record& record : {chart_record{"Alt", "Anna", "25.12.1581", "11:00:00", "", "+008 00 00", "+50 00 00"},
                                       chart_record{"Neu", "Otto", "04.01.1582", "11:00:00", "", "+008 00 00", "+50 00 00"}}) {
        SCOPED_TRACE(record.date);
        EXPECT_FALSE(reading_note(record)) << *reading_note(record);
        const std::string aaf = write_aaf({record});
        EXPECT_NE(aaf.find("," + record.date + ",11:00:00,"), std::string::npos) << aaf;
        const auto back = read_aaf(aaf, nullptr);
        ASSERT_EQ(back.size(), 1u);
        ASSERT_TRUE(back[0].record) << back[0].error;
        EXPECT_EQ(*back[0].record, record);
        EXPECT_EQ(f_rechnen(werte_aktual(*back[0].record))[22], f_rechnen(werte_aktual(record))[22]);
    }
}

TEST(LocalTime, JulianCalendarZonesOfTheDatabaseAndLocalMeanTimeOfThePlace)
{
    EXPECT_TRUE(valid_civil_time({1500, 2, 29, 12, 0, 0}));
    std::string error;
    const auto utc1 = parse_zone("UTC+1", error);
    ASSERT_TRUE(utc1);
    const Conversion early = to_universal({1500, 3, 1, 0, 30, 0}, *utc1, 8.0);
    ASSERT_TRUE(early.time) << early.error;
    EXPECT_EQ(early.time->ut, (CivilTime{1500, 2, 29, 23, 30, 0}));
    // The AAF Julian day is the chart computation's.
    EXPECT_DOUBLE_EQ(julian_day({1500, 3, 1, 0, 0, 0}), static_cast<double>(chart_day_number(1500, 3, 1)) - 0.5);
    EXPECT_EQ(from_julian_day(julian_day({1500, 2, 29, 23, 30, 0})), (CivilTime{1500, 2, 29, 23, 30, 0}));

    struct ZoneCase { const char* name; int offset; };
    for (const ZoneCase& z : {ZoneCase{"Etc/GMT+1", -3600}, ZoneCase{"Etc/GMT-14", 14 * 3600},
                              ZoneCase{"Europe/Kiev", 3 * 3600}}) {
        SCOPED_TRACE(z.name);
        const auto zone = parse_zone(z.name, error);
        ASSERT_TRUE(zone) << error;
        const Conversion c = to_universal({1995, 1, 10, 12, 0, 0}, *zone, 0);
        ASSERT_TRUE(c.time);
        EXPECT_EQ(c.time->offset_seconds, std::string(z.name) == "Europe/Kiev" ? 2 * 3600 : z.offset);
    }

    // Aachen before standard time: its own mean time, not Berlin's.
    const auto berlin = parse_zone("Europe/Berlin", error);
    const Conversion aachen = to_universal({1880, 6, 1, 12, 0, 0}, *berlin, 6.0834);
    ASSERT_TRUE(aachen.time);
    EXPECT_EQ(aachen.time->abbreviation, "LMT");
    EXPECT_EQ(aachen.time->offset_seconds, 24 * 60 + 20);
    EXPECT_EQ(aachen.time->ut, (CivilTime{1880, 6, 1, 11, 35, 40}));
}

TEST(MakeChart, RefusesWhatTheFileCannotHoldAndNamesTheFileOneWay)
{
    struct Case {
        const char* what;
        void (*change)(BirthInput&);
        IntakeField field;
        const char* reason;  // a part of the refusal; "" when fine
    };
    const Case cases[] = {
        {"fine", [](BirthInput&) {}, IntakeField::name, ""},
        {"eleven characters", [](BirthInput& in) { in.name = "Meierhofers"; }, IntakeField::name, "Mehr als 10 Zeichen"},
        {"tab", [](BirthInput& in) { in.name = "Mei\ter"; }, IntakeField::name, "Steuerzeichen"},
        {"outside Windows-1252", [](BirthInput& in) { in.first_name = "\xC5\x81ukasz"; }, IntakeField::first_name, "\xC5\x81"},
        {"extra too long", [](BirthInput& in) { in.extra = "Berlin-Mitte"; }, IntakeField::extra, "10 Zeichen"},
        {"place with a control character as the extra",
         [](BirthInput& in) { in.place = std::string("Ku\0l", 4); }, IntakeField::extra, "Steuerzeichen"},
        {"Julian leap day", [](BirthInput& in) { in.date = "29.02.1500"; }, IntakeField::date, ""},
        {"no Gregorian leap day", [](BirthInput& in) { in.date = "29.02.1700"; }, IntakeField::date,
         "Den 29.02.1700 gibt es nicht: der Februar 1700 hat 28 Tage."},
        {"only the day wrong", [](BirthInput& in) { in.date = "30.2.1990"; }, IntakeField::date,
         "Den 30.02.1990 gibt es nicht: der Februar 1990 hat 28 Tage."},
        {"April", [](BirthInput& in) { in.date = "31.04.2001"; }, IntakeField::date, "der April 2001 hat 30 Tage."},
        {"no such month", [](BirthInput& in) { in.date = "1.13.1990"; }, IntakeField::date, "Einen Monat dieser Zahl"},
        {"year 0", [](BirthInput& in) { in.date = "1.1.0000"; }, IntakeField::date, "0001 bis 9999"},
        {"not a date at all", [](BirthInput& in) { in.date = "1990-02-01"; }, IntakeField::date, "(TT.MM.JJJJ, Jahr vierstellig)"},
        {"two-digit year", [](BirthInput& in) { in.date = "1.2.90"; }, IntakeField::date, "(TT.MM.JJJJ, Jahr vierstellig)"},
        {"no coordinates", [](BirthInput& in) { in.longitude.reset(); }, IntakeField::place, "Ohne Ort"},
        {"no atlas", [](BirthInput& in) { in.longitude.reset(); in.place = "Berlin"; }, IntakeField::place, "ohne Atlas"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BirthInput in = person("1.6.1960", "12:00");
        c.change(in);
        const IntakeResult r = make_chart(in, IntakeContext{});
        EXPECT_EQ(r.ok(), std::string(c.reason).empty()) << r.reasons();
        EXPECT_NE(r.refusal(c.field).find(c.reason), std::string::npos) << r.refusal(c.field);
    }
    const IntakeResult fine = make_chart(person("1.6.1960", "12:00"), IntakeContext{});
    EXPECT_EQ(fine.file_name, "MEIER.dat");
    EXPECT_EQ(fine.record, (chart_record{"Meier", "Hans", "01.06.1960", "12:00:00", "", "+008 00 00", "+50 00 00"}));
}

TEST(MakeChart, FileNamesKeepTheirUmlautsAndTwinsPairEveryCase)
{
    // The file name capitalises a-z only: the chart load compares umlauts exactly, so the name
    // with a capital umlaut would not load as the person "B\xE4" "cker".
    const chart_record baecker{"B\xE4" "cker", "Eva", "01.06.1960", "12:00:00", "", "+008 00 00", "+50 00 00"};
    EXPECT_EQ(chart_file_name(baecker.name), "B\xC3\xA4" "CKER.dat");
    EXPECT_TRUE(name_check("B\xE4" "CKER.dat", baecker));
    EXPECT_FALSE(name_check("B\xC4" "CKER.dat", baecker));

    // The drive of the other program tells no case of a letter apart: those names are one file.
    struct Case { const char* a; const char* b; bool twins; };
    const Case cases[] = {
        {"MEIER.dat", "meier.DAT", true},
        {"B\xC3\xA4" "CKER.dat", "B\xC3\x84" "CKER.dat", true},             // a-umlaut, A-umlaut
        {"b\xC3\xA4" "cker.dat", "B\xC3\x84" "CKER.DAT", true},
        {"\xC3\xB6" "\xC3\xBC" "\xC3\xA9" "\xC3\xB8.dat", "\xC3\x96" "\xC3\x9C" "\xC3\x89" "\xC3\x98.dat", true},  // o u e-acute o-slash
        {"\xC5\xA1" "\xC5\x93" "\xC5\xBE" "\xC3\xBF.dat", "\xC5\xA0" "\xC5\x92" "\xC5\xBD" "\xC5\xB8.dat", true},  // s oe z y
        {"M\xC3\x9C" "LLER.dat", "MULLER.dat", false},                       // an umlaut is not its vowel
        {"STRA\xC3\x9F" "E.dat", "STRASSE.dat", false},
        {"\xC3\xB7.dat", "\xC3\x97.dat", false},                               // division and multiplication signs
        {"\xC5\x81" "ODZ.dat", "\xC5\x82" "odz.dat", false},                   // no Windows-1252 form: bytes, a-z folded
        {"\xC5\x81" "ODZ.dat", "\xC5\x81" "odz.dat", true},
    };
    for (const Case& c : cases) EXPECT_EQ(case_twin_key(c.a) == case_twin_key(c.b), c.twins) << c.a << " " << c.b;

    test_support::TempDir dir;
    dir.write("B\xC3\x84" "CKER.dat", "");
    EXPECT_EQ(case_twin(dir.path(), "B\xC3\xA4" "CKER.dat"), dir.path() / "B\xC3\x84" "CKER.dat");
    EXPECT_FALSE(case_twin(dir.path(), "BACKER.dat"));
}

TEST(MakeChart, ThePlaceAsSpeltIsTheExtraAndAnAmbiguousOneIsListed)
{
    if (shipped_atlas().size() == 0) GTEST_SKIP() << "no atlas";
    BirthInput in = person("30.1.1958", "22:50");
    in.longitude.reset();
    in.latitude.reset();
    in.local_time = true;
    in.place = "Wien";
    const IntakeResult wien = make_chart(in, IntakeContext{&shipped_atlas()});
    ASSERT_TRUE(wien.ok()) << wien.reasons();
    EXPECT_EQ(wien.record.extra, "Wien");
    EXPECT_EQ(wien.place->name, "Vienna");
    EXPECT_EQ(wien.record.time, "21:50:00");

    in.place = "Neuenkirchen";
    in.country = "D";
    const IntakeResult many = make_chart(in, IntakeContext{&shipped_atlas()});
    EXPECT_FALSE(many.ok());
    EXPECT_EQ(many.candidates.size(), 5u);
    EXPECT_NE(many.refusal(IntakeField::place).find("mehrdeutig"), std::string::npos);
    EXPECT_NE(many.refusal(IntakeField::place).find("Niedersachsen"), std::string::npos);
}

TEST(ExchangeFiles, CsvByItsHeaderAndTextAsItComes)
{
    const chart_record meier{"Meier", "Hans", "01.06.1960", "11:00:00", "Mitte", "+013 24 00", "+52 30 00"};
    struct Case {
        const char* what;
        std::string bytes;
        std::string error;   // a part of the file's refusal; "" when read
        std::size_t cp1252;  // lines read as Windows-1252
    };
    const Case cases[] = {
        {"German order", "Name;Vorname;Datum;Zeit;Zone;Breite;Laenge;Zusatz\nMeier;Hans;1.6.1960;12:00;UTC+1;52.5;13.4;Mitte\n", "", 0},
        {"other order, L\xC3\xA4nge",
         "L\xC3\xA4nge;Breite;Vorname;Name;Zusatz;Datum;Zeit;Zone\n13.4;52.5;Hans;Meier;Mitte;1.6.1960;12:00;UTC+1\n", "", 0},
        {"English, commas, BOM, CR only", "\xEF\xBB\xBF" "last name,first name,date,time,zone,latitude,longitude,extra\r"
                                          "Meier,Hans,1.6.1960,12:00,UTC+1,52.5,13.4,Mitte\r", "", 0},
        {"no header", "Meier;Hans;1.6.1960;12:00;UTC+1;;;52.5;13.4;Mitte\n", "keine Kopfzeile", 0},
        {"unknown column", "Name;Vorname;Datum;Zeit;Zone;Breite;Laenge;Extrafeld\n", "\"Extrafeld\"", 0},
        {"doubled column", "Name;Name;Datum\n", "zweimal", 0},
        {"Windows-1252 line among UTF-8",
         "Name;Vorname;Datum;Zeit;Zone;Breite;Laenge;Zusatz\nMeier;Hans;1.6.1960;12:00;UTC+1;52.5;13.4;Mitte\n"
         "M\xFCller;J\xFCrgen;1.6.1960;12:00;UTC+1;52.5;13.4;Mitte\n", "", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ExchangeFile f = read_exchange(c.bytes, nullptr);
        EXPECT_EQ(f.cp1252_lines, c.cp1252);
        if (!c.error.empty()) {
            EXPECT_NE(f.error.find(c.error), std::string::npos) << f.error;
            EXPECT_TRUE(f.records.empty());
            continue;
        }
        ASSERT_TRUE(f.error.empty()) << f.error;
        ASSERT_FALSE(f.records.empty());
        ASSERT_TRUE(f.records[0].record) << f.records[0].error;
        EXPECT_EQ(*f.records[0].record, meier);
        if (c.cp1252 > 0) {
            // The UTF-8 line's umlauts stay whole, the Windows-1252 line is read as such.
            ASSERT_TRUE(f.records.at(1).record);
            EXPECT_EQ(f.records[1].record->name, "M\xFC" "ller");
            EXPECT_EQ(f.records[1].record->first_name, "J\xFC" "rgen");
        }
    }

    // What fuzzing found: a name of commas and tabs under a first line that is no header.
    const ExchangeFile fuzzed = read_exchange(
        "NmBerlin,D;\n\",,,,,,\t\t\t\t\t\t\t\t\t\t\t\t\t\t,,,,A;B\"yyyy;C;1.1.2000;22:30;UT;;;53;8.5;\n", nullptr);
    EXPECT_NE(fuzzed.error.find("keine Kopfzeile"), std::string::npos);
    EXPECT_TRUE(fuzzed.records.empty());
    const ExchangeFile tabs = read_exchange(
        "Name;Vorname;Datum;Zeit;Zone;Breite;Laenge\n\",,\t\tA;B\";C;1.1.2000;22:30;UT;53;8.5\n", nullptr);
    ASSERT_EQ(tabs.records.size(), 1u);
    EXPECT_NE(tabs.records[0].error.find("Steuerzeichen"), std::string::npos) << tabs.records[0].error;

    // Quoted line breaks: read as CSV reads them, then refused as a control character, with the line.
    const ExchangeFile broken = read_exchange(
        "Name;Datum;Zeit;Zone;Breite;Laenge\n\"Mei\ner\";1.6.1960;12:00;UT;1;1\nOtto;1.6.1960;12:00;UT;1;1\n\"Open;1\n", nullptr);
    ASSERT_EQ(broken.records.size(), 3u);
    EXPECT_EQ(broken.records[0].line, 2u);
    EXPECT_NE(broken.records[0].error.find("Steuerzeichen"), std::string::npos);
    EXPECT_EQ(broken.records[1].line, 4u);
    EXPECT_TRUE(broken.records[1].record);
    EXPECT_EQ(broken.records[2].line, 5u);
    EXPECT_NE(broken.records[2].error.find("Anf\xC3\xBChrungszeichen"), std::string::npos);

    // An AAF file with a byte order mark keeps its first person; the Julian day is the computation's.
    const ExchangeFile aaf = read_exchange("\xEF\xBB\xBF#A93:Alt,X,m,1.3.1500,00:30,*,*\r\n#B93:*,50n00,8e00,1he00,0\r\n", nullptr);
    ASSERT_EQ(aaf.records.size(), 1u);
    ASSERT_TRUE(aaf.records[0].record) << aaf.records[0].error;
    EXPECT_EQ(aaf.records[0].record->date, "29.02.1500");
    EXPECT_NE(write_aaf({*aaf.records[0].record}).find(std::to_string(chart_day_number(1500, 2, 29)) + ".479167"),
              std::string::npos);
}

TEST(ExchangeFiles, ExportRefusesCommasAndNotesWhatTheComputationReads)
{
    const chart_record comma{"Meier,Otto", "Hans", "01.06.1960", "12:00:00", "", "+008 00 00", "+50 00 00"};
    EXPECT_TRUE(aaf_refusal(comma));
    const chart_record looks_utf8{"M\xC3\xBC", "Hans", "01.06.1960", "12:00:00", "", "+008 00 00", "+50 00 00"};
    EXPECT_TRUE(aaf_refusal(looks_utf8));
    EXPECT_FALSE(aaf_refusal({"M\xFCller", "J\xFCrgen", "01.06.1960", "12:00:00", "K\xF6ln", "+008 00 00", "+50 00 00"}));
    const chart_record february{"Meier", "Hans", "31.02.1990", "12:00:00", "", "+008 00 00", "+50 00 00"};
    EXPECT_FALSE(aaf_refusal(february));
    ASSERT_TRUE(aaf_note(february));
    EXPECT_NE(aaf_note(february)->find("03.03.1990 12:00:00"), std::string::npos);
    const auto back = read_aaf(write_aaf({february}), nullptr);
    ASSERT_TRUE(back.at(0).record);
    EXPECT_EQ(back[0].record->date, "03.03.1990");
    const chart_record odd{"Meier", "Hans", "01.06.1960", "12:00:00", "", "+999 99 99", "+50 00 00"};
    ASSERT_TRUE(reading_note(odd));
    EXPECT_NE(reading_note(odd)->find("L\xC3\xA4nge"), std::string::npos);
    EXPECT_FALSE(reading_note(comma));
}

TEST(CliIntake, NewChartAsksWhereThePlaceIsAmbiguousAndImportAndExportSayWhatTheyLeaveOut)
{
    if (shipped_atlas().size() == 0) GTEST_SKIP() << "no atlas";
    using test_support::run_cli;
    test_support::TempDir dir;
    const auto chart = [&](const std::string& file, std::vector<std::string> more) {
        std::vector<std::string> args = {"new-chart", dir.file(file), "--name", file.substr(0, file.find('.')),
                                         "--first-name", "Hans", "--date", "1.6.1880", "--local-time", "12:00"};
        args.insert(args.end(), more.begin(), more.end());
        return run_cli(args);
    };
    struct Case {
        const char* file;
        std::vector<std::string> place;
        int status;
        const char* said;  // a part of stdout (status 0) or stderr
    };
    const Case cases[] = {
        {"AACHEN.dat", {"--place", "Aachen"}, 0, "LMT (L\xC3\xA4nge +006 05 00, UTC+00:24:20) = Weltzeit 01.06.1880 11:35:40"},
        {"POECKING.dat", {"--place", "Poecking"}, 1, "mehrdeutig"},
        {"AU.dat", {"--place", "Au", "--country", "CH"}, 1, "Au, Z\xC3\xBCrich, CH"},
        {"AU.dat", {"--place", "Au", "--country", "CH", "--region", "St. Gallen"}, 0, "Ort: Au, St. Gallen, CH"},
        {"WIEN.dat", {"--place", "Wien"}, 0, "Ort: Vienna, Wien, AT"},
        {"Wien.dat", {"--place", "Wien"}, 1, "WIEN.dat\" gibt es schon"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const auto run = chart(c.file, c.place);
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_NE((c.status == 0 ? run.out : run.err).find(c.said), std::string::npos) << run.out << run.err;
    }
    const std::string wien = dir.read("WIEN.dat");
    ASSERT_EQ(wien.size(), chart_record_size);
    EXPECT_EQ(read_chart_record(std::span<const unsigned char, chart_record_size>(
                  reinterpret_cast<const unsigned char*>(wien.data()), chart_record_size)).extra,
              "Wien");  // the extra as typed

    // Import refuses an eleven-character name and a case-only twin, and counts Windows-1252 lines.
    const std::string csv = dir.write("in.csv", "Name;Vorname;Datum;Zeit;Zone;Breite;L\xC3\xA4nge\n"
                                                "Meierhofers;Hans;1.6.1960;12:00;UT;50;8\n"
                                                "M\xFCller;Hans;1.6.1960;12:00;UT;50;8\n"
                                                "Aachen;Hans;1.6.1960;12:00;UT;50;8\n");
    const auto imported = run_cli({"import", csv, "--to", dir.path().string()});
    EXPECT_EQ(imported.status, 1);
    EXPECT_EQ(imported.out, "1 geschrieben, 2 \xC3\xBC" "bersprungen, 1 Zeilen als Windows-1252 gelesen\n");
    EXPECT_NE(imported.err.find(":2: Name: Mehr als 10 Zeichen"), std::string::npos) << imported.err;
    EXPECT_NE(imported.err.find(":4: Aachen: Die Datei AACHEN.dat"), std::string::npos) << imported.err;
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "M\xC3\xBCLLER.dat"));
    const auto no_header = run_cli({"import", dir.write("bare.csv", "Meier;Hans;1.6.1960;12:00;UT;50;8\n"), "--to",
                                    dir.path().string()});
    EXPECT_EQ(no_header.status, 1);
    EXPECT_NE(no_header.err.find("keine Kopfzeile"), std::string::npos);

    // Export: 31.02.1990 as the computation reads it, a comma named and counted.
    const auto bytes = [](const chart_record& r) { return chart_record_bytes(r); };
    dir.write("odd/MEIER.dat", bytes({"Meier", "Hans", "31.02.1990", "12:00:00", "", "+008 00 00", "+50 00 00"}));
    dir.write("odd/A,B.dat", bytes({"A,B", "Hans", "01.02.1990", "12:00:00", "", "+008 00 00", "+50 00 00"}));
    const auto exported = run_cli({"export", dir.file("odd"), "--aaf", dir.file("odd.aaf")});
    EXPECT_EQ(exported.status, 1);
    EXPECT_EQ(exported.out, "1 geschrieben, 1 \xC3\xBC" "bersprungen\n");
    EXPECT_NE(exported.err.find("A,B.dat: \"A,B\" enth\xC3\xA4lt ein Komma"), std::string::npos) << exported.err;
    EXPECT_NE(exported.err.find("die Berechnung liest 03.03.1990 12:00:00"), std::string::npos) << exported.err;
}

TEST(CliIntake, RankAndExportFindARelativeNameInDriveC)
{
    using test_support::run_cli;
    test_support::TempDir dir;
    const auto exported = run_cli({"export", "WEIDNER.dat", "--aaf", dir.file("w.aaf"), "--drive-c", DUOSKOP_SOURCE_DRIVE_C});
    EXPECT_EQ(exported.status, 0) << exported.err;
    EXPECT_NE(dir.read("w.aaf").find("#A93:Weidner"), std::string::npos);
    const auto ranked = run_cli({"rank", "ALBRECHT.dat", "KRANICH.dat", "--double", "1,0", "--simple", "0,5",
                                 "--drive-c", DUOSKOP_SOURCE_DRIVE_C});
    EXPECT_EQ(ranked.status, 0) << ranked.err;
    EXPECT_NE(ranked.out.find("KRANICH.dat"), std::string::npos);
}

TEST(KarteiListing, ALoadableFileOfNoRealDateSaysWhatTheComputationReads)
{
    test_support::TempDir dir;
    struct Case {
        const char* date;
        const char* time;
        const char* longitude;
        const char* note;  // a part of the Hinweis (UTF-8); "" for none
    };
    const Case cases[] = {
        {"01.06.1960", "12:00:00", "+008 00 00", ""},
        {"31.02.1990", "12:00:00", "+008 00 00", "die Berechnung liest 03.03.1990 12:00:00"},
        {"01.06.1960", "12:00:00", "+999 99 99", "Die L\xC3\xA4nge \"+999 99 99\" ist keine Koordinate"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.date) + " " + c.longitude);
        dir.write("MEIER.dat", chart_record_bytes({"Meier", "Hans", c.date, c.time, "", c.longitude, "+50 00 00"}));
        const KarteiEntry e = read_entry(dir.path(), dir.path() / "MEIER.dat");
        ASSERT_TRUE(e.loadable);
        EXPECT_EQ(e.reason.empty(), std::string(c.note).empty());
        EXPECT_NE(cp1252_to_utf8(e.reason).find(c.note), std::string::npos) << cp1252_to_utf8(e.reason);
    }
}
