// SPDX-License-Identifier: GPL-3.0-or-later
// The result window: each comparison fills it, a click shows the entry's text, the report is
// saved and printed, the interpretation texts are exported to a file and to the printer.
#include <QListWidget>
#include <QProcess>
#include <QRadioButton>
#include <QScrollBar>
#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QFileDialog>
#include <QTimer>
#include <QApplication>
#include <QTest>
#include <functional>

#include "analysis/comparisons.h"
#include "base/texts.h"
#include "desktop/qt_desktop.h"
#include "fixture.h"
#include "results/report.h"

using namespace duoskop;
using namespace duoskop::test;

namespace {

QString q(std::string_view cp1252) { return to_qt(cp1252); }

/// The text of a PDF file as pdftotext reads it, page by page (form feeds between pages).
QString pdf_text(const std::string& path)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-layout"), QString::fromStdString(path), QStringLiteral("-")});
    if (!pdftotext.waitForFinished(60000)) return {};
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

/// A picture collection with the axis pair MC/SO only: JU/SA in slot 0 (a text with DOS umlauts
/// and a line that counts as blank), SA/JU in slot 253 (never searched).
void make_collection(const std::filesystem::path& drive)
{
    using namespace text_testing;
    write_bytes(drive / "PBTX" / "MCSO.vwt", picture_index({{0, "JU/SA"}, {253, "SA/JU"}}));
    write_bytes(drive / "PBTX" / "MCSO.txt",
                picture_record({"Gemeinsame Gr\x94\xE1" "e durch Ausdauer.",
                                "          erst ab Spalte elf: gilt als leer",
                                "Beruf und Pflicht tragen einander."}));
}

void click_entry(QListWidget* list, int row)
{
    list->setCurrentRow(row);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
}

const std::string sample_daten = std::string(DUOSKOP_SOURCE_DRIVE_C) + "/astro/daten/";

/// The sample pair loaded and the orbs 1,5 and 0,5 typed: the double complements then write
/// lines wider than the room left of the list.
void ready_with_sample_pair(Fixture& fx)
{
    fx.start();
    fx.load1(sample_daten + "ALBRECHT.dat");
    fx.load2(sample_daten + "HOLLMANN.dat");
    fx.type_orbs("1,5", "0,5");
    fx.desktop.boxes.clear();
}

/// Runs the comparison of `entry` (the half-sum evaluation with its orb 0,5 typed into Edit3)
/// and `inspect` while its result window is shown; then the window closes.
void run_comparison(TForm1& f, QAction* entry, const std::function<void()>& inspect)
{
    if (entry != f.Halbsummen1) {
        QVERIFY(while_modal(f.Form2, [&] { entry->trigger(); }, inspect));
        return;
    }
    bool shown = false;
    QTimer::singleShot(0, &f, [&] {
        QTimer::singleShot(0, f.Form2, [&] {
            shown = f.Form2->isVisible();
            inspect();
            f.Form2->accept();
        });
        QTest::keyClicks(f.Edit3, QStringLiteral("0,5"));
    });
    entry->trigger();
    QVERIFY(shown);
}

ResultText sample_result()
{
    ResultText r;
    r.analysis_title = std::string(texts::kTitleSimples);
    r.caption = std::string(texts::kCaptionSimples);
    r.lines = {"  Hans Meier,   Erika Schulz", "", std::string(200, 'x'), "Ende"};
    r.entries = {"MC/SO=JU/SA", "MC/SO=VE/MA", "MC/SO=JU/SA"};
    return r;
}

}  // namespace

class ResultWindowTest : public QObject {
    Q_OBJECT
private slots:
    void eachComparisonFillsTheWindowFromItsFirstLine();
    void clickShowsPictureTextOrSingleMeanings();
    void clickWithoutCollectionOrSingleMeanings();
    void saveWritesLongLinesInPieces();
    void exportToFilesInBothScopes();
    void printingTheReportAndTheTexts();
    void wideLinesStayInTheirColumns();
    void savingAndPrintingCutTheSamplePairAsBefore();
};

void ResultWindowTest::eachComparisonFillsTheWindowFromItsFirstLine()
{
    Fixture fx;
    fx.ready();
    TForm1& f = *fx.form;
    struct Run {
        QAction* entry;
        std::string_view caption;
        std::string_view title;
        std::string_view hint;  // shown before the window at the first run
    };
    const Run runs[] = {
        {f.Solar1, texts::kCaptionSolar, texts::kTitleSolar, texts::kHintSolar},
        {f.doppelte1, texts::kCaptionDoubles, texts::kTitleDoubles, texts::kHintDoubles},
        {f.einfache1, texts::kCaptionSimples, texts::kTitleSimples, texts::kHintSimples},
        {f.asas1, texts::kCaptionMcAsList, texts::kTitleMcAsList, {}},
    };
    for (int round = 0; round < 2; ++round) {
        for (const Run& run : runs) {
            // Whatever was scrolled before, the report starts at its first line and column.
            QScrollBar* bar = f.Form2->Memo1->verticalScrollBar();
            QScrollBar* sideways = f.Form2->Memo1->horizontalScrollBar();
            f.Form2->Memo1->moveCursor(QTextCursor::End);
            bar->setValue(bar->maximum());
            sideways->setValue(sideways->maximum());
            QString caption;
            int scroll = -1;
            int scroll_sideways = -1;
            int cursor_block = -1;
            QVERIFY(while_modal(f.Form2, [&] { run.entry->trigger(); }, [&] {
                caption = f.Form2->windowTitle();
                scroll = bar->value();
                scroll_sideways = sideways->value();
                cursor_block = f.Form2->Memo1->textCursor().blockNumber();
            }));
            QCOMPARE(caption, q(run.caption));
            QCOMPARE(f.Form2->analysis_title(), std::string(run.title));
            QCOMPARE(scroll, 0);
            QCOMPARE(scroll_sideways, 0);
            QCOMPARE(cursor_block, 0);
            QCOMPARE(f.Form2->ListBox1->count(), static_cast<int>(f.Form2->entries().size()));
            std::vector<std::string> expected_boxes;
            if (round == 0 && !run.hint.empty()) expected_boxes.emplace_back(run.hint);
            QCOMPARE(fx.desktop.take_texts(), expected_boxes);
        }
    }
    // The report lines are the comparison's own.
    const ResultText list = mc_as_list(f.chart, f.orbs);
    QCOMPARE(f.Form2->Memo1->document()->firstBlock().text(), q(list.lines.front()));
    QCOMPARE(f.Form2->entries(), list.entries);
}

void ResultWindowTest::clickShowsPictureTextOrSingleMeanings()
{
    Fixture fx;
    make_collection(fx.drive);
    fx.ready();
    TForm2& r = *fx.form->Form2;
    ResultText result = sample_result();
    result.entries.push_back("MC/JU=VE/MA");  // no index file MCJU.vwt in the collection
    QVERIFY(show_result(r, result));

    click_entry(r.ListBox1, 0);
    QCOMPARE(fx.desktop.boxes.size(), std::size_t{1});
    QVERIFY(fx.desktop.boxes[0].type == BoxType::information);
    const std::string picture = fx.desktop.boxes[0].text;
    QVERIFY(picture.starts_with("MC/SO=JU/SA\r\rGemeinsame Gr\xF6\xDF" "e durch Ausdauer."));
    QVERIFY(picture.find("Spalte elf") == std::string::npos);
    QVERIFY(picture.find("Beruf und Pflicht") != std::string::npos);
    QCOMPARE(r.ListBox1->currentRow(), 0);
    fx.desktop.boxes.clear();

    // Not in the index: the single meanings with their heading.
    click_entry(r.ListBox1, 1);
    QCOMPARE(fx.desktop.boxes.size(), std::size_t{1});
    QVERIFY(fx.desktop.boxes[0].text.starts_with(std::string(texts::kOnlySingleTextsBefore) +
                                                 "MC/SO = VE/MA"));
    QVERIFY(fx.desktop.boxes[0].text.find("VE/MA: Anziehung und Leidenschaft") != std::string::npos);
    fx.desktop.boxes.clear();

    // No index file for the axis pair: the collection error box, then the meanings unheaded.
    click_entry(r.ListBox1, 3);
    QCOMPARE(fx.desktop.boxes.size(), std::size_t{2});
    QCOMPARE(fx.desktop.boxes[0].text, std::string(texts::kCollectionMissing));
    QVERIFY(fx.desktop.boxes[0].type == BoxType::error);
    QVERIFY(fx.desktop.boxes[1].text.starts_with("MC/JU: Erfolg und Anerkennung"));
    r.hide();
}

void ResultWindowTest::clickWithoutCollectionOrSingleMeanings()
{
    Fixture fx(false);
    fx.ready();
    TForm2& r = *fx.form->Form2;
    QVERIFY(show_result(r, sample_result()));
    click_entry(r.ListBox1, 1);
    QCOMPARE(fx.desktop.boxes.size(), std::size_t{2});
    QCOMPARE(fx.desktop.boxes[0].text, std::string(texts::kCollectionMissing));
    QCOMPARE(fx.desktop.boxes[1].text, std::string(texts::kReminderKtexte));
    QVERIFY(fx.desktop.boxes[1].type == BoxType::error);
    r.hide();
}

void ResultWindowTest::saveWritesLongLinesInPieces()
{
    Fixture fx;
    fx.ready();
    TForm2& r = *fx.form->Form2;
    QVERIFY(show_result(r, sample_result()));

    const auto path = fx.drive / "bericht.txt";
    write_bytes(path, std::string(5000, '#'));  // the dialog asked before replacing it
    fx.desktop.save_paths.push_back(path.string());
    QTest::mouseClick(r.Button1, Qt::LeftButton);
    QCOMPARE(fx.desktop.save_dirs.back(), fx.drive.string());
    QCOMPARE(fx.desktop.asking_saves, 1);
    QVERIFY(fx.desktop.boxes.empty());

    // The real dialog behind it: the report's asks before replacing a file, the export's does not.
    QtDesktop real(&r);
    for (const bool asking : {true, false}) {
        bool asks = !asking;
        QTimer::singleShot(200, [&asks] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                asks = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
                dialog->reject();
            }
        });
        const auto chosen = asking ? real.save_file_asking(fx.drive.string()) : real.save_file(fx.drive.string());
        QVERIFY(!chosen);
        QCOMPARE(asks, asking);
    }

    // The 200-character line without a blank is saved in pieces of 90 characters.
    const std::vector<std::string> lines = r.saved_lines();
    QCOMPARE(lines, (std::vector<std::string>{"  Hans Meier,   Erika Schulz", "", std::string(90, 'x'),
                                              std::string(90, 'x'), std::string(20, 'x'), "Ende"}));
    QCOMPARE(test_support::slurp(path), text_file_bytes(lines));

    // A cancelled dialog writes nothing; an empty report gives an empty file.
    QTest::mouseClick(r.Button1, Qt::LeftButton);
    QCOMPARE(test_support::slurp(path), text_file_bytes(lines));
    ResultText empty = sample_result();
    empty.lines.clear();
    r.fill(empty);
    fx.desktop.save_paths.push_back(path.string());
    QTest::mouseClick(r.Button1, Qt::LeftButton);
    QCOMPARE(std::filesystem::file_size(path), std::uintmax_t{0});

    // A file that cannot be created: the error box, the window stays usable.
    fx.desktop.save_paths.push_back((fx.drive / "fehlt" / "x.txt").string());
    QTest::mouseClick(r.Button1, Qt::LeftButton);
    QCOMPARE(fx.desktop.boxes.size(), std::size_t{1});
    QVERIFY(fx.desktop.boxes[0].type == BoxType::error);
    QVERIFY(r.isVisible());
    r.hide();
}

void ResultWindowTest::exportToFilesInBothScopes()
{
    Fixture fx;
    make_collection(fx.drive);
    fx.ready();
    TForm2& r = *fx.form->Form2;
    QVERIFY(show_result(r, sample_result()));
    QVERIFY(r.Panel1->isHidden());

    const auto full = [](std::string line) { return line + std::string(73 - line.size(), ' '); };
    const std::string picture_block = "MC/SO=JU/SA\r\n" +
                                      full("Gemeinsame Gr\xF6\xDF" "e durch Ausdauer.") + "\r\n" +
                                      full("Beruf und Pflicht tragen einander.") + "\r\n    \r\n";
    const std::string header = "Hans Meier,   Erika Schulz";

    const auto run_export = [&](QRadioButton* radio, const std::filesystem::path& path) {
        QTest::mouseClick(r.Button4, Qt::LeftButton);
        QVERIFY(!r.Panel1->isHidden());
        QVERIFY(!radio->isChecked());
        fx.desktop.save_paths.push_back(path.string());
        QTest::mouseClick(radio, Qt::LeftButton);
        QVERIFY(r.Panel1->isHidden());
    };

    // "nur PL-Bild-Texte": the entry without a picture text leaves no trace; four blanks.
    const auto pictures = fx.drive / "bilder.txt";
    run_export(r.RadioButton1, pictures);
    QCOMPARE(fx.desktop.take_texts(), std::vector<std::string>{std::string(texts::kExportChoiceHint)});
    QCOMPARE(test_support::slurp(pictures), header + "    " + std::string(texts::kTitleSimples) + "\r\n\r\n" +
                                      picture_block + picture_block);

    // "alle": the single meanings stand in; three blanks. The same radio button works again.
    const auto all = fx.drive / "alle.txt";
    run_export(r.RadioButton2, all);
    const std::string substitute = "MC/SO=VE/MA\r\nMC/SO: Berufliche Ziele\r\n"
                                   "VE/MA: Anziehung und Leidenschaft\r\n    \r\n";
    QCOMPARE(test_support::slurp(all), header + "   " + std::string(texts::kTitleSimples) + "\r\n\r\n" +
                                 picture_block + substitute + picture_block);
    run_export(r.RadioButton1, pictures);
    QVERIFY(test_support::slurp(pictures).starts_with(header + "    "));

    // Cancelling the dialog hides the panel and writes nothing.
    QTest::mouseClick(r.Button4, Qt::LeftButton);
    QTest::mouseClick(r.RadioButton2, Qt::LeftButton);
    QVERIFY(r.Panel1->isHidden());
    r.hide();
}

void ResultWindowTest::printingTheReportAndTheTexts()
{
    Fixture fx;
    make_collection(fx.drive);
    fx.ready();
    TForm2& r = *fx.form->Form2;
    ResultText result = sample_result();
    // A line wider than the page and enough lines for a second page.
    result.lines.push_back(std::string(60, 'a') + std::string(60, 'b') + std::string(60, 'c'));
    for (int i = 1; i <= 120; ++i) result.lines.push_back("Zeile " + std::to_string(i));
    QVERIFY(show_result(r, result));

    const std::string report_pdf = (fx.drive / "bericht.pdf").string();
    fx.desktop.pdf_paths.push_back(report_pdf);
    QTest::mouseClick(r.Button2, Qt::LeftButton);
    QVERIFY(fx.desktop.boxes.empty());
    const QString report = pdf_text(report_pdf);
    QVERIFY2(!report.isEmpty(), "pdftotext read nothing");
    const QStringList pages = report.split(QChar(u'\f'), Qt::SkipEmptyParts);
    QVERIFY(pages.size() >= 2);
    QVERIFY(pages[0].contains(QStringLiteral("Hans Meier,   Erika Schulz")));
    QVERIFY(pages[0].contains(QStringLiteral("Zeile 1\n")));
    QVERIFY(report.contains(QStringLiteral("Zeile 120")));
    // The long line continues on the next printed line, nothing lost.
    QString letters;
    for (const QString& line : report.split(QChar(u'\n'))) {
        const QString t = line.trimmed();
        if (!t.isEmpty() && (t[0] == u'a' || t[0] == u'b' || t[0] == u'c') &&
            t.count(t[t.size() - 1]) > 3)
            letters += t;
    }
    QCOMPARE(letters, QString(60, u'a') + QString(60, u'b') + QString(60, u'c'));
    QVERIFY(!report.contains(QString(180, u'x').left(120)));  // nothing printed past the edge
    // A cancelled printer dialog prints nothing; a printer that fails shows an error box.
    QTest::mouseClick(r.Button2, Qt::LeftButton);
    QVERIFY(fx.desktop.boxes.empty());
    fx.desktop.pdf_paths.push_back((fx.drive / "fehlt" / "x.pdf").string());
    QTest::mouseClick(r.Button2, Qt::LeftButton);
    QCOMPARE(fx.desktop.boxes.size(), std::size_t{1});
    QVERIFY(fx.desktop.boxes[0].type == BoxType::error);
    fx.desktop.boxes.clear();

    // The export of all texts to the printer: two empty lines, the header, every line indented.
    const std::string texts_pdf = (fx.drive / "texte.pdf").string();
    QTest::mouseClick(r.Button4, Qt::LeftButton);
    fx.desktop.pdf_paths.push_back(texts_pdf);
    QTest::mouseClick(r.RadioButton4, Qt::LeftButton);
    QVERIFY(r.Panel1->isHidden());
    const QString exported = pdf_text(texts_pdf);
    QVERIFY(exported.contains(QStringLiteral("Hans Meier,   Erika Schulz   ") + q(texts::kTitleSimples)));
    QVERIFY(exported.contains(QStringLiteral("VE/MA: Anziehung und Leidenschaft")));
    QCOMPARE(exported.count(QStringLiteral("MC/SO=JU/SA")), 2);
    r.hide();
}

void ResultWindowTest::wideLinesStayInTheirColumns()
{
    // The double complements of the sample pair write lines of up to 94 characters: the text area
    // ends where the yellow list begins, no line wraps, and the text scrolls sideways to its end.
    Fixture fx;
    ready_with_sample_pair(fx);
    TForm1& f = *fx.form;
    TForm2& r = *f.Form2;
    run_comparison(f, f.doppelte1, [&] {
        QCOMPARE(r.ListBox1->geometry(), QRect(536, 18, 121, 470));
        QCOMPARE(r.Memo1->geometry(), QRect(4, 8, 532, 489));
        QTextDocument* document = r.Memo1->document();
        auto* layout = qobject_cast<QPlainTextDocumentLayout*>(document->documentLayout());
        QVERIFY(layout != nullptr);
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
            layout->ensureBlockLayout(block);
            QVERIFY2(block.layout()->lineCount() == 1, qPrintable(block.text()));
        }
        // Scrolled to the right, the end of the line of "AD/PO" stands inside the text area.
        QTextCursor end = document->find(QStringLiteral("AD/PO"));
        QVERIFY(!end.isNull());
        QVERIFY(end.block().length() > 90);
        end.movePosition(QTextCursor::EndOfBlock);
        QScrollBar* sideways = r.Memo1->horizontalScrollBar();
        sideways->setValue(sideways->maximum());
        const QRect shown = r.Memo1->viewport()->rect();
        QVERIFY(shown.contains(r.Memo1->cursorRect(end).center()));
    });
}

void ResultWindowTest::savingAndPrintingCutTheSamplePairAsBefore()
{
    // Saving and printing cut a line as the result window always has (at a word boundary within the
    // columns its text used to wrap at): the bytes of earlier versions, for every comparison.
    Fixture fx;
    ready_with_sample_pair(fx);
    fx.desktop.record_prints = true;
    TForm1& f = *fx.form;
    const struct {
        const char* name;
        QAction* entry;
    } comparisons[] = {{"solar", f.Solar1}, {"double", f.doppelte1}, {"simple", f.einfache1},
                       {"halfsum", f.Halbsummen1}, {"list", f.asas1}};
    for (const auto& c : comparisons) {
        const auto saved = fx.drive / (std::string(c.name) + ".txt");
        fx.desktop.printed.clear();
        run_comparison(f, c.entry, [&] {
            fx.desktop.save_paths.push_back(saved.string());
            QTest::mouseClick(f.Form2->Button1, Qt::LeftButton);
            QTest::mouseClick(f.Form2->Button2, Qt::LeftButton);
        });
        const std::string expected_path =
            std::string(DUOSKOP_TEST_DATA) + "/reports/saved_albrecht_hollmann_" + c.name + ".txt";
        const std::string expected = test_support::slurp(expected_path);
        QVERIFY2(test_support::slurp(saved) == expected, c.name);
        // The printed lines: two empty ones, then the saved lines.
        std::string printed;
        for (std::size_t i = 2; i < fx.desktop.printed.size(); ++i) printed += fx.desktop.printed[i] + "\r\n";
        QVERIFY2(fx.desktop.printed.size() > 2 && fx.desktop.printed[0].empty() && fx.desktop.printed[1].empty(), c.name);
        QVERIFY2(printed == expected, c.name);
    }
    QVERIFY(fx.desktop.boxes.size() <= 4);  // the first-time hints only
}

QTEST_MAIN(ResultWindowTest)
#include "result_window_test.moc"
