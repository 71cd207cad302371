// SPDX-License-Identifier: GPL-3.0-or-later
// Loading a chart file (holen): files made in the test, good and bad.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <functional>

#include "app/chart_file.h"
#include "app/dial.h"
#include "astro/std_ho.h"
#include "tests/core/test_support.h"

using namespace duoskop;
namespace fs = std::filesystem;

namespace {

chart_record make_record(std::string name, std::string date = "01.01.1990",
                         std::string time = "00:00:00")
{
    return {std::move(name), "Hans", std::move(date), std::move(time), "Hamburg", "+010 00 00",
            "+53 33 00"};
}

std::string record_bytes(const std::string& name) { return chart_record_bytes(make_record(name)); }

bool same_state(const ChartState& a, const ChartState& b)
{
    return a.person1 == b.person1 && a.person2 == b.person2 && a.pos1 == b.pos1 &&
           a.pos2 == b.pos2 && a.positions == b.positions && a.birth == b.birth &&
           a.axes.axis_value == b.axes.axis_value && a.axes.axis_name == b.axes.axis_name;
}

struct Holen : ::testing::Test {
    std::string write(const std::string& file_name, const std::string& bytes)
    {
        return dir_.write(file_name, bytes);
    }
    std::string write(const std::string& file_name, const chart_record& record)
    {
        return write(file_name, chart_record_bytes(record));
    }

    // A state that a failed load must leave exactly as it is.
    ChartState loaded_state()
    {
        ChartState state;
        EXPECT_EQ(holen(write("Alt.dat", make_record("Alt", "12.04.1992")), 1, state).outcome,
                  LoadOutcome::loaded);
        EXPECT_EQ(holen(write("Zwei.dat", make_record("Zwei", "01.06.1850", "10:00:00")), 2, state).outcome,
                  LoadOutcome::loaded);
        return state;
    }

    test_support::TempDir dir_;
};

}  // namespace

TEST_F(Holen, A77ByteFileLoadsAndComputesTheChart)
{
    const chart_record record = make_record("Meier");
    const std::string path = write("MEIER.DAT", record);
    ASSERT_EQ(fs::file_size(path), 77u);
    ChartState state;
    const LoadResult r = holen(path, 1, state);
    EXPECT_EQ(r.outcome, LoadOutcome::loaded);
    EXPECT_TRUE(r.message.empty());
    EXPECT_FALSE(r.ends_program());
    EXPECT_EQ(state.person1, record);
    EXPECT_EQ(state.birth, werte_aktual(record));
    EXPECT_EQ(state.pos1, f_rechnen(werte_aktual(record)));
    EXPECT_EQ(state.positions, state.pos1);
    EXPECT_NEAR(state.pos1[0], 108.8243, 5e-5);  // MC of 1 January 1990, 0h, 10 E, 53.55 N
    EXPECT_EQ(state.pos1[1], 0.0);
    EXPECT_EQ(state.pos1[23], 0.0);
    EXPECT_EQ(state.pos2, Positions{});
    EXPECT_EQ(state.person2, chart_record{});
}

TEST_F(Holen, BytesAfterTheFirstRecordAreIgnored)
{
    const std::string bytes =
        record_bytes("Meier") + chart_record_bytes(make_record("Other", "02.02.1902")) + "garbage";
    ChartState state;
    EXPECT_EQ(holen(write("Meier.dat", bytes), 1, state).outcome, LoadOutcome::loaded);
    EXPECT_EQ(state.person1, make_record("Meier"));
}

TEST_F(Holen, FailuresReportTheirMessageAndChangeNothing)
{
    struct Case {
        const char* what;
        std::function<std::string(Holen&)> prepare;  // makes the file; its path
        LoadOutcome outcome;
        std::string message;  // "@" stands for the path
        bool ends_program;
    };
    const std::string not_a_chart = " ist keine Horoskop-Datei.";
    std::string length_200 = record_bytes("Meier");
    length_200[0] = static_cast<char>(200);  // "Meier" and five blanks against "Meier_Hans"
    const auto file = [](const char* name, std::string bytes) {
        return [=](Holen& t) { return t.write(name, bytes); };
    };
    const auto path = [](std::string name) { return [=](Holen& t) { return t.dir_.file(name); }; };
    const std::vector<Case> cases = {
        {"76 bytes", file("Meier.dat", record_bytes("Meier").substr(0, 76)), LoadOutcome::cannot_read,
         "Ladeversuch mit @ ging daneben", true},
        {"empty", file("Meier.dat", ""), LoadOutcome::cannot_read, "Ladeversuch mit @ ging daneben", true},
        {"missing", path("Nirgends.dat"), LoadOutcome::cannot_open, "Datei nicht gefunden", false},
        {"no name", [](Holen&) { return std::string(); }, LoadOutcome::cannot_open, "Datei nicht gefunden",
         false},
        {"NUL in the name", [](Holen&) { return std::string("Mei\0er.dat", 10); }, LoadOutcome::cannot_open,
         "Ung\xFCltiger Dateiname", false},
        {"name too long", path(std::string(300, 'x')), LoadOutcome::cannot_open, "Ung\xFCltiger Dateiname",
         false},
        {"directory",
         [](Holen& t) {
             fs::create_directory(t.dir_.path() / "Ordner.dat");
             return t.dir_.file("Ordner.dat");
         },
         LoadOutcome::cannot_open, "Dateizugriff verweigert", false},
        {"name shorter than the file's", file("MEIER.DAT", record_bytes("Meie")), LoadOutcome::not_a_chart,
         "MEIER.DAT" + not_a_chart, true},
        {"length byte 200 counts the blanks", file("Meier_Hans.dat", length_200), LoadOutcome::not_a_chart,
         "Meier_Hans.dat" + not_a_chart, true},
        {"cut at the first dot", file("A.B.DAT", record_bytes("Berta")), LoadOutcome::not_a_chart,
         "A.B.DAT" + not_a_chart, true},
        {"umlaut not folded", file("m\u00FCller.dat", record_bytes("M\xDCLLER")), LoadOutcome::not_a_chart,
         "m\xFCller.dat" + not_a_chart, true},
        {"no Windows-1252 form", file("\u0141ukasz.dat", record_bytes("?ukasz")), LoadOutcome::not_a_chart,
         "?ukasz.dat" + not_a_chart, true},
        {"file name not UTF-8", file("M\xFCller.dat", record_bytes("M\xFCller")), LoadOutcome::not_a_chart,
         "M\xFCller.dat" + not_a_chart, true},
    };
    for (const Case& c : cases) {
        const std::string file_path = c.prepare(*this);
        std::string message = c.message;
        if (const auto at = message.find('@'); at != std::string::npos) message.replace(at, 1, file_path);
        for (int person : {1, 2}) {
            ChartState state = loaded_state();
            const ChartState before = state;
            const LoadResult r = holen(file_path, person, state);
            EXPECT_EQ(r.outcome, c.outcome) << c.what;
            EXPECT_EQ(r.message, message) << c.what;
            EXPECT_EQ(r.ends_program(), c.ends_program) << c.what;
            EXPECT_TRUE(same_state(state, before)) << c.what;
        }
    }
}

TEST_F(Holen, AnUnreadableFileCannotBeOpened)
{
    if (::geteuid() == 0) GTEST_SKIP() << "root reads files whatever their permissions";
    ChartState state = loaded_state();
    const ChartState before = state;
    const std::string path = write("Meier.dat", make_record("Meier"));
    fs::permissions(path, fs::perms::none);
    const LoadResult r = holen(path, 1, state);
    EXPECT_EQ(r.outcome, LoadOutcome::cannot_open);
    EXPECT_EQ(r.message, "Dateizugriff verweigert");
    EXPECT_TRUE(same_state(state, before));
}

TEST_F(Holen, FileNamesThatPassTheNameCheck)
{
    // The file name is UTF-8, the record Windows-1252; the name is compared up to the first dot.
    for (const auto& [file, name] : std::vector<std::pair<std::string, std::string>>{
             {"MEIER.DAT", "Meier"}, {"MEIER.DAT", "Meierhof"}, {"Irgendwas", "Meier"}, {"A.B.DAT", "Abel"},
             {"M\u00FCller.dat", "M\xFCller"}, {"M\u00FCLLER.DAT", "M\xFCller"}}) {
        ChartState state;
        EXPECT_EQ(holen(write(file, make_record(name)), 2, state).outcome, LoadOutcome::loaded) << file;
        EXPECT_EQ(state.person2.name, name) << file;
    }
}

TEST_F(Holen, LengthBytesAbove10CountAs10)
{
    for (int length : {11, 12, 77, 128, 255}) {
        std::string bytes = record_bytes("Meier");
        for (std::size_t f = 0; f < 7; ++f) bytes[f * 11] = static_cast<char>(length);
        ChartState state;
        const LoadResult r = holen(write("Meier.dat", bytes), 1, state);
        EXPECT_EQ(r.outcome, LoadOutcome::loaded) << length;
        EXPECT_EQ(state.person1.name, "Meier     ") << length;  // the padding now counts
        EXPECT_EQ(state.person1.first_name, "Hans      ") << length;
        EXPECT_EQ(state.person1.date, "01.01.1990") << length;
        EXPECT_EQ(state.pos1, f_rechnen(werte_aktual(make_record("Meier")))) << length;
    }
}

TEST_F(Holen, EachPersonKeepsItsOwnValues)
{
    ChartState state;
    const chart_record a = make_record("Anna", "12.04.1992");
    const chart_record b = make_record("Berta", "13.10.1992");
    const chart_record c = make_record("Clara", "01.06.1850", "10:00:00");
    ASSERT_EQ(holen(write("Anna.dat", a), 1, state).outcome, LoadOutcome::loaded);
    ASSERT_EQ(holen(write("Berta.dat", b), 2, state).outcome, LoadOutcome::loaded);
    const Positions pos2 = state.pos2;
    EXPECT_EQ(state.person2, b);
    EXPECT_EQ(state.positions, pos2);
    // Person 2 forms the search axes.
    SearchAxes axes;
    form_search_axes(state.pos1, state.pos2, axes);
    EXPECT_EQ(state.axes.axis_value, axes.axis_value);
    EXPECT_EQ(state.axes.axis_name[0], "MC1/MC1");
    // Loading person 1 again replaces person1 and pos1, and leaves pos2 and the axes.
    ASSERT_EQ(holen(write("Clara.dat", c), 1, state).outcome, LoadOutcome::loaded);
    EXPECT_EQ(state.person1, c);
    EXPECT_EQ(state.pos1, f_rechnen(werte_aktual(c)));
    EXPECT_EQ(state.pos2, pos2);
    EXPECT_EQ(state.person2, b);
    EXPECT_EQ(state.axes.axis_value, axes.axis_value);
    EXPECT_EQ(state.positions, state.pos1);
    EXPECT_EQ(state.birth, werte_aktual(c));
    EXPECT_EQ(state.pos1[1], 0.0);
    EXPECT_EQ(state.pos2[1], 0.0);
    EXPECT_EQ(state.pos1[23], 0.0);
    EXPECT_EQ(state.pos2[23], 0.0);
}
