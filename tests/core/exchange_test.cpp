// SPDX-License-Identifier: GPL-3.0-or-later
// The exchange formats: AAF with and without #B93, CSV with good and bad lines, AAF written and
// read back, and duoskop-cli import/export with their reports and the files they leave.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "app/chart_file.h"
#include "birth/exchange.h"
#include "tests/core/test_support.h"

using namespace duoskop;
using test_support::run_cli;
using test_support::TempDir;

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

/// The chart record of an imported record, or its error.
std::string outcome(const ImportedRecord& r)
{
    if (!r.data) return std::to_string(r.line) + ": " + r.error;
    std::string why;
    const auto rec = chart_record_of(*r.data, why);
    if (!rec) return std::to_string(r.line) + ": " + why;
    return std::to_string(r.line) + ": " + rec->name + "|" + rec->first_name + "|" + rec->date + "|" + rec->time +
           "|" + rec->extra + "|" + rec->longitude_text + "|" + rec->latitude_text;
}

std::vector<std::string> outcomes(const std::vector<ImportedRecord>& records)
{
    std::vector<std::string> out;
    for (const auto& r : records) out.push_back(outcome(r));
    return out;
}

chart_record read_record(const std::string& bytes)
{
    std::array<unsigned char, chart_record_size> raw{};
    std::memcpy(raw.data(), bytes.data(), std::min(bytes.size(), raw.size()));
    return read_chart_record(raw);
}

}  // namespace

TEST(Aaf, JulianDayZoneDifferenceOrPlaceDecideTheTime)
{
    const std::string aaf =
        "#: Beispiele\r\n"
        "#A93:Muster,Anna,w,27.9.1970,11:04,Kandel/Pfalz,D\r\n"
        "#B93:*,49n05,8e11,1he,0\r\n"
        "#ZNAM:Sommer\r\n"
        "#A93:Beispiel,Paul,m,19.1.1839,1:00,Aix-En-Provence,F\r\n"
        "#B93:2392758.526528,43n31,5e27,0e21:48,m\r\n"
        "#A93: Ohne , B93 ,m, 1.6.1945 , 12:00 , Berlin , D \r\n"
        "#COM: Zeit und Ort aus Atlas und Zeitzonendatenbank\r\n"
        "#A93:Sommer,Eva,w,1.7.1980,12:00,*,*\r\n"
        "#B93:*,52n31,13e24,1he00,1\r\n"
        "#A93:Unbekannt,Zeit,w,2.3.1960,*,Wien,A\r\n"
        "#A93:M\xFC" "ller,J\xF6rg,m,1.5.1960,8:00,K\xF6ln,D\r\n"  // Windows-1252 file
        "#A93:Westen,Tom,m,4.7.1976,12:00,*,USA\r\n"
        "#B93:*,40n43,74w00,5hw00,1\r\n";
    EXPECT_EQ(outcomes(read_aaf(aaf, &shipped_atlas())),
              (std::vector<std::string>{
                  "2: Muster|Anna|27.09.1970|10:04:00|Kandel/Pfa|+008 11 00|+49 05 00",
                  "5: Beispiel|Paul|19.01.1839|00:38:12|Aix-En-Pro|+005 27 00|+43 31 00",
                  "7: Ohne|B93|01.06.1945|09:00:00|Berlin|+013 24 38|+52 31 28",
                  "9: Sommer|Eva|01.07.1980|10:00:00||+013 24 00|+52 31 00",
                  "11: Unbekannt|Zeit|02.03.1960|12:00:00|Wien|+016 22 20|+48 12 31",
                  "12: M\xFCller|J\xF6rg|01.05.1960|07:00:00|K\xF6ln|+006 57 00|+50 56 00",
                  "13: Westen|Tom|04.07.1976|16:00:00||-074 00 00|+40 43 00",
              }));
}

TEST(Aaf, BadRecordsNameLineAndReason)
{
    const std::string aaf =
        "#B93:*,49n05,8e11,1he,0\n"
        "#A93:Kurz,Satz\n"
        "#A93:Datum,X,m,31.2.1970,11:04,Berlin,D\n"
        "#A93:Ort,X,m,1.2.1970,11:04,Xyzzyq,D\n"
        "#A93:Breite,X,m,1.2.1970,11:04,Berlin,D\n"
        "#B93:*,49x05,8e11,1he,0\n"
        "#A93:Zone,X,m,1.2.1970,11:04,Berlin,D\n"
        "#B93:*,49n05,8e11,1h,0\n"
        "#A93:Luecke,X,m,6.4.1980,2:30,Berlin,D\n"
        "#A93:*,X,m,6.4.1980,2:30,Berlin,D\n"
        "#A93:Gut,X,m,1.2.1970,11:04,Berlin,D\n";
    const auto records = read_aaf(aaf, &shipped_atlas());
    ASSERT_EQ(records.size(), 9u);
    EXPECT_EQ(outcome(records[0]), "1: Der Satz #B93 steht vor jedem #A93.");
    EXPECT_EQ(outcome(records[1]), "2: Der Satz #A93 hat nicht die sieben Felder Name, Vorname, Typ, Datum, Zeit, Ort, Land.");
    EXPECT_EQ(outcome(records[2]), "3: Datum: Den 31.02.1970 gibt es nicht: der Februar 1970 hat 28 Tage.");
    EXPECT_EQ(outcome(records[3]), "4: Ort: Der Ort \"Xyzzyq\" (DE) steht nicht im Atlas.");
    EXPECT_EQ(outcome(records[4]), "5: Die Breite in Zeile 6 ist nicht wie 49n05.");
    EXPECT_EQ(outcome(records[5]), "7: Zone oder Sommerzeit in Zeile 8 sind nicht wie 1he00 und 0 oder 1.");
    EXPECT_NE(outcome(records[6]).find("9: Zeit: Die Ortszeit 06.04.1980 02:30:00 gibt es in Europe/Berlin nicht"), std::string::npos)
        << outcome(records[6]);
    EXPECT_EQ(outcome(records[7]), "10: Bitte einen Namen eingeben.");
    EXPECT_EQ(outcome(records[8]), "11: Gut|X|01.02.1970|10:04:00|Berlin|+013 24 38|+52 31 28");
    // Without the atlas only records that carry zone and coordinates can be used.
    EXPECT_EQ(outcome(read_aaf("#A93:Ort,X,m,1.2.1970,11:04,Berlin,D\n", nullptr).at(0)),
              "1: Ort: Der Ort \"Berlin\" kann ohne Atlas nicht gesucht werden.");
}

TEST(Aaf, WrittenRecordsReadBackToTheSameRecords)
{
    const std::vector<chart_record> records = {
        {"Meier", "Hans", "01.05.1960", "06:30:45", "K\xF6ln", "+006 57 00", "+50 56 00"},
        {"Sao, Jo", "Ana", "23.07.1975", "15:00:00", "", "-046 38 10", "-23 32 51"},
        {"Alt", "", "19.01.1839", "00:38:12", "Aix", "+005 27 00", "+43 31 00"},
    };
    const std::string aaf = write_aaf(records);
    EXPECT_EQ(aaf.substr(0, aaf.find("\r\n#A93", 1)),
              "#A93:Meier,Hans,*,01.05.1960,06:30:45,K\xF6ln,*\r\n"
              "#B93:2437055.771354,50n56,6e57,0he00,0");
    const auto back = read_aaf(aaf, nullptr);
    ASSERT_EQ(back.size(), records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        ASSERT_TRUE(back[i].data) << back[i].error;
        std::string why;
        chart_record expected = records[i];
        if (i == 1) expected.name = "Sao  Jo";  // the comma would split the field
        EXPECT_EQ(chart_record_of(*back[i].data, why), expected);
    }
}

TEST(Csv, GoodAndBadLines)
{
    const std::string csv =
        "Name;Vorname;Datum;Zeit;Zone;Ort;Land;Breite;Laenge;Zusatz\n"
        "Meier;Hans;1.6.1945;12:00;;Berlin;DE;;;\n"
        "\"Doe; Jr.\";\"John \"\"J\"\"\";23.7.1975;12:00;America/Sao_Paulo;S\xC3\xA3o Paulo;BR;-23,5475;-46.6361;SP\n"
        "Welt;Zeit;1.1.2000;23:30;UT;;;53 33 00;8.5;\n"
        "\n"
        "Ohne;Zeit;2.3.1960;;;Zuerich;CH;;;\n"
        "Kurz;Zeile;1.1.2000\n"
        "Quote;\"offen;1.1.2000;12:00;UT;;;1;1;\n"
        "Zone;X;1.1.2000;12:00;Mars/Olympus;;;1;1;\n"
        "Breite;X;1.1.2000;12:00;UT;;;91;1;\n"
        "Luecke;X;6.4.1980;2:30;;Berlin;D;;;\n"
        "Herbst;X;28.9.1980;2:30;;Berlin;D;;;\n";
    const auto records = read_csv(csv, &shipped_atlas());
    ASSERT_EQ(records.size(), 10u);
    EXPECT_EQ(outcome(records[0]), "2: Meier|Hans|01.06.1945|09:00:00|Berlin|+013 24 38|+52 31 28");
    EXPECT_EQ(outcome(records[1]), "3: Doe; Jr.|John \"J\"|23.07.1975|15:00:00|SP|-046 38 10|-23 32 51");
    EXPECT_EQ(outcome(records[2]), "4: Welt|Zeit|01.01.2000|23:30:00||+008 30 00|+53 33 00");
    EXPECT_EQ(outcome(records[3]), "6: Ohne|Zeit|02.03.1960|12:00:00|Zuerich|+008 33 00|+47 22 00");
    EXPECT_EQ(outcome(records[4]), "7: Die Zeile hat 3 Felder, die Kopfzeile nennt 10.");
    EXPECT_EQ(outcome(records[5]), "8: Ein Anf\xC3\xBChrungszeichen wird nicht geschlossen.");
    EXPECT_NE(outcome(records[6]).find("9: Die Zeitzone \"Mars/Olympus\" ist unbekannt"), std::string::npos);
    EXPECT_EQ(outcome(records[7]), "10: Die Breite \"91\" ist keine Koordinate.");
    EXPECT_NE(outcome(records[8]).find("11: Zeit: Die Ortszeit 06.04.1980 02:30:00 gibt es in Europe/Berlin nicht"),
              std::string::npos);
    EXPECT_NE(outcome(records[9]).find("12: Zeit: Die Ortszeit 28.09.1980 02:30:00 gibt es in Europe/Berlin zweimal"),
              std::string::npos);
}

TEST(CliExchange, ImportWritesTheGoodRecordsReportsTheBadOnesAndNeverOverwrites)
{
    TempDir dir;
    const std::string aaf = dir.write("in.aaf",
                                      "#A93:Muster,Anna,w,27.9.1970,11:04,Kandel/Pfalz,D\n"
                                      "#B93:*,49n05,8e11,1he,0\n"
                                      "#A93:Kaputt,X,m,31.2.1970,11:04,Berlin,D\n"
                                      "#A93:muster,Zwei,w,1.1.1970,11:04,Berlin,D\n"
                                      "#A93:Muster,Drei,w,1.1.1970,11:04,Berlin,D\n");
    std::filesystem::create_directory(dir.path() / "out");
    const auto run = run_cli({"import", aaf, "--to", dir.file("out")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "1 geschrieben, 3 \xC3\xBC" "bersprungen\n");
    EXPECT_EQ(run.err, aaf + ":3: Datum: Den 31.02.1970 gibt es nicht: der Februar 1970 hat 28 Tage.\n" + aaf +
                           ":4: Der Name \"muster\" kam schon in Zeile 1 vor; die Datei wird nicht zweimal geschrieben.\n" + aaf +
                           ":5: Der Name \"Muster\" kam schon in Zeile 1 vor; die Datei wird nicht zweimal geschrieben.\n");
    EXPECT_EQ(read_record(dir.read("out/MUSTER.dat")),
              (chart_record{"Muster", "Anna", "27.09.1970", "10:04:00", "Kandel/Pfa", "+008 11 00", "+49 05 00"}));

    // Again: the file exists, also in another case. It holds this very chart: nothing to do for it.
    std::filesystem::rename(dir.path() / "out/MUSTER.dat", dir.path() / "out/Muster.dat");
    const auto again = run_cli({"import", aaf, "--to", dir.file("out")});
    EXPECT_EQ(again.out, "0 geschrieben, 3 \xC3\xBC" "bersprungen, 1 schon vorhanden\n");
    EXPECT_EQ(again.err.find("Muster.dat"), std::string::npos) << again.err;
    // The same person with another time is named as such, another person as another one; only
    // --force replaces the file.
    const std::string changed = dir.write("changed.aaf", "#A93:Muster,Anna,w,27.9.1970,11:05,Kandel/Pfalz,D\n"
                                                         "#B93:*,49n05,8e11,1he,0\n"
                                                         "#A93:Muster,Berta,w,27.9.1970,11:05,Kandel/Pfalz,D\n"
                                                         "#B93:*,49n05,8e11,1he,0\n");
    const auto other = run_cli({"import", changed, "--to", dir.file("out")});
    EXPECT_EQ(other.out, "0 geschrieben, 2 \xC3\xBC" "bersprungen\n");
    EXPECT_NE(other.err.find(":1: Muster: Die Datei Muster.dat h\xC3\xA4lt schon ein Horoskop dieser Person mit anderen "
                             "Daten; sie bleibt, wie sie ist."),
              std::string::npos)
        << other.err;
    EXPECT_NE(other.err.find(":3: Muster: Die Datei Muster.dat geh\xC3\xB6rt schon einer anderen Person"), std::string::npos)
        << other.err;
    EXPECT_EQ(run_cli({"import", aaf, "--to", dir.file("out"), "--force"}).out,
              "1 geschrieben, 3 \xC3\xBC" "bersprungen\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "out/MUSTER.dat"));  // replaced in its own case

    const std::string csv = dir.write("in.csv", std::string(csv_columns) + "\nMeier;Hans;1.6.1945;12:00;;Berlin;DE;;;\n");
    const auto from_csv = run_cli({"import", csv, "--to", dir.file("out")});
    EXPECT_EQ(from_csv.status, 0) << from_csv.err;
    EXPECT_EQ(read_record(dir.read("out/MEIER.dat")).time, "09:00:00");

    // Export of the folder (the stray file is passed over) and import of that export.
    dir.write("out/notes.txt", "no chart");
    const auto exported = run_cli({"export", dir.file("out"), "--aaf", dir.file("all.aaf")});
    EXPECT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(exported.out, "2 geschrieben, 0 \xC3\xBC" "bersprungen\n");
    std::filesystem::create_directory(dir.path() / "back");
    EXPECT_EQ(run_cli({"import", dir.file("all.aaf"), "--to", dir.file("back")}).status, 0);
    EXPECT_EQ(dir.read("back/MEIER.dat"), dir.read("out/MEIER.dat"));
    EXPECT_EQ(dir.read("back/MUSTER.dat"), dir.read("out/Muster.dat"));

    // A named file that is no chart file is reported and counted.
    const auto bad = run_cli({"export", dir.file("out/notes.txt"), dir.file("out/MEIER.dat"), "--aaf", dir.file("x.aaf")});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out, "1 geschrieben, 1 \xC3\xBC" "bersprungen\n");
    EXPECT_EQ(run_cli({"import", aaf}).status, 2);
    EXPECT_EQ(run_cli({"export", dir.file("out")}).status, 2);
}

TEST(Exchange, CommentsTagsStarsAndFilesWithoutARecord)
{
    // A CSV file may begin with comment lines; AAF tags are read in any case.
    const ExchangeFile csv = read_exchange("# Export vom 1.1.2000\r\n#\r\n" + std::string(csv_columns) +
                                               "\r\nWelt;Zeit;1.1.2000;23:30;UT;;;53 33 00;8.5;\r\n",
                                           nullptr);
    ASSERT_EQ(csv.error, "");
    EXPECT_EQ(outcomes(csv.records), std::vector<std::string>{"4: Welt|Zeit|01.01.2000|23:30:00||+008 30 00|+53 33 00"});
    const ExchangeFile aaf = read_exchange("#: klein geschrieben\n#a93:Klein,Tag,*,1.7.1980,12:00,*,*\n"
                                           "#b93:*,52n31,13e24,1he00,1\n",
                                           nullptr);
    ASSERT_EQ(aaf.error, "");
    EXPECT_EQ(outcomes(aaf.records), std::vector<std::string>{"2: Klein|Tag|01.07.1980|10:00:00||+013 24 00|+52 31 00"});

    // A file in which no record is recognised is refused whole, whichever reader it goes to.
    const std::string none = "In der Datei steht kein Satz: weder #A93 (AAF) noch eine Zeile unter einer "
                             "CSV-Kopfzeile. Nichts eingelesen.";
    for (const std::string& bytes : std::vector<std::string>{"", "\r\n\r\n", "# nur ein Kommentar\n", "#: AAF-Kommentar\n#ZNAM:x\n",
                                                         std::string(csv_columns) + "\n\n"}) {
        SCOPED_TRACE(bytes);
        EXPECT_EQ(read_exchange(bytes, nullptr).error, none);
        EXPECT_EQ(read_aaf_file(bytes, nullptr).error, none);
    }

    // "*" is AAF's "not given"; a name, first name or extra of stars comes back all the same.
    const std::vector<chart_record> starred = {
        {"*", "*", "01.05.1960", "06:30:45", "**", "+006 57 00", "+50 56 00"},
        {"Stern", "", "01.05.1960", "06:30:45", "", "+006 57 00", "+50 56 00"},
    };
    const std::string written = write_aaf(starred);
    EXPECT_EQ(written.substr(0, written.find("\r\n")), "#A93:**,**,*,01.05.1960,06:30:45,***,*");
    const auto back = read_aaf(written, nullptr);
    ASSERT_EQ(back.size(), starred.size());
    for (std::size_t i = 0; i < starred.size(); ++i) {
        ASSERT_TRUE(back[i].record) << back[i].error;
        EXPECT_EQ(*back[i].record, starred[i]);
    }
}

TEST(CliExchange, NothingToImportOrExportIsAFailureThatChangesNothing)
{
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "out");
    // Comment lines before the header: the records are read, not passed over.
    const std::string commented = dir.write("c.csv", "# aus der Kartei\n" + std::string(csv_columns) +
                                                         "\nWelt;Zeit;1.1.2000;23:30;UT;;;53 33 00;8.5;\n");
    const auto imported = run_cli({"import", commented, "--to", dir.file("out")});
    EXPECT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(imported.out, "1 geschrieben, 0 \xC3\xBC" "bersprungen\n");
    const auto nothing = run_cli({"import", dir.write("leer.csv", std::string(csv_columns) + "\n"), "--to", dir.file("out")});
    EXPECT_EQ(nothing.status, 1);
    EXPECT_NE(nothing.err.find("kein Satz"), std::string::npos) << nothing.err;

    // A second person of the same name lies in a subfolder: export of the folder takes it too.
    chart_record second = read_record(dir.read("out/WELT.dat"));
    second.first_name = "Zwei";
    dir.write("out/Welt 2/WELT.dat", chart_record_bytes(second));
    const auto all = run_cli({"export", dir.file("out"), "--aaf", dir.file("all.aaf")});
    EXPECT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(all.out, "2 geschrieben, 0 \xC3\xBC" "bersprungen\n");
    EXPECT_NE(dir.read("all.aaf").find("#A93:Welt,Zwei,"), std::string::npos);

    // A source that loads nothing (a typo, an empty folder) leaves the target as it was.
    std::filesystem::create_directory(dir.path() / "leer");
    for (const std::string& source : {dir.file("out/WETL.dat"), dir.file("leer")}) {
        const auto failed = run_cli({"export", source, "--aaf", dir.file("all.aaf")});
        EXPECT_EQ(failed.status, 1) << source;
        EXPECT_NE(failed.err.find("die Datei bleibt, wie sie war"), std::string::npos) << failed.err;
        EXPECT_NE(dir.read("all.aaf").find("#A93:Welt,Zwei,"), std::string::npos) << source;
    }
}
