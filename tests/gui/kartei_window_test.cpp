// SPDX-License-Identifier: GPL-3.0-or-later
// The chart index: the listing (a broken file, a subfolder, the filter, changes on disk), the
// chart dialog (file bytes, refusals, no overwriting), editing, deleting into the trash and
// handing charts to the main window as person 1 and 2, also from the command line.
#include <QStandardPaths>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QAbstractItemView>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "app/dial.h"
#include "astro/un_math.h"
#include "base/cp1252.h"
#include "base/drive_c.h"
#include "base/texts.h"
#include "desktop/kartei_dialog.h"
#include "desktop/kartei_window.h"
#include "desktop/start_persons.h"
#include "fixture.h"
#include "kartei/kartei_texts.h"
#include "places/atlas.h"
#include <cmath>

using namespace duoskop;
using namespace duoskop::test;
namespace fs = std::filesystem;

namespace {

QString q(std::string_view cp1252) { return to_qt(cp1252); }

// The trash of this test run: where the desktop's data folder lies for the tests.
// The trash of this test run: XDG_DATA_HOME points into a temporary directory. The fixture keeps
// settings in Qt's test location; the trash tests need the desktop's real data folder instead.
QString trash_files() { return qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/Trash/files"); }

struct RealDataFolder {
    RealDataFolder() { QStandardPaths::setTestModeEnabled(false); }
    ~RealDataFolder() { QStandardPaths::setTestModeEnabled(true); }
};

std::string slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// Runs `trigger`, which opens the chart dialog modally; `fill` works on the dialog while it is
/// open and must close it (save or cancel). Returns whether a dialog was seen.
bool with_dialog(const std::function<void()>& trigger, const std::function<void(KarteiDialog&)>& fill)
{
    bool seen = false;
    // The look for the dialog ends with this call: when `trigger` opens none, it must not fire later
    // inside another call's dialog, with this call's `fill` gone.
    const QObject scope;
    QTimer::singleShot(0, &scope, [&] {
        KarteiDialog* dialog = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = dynamic_cast<KarteiDialog*>(w); d != nullptr && d->isVisible()) dialog = d;
        if (dialog == nullptr) return;
        seen = true;
        fill(*dialog);
        if (dialog->isVisible()) dialog->reject();
    });
    trigger();
    return seen;
}

/// Types `text` key by key, letters beyond ASCII included.
void keys(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, c.toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

/// Replaces the text of a field by typing.
void type(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    keys(edit, text);
}

/// The index window opened from the main window's menu.
KarteiWindow* open_kartei(TForm1& form)
{
    form.Kartei1->trigger();
    return form.findChild<KarteiWindow*>();
}

int row_of(const KarteiWindow& k, const QString& folder, const QString& file)
{
    for (int r = 0; r < k.visible_rows(); ++r)
        if (k.cell(r, KarteiWindow::folder) == folder && k.cell(r, KarteiWindow::file) == file) return r;
    return -1;
}

}  // namespace

class KarteiWindowTest : public QObject {
    Q_OBJECT
private slots:
    void menuEntryIsAlwaysUsableAndOpensOneWindow();
    void listsEveryFileWithTheMainWindowsReason();
    void filterNarrowsAndTheListFollowsTheDisk();
    void aProgramOfItsOwnListsAfterItsFirstFrame();
    void newChartIsWrittenAsTheSampleDriveHoldsIt();
    void newChartFromLocalTimeAndPlace();
    void placeListFollowsTheTiersAndIsAsWideAsItsEntries();
    void clockChangesAreRefusedOrAsked();
    void refusalsStandNextToTheirFields();
    void anotherPersonsFileIsNeverReplaced();
    void editShowsTheStoredTimeAndRewritesTheFile();
    void deleteAsksAndMovesToTheTrash();
    void onlyChartsAreEditedAndTheTrashIsMadeWhenMissing();
    void chartsGoToTheMainWindowAsPersonOneAndTwo();
    void commandLineLoadsBothPersonsAfterTheHint();
    void importSaysWhatWasWrittenAndSkipped();
    void exportWritesTheChosenChartsAsAaf();
    void theSampleDriveIsListedButNeverChanged();
    void aLongReasonKeepsToItsColumn();
};

void KarteiWindowTest::menuEntryIsAlwaysUsableAndOpensOneWindow()
{
    Fixture fx;
    fx.start();
    TForm1& f = *fx.form;
    QVERIFY(f.Extras1->actions().contains(f.Kartei1));
    QCOMPARE(f.Kartei1->text(), q(texts::kMenuKartei));
    QVERIFY(f.Kartei1->isEnabled());
    KarteiWindow* k = open_kartei(f);
    QVERIFY(k != nullptr && k->isVisible());
    QCOMPARE(k->windowTitle(), q(texts::kCaptionKartei));
    fx.ready();
    QVERIFY(fx.form->Kartei1->isEnabled());
    open_kartei(*fx.form);
    QCOMPARE(fx.form->findChildren<KarteiWindow*>().size(), 1);
}

void KarteiWindowTest::listsEveryFileWithTheMainWindowsReason()
{
    Fixture fx;
    const std::string meier_path = make_chart(fx.drive, "MEIER.DAT", meier());
    chart_record anna = meier();
    anna.first_name = "Anna";
    make_chart(fx.drive, "Familie/MEIER.DAT", anna);
    const std::string short_path = make_chart(fx.drive, "KURZ.DAT", meier());
    fs::resize_file(short_path, 50);
    make_chart(fx.drive, "FALSCH.DAT", schulz());
    fx.start();
    KarteiWindow* k = open_kartei(*fx.form);
    QVERIFY(k != nullptr);
    QCOMPARE(k->visible_rows(), 4);
    QVERIFY(k->StatusLabel->text().startsWith(QStringLiteral("4 Horoskop-Dateien, davon nicht ladbar: 2")));

    // The two Meiers live side by side in their folders.
    const int hans = row_of(*k, QString(), QStringLiteral("MEIER.DAT"));
    const int anna_row = row_of(*k, QStringLiteral("Familie"), QStringLiteral("MEIER.DAT"));
    QVERIFY(hans >= 0 && anna_row >= 0);
    QCOMPARE(k->cell(hans, KarteiWindow::first_name), QStringLiteral("Hans"));
    QCOMPARE(k->cell(anna_row, KarteiWindow::first_name), QStringLiteral("Anna"));
    QCOMPARE(k->cell(hans, KarteiWindow::date), QStringLiteral("01.05.1960"));
    QCOMPARE(k->cell(hans, KarteiWindow::time), QStringLiteral("06:30:45"));
    QCOMPARE(k->cell(hans, KarteiWindow::longitude), q("10\xB0" "00' O"));
    QCOMPARE(k->cell(hans, KarteiWindow::latitude), q("53\xB0" "33' N"));
    QCOMPARE(k->cell(hans, KarteiWindow::reason), QString());

    // Sun, MC and AS as the main window writes them after loading the file.
    fx.load1(meier_path);
    const Positions& p = fx.form->chart.pos1;
    QCOMPARE(k->cell(hans, KarteiWindow::sun), q(angle_text(2, 30, p[2]) + " " + sign_text(p[2])));
    QCOMPARE(k->cell(hans, KarteiWindow::mc), q(angle_text(2, 30, p[0]) + " " + sign_text(p[0])));
    QCOMPARE(k->cell(hans, KarteiWindow::as), q(angle_text(2, 30, p[3]) + " " + sign_text(p[3])));

    // The broken files stay, each with the message the main window shows for it.
    fx.desktop.boxes.clear();
    for (const char* file : {"KURZ.DAT", "FALSCH.DAT"}) {
        const int row = row_of(*k, QString(), QString::fromLatin1(file));
        QVERIFY(row >= 0);
        Fixture other;
        other.start();
        other.desktop.boxes.clear();
        other.load1((fx.drive / "astro" / "daten" / file).string());
        QCOMPARE(other.desktop.boxes.size(), std::size_t{1});
        QCOMPARE(k->cell(row, KarteiWindow::reason), q(other.desktop.boxes[0].text));
    }
    QCOMPARE(k->cell(row_of(*k, QString(), QStringLiteral("FALSCH.DAT")), KarteiWindow::name),
             QStringLiteral("Schulz"));
    QCOMPARE(k->cell(row_of(*k, QString(), QStringLiteral("KURZ.DAT")), KarteiWindow::name), QString());

    // A broken file can be deleted but not edited, copied or handed over.
    QVERIFY(k->select_path(short_path));
    QVERIFY(k->DeleteButton->isEnabled());
    QVERIFY(!k->EditButton->isEnabled() && !k->CopyButton->isEnabled() && !k->Person2Button->isEnabled());

    // Sorting by birth date goes by the calendar, not by the text.
    make_chart(fx.drive, "ALT.DAT", person("Alt", "Otto", "02.01.1890", "10:00:00", "+010 00 00", "+50 00 00"));
    k->refresh();
    k->Table->sortByColumn(KarteiWindow::date, Qt::AscendingOrder);
    QCOMPARE(k->cell(0, KarteiWindow::file), QStringLiteral("KURZ.DAT"));  // nothing to sort by
    QCOMPARE(k->cell(1, KarteiWindow::name), QStringLiteral("Alt"));
    QCOMPARE(k->cell(4, KarteiWindow::name), QStringLiteral("Schulz"));
}

void KarteiWindowTest::filterNarrowsAndTheListFollowsTheDisk()
{
    Fixture fx;
    make_chart(fx.drive, "MEIER.DAT", meier());
    make_chart(fx.drive, "SCHULZ.DAT", schulz());
    chart_record mueller = person("M\xFCller", "Grete", "23.07.1975", "17:25:30", "-058 27 00", "-34 36 00");
    make_chart(fx.drive, "M\xC3\xBCLLER.DAT", mueller);
    KarteiWindow k(fx.desktop, DriveC(fx.drive));
    QCOMPARE(k.visible_rows(), 3);
    QTest::keyClicks(k.FilterEdit, QStringLiteral("hans 1960"));
    QCOMPARE(k.visible_rows(), 1);
    QCOMPARE(k.cell(0, KarteiWindow::name), QStringLiteral("Meier"));
    type(k.FilterEdit, QStringLiteral("MULLER"));  // accents and case do not matter
    QCOMPARE(k.visible_rows(), 1);
    QCOMPARE(k.cell(0, KarteiWindow::longitude), q("58\xB0" "27' W"));
    type(k.FilterEdit, QStringLiteral("niemand"));
    QCOMPARE(k.visible_rows(), 0);
    k.FilterEdit->clear();
    QCOMPARE(k.visible_rows(), 3);

    // A file written, rewritten and removed by someone else shows up without being asked.
    k.show();
    make_chart(fx.drive, "LANG.DAT", noon());
    QTRY_COMPARE_WITH_TIMEOUT(k.visible_rows(), 4, 5000);
    chart_record later = noon();
    later.first_name = "Peter";
    std::ofstream(fx.drive / "astro" / "daten" / "LANG.DAT", std::ios::binary | std::ios::in)
        << chart_record_bytes(later);
    QTRY_COMPARE_WITH_TIMEOUT(k.cell(row_of(k, QString(), QStringLiteral("LANG.DAT")), KarteiWindow::first_name),
                              QStringLiteral("Peter"), 5000);
    fs::create_directories(fx.drive / "astro" / "daten" / "neu");
    QTRY_VERIFY_WITH_TIMEOUT(k.listing().folders.size() == 2, 5000);
    make_chart(fx.drive, "neu/LANG.DAT", noon());
    QTRY_COMPARE_WITH_TIMEOUT(k.visible_rows(), 5, 5000);
    fs::remove(fx.drive / "astro" / "daten" / "SCHULZ.DAT");
    QTRY_COMPARE_WITH_TIMEOUT(k.visible_rows(), 4, 5000);
}

void KarteiWindowTest::aProgramOfItsOwnListsAfterItsFirstFrame()
{
    Fixture fx;
    make_chart(fx.drive, "MEIER.DAT", meier());
    make_chart(fx.drive, "SCHULZ.DAT", schulz());
    KarteiWindow k(fx.desktop, DriveC(fx.drive), nullptr, nullptr, KarteiWindow::FirstListing::after_first_frame);
    QCoreApplication::processEvents();
    QCOMPARE(k.visible_rows(), 0);  // nothing read before the window is on the screen
    QVERIFY(!k.EditButton->isEnabled());
    k.show();
    QTRY_COMPARE_WITH_TIMEOUT(k.visible_rows(), 2, 5000);
}

void KarteiWindowTest::newChartIsWrittenAsTheSampleDriveHoldsIt()
{
    Fixture fx;
    KarteiWindow k(fx.desktop, DriveC(fx.drive));
    QVERIFY(with_dialog([&] { k.NewButton->click(); }, [](KarteiDialog& d) {
        QCOMPARE(d.windowTitle(), q(texts::kCaptionNewChart));
        QVERIFY(!d.SaveButton->isEnabled());
        QCOMPARE(d.TimeKindBox->currentText(), q(texts::kFieldTimeLocal));  // what a certificate gives
        d.TimeKindBox->setCurrentIndex(0);
        QVERIFY(!d.ZoneBox->isEnabled());
        QTest::keyClicks(d.NameEdit, QStringLiteral("Weidner"));
        keys(d.FirstNameEdit, QStringLiteral("J\u00FCrgen"));
        QTest::keyClicks(d.DateEdit, QStringLiteral("9.9.1990"));
        QTest::keyClicks(d.TimeEdit, QStringLiteral("3:05"));
        d.LonDegrees->setValue(13);
        d.LonMinutes->setValue(24);
        d.LatDegrees->setValue(52);
        d.LatMinutes->setValue(31);
        QTest::keyClicks(d.ExtraEdit, QStringLiteral("Berlin"));
        QVERIFY(d.SaveButton->isEnabled());
        const QString preview = d.PreviewLabel->text();
        QVERIFY2(preview.startsWith(q("Weltzeit: 09.09.1990 03:05:00 UT\nSonne "), Qt::CaseSensitive),
                 qPrintable(preview));
        QVERIFY2(preview.endsWith(QStringLiteral("Datei: WEIDNER.dat")), qPrintable(preview));
        QTest::mouseClick(d.SaveButton, Qt::LeftButton);
        QVERIFY(!d.isVisible());
    }));
    const fs::path written = fx.drive / "astro" / "daten" / "WEIDNER.dat";
    QCOMPARE(slurp(written), slurp(fs::path(DUOSKOP_SOURCE_DRIVE_C) / "astro" / "daten" / "WEIDNER.dat"));
    // The new chart is listed and chosen.
    QCOMPARE(k.selected().size(), std::size_t{1});
    QCOMPARE(k.selected().front()->path, written);
    QVERIFY(k.selected().front()->loadable);

    // An unknown time is written as 12:00:00, into the folder chosen.
    QVERIFY(with_dialog([&] { k.NewButton->click(); }, [](KarteiDialog& d) {
        QCOMPARE(d.FolderBox->currentText(), q(texts::kRootFolder));  // the folder of the selection
        QTest::keyClicks(d.NameEdit, QStringLiteral("Lang"));
        QTest::keyClicks(d.DateEdit, QStringLiteral("03.03.1970"));
        d.UnknownBox->setChecked(true);
        QVERIFY(!d.TimeEdit->isEnabled());
        d.LonDirection->setCurrentIndex(1);
        d.LonDegrees->setValue(8);
        d.LatDirection->setCurrentIndex(1);
        d.LatDegrees->setValue(50);
        d.FolderBox->setEditText(QStringLiteral("Familie/Lang"));
        QTest::mouseClick(d.SaveButton, Qt::LeftButton);
    }));
    const chart_record lang{"Lang", "", "03.03.1970", "12:00:00", "", "-008 00 00", "-50 00 00"};
    QCOMPARE(slurp(fx.drive / "astro" / "daten" / "Familie" / "Lang" / "LANG.dat"), chart_record_bytes(lang));
}

void KarteiWindowTest::newChartFromLocalTimeAndPlace()
{
    Fixture fx;
    KarteiWindow k(fx.desktop, DriveC(fx.drive));
    QVERIFY(k.atlas() != nullptr);
    Place wien;
    QVERIFY(with_dialog([&] { k.NewButton->click(); }, [&](KarteiDialog& d) {
        QTest::keyClicks(d.NameEdit, QStringLiteral("Albrecht"));
        QTest::keyClicks(d.FirstNameEdit, QStringLiteral("Marie"));
        QTest::keyClicks(d.DateEdit, QStringLiteral("30.1.1958"));
        QTest::keyClicks(d.TimeEdit, QStringLiteral("22:50"));
        QCOMPARE(d.refusal(DraftField::zone), cp1252_to_utf8(texts::kRefuseNoZone));
        // The search offers the places of that name, told apart by region, country, population.
        QTest::keyClicks(d.PlaceEdit, QStringLiteral("Wien"));
        QVERIFY(!d.offered_places().empty());
        wien = d.offered_places().front();
        QCOMPARE(wien.country, std::string("AT"));
        d.placeChosen(wien);
        QCOMPARE(d.PlaceEdit->text(), QString::fromStdString(wien.name));  // the name alone
        QCOMPARE(d.ZoneBox->currentText(), QStringLiteral("Europe/Vienna"));
        QCOMPARE(d.ExtraEdit->text(), QString::fromStdString(wien.name));  // the atlas's name, Vienna
        QCOMPARE(d.ZoneInfoLabel->text(), QStringLiteral("CET, UTC+01:00"));
        QVERIFY2(d.PreviewLabel->text().startsWith(QStringLiteral("Ortszeit: 30.1.1958 22:50 CET, UTC+01:00\n"
                                                                  "Weltzeit: 30.01.1958 21:50:00 UT\n")),
                 qPrintable(d.PreviewLabel->text()));
        // A Zusatz of one's own stays when another place is chosen.
        type(d.ExtraEdit, QStringLiteral("Klinik"));
        d.placeChosen(wien);
        QCOMPARE(d.ExtraEdit->text(), QStringLiteral("Klinik"));
        type(d.ExtraEdit, QString());
        d.placeChosen(wien);
        QTest::mouseClick(d.SaveButton, Qt::LeftButton);
        QVERIFY(!d.isVisible());
    }));
    const std::string bytes = slurp(fx.drive / "astro" / "daten" / "ALBRECHT.dat");
    QCOMPARE(bytes.size(), chart_record_size);
    const chart_record r = read_chart_record(std::span<const unsigned char, chart_record_size>(
        reinterpret_cast<const unsigned char*>(bytes.data()), chart_record_size));
    QCOMPARE(r.name, std::string("Albrecht"));
    QCOMPARE(r.date, std::string("30.01.1958"));
    QCOMPARE(r.time, std::string("21:50:00"));
    QCOMPARE(r.extra, wien.name);
    const BirthData b = werte_aktual(r);
    QVERIFY(std::fabs(b.geo_longitude - wien.longitude) < 1 / 3600.0);
    QVERIFY(std::fabs(b.geo_latitude - wien.latitude) < 1 / 3600.0);
    QCOMPARE(bytes, chart_record_bytes(r));
}

void KarteiWindowTest::placeListFollowsTheTiersAndIsAsWideAsItsEntries()
{
    Fixture fx;
    KarteiWindow k(fx.desktop, DriveC(fx.drive));
    QVERIFY(k.atlas() != nullptr);
    KarteiDialog d(fx.desktop, fx.drive / "astro" / "daten", {}, KarteiDialog::Mode::create, nullptr, k.atlas());
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    auto* completer = d.findChild<QCompleter*>();
    QVERIFY(completer != nullptr);
    const struct {
        const char* typed;  // UTF-8
        std::vector<std::string> first;
    } cases[] = {
        {"P\xC3\xB6" "cking", {"P\xC3\xB6" "cking", "Pocking"}},  // the spelling typed first
        {"Pocking", {"Pocking", "P\xC3\xB6" "cking"}},
        {"Wien", {"Vienna"}},
        {"Neustadt", {"Neustadt", "Neustadt"}},                      // own names before Baia Mare's other name
    };
    for (const auto& c : cases) {
        type(d.PlaceEdit, QString::fromUtf8(c.typed));
        const std::vector<Place>& offered = d.offered_places();
        QVERIFY2(offered.size() >= c.first.size(), c.typed);
        for (std::size_t i = 0; i < c.first.size(); ++i) QCOMPARE(offered[i].name, c.first[i]);
        // No entry is cut: the list is as wide as the widest of them.
        QAbstractItemView* popup = completer->popup();
        QVERIFY(popup->isVisible());
        int widest = 0;
        for (int row = 0; row < popup->model()->rowCount(); ++row)
            widest = std::max(widest, popup->fontMetrics().horizontalAdvance(popup->model()->index(row, 0).data().toString()));
        QVERIFY2(popup->viewport()->width() >= widest, c.typed);
        QVERIFY(popup->width() >= d.PlaceEdit->width());
    }
    // "Neustadt" lists places whose labels are wider than the field.
    QVERIFY(completer->popup()->width() > d.PlaceEdit->width());
}

void KarteiWindowTest::clockChangesAreRefusedOrAsked()
{
    Fixture fx;
    KarteiDialog d(fx.desktop, fx.drive / "astro" / "daten", {}, KarteiDialog::Mode::create, nullptr, nullptr);
    d.show();
    type(d.NameEdit, QStringLiteral("Meier"));
    type(d.DateEdit, QStringLiteral("31.3.2019"));
    type(d.TimeEdit, QStringLiteral("2:30"));
    d.ZoneBox->setEditText(QStringLiteral("Europe/Berlin"));
    QCOMPARE(d.refusal(DraftField::time),
             std::string("Die Ortszeit 31.03.2019 02:30:00 gibt es in Europe/Berlin nicht: am 31.03.2019 wurde die "
                         "Uhr um 02:00:00 CET (UTC+01:00) auf 03:00:00 CEST (UTC+02:00) gestellt."));
    QVERIFY(!d.SaveButton->isEnabled());
    QVERIFY(d.ReadingRow->isHidden());

    // Twice in autumn: the dialog asks which reading is meant.
    type(d.DateEdit, QStringLiteral("27.10.2019"));
    QVERIFY(!d.ReadingRow->isHidden());
    QVERIFY(d.refusal(DraftField::time).find("zweimal") != std::string::npos);
    QVERIFY(!d.SaveButton->isEnabled());
    QCOMPARE(d.ReadingBox->itemText(1), q("die fr\xFC" "here: 27.10.2019 00:30:00 UT (CEST, UTC+02:00)"));
    QCOMPARE(d.ReadingBox->itemText(2), q("die sp\xE4" "tere: 27.10.2019 01:30:00 UT (CET, UTC+01:00)"));
    d.ReadingBox->setCurrentIndex(2);
    QCOMPARE(d.refusal(DraftField::time), std::string());
    QVERIFY(d.SaveButton->isEnabled());
    QCOMPARE(d.ZoneInfoLabel->text(), QStringLiteral("CET, UTC+01:00"));
    QVERIFY(d.PreviewLabel->text().contains(QStringLiteral("Weltzeit: 27.10.2019 01:30:00 UT")));
    // An unknown zone is refused next to the zone field.
    d.ZoneBox->setEditText(QStringLiteral("Europa/Berlin"));
    QVERIFY(d.refusal(DraftField::zone).find("Europa/Berlin") != std::string::npos);
    QVERIFY(!d.SaveButton->isEnabled());
}

void KarteiWindowTest::refusalsStandNextToTheirFields()
{
    Fixture fx;
    KarteiDialog d(fx.desktop, fx.drive / "astro" / "daten", {}, KarteiDialog::Mode::create, nullptr, nullptr);
    d.show();
    d.set_draft(draft_of({"Meier", "Hans", "01.05.1960", "06:30:45", "Hamburg", "+010 00 00", "+53 33 00"}, ""));
    QVERIFY(d.SaveButton->isEnabled());
    struct Case {
        QLineEdit* edit;
        QString typed;
        DraftField field;
        std::string reason;  // UTF-8
    };
    const std::vector<Case> cases = {
        {d.NameEdit, QStringLiteral("Mustermannx"), DraftField::name,
         "Mehr als 10 Zeichen passen nicht in die Horoskop-Datei."},
        {d.NameEdit, QStringLiteral("\u0141ukasz"), DraftField::name,
         "Diese Zeichen kann die Horoskop-Datei nicht aufnehmen: \xC5\x81"},
        {d.FirstNameEdit, QStringLiteral("\u5F20\u4F1F"), DraftField::first_name,
         "Diese Zeichen kann die Horoskop-Datei nicht aufnehmen: \xE5\xBC\xA0\xE4\xBC\x9F"},
        {d.ExtraEdit, QStringLiteral("Berlin-Mitte"), DraftField::extra,
         "Mehr als 10 Zeichen passen nicht in die Horoskop-Datei."},
        {d.DateEdit, QStringLiteral("31.4.1960"), DraftField::date, "Den 31.04.1960 gibt es nicht: der April 1960 hat 30 Tage."},
        {d.DateEdit, QStringLiteral("31.4.60"), DraftField::date, "Kein Kalenderdatum (TT.MM.JJJJ, Jahr vierstellig)."},
        {d.TimeEdit, QStringLiteral("6:61"), DraftField::time, "Keine Uhrzeit (HH:MM oder HH:MM:SS)."},
    };
    for (const Case& c : cases) {
        const QString before = c.edit->text();
        type(c.edit, c.typed);
        QCOMPARE(d.refusal(c.field), c.reason);
        QVERIFY(!d.SaveButton->isEnabled());
        QCOMPARE(d.PreviewLabel->text(), QStringLiteral("\u2013"));
        type(c.edit, before);
        QCOMPARE(d.refusal(c.field), std::string());
        QVERIFY(d.SaveButton->isEnabled());
    }
    d.LonDegrees->setValue(180);
    d.LonMinutes->setValue(1);
    QCOMPARE(d.refusal(DraftField::longitude), cp1252_to_utf8("Die L\xE4nge reicht nur bis 180\xB0."));
    d.LonMinutes->setValue(0);
    QVERIFY(d.SaveButton->isEnabled());
    d.FolderBox->setEditText(QStringLiteral("../anderswo"));
    QVERIFY(!d.refusal(DraftField::folder).empty());
    QVERIFY(!d.SaveButton->isEnabled());
    // Nothing was written on the way.
    QVERIFY(fs::is_empty(fx.drive / "astro" / "daten"));
}

void KarteiWindowTest::anotherPersonsFileIsNeverReplaced()
{
    Fixture fx;
    const std::string meier_path = make_chart(fx.drive, "MEIER.DAT", meier());
    KarteiWindow k(fx.desktop, DriveC(fx.drive));
    QVERIFY(k.select_path(meier_path));
    // A copy is offered a folder where its file is free; beside the original it is refused next
    // to the name; in another folder it is written.
    QVERIFY(with_dialog([&] { k.CopyButton->click(); }, [&](KarteiDialog& d) {
        QCOMPARE(d.windowTitle(), q(texts::kCaptionCopyChart));
        QCOMPARE(d.FolderBox->currentText(), QStringLiteral("Kopie"));
        d.FolderBox->setEditText(q(texts::kRootFolder));
        type(d.FirstNameEdit, QStringLiteral("Anna"));
        QTest::mouseClick(d.SaveButton, Qt::LeftButton);
        QVERIFY(d.isVisible());
        QCOMPARE(d.refusal(DraftField::name),
                 cp1252_to_utf8("Die Datei MEIER.DAT geh\xF6rt schon einer anderen Person in diesem Ordner; "
                                "bitte einen anderen Ordner w\xE4hlen."));
        QCOMPARE(slurp(meier_path), chart_record_bytes(meier()));
        d.FolderBox->setEditText(QStringLiteral("Anna"));
        QTest::mouseClick(d.SaveButton, Qt::LeftButton);
        QVERIFY(!d.isVisible());
    }));
    chart_record anna = meier();
    anna.first_name = "Anna";
    QCOMPARE(slurp(fx.drive / "astro" / "daten" / "Anna" / "MEIER.dat"), chart_record_bytes(anna));
    QCOMPARE(slurp(meier_path), chart_record_bytes(meier()));
    QCOMPARE(k.visible_rows(), 2);
}

void KarteiWindowTest::editShowsTheStoredTimeAndRewritesTheFile()
{
    Fixture fx;
    const RealDataFolder trash_in_temporary_data_home;
    const std::string meier_path = make_chart(fx.drive, "MEIER.DAT", meier());
    KarteiWindow k(fx.desktop, DriveC(fx.drive));
    QVERIFY(k.select_path(meier_path));
    QVERIFY(with_dialog([&] { k.EditButton->click(); }, [](KarteiDialog& d) {
        QCOMPARE(d.windowTitle(), q(texts::kCaptionEditChart));
        QCOMPARE(d.TimeEdit->text(), QStringLiteral("06:30:45"));
        QCOMPARE(d.TimeKindBox->currentText(), q(texts::kFieldTimeUniversal));
        QCOMPARE(d.LatDegrees->value(), 53);
        QCOMPARE(d.LatMinutes->value(), 33);
        QVERIFY(d.PreviewLabel->text().endsWith(QStringLiteral("Datei: MEIER.DAT")));
        type(d.TimeEdit, QStringLiteral("07:00"));
        QTest::mouseClick(d.SaveButton, Qt::LeftButton);
    }));
    chart_record edited = meier();
    edited.time = "07:00:00";
    QCOMPARE(slurp(meier_path), chart_record_bytes(edited));

    // A new name gives a new file; the old one goes to the trash.
    QVERIFY(k.select_path(meier_path));
    QVERIFY(with_dialog([&] { k.EditButton->click(); }, [](KarteiDialog& d) {
        type(d.NameEdit, QStringLiteral("Meierhof"));  // the file name still fits
        QVERIFY(d.PreviewLabel->text().endsWith(QStringLiteral("Datei: MEIER.DAT")));
        type(d.NameEdit, QStringLiteral("Maier"));
        QVERIFY(d.PreviewLabel->text().endsWith(QStringLiteral("Datei: MAIER.dat")));
        QTest::mouseClick(d.SaveButton, Qt::LeftButton);
    }));
    edited.name = "Maier";
    QCOMPARE(slurp(fx.drive / "astro" / "daten" / "MAIER.dat"), chart_record_bytes(edited));
    QVERIFY(!fs::exists(meier_path));
    QVERIFY(QDir(trash_files()).entryList(QDir::Files).contains(QStringLiteral("MEIER.DAT")));
    QCOMPARE(k.visible_rows(), 1);
    QVERIFY(fx.desktop.boxes.empty());
}

void KarteiWindowTest::deleteAsksAndMovesToTheTrash()
{
    Fixture fx;
    const RealDataFolder trash_in_temporary_data_home;
    const std::string path = make_chart(fx.drive, "SCHULZ.DAT", schulz());
    KarteiWindow k(fx.desktop, DriveC(fx.drive));
    QVERIFY(k.select_path(path));
    fx.desktop.answers.push_back(Answer::no);
    k.DeleteButton->click();
    QCOMPARE(fx.desktop.boxes.size(), std::size_t{1});
    QVERIFY(fx.desktop.boxes[0].type == BoxType::confirmation);
    QVERIFY(fx.desktop.boxes[0].buttons == Buttons::yes_no);
    QCOMPARE(fx.desktop.boxes[0].text, std::string("Soll die Horoskop-Datei\r\r   SCHULZ.DAT  (Erika Schulz)\r\r"
                                                   "in den Papierkorb verschoben werden?"));
    QVERIFY(fs::exists(path));
    fx.desktop.answers.push_back(Answer::yes);
    k.DeleteButton->click();
    QVERIFY(!fs::exists(path));
    const QString trashed = trash_files() + QStringLiteral("/SCHULZ.DAT");
    QVERIFY(QFile::exists(trashed));
    QFile file(trashed);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().toStdString(), chart_record_bytes(schulz()));
    QCOMPARE(k.visible_rows(), 0);
    QCOMPARE(fx.desktop.boxes.size(), std::size_t{2});
}

void KarteiWindowTest::onlyChartsAreEditedAndTheTrashIsMadeWhenMissing()
{
    Fixture fx;
    // A data folder that does not exist yet, as on an account without ~/.local/share.
    QTemporaryDir base;
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    const fs::path data_home = fs::path(base.path().toStdString()) / "neu" / "share";
    qputenv("XDG_DATA_HOME", QFile::encodeName(QString::fromStdString(data_home.string())));
    const fs::path trash = data_home / "Trash" / "files";

    const std::string meier_path = make_chart(fx.drive, "MEIER.DAT", meier());
    const fs::path picture = fx.drive / "astro" / "daten" / "Scheibe.png";
    const std::string png = std::string("\x89PNG\r\n\x1A\n", 8) + std::string(300, '\x01');
    write_bytes(picture, png);
    KarteiWindow k(fx.desktop, DriveC(fx.drive));

    // A picture among the charts: no positions, and neither "Bearbeiten" nor "Kopie".
    QVERIFY(k.select_path(picture));
    int row = 0;
    while (row < k.visible_rows() && k.cell(row, KarteiWindow::file) != QStringLiteral("Scheibe.png")) ++row;
    QVERIFY(row < k.visible_rows());
    for (const auto column : {KarteiWindow::name, KarteiWindow::sun, KarteiWindow::mc, KarteiWindow::as})
        QVERIFY(k.cell(row, column).isEmpty());
    QVERIFY(!k.EditButton->isEnabled());
    QVERIFY(!k.CopyButton->isEnabled());
    QVERIFY(!with_dialog([&] { k.EditButton->click(); }, [](KarteiDialog&) {}));
    QCOMPARE(slurp(picture), png);

    // An edit in place keeps the old chart in the trash, which is made first.
    QVERIFY(k.select_path(meier_path));
    QVERIFY(with_dialog([&] { k.EditButton->click(); }, [](KarteiDialog& d) {
        type(d.TimeEdit, QStringLiteral("08:00"));
        QTest::mouseClick(d.SaveButton, Qt::LeftButton);
    }));
    QCOMPARE(slurp(trash / "MEIER.DAT"), chart_record_bytes(meier()));
    QVERIFY(slurp(meier_path) != chart_record_bytes(meier()));
    QVERIFY(fs::exists(data_home / "Trash" / "info" / "MEIER.DAT.trashinfo"));

    // "Löschen" of the picture: into the trash, nothing into the working folder.
    QVERIFY(k.select_path(picture));
    fx.desktop.answers.push_back(Answer::yes);
    k.DeleteButton->click();
    QCOMPARE(slurp(trash / "Scheibe.png"), png);
    QVERIFY(!fs::exists(picture));
    QVERIFY(!fs::exists("files") && !fs::exists("info"));

    // Without a usable trash the file stays, and the user is told.
    fs::remove_all(data_home.parent_path());
    write_bytes(data_home.parent_path(), "a file where the data folder should be made");
    QVERIFY(k.select_path(meier_path));
    fx.desktop.boxes.clear();
    fx.desktop.answers.push_back(Answer::yes);
    k.DeleteButton->click();
    QVERIFY(fs::exists(meier_path));
    QCOMPARE(fx.desktop.boxes.size(), std::size_t{2});
    QVERIFY(fx.desktop.boxes[1].type == BoxType::error);
    QVERIFY(fx.desktop.boxes[1].text.find(std::string(texts::kTrashFailed)) != std::string::npos);
    qputenv("XDG_DATA_HOME", saved);
}

void KarteiWindowTest::chartsGoToTheMainWindowAsPersonOneAndTwo()
{
    Fixture fx;
    const std::string meier_path = make_chart(fx.drive, "MEIER.DAT", meier());
    const std::string schulz_path = make_chart(fx.drive, "SCHULZ.DAT", schulz());
    fx.start();
    fx.desktop.boxes.clear();
    TForm1& f = *fx.form;
    KarteiWindow* k = open_kartei(f);
    QVERIFY(k->Person1Button->isVisible());
    QVERIFY(!k->Person1Button->isEnabled());  // nothing chosen yet
    QVERIFY(k->select_path(meier_path));
    QVERIFY(k->Person1Button->isEnabled());
    QVERIFY(!k->Person2Button->isEnabled());  // "Name &2" is not usable before person 1
    QTest::mouseClick(k->Person1Button, Qt::LeftButton);
    QCOMPARE(f.Label1->text(), QStringLiteral(" Meier"));
    QVERIFY(!f.name1->isEnabled() && f.name2->isEnabled());
    QVERIFY(!k->Person1Button->isEnabled());
    QVERIFY(fx.desktop.boxes.empty());

    QVERIFY(k->select_path(schulz_path));
    QVERIFY(k->Person2Button->isEnabled());
    QTest::mouseClick(k->Person2Button, Qt::LeftButton);
    QCOMPARE(f.Label6->text(), QStringLiteral(" Schulz"));
    QCOMPARE(fx.desktop.take_texts(), std::vector<std::string>{std::string(texts::kHintOrbsLong)});
    QVERIFY(!k->Person1Button->isEnabled() && !k->Person2Button->isEnabled());

    // The same as the file dialogs of the menu would have done.
    Fixture by_menu;
    by_menu.start();
    by_menu.load1(meier_path);
    by_menu.load2(schulz_path);
    QCOMPARE(f.Memo1->toPlainText(), by_menu.form->Memo1->toPlainText());
    QVERIFY(f.chart.pos1 == by_menu.form->chart.pos1 && f.chart.pos2 == by_menu.form->chart.pos2);

    // After "&Fertig" and Yes the first entry is usable again, and so is the button.
    f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    fx.type_orbs("1,0", "0,5");
    QVERIFY(f.Ende1->isEnabled());
    fx.desktop.answers.push_back(Answer::yes);
    f.Ende1->trigger();
    QVERIFY(k->select_path(meier_path));
    QVERIFY(k->Person1Button->isEnabled());
}

void KarteiWindowTest::commandLineLoadsBothPersonsAfterTheHint()
{
    Fixture fx;
    const std::string meier_path = make_chart(fx.drive, "MEIER.DAT", meier());
    const std::string schulz_path = make_chart(fx.drive, "SCHULZ.DAT", schulz());
    fx.form = std::make_unique<TForm1>(fx.desktop, DriveC(fx.drive));
    load_persons_at_start(*fx.form, meier_path, schulz_path);
    fx.form->show();
    QTRY_COMPARE(fx.form->Label6->text(), QStringLiteral(" Schulz"));
    QCOMPARE(fx.form->Label1->text(), QStringLiteral(" Meier"));
    QCOMPARE(fx.desktop.take_texts(),
             (std::vector<std::string>{std::string(texts::kHintStart), std::string(texts::kHintOrbsLong)}));

    // A first file that cannot be opened stops there, as the menu would.
    Fixture missing;
    missing.form = std::make_unique<TForm1>(missing.desktop, DriveC(missing.drive));
    load_persons_at_start(*missing.form, (missing.drive / "fehlt.dat").string(), schulz_path);
    missing.form->show();
    QTRY_COMPARE(missing.desktop.boxes.size(), std::size_t{2});
    QCOMPARE(missing.desktop.boxes[1].text, std::string(texts::kIoFileNotFound));
    QApplication::processEvents();
    QVERIFY(missing.form->Label6->text().isEmpty());
    QVERIFY(missing.form->name1->isEnabled());
}

void KarteiWindowTest::importSaysWhatWasWrittenAndSkipped()
{
    Fixture fx;
    const std::string taken = make_chart(fx.drive, "Familie/SOMMER.DAT", noon());
    make_chart(fx.drive, "Familie/LANG.DAT", noon());
    const fs::path aaf = fx.drive / "import.aaf";
    write_bytes(aaf, "#A93:Muster,Anna,w,27.9.1970,11:04,Kandel/Pfalz,D\r\n"
                     "#B93:*,49n05,8e11,1he,0\r\n"
                     "#A93:Datum,X,m,31.2.1970,11:04,Berlin,D\r\n"
                     "#A93:Sommer,Eva,w,1.7.1980,12:00,*,*\r\n"
                     "#B93:*,52n31,13e24,1he00,1\r\n");
    KarteiWindow k(fx.desktop, DriveC(fx.drive));
    // Into the folder of the chart chosen.
    QVERIFY(k.select_path(fx.drive / "astro" / "daten" / "Familie" / "LANG.DAT"));
    fx.desktop.open_paths.push_back(aaf.string());
    k.ImportButton->click();
    QCOMPARE(fx.desktop.boxes.size(), std::size_t{1});
    QVERIFY(fx.desktop.boxes[0].type == BoxType::warning);
    const std::string& box = fx.desktop.boxes[0].text;
    QVERIFY2(box.rfind("1 geschrieben, 2 \xFC" "bersprungen\rZiel: Familie\r\rZeile 3: ", 0) == 0, box.c_str());
    QVERIFY2(box.find("\rZeile 4: Sommer: Die Datei SOMMER.DAT geh\xF6rt schon einer anderen Person") !=
                 std::string::npos,
             box.c_str());
    QCOMPARE(slurp(taken), chart_record_bytes(noon()));
    QVERIFY(fs::exists(fx.drive / "astro" / "daten" / "Familie" / "MUSTER.dat"));
    QCOMPARE(k.visible_rows(), 3);
    QCOMPARE(k.selected().front()->record.first_name, std::string("Anna"));

    // A file that cannot be read says so.
    fx.desktop.boxes.clear();
    fx.desktop.open_paths.push_back((fx.drive / "fehlt.aaf").string());
    k.ImportButton->click();
    QCOMPARE(fx.desktop.take_texts(), std::vector<std::string>{"Die Datei kann nicht gelesen werden: Datei nicht gefunden"});
}

void KarteiWindowTest::exportWritesTheChosenChartsAsAaf()
{
    Fixture fx;
    make_chart(fx.drive, "MEIER.DAT", meier());
    make_chart(fx.drive, "SCHULZ.DAT", schulz());
    make_chart(fx.drive, "FALSCH.DAT", noon());
    KarteiWindow k(fx.desktop, DriveC(fx.drive));
    QVERIFY(!k.ExportButton->isEnabled());
    k.Table->selectAll();
    QVERIFY(k.ExportButton->isEnabled());
    const fs::path target = fx.drive / "aus.aaf";
    fx.desktop.save_paths.push_back(target.string());
    k.ExportButton->click();
    const std::string aaf = slurp(target);
    QVERIFY2(aaf.find("#A93:Meier,Hans,") != std::string::npos, aaf.c_str());
    QVERIFY(aaf.find("#A93:Schulz,Erika,") != std::string::npos);
    QVERIFY(aaf.find("Lang") == std::string::npos);
    QCOMPARE(fx.desktop.take_texts(),
             std::vector<std::string>{"2 Horoskope als AAF gespeichert in " + target.string() +
                                      "\r\rNicht exportiert (keine ladbare Horoskop-Datei): FALSCH.DAT"});
}

// The shipped sample drive (read when no personal drive could be made) is listed and its charts
// handed on; nothing is made, changed, deleted or imported there, and the window says so.
void KarteiWindowTest::theSampleDriveIsListedButNeverChanged()
{
    Fixture fx;
    KarteiWindow k(fx.desktop, DriveC(sample_drive_dir()));
    const KarteiEntry first = k.listing().entries.front();
    QVERIFY(k.select_path(first.path));
    for (const QPushButton* b : {k.NewButton, k.EditButton, k.CopyButton, k.DeleteButton, k.ImportButton})
        QVERIFY2(!b->isEnabled(), qPrintable(b->objectName()));
    QVERIFY(k.StatusLabel->text().contains(q(texts::kKarteiReadOnly)));
    k.deleteClick();  // as the Delete key would
    QVERIFY(fx.desktop.boxes.empty());
    // Nor does the core write there.
    QCOMPARE(QString::fromStdString(save_chart(k.root(), first.record, "Neu", std::nullopt).message),
             q(texts::kSampleDriveRefused));
    QVERIFY(fs::exists(first.path) && !fs::exists(k.root() / "Neu"));
}

void KarteiWindowTest::aLongReasonKeepsToItsColumn()
{
    // A file that cannot be read deep down in the folders: its reason names the whole path.
    Fixture fx;
    make_chart(fx.drive, "MEIER.DAT", meier());
    const std::string deep = make_chart(fx.drive, "Archiv/aus/dem/alten/Rechner/von/Tante/Erika/KURZ.DAT", meier());
    fs::resize_file(deep, 50);
    KarteiWindow k(fx.desktop, DriveC(fx.drive));
    k.show();
    QVERIFY(QTest::qWaitForWindowExposed(&k));
    const int row = row_of(k, QStringLiteral("Archiv/aus/dem/alten/Rechner/von/Tante/Erika"), QStringLiteral("KURZ.DAT"));
    QVERIFY(row >= 0);
    const QString reason = k.cell(row, KarteiWindow::reason);
    QVERIFY(reason.size() > 100);

    // The long texts take a column's share, not the table; the whole reason is in the cell's tooltip.
    const int share = k.Table->fontMetrics().averageCharWidth() * KarteiWindow::widest_column_characters;
    QVERIFY(k.Table->fontMetrics().horizontalAdvance(reason) > 2 * share);
    for (const int c : {int(KarteiWindow::folder), int(KarteiWindow::reason)})
        QVERIFY2(k.Table->columnWidth(c) <= std::max(share, k.Table->viewport()->width() / 3), qPrintable(QString::number(c)));
    const QModelIndex cell = k.Table->model()->index(row, KarteiWindow::reason);
    QVERIFY(cell.data(Qt::ToolTipRole).toString().contains(reason));
}

int main(int argc, char** argv)
{
    // Deleted charts go to the trash of a throw-away data folder.
    QTemporaryDir data_home;
    qputenv("XDG_DATA_HOME", QFile::encodeName(data_home.path()));
    QApplication app(argc, argv);
    KarteiWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "kartei_window_test.moc"
