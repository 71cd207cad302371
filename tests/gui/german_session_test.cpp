// SPDX-License-Identifier: GPL-3.0-or-later
// The program in a German desktop session (process locale de_DE.UTF-8, decimal comma), whatever
// locale the suite runs in: orb fields, saved reports against duoskop-cli, Qt's German texts,
// file and user texts shown as plain text, keyboard habits and the proposals of the dialogs.
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPrintDialog>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QTest>
#include <algorithm>
#include <clocale>
#include <functional>

#include "base/texts.h"
#include "fixture.h"
#include "results/click.h"
#include "tests/core/test_support.h"

using namespace duoskop;
using namespace duoskop::test;

namespace {

QString q(std::string_view cp1252) { return to_qt(cp1252); }

/// Runs `show` (which opens a modal dialog) and, once the dialog is up, `inspect` on it.
/// Returns whether a modal dialog of type T appeared.
template <class T>
bool with_modal(const std::function<void()>& show, const std::function<void(T&)>& inspect)
{
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        seen = true;
        inspect(*dialog);
    });
    show();
    return seen;
}

struct Analysis {
    const char* cli_name;
    QAction* TForm1::*entry;
};

const std::string sample_daten = std::string(DUOSKOP_SOURCE_DRIVE_C) + "/astro/daten/";
const std::string person1_path = sample_daten + "ALBRECHT.dat";
const std::string person2_path = sample_daten + "HOLLMANN.dat";

/// Starts the main window and brings it to Ready with two sample persons and the orbs typed.
TForm1& start_with_orbs(Fixture& fx, const char* orb_double, const char* orb_simple)
{
    fx.start();
    fx.load1(person1_path);
    fx.load2(person2_path);
    fx.type_orbs(orb_double, orb_simple);
    return *fx.form;
}

/// The report `duoskop-cli compare` saves for the same persons with `options`.
std::string cli_report(const Fixture& fx, const char* analysis, const std::vector<std::string>& options)
{
    const std::string written = (fx.drive / "cli.txt").string();
    std::vector<std::string> args = {"compare", person1_path, person2_path, "--analysis", analysis, "--report", written};
    args.insert(args.end(), options.begin(), options.end());
    const test_support::CliRun cli = test_support::run_cli(args);
    return cli.status == 0 ? test_support::slurp(written) : "exit " + std::to_string(cli.status) + ": " + cli.err;
}

/// Runs the comparison of `entry` and saves its report with "&Speichern"; the saved bytes.
std::string save_from(Fixture& fx, QAction* entry)
{
    const std::string saved = (fx.drive / "gespeichert.txt").string();
    std::filesystem::remove(saved);
    (void)while_modal(fx.form->Form2, [&] { entry->trigger(); }, [&] {
        fx.desktop.save_paths.push_back(saved);
        QTest::mouseClick(fx.form->Form2->Button1, Qt::LeftButton);
    });
    return test_support::slurp(saved);
}

}  // namespace

class GermanSessionTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void orbFieldsOfTheMainWindowReadTheDecimalComma();
    void typedTextKeepsWhatFollowsACharacterWindows1252Lacks();
    void savedReportsEqualTheCommandLine();
    void savedReportDiffersOnlyByTheMemoWrap();
    void qtDialogsSpeakGerman();
    void chartTextsAreShownAsPlainText();
    void messageBoxesShowPlainText();
    void startStateStandsBehindTheOpeningHint();
    void orbFieldsAreOfferedSelected();
    void enterOnAResultEntryShowsItsText();
    void resultWindowIsAFixedDialogOfTheMainWindow();
    void printAndSaveDialogsProposeFolderAndName();
};

void GermanSessionTest::initTestCase()
{
    // As a German session has it: the process locale from LANG, Qt's default locale German.
    QVERIFY2(std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr,
             "locale de_DE.UTF-8 missing; tools/install-deps generates it");
    QCOMPARE(std::localeconv()->decimal_point, std::string_view(","));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QVERIFY2(install_german_translations(), "qtbase_de.qm missing (qt6-translations-l10n)");
}

void GermanSessionTest::orbFieldsOfTheMainWindowReadTheDecimalComma()
{
    const struct {
        const char *orb_double, *orb_simple;
        double d, s;
        const char *label14, *label15;
    } cases[] = {
        {"1,5", "0,5", 1.5, 0.5, " D-Orbis: 01\xB0" "30' ", " E-Orbis: 00\xB0" "30' "},
        {"2.5", "0,8", 2.5, 0.8, " D-Orbis: 02\xB0" "30' ", " E-Orbis: 00\xB0" "48' "},
        {"25", "1,0", 2.0, 1.0, " D-Orbis: 02\xB0" "00' ", " E-Orbis: 01\xB0" "00' "},
    };
    for (const auto& c : cases) {
        Fixture fx;
        fx.start();
        fx.load1(make_chart(fx.drive, "MEIER.DAT", meier()));
        fx.load2(make_chart(fx.drive, "SCHULZ.DAT", schulz()));
        fx.form->Edit1->clear();
        fx.form->Edit2->clear();
        fx.form->Edit1->setFocus();
        QTest::keyClicks(fx.form->Edit1, QString::fromLatin1(c.orb_double));
        if (fx.form->Edit1->hasFocus()) QTest::keyClick(fx.form->Edit1, Qt::Key_Tab);  // "25" has two characters
        QTest::keyClicks(fx.form->Edit2, QString::fromLatin1(c.orb_simple));
        QCOMPARE(fx.form->orbs.orb_double, c.d);
        QCOMPARE(fx.form->orbs.orb_simple, c.s);
        QCOMPARE(fx.form->Label14->text(), q(c.label14));
        QCOMPARE(fx.form->Label15->text(), q(c.label15));
        QVERIFY(fx.form->Solar1->isEnabled());
    }
}

void GermanSessionTest::savedReportsEqualTheCommandLine()
{
    Fixture fx;
    TForm1& f = start_with_orbs(fx, "1,2", "1,5");
    QCOMPARE(f.orbs.orb_double, 1.2);
    const std::vector<std::string> orbs = {"--double", "1,2", "--simple", "1,5"};
    const Analysis analyses[] = {
        {"solar", &TForm1::Solar1},
        {"double", &TForm1::doppelte1},
        {"simple", &TForm1::einfache1},
        {"list", &TForm1::asas1},
    };
    for (const Analysis& a : analyses) {
        const std::string saved = save_from(fx, f.*a.entry);
        QVERIFY2(saved.size() > 200, a.cli_name);
        QVERIFY2(saved == cli_report(fx, a.cli_name, orbs), a.cli_name);
    }

    // The half-sum evaluation waits for Edit3, which offers its last text selected.
    {
        const QSignalBlocker quiet(f.Edit3);
        f.Edit3->setText(QStringLiteral("0,8"));
    }
    const std::string saved = (fx.drive / "halbsummen.txt").string();
    bool offered = false;
    QTimer::singleShot(0, &f, [&] {
        offered = f.waiting_for_halfsum_orb() && f.Edit3->hasFocus() && f.Edit3->selectedText() == "0,8";
        QTimer::singleShot(0, f.Form2, [&] {
            fx.desktop.save_paths.push_back(saved);
            QTest::mouseClick(f.Form2->Button1, Qt::LeftButton);
            f.Form2->accept();
        });
        QTest::keyClicks(f.Edit3, QStringLiteral("0,5"));
    });
    f.Halbsummen1->trigger();
    QVERIFY(offered);
    QCOMPARE(f.orbs.orb_halfsum, 0.5);
    std::vector<std::string> halfsum_orbs = orbs;
    halfsum_orbs.insert(halfsum_orbs.end(), {"--halfsum", "0,5"});
    QVERIFY(test_support::slurp(saved).size() > 200);
    QVERIFY(test_support::slurp(saved) == cli_report(fx, "halfsum", halfsum_orbs));
}

void GermanSessionTest::savedReportDiffersOnlyByTheMemoWrap()
{
    // Saving writes a line wider than the memo as the pieces the memo shows it in: such a report
    // differs from the command line's only by those line breaks.
    Fixture fx;
    TForm1& f = start_with_orbs(fx, "2,0", "1,5");
    const std::string wrapped = save_from(fx, f.doppelte1);
    const std::string whole = cli_report(fx, "double", {"--double", "2,0", "--simple", "1,5"});
    const auto breaks = [](const std::string& text) { return std::count(text.begin(), text.end(), '\n'); };
    const auto unbroken = [](std::string text) {
        std::erase(text, '\r');
        std::erase(text, '\n');
        return text;
    };
    QVERIFY(breaks(wrapped) > breaks(whole));
    QVERIFY(unbroken(wrapped) == unbroken(whole));
}

void GermanSessionTest::qtDialogsSpeakGerman()
{
    QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Save | QDialogButtonBox::Open);
    QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));
    QCOMPARE(buttons.button(QDialogButtonBox::Save)->text(), QStringLiteral("Speichern"));
    QCOMPARE(buttons.button(QDialogButtonBox::Open)->text(), QString::fromUtf8("\u00D6ffnen"));
    // The print dialog's own texts: its print-to-file entry.
    QtDesktop desktop;
    QVERIFY(with_modal<QPrintDialog>([&] { QVERIFY(!desktop.open_printer_named("x")); },
                                     [](QPrintDialog& dialog) {
                                         auto* printers = dialog.findChild<QComboBox*>(QStringLiteral("printers"));
                                         QVERIFY(printers != nullptr);
                                         QVERIFY(printers->findText(QStringLiteral("In PDF-Datei drucken")) >= 0);
                                         dialog.reject();
                                     }));
}

void GermanSessionTest::chartTextsAreShownAsPlainText()
{
    Fixture fx;
    fx.start();
    chart_record marked = meier();
    marked.name = "<h1>Ab";
    marked.extra = "<u>Ort";
    fx.load1(make_chart(fx.drive, "<h1>Ab.dat", marked));
    QCOMPARE(fx.form->Label1->text(), QStringLiteral(" <h1>Ab"));
    QCOMPARE(fx.form->Label5->text(), QStringLiteral(" <u>Ort"));
    // As plain text the label keeps its one line of 13 pixels; as markup "Ab" would be a heading.
    QVERIFY(fx.form->Label1->sizeHint().height() < 24);
    QVERIFY(fx.form->Label1->sizeHint().width() > QFontMetrics(fx.form->Label1->font()).horizontalAdvance(QStringLiteral("Ab")) * 2);
    for (const QLabel* label : fx.form->findChildren<QLabel*>())
        QVERIFY2(label->textFormat() == Qt::PlainText, qPrintable(label->objectName()));
    for (const QLabel* label : fx.form->Form2->findChildren<QLabel*>())
        QVERIFY2(label->textFormat() == Qt::PlainText, qPrintable(label->objectName()));
}

void GermanSessionTest::messageBoxesShowPlainText()
{
    QtDesktop desktop;
    const std::string text = "<b>Ab</b>.dat ist keine Horoskop-Datei.";
    QVERIFY(with_modal<QMessageBox>([&] { desktop.message(BoxType::error, text, Buttons::ok); },
                                    [&](QMessageBox& box) {
                                        QCOMPARE(box.textFormat(), Qt::PlainText);
                                        QCOMPARE(box.text(), QString::fromStdString(text));
                                        QCOMPARE(box.windowTitle(), q(texts::kBoxError));
                                        box.button(QMessageBox::Ok) ? box.button(QMessageBox::Ok)->click()
                                                                    : box.buttons().front()->click();
                                    }));
}

void GermanSessionTest::startStateStandsBehindTheOpeningHint()
{
    Fixture fx;
    bool checked = false;
    fx.desktop.on_message = [&](const Box& box) {
        if (box.text != texts::kHintStart) return;
        checked = true;
        TForm1& f = *fx.form;
        QVERIFY(f.isVisible());
        for (QWidget* w : std::initializer_list<QWidget*>{f.Edit1, f.Edit2, f.Edit3, f.Memo1, f.Label11,
                                                          f.Label12, f.Label13, f.Label14, f.Label15})
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
        QVERIFY(f.name1->isEnabled());
        for (QAction* a : {f.name2, f.Solar1, f.mcmc1->menuAction(), f.Halbsummen1, f.asas1, f.Ende1})
            QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
    };
    fx.start();
    QVERIFY(checked);
}

void GermanSessionTest::orbFieldsAreOfferedSelected()
{
    Fixture fx;
    fx.start();
    fx.load1(make_chart(fx.drive, "MEIER.DAT", meier()));
    fx.load2(make_chart(fx.drive, "SCHULZ.DAT", schulz()));
    fx.type_orbs("1,5", "0,5");
    fx.form->Ende1->trigger();  // restart, answered Yes; the fields keep their texts
    fx.load1(make_chart(fx.drive, "MEIER.DAT", meier()));
    fx.load2(make_chart(fx.drive, "SCHULZ.DAT", schulz()));

    // Typing replaces the offered text; the next field is offered selected too, and Tab takes it.
    QVERIFY(fx.form->Edit1->hasFocus());
    QCOMPARE(fx.form->Edit1->selectedText(), QStringLiteral("1,5"));
    QTest::keyClicks(fx.form->Edit1, QStringLiteral("2,0"));
    QCOMPARE(fx.form->Edit1->text(), QStringLiteral("2,0"));
    QVERIFY(fx.form->Edit2->hasFocus());
    QCOMPARE(fx.form->Edit2->selectedText(), QStringLiteral("0,5"));
    QTest::keyClick(fx.form->Edit2, Qt::Key_Tab);
    QCOMPARE(fx.form->orbs.orb_double, 2.0);
    QCOMPARE(fx.form->orbs.orb_simple, 0.5);
    QVERIFY(fx.form->Solar1->isEnabled());
}

void GermanSessionTest::enterOnAResultEntryShowsItsText()
{
    Fixture fx;
    fx.ready();
    TForm2& r = *fx.form->Form2;
    ResultText result;
    result.analysis_title = std::string(texts::kTitleDoubles);
    result.caption = std::string(texts::kCaptionDoubles);
    result.lines = {"Zeile"};
    result.entries = {"MC/SO=JU/SA", "MC/JU=VE/MA"};
    QVERIFY(show_result(r, result));
    r.ListBox1->setFocus();
    r.ListBox1->setCurrentRow(1, QItemSelectionModel::NoUpdate);
    fx.desktop.boxes.clear();
    QTest::keyClick(r.ListBox1, Qt::Key_Return);
    std::vector<std::string> expected;
    for (const MessageBox& box : click_display("MC/JU=VE/MA", fx.form->ktexte, DriveC(fx.drive)))
        expected.push_back(box.text);
    QVERIFY(!expected.empty());
    QCOMPARE(fx.desktop.take_texts(), expected);
    QVERIFY(r.ListBox1->item(1)->isSelected());
    QVERIFY(r.isVisible());  // Enter does not close the window
    QTest::keyClick(r.ListBox1, Qt::Key_Enter);
    QCOMPARE(fx.desktop.take_texts(), expected);
    r.hide();
}

void GermanSessionTest::resultWindowIsAFixedDialogOfTheMainWindow()
{
    Fixture fx;
    fx.start();
    const TForm2& r = *fx.form->Form2;
    QCOMPARE(r.parentWidget(), static_cast<QWidget*>(fx.form.get()));
    QCOMPARE(r.windowType(), Qt::Dialog);
    QVERIFY(!(r.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(r.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(r.windowFlags() & Qt::WindowCloseButtonHint);
    QCOMPARE(r.minimumSize(), QSize(686, 543));
    QCOMPARE(r.maximumSize(), QSize(686, 543));
}

void GermanSessionTest::printAndSaveDialogsProposeFolderAndName()
{
    QTemporaryDir dir;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QtDesktop desktop;

    // First print: the analysis in the documents folder, its '/' made fit for a file name.
    const QString pdf = dir.filePath(QStringLiteral("Bericht.pdf"));
    std::unique_ptr<LineDevice> job;
    QVERIFY(with_modal<QPrintDialog>([&] { job = desktop.open_printer_named(texts::kTitleSolar); },
                                     [&](QPrintDialog& dialog) {
                                         auto* file = dialog.findChild<QLineEdit*>(QStringLiteral("filename"));
                                         QVERIFY(file != nullptr);
                                         QCOMPARE(file->text(), documents + QStringLiteral("/SO1-SO2-Achse.pdf"));
                                         file->setText(pdf);
                                         dialog.accept();
                                     }));
    QVERIFY(job != nullptr);
    QVERIFY(job->write_line("Zeile"));
    QVERIFY(job->close());
    QVERIFY(QFileInfo::exists(pdf));

    // The save dialog then starts in that folder, not in the one the window asks for.
    std::optional<std::string> saved;
    QVERIFY(with_modal<QFileDialog>([&] { saved = desktop.save_file("/"); },
                                    [&](QFileDialog& dialog) {
                                        QCOMPARE(dialog.directory().absolutePath(), dir.path());
                                        dialog.selectFile(QStringLiteral("bericht.txt"));
                                        static_cast<QDialog&>(dialog).accept();
                                    }));
    QCOMPARE(saved.value_or(""), dir.filePath(QStringLiteral("bericht.txt")).toStdString());

    // And the next print proposes its file there, named after its analysis.
    QVERIFY(with_modal<QPrintDialog>(
        [&] { QVERIFY(!desktop.open_printer_named(std::string(texts::kTitleMcAsList) + std::string(texts::kExportJobSuffix))); },
        [&](QPrintDialog& dialog) {
            QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("filename"))->text(),
                     dir.filePath(QStringLiteral("MC-AS-Liste (nur gemeinsame) - Texte.pdf")));
            dialog.reject();
        }));

    // The result window names its print jobs after the analysis.
    Fixture fx;
    fx.ready();
    TForm2& r = *fx.form->Form2;
    ResultText result;
    result.analysis_title = std::string(texts::kTitleSimples);
    result.caption = std::string(texts::kCaptionSimples);
    result.lines = {"Zeile"};
    result.entries = {"MC/SO=JU/SA"};
    QVERIFY(show_result(r, result));
    QTest::mouseClick(r.Button2, Qt::LeftButton);
    r.RadioButton4->setChecked(true);
    QCOMPARE(fx.desktop.print_names,
             (std::vector<std::string>{std::string(texts::kTitleSimples),
                                       std::string(texts::kTitleSimples) + std::string(texts::kExportJobSuffix)}));
    r.hide();
}

void GermanSessionTest::typedTextKeepsWhatFollowsACharacterWindows1252Lacks()
{
    // Each character Windows-1252 lacks becomes one '?'; the characters after it stay themselves.
    const struct {
        QString typed;
        std::string bytes;
    } cases[] = {
        {QStringLiteral("M\u00FCller"), "M\xFCller"},
        {QStringLiteral("a\u2192b\u00E4 \u2026"), "a?b\xE4 \x85"},
        {QStringLiteral("\u0141\u00F3d\u017A"), "?\xF3" "d?"},
        {QStringLiteral("x\U0001F600y"), "x??y"},
    };
    for (const auto& c : cases) QCOMPARE(QByteArray::fromStdString(from_qt(c.typed)).toHex(), QByteArray::fromStdString(c.bytes).toHex());
}

QTEST_MAIN(GermanSessionTest)
#include "german_session_test.moc"
