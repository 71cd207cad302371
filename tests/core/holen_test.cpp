// Loading a chart file (holen): files made in the test, good and bad.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "app/chart_file.h"
#include "app/dial.h"
#include "astro/std_ho.h"

using namespace duoskop;
namespace fs = std::filesystem;

namespace {

chart_record make_record(std::string name, std::string date = "01.01.1990",
                         std::string time = "00:00:00")
{
    return {std::move(name), "Hans", std::move(date), std::move(time), "Hamburg", "+010 00 00",
            "+53 33 00"};
}

bool same_state(const ChartState& a, const ChartState& b)
{
    return a.person1 == b.person1 && a.person2 == b.person2 && a.pos1 == b.pos1 &&
           a.pos2 == b.pos2 && a.positions == b.positions && a.birth == b.birth &&
           a.axes.axis_value == b.axes.axis_value && a.axes.axis_name == b.axes.axis_name;
}

class Holen : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::random_device rd;
        dir_ = fs::temp_directory_path() / ("duoskop_holen_" + std::to_string(::getpid()) + "_" +
                                            std::to_string(rd()));
        fs::create_directories(dir_);
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir_, ec);
    }

    std::string write(const std::string& file_name, const std::string& bytes)
    {
        const fs::path p = dir_ / file_name;
        std::ofstream(p, std::ios::binary) << bytes;
        return p.string();
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

    fs::path dir_;
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
    const chart_record record = make_record("Meier");
    std::string bytes = chart_record_bytes(record) + chart_record_bytes(make_record("Other", "02.02.1902"));
    bytes += "garbage";
    ChartState state;
    EXPECT_EQ(holen(write("Meier.dat", bytes), 1, state).outcome, LoadOutcome::loaded);
    EXPECT_EQ(state.person1, record);
}

TEST_F(Holen, A76ByteFileCannotBeReadAndChangesNothing)
{
    ChartState state = loaded_state();
    const ChartState before = state;
    std::string bytes = chart_record_bytes(make_record("Meier"));
    bytes.pop_back();
    const std::string path = write("Meier.dat", bytes);
    for (int person : {1, 2}) {
        const LoadResult r = holen(path, person, state);
        EXPECT_EQ(r.outcome, LoadOutcome::cannot_read);
        EXPECT_EQ(r.message, "Ladeversuch mit " + path + " ging daneben");
        EXPECT_TRUE(r.ends_program());
        EXPECT_TRUE(same_state(state, before));
    }
}

TEST_F(Holen, AnEmptyFileCannotBeRead)
{
    ChartState state = loaded_state();
    const ChartState before = state;
    const std::string path = write("Meier.dat", std::string());
    const LoadResult r = holen(path, 1, state);
    EXPECT_EQ(r.outcome, LoadOutcome::cannot_read);
    EXPECT_EQ(r.message, "Ladeversuch mit " + path + " ging daneben");
    EXPECT_TRUE(same_state(state, before));
}

TEST_F(Holen, AMissingFileCannotBeOpened)
{
    ChartState state = loaded_state();
    const ChartState before = state;
    const LoadResult r = holen((dir_ / "Nirgends.dat").string(), 1, state);
    EXPECT_EQ(r.outcome, LoadOutcome::cannot_open);
    EXPECT_EQ(r.message, "Datei nicht gefunden");
    EXPECT_FALSE(r.ends_program());
    EXPECT_TRUE(same_state(state, before));
    EXPECT_EQ(holen("", 2, state).message, "Datei nicht gefunden");
    EXPECT_EQ(holen(std::string("Mei\0er.dat", 10), 2, state).message, "Ung\u00FCltiger Dateiname");
    EXPECT_EQ(holen((dir_ / std::string(300, 'x')).string(), 2, state).message, "Ung\u00FCltiger Dateiname");
    EXPECT_TRUE(same_state(state, before));
}

TEST_F(Holen, ADirectoryCannotBeOpened)
{
    ChartState state = loaded_state();
    const ChartState before = state;
    fs::create_directory(dir_ / "Meier.dat");
    const LoadResult r = holen((dir_ / "Meier.dat").string(), 1, state);
    EXPECT_EQ(r.outcome, LoadOutcome::cannot_open);
    EXPECT_EQ(r.message, "Dateizugriff verweigert");
    EXPECT_TRUE(same_state(state, before));
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

TEST_F(Holen, LengthBytesAbove10CountAs10)
{
    for (int length : {11, 12, 77, 128, 255}) {
        std::string bytes = chart_record_bytes(make_record("Meier"));
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

TEST_F(Holen, LengthBytesAbove10CanFailTheNameCheck)
{
    ChartState state = loaded_state();
    const ChartState before = state;
    std::string bytes = chart_record_bytes(make_record("Meier"));
    bytes[0] = static_cast<char>(200);
    // "Meier" and five blanks against "Meier_Hans": the blanks count now.
    const LoadResult r = holen(write("Meier_Hans.dat", bytes), 1, state);
    EXPECT_EQ(r.outcome, LoadOutcome::not_a_chart);
    EXPECT_EQ(r.message, "Meier_Hans.dat ist keine Horoskop-Datei.");
    EXPECT_TRUE(same_state(state, before));
}

TEST_F(Holen, NameCheck)
{
    ChartState state = loaded_state();
    const ChartState before = state;
    EXPECT_EQ(holen(write("MEIER.DAT", make_record("Meier")), 1, state).outcome, LoadOutcome::loaded);
    EXPECT_EQ(holen(write("MEIER.DAT", make_record("Meierhof")), 1, state).outcome, LoadOutcome::loaded);
    state = before;
    const LoadResult r = holen(write("MEIER.DAT", make_record("Meie")), 1, state);
    EXPECT_EQ(r.outcome, LoadOutcome::not_a_chart);
    EXPECT_EQ(r.message, "MEIER.DAT ist keine Horoskop-Datei.");
    EXPECT_TRUE(r.ends_program());
    EXPECT_TRUE(same_state(state, before));
    // No '.': two empty texts.
    EXPECT_EQ(holen(write("Irgendwas", make_record("Meier")), 2, state).outcome, LoadOutcome::loaded);
}

TEST_F(Holen, SeveralDotsCutAtTheFirst)
{
    ChartState state = loaded_state();
    const ChartState before = state;
    EXPECT_EQ(holen(write("A.B.DAT", make_record("Abel")), 1, state).outcome, LoadOutcome::loaded);
    state = before;
    const LoadResult r = holen(write("A.B.DAT", make_record("Berta")), 1, state);
    EXPECT_EQ(r.outcome, LoadOutcome::not_a_chart);
    EXPECT_EQ(r.message, "A.B.DAT ist keine Horoskop-Datei.");
    EXPECT_TRUE(same_state(state, before));
}

TEST_F(Holen, UmlautsInNames)
{
    ChartState state = loaded_state();
    const ChartState before = state;
    // The file name is UTF-8, the record Windows-1252.
    EXPECT_EQ(holen(write("M\u00FCller.dat", make_record("M\xFCller")), 1, state).outcome, LoadOutcome::loaded);
    EXPECT_EQ(state.person1.name, "M\xFCller");
    EXPECT_EQ(holen(write("M\u00FCLLER.DAT", make_record("M\xFCller")), 1, state).outcome, LoadOutcome::loaded);
    state = before;
    // The umlaut is not folded.
    LoadResult r = holen(write("m\u00FCller.dat", make_record("M\xDCLLER")), 1, state);
    EXPECT_EQ(r.outcome, LoadOutcome::not_a_chart);
    EXPECT_EQ(r.message, "m\u00FCller.dat ist keine Horoskop-Datei.");
    EXPECT_TRUE(same_state(state, before));
    // A character that Windows-1252 cannot hold fails the check.
    r = holen(write("\u0141ukasz.dat", make_record("?ukasz")), 1, state);
    EXPECT_EQ(r.outcome, LoadOutcome::not_a_chart);
    EXPECT_EQ(r.message, "\u0141ukasz.dat ist keine Horoskop-Datei.");
    // A file name that is not UTF-8 is shown with replacement characters.
    r = holen(write("M\xFCller.dat", make_record("M\xFCller")), 1, state);
    EXPECT_EQ(r.outcome, LoadOutcome::not_a_chart);
    EXPECT_EQ(r.message, "M\uFFFDller.dat ist keine Horoskop-Datei.");
    EXPECT_TRUE(same_state(state, before));
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
