// SPDX-License-Identifier: GPL-3.0-or-later
// The time probe on the desktop: entries that hang on the birth time in the second colour with
// their tooltip, the dialog under Extras and the windows it keeps across runs.
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include "analysis/comparisons.h"
#include "base/texts.h"
#include "desktop/zeitprobe.h"
#include "fixture.h"

using namespace duoskop;
using namespace duoskop::test;

namespace {

const QColor second_colour(0xC0, 0x00, 0x00);

// Whether the row's rectangle shows text in the second colour (pure red where navy on yellow
// never gives a red channel above the green one by much).
bool drawn_red(QListWidget* list, int row)
{
    const QImage image = list->viewport()->grab().toImage();
    const QRect rect = list->visualItemRect(list->item(row));
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 150 && c.green() < 80 && c.blue() < 80) return true;
        }
    }
    return false;
}

// Runs `trigger`, which opens the Zeitprobe dialog modally; sets its fields and presses OK
// (`accept`) or "Abbrechen". Returns whether the dialog was shown.
bool answer_dialog(const std::function<void()>& trigger, TimeWindow window, bool accept)
{
    bool shown = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = dynamic_cast<TZeitprobe*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        shown = true;
        dialog->SpinEdit1->setValue(window.person1);
        dialog->SpinEdit2->setValue(window.person2);
        QTest::mouseClick(accept ? dialog->Button1 : dialog->Button2, Qt::LeftButton);
    });
    trigger();
    QApplication::processEvents();
    return shown;
}

}  // namespace

class ZeitprobeTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void entriesThatHangOnTheTimeInTheSecondColour();
    void settingsKeptAcrossRunsAndBadValuesIgnored();
    void dialogFieldsAndTheirRange();
    void menuEntrySetsTheWindowsForEveryComparison();
    void freshInstallationMarksNothingAndTheDialogSaysWhyRed();

private:
    QTemporaryDir settings_dir_;
};

void ZeitprobeTest::initTestCase()
{
    // The settings of this test stay in its own directory.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_dir_.path());
}

void ZeitprobeTest::init()
{
    QSettings(QStringLiteral("Duoskop"), QStringLiteral("Duoskop")).clear();
}

void ZeitprobeTest::entriesThatHangOnTheTimeInTheSecondColour()
{
    Fixture fx;
    fx.start();
    TForm2& window = *fx.form->Form2;
    ResultText result;
    result.caption = "Ergebnisse";
    result.lines = {"  Hans Meier,   Erika Schulz", ""};
    result.entries = {"MC/SO=JU/SA", "MC/SO=VE/MA", "MC/SO=JU/SA", "MC/JU=AS/MO"};
    QVERIFY(show_result(window, result));
    const TimeWindow four{4, 4};
    window.mark_time_probe({{{-4, 4}, {-4, 4}}, {{-3, 2}, {-4, 4}}, {{-4, 4}, {-6, 9}}, {{0, 4}, {-1, 0}}},
                           four);
    QApplication::processEvents();

    QListWidget* list = window.ListBox1;
    struct Row {
        bool marked;
        QString tooltip;
    };
    const Row rows[] = {
        {false, {}},
        {true, QStringLiteral("hängt an der Geburtszeit: Person 1 nur \u20133 bis +2 min, Person 2 fest")},
        {false, {}},
        {true, QStringLiteral("hängt an der Geburtszeit: Person 1 nur 0 bis +4 min, "
                              "Person 2 nur \u20131 bis 0 min")},
    };
    for (int row = 0; row < list->count(); ++row) {
        QListWidgetItem* item = list->item(row);
        QCOMPARE(item->text(), to_qt(result.entries[static_cast<std::size_t>(row)]));
        QCOMPARE(item->toolTip(), rows[row].tooltip);
        QCOMPARE(item->data(Qt::ForegroundRole).value<QBrush>().color() == second_colour,
                 rows[row].marked);
        QCOMPARE(drawn_red(list, row), rows[row].marked);
    }
    // The report and the entries stay the comparison's own.
    QCOMPARE(window.saved_lines(), result.lines);
    QCOMPARE(window.entries(), result.entries);

    // A probe that does not belong to the list marks nothing; a new result starts unmarked.
    window.fill(result);
    window.mark_time_probe({{{0, 0}, {0, 0}}}, four);
    for (int row = 0; row < list->count(); ++row) QVERIFY(list->item(row)->toolTip().isEmpty());
}

void ZeitprobeTest::settingsKeptAcrossRunsAndBadValuesIgnored()
{
    QCOMPARE(load_time_window(), (TimeWindow{0, 0}));  // off in a fresh installation
    save_time_window({720, 0});
    QCOMPARE(load_time_window(), (TimeWindow{720, 0}));
    struct Stored {
        QVariant person1;
        QVariant person2;
        TimeWindow expected;
    };
    const Stored cases[] = {
        {QStringLiteral("abc"), 12, {0, 12}},
        {721, -1, {0, 0}},
        {QStringLiteral(" 30"), QStringLiteral("0"), {30, 0}},
    };
    for (const Stored& c : cases) {
        {
            QSettings settings(QStringLiteral("Duoskop"), QStringLiteral("Duoskop"));
            settings.setValue(QStringLiteral("Zeitprobe/Person1"), c.person1);
            settings.setValue(QStringLiteral("Zeitprobe/Person2"), c.person2);
        }
        QCOMPARE(load_time_window(), c.expected);
    }
}

void ZeitprobeTest::dialogFieldsAndTheirRange()
{
    TZeitprobe dialog({7, 0}, nullptr);
    QCOMPARE(dialog.SpinEdit1->value(), 7);
    QCOMPARE(dialog.SpinEdit2->value(), 0);
    QCOMPARE(dialog.windowTitle(), to_qt(texts::kCaptionZeitprobe));
    dialog.SpinEdit1->setValue(1000);
    dialog.SpinEdit2->setValue(-5);
    QCOMPARE(dialog.window(), (TimeWindow{720, 0}));
    QCOMPARE(TZeitprobe({900, 3}, nullptr).window(), (TimeWindow{720, 3}));
}

void ZeitprobeTest::menuEntrySetsTheWindowsForEveryComparison()
{
    save_time_window({2, 3});
    Fixture fx;
    fx.start();
    TForm1& f = *fx.form;
    QCOMPARE(f.time_window, (TimeWindow{2, 3}));
    QVERIFY(f.Extras1->actions().contains(f.Zeitprobe1));
    QVERIFY(f.Zeitprobe1->isEnabled());  // before any person, as later during the half-sum wait

    // "Abbrechen" keeps the windows; OK sets and keeps them.
    QVERIFY(answer_dialog([&] { f.Zeitprobe1->trigger(); }, {9, 9}, false));
    QCOMPARE(f.time_window, (TimeWindow{2, 3}));
    QVERIFY(answer_dialog([&] { f.Zeitprobe1->trigger(); }, {60, 30}, true));
    QCOMPARE(f.time_window, (TimeWindow{60, 30}));
    QCOMPARE(load_time_window(), (TimeWindow{60, 30}));

    // Back to the main window, as the window manager does when the dialog closes.
    f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    const std::string samples = std::string(DUOSKOP_SOURCE_DRIVE_C) + "/astro/daten/";
    fx.load1(samples + "ALBRECHT.dat");
    fx.load2(samples + "KRANICH.dat");
    fx.type_orbs("1,0", "0,5");
    fx.desktop.boxes.clear();
    QVERIFY(f.einfache1->isEnabled());
    f.orbs = Orbs{1.0, 0.5, 0};  // as typed, whatever keyboard the test session has

    struct Run {
        QAction* entry;
        Comparison comparison;
    };
    for (const Run& run : {Run{f.einfache1, Comparison::simples}, Run{f.asas1, Comparison::list},
                           Run{f.doppelte1, Comparison::doubles}}) {
        std::vector<QString> tooltips;
        QVERIFY(while_modal(f.Form2, [&] { run.entry->trigger(); }, [&] {
            for (int row = 0; row < f.Form2->ListBox1->count(); ++row)
                tooltips.push_back(f.Form2->ListBox1->item(row)->toolTip());
        }));
        const std::vector<EntryStability> probe =
            time_probe(run.comparison, f.chart, f.orbs, f.Form2->entries(), f.time_window);
        QCOMPARE(tooltips.size(), probe.size());
        for (std::size_t i = 0; i < probe.size(); ++i)
            QCOMPARE(tooltips[i], to_qt(stability_tooltip(probe[i], f.time_window)));
        if (run.comparison == Comparison::simples) {
            QVERIFY(!probe.empty());
            QVERIFY(std::count(tooltips.begin(), tooltips.end(), QString()) <
                    static_cast<std::ptrdiff_t>(tooltips.size()));
        }
    }

    // 0 for both: the probe is off, nothing is marked.
    QVERIFY(answer_dialog([&] { f.Zeitprobe1->trigger(); }, {0, 0}, true));
    bool any_marked = true;
    QVERIFY(while_modal(f.Form2, [&] { f.einfache1->trigger(); }, [&] {
        any_marked = false;
        for (int row = 0; row < f.Form2->ListBox1->count(); ++row)
            any_marked = any_marked || !f.Form2->ListBox1->item(row)->toolTip().isEmpty();
    }));
    QVERIFY(!any_marked);
}

void ZeitprobeTest::freshInstallationMarksNothingAndTheDialogSaysWhyRed()
{
    // Nothing stored: the first comparison shows the result list as the comparison gives it.
    Fixture fx;
    fx.start();
    TForm1& f = *fx.form;
    QVERIFY(f.time_window.off());
    const std::string samples = std::string(DUOSKOP_SOURCE_DRIVE_C) + "/astro/daten/";
    fx.load1(samples + "ALBRECHT.dat");
    fx.load2(samples + "KRANICH.dat");
    fx.type_orbs("1,0", "0,5");
    int entries = 0;
    int marked = 0;
    QVERIFY(while_modal(f.Form2, [&] { f.einfache1->trigger(); }, [&] {
        entries = f.Form2->ListBox1->count();
        for (int row = 0; row < entries; ++row)
            if (!f.Form2->ListBox1->item(row)->toolTip().isEmpty() ||
                f.Form2->ListBox1->item(row)->data(Qt::ForegroundRole).isValid())
                ++marked;
    }));
    QVERIFY(entries > 0);
    QCOMPARE(marked, 0);

    // The dialog says what the red entries mean before anyone sees one.
    const TZeitprobe dialog(f.time_window, nullptr);
    QCOMPARE(dialog.window(), (TimeWindow{0, 0}));
    QVERIFY(dialog.Label1->text().contains(QStringLiteral("rot")));
    QVERIFY(dialog.Label1->text().contains(QStringLiteral("Tooltip")));
}

QTEST_MAIN(ZeitprobeTest)
#include "zeitprobe_test.moc"
