// SPDX-License-Identifier: GPL-3.0-or-later
// The text library window: editing on the grid of the files, refusals with their reason, a saved
// text at the next click of the result window, a file changed by another program, versions, the
// coverage of the current comparison with the reversed-form mark, typing that is never lost, and
// boxes that belong to this window.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QSplitter>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include "desktop/qt_desktop.h"
#include "desktop/textlib_window.h"
#include "fixture.h"
#include "results/pictures.h"

using namespace duoskop;
using namespace duoskop::test;
using text_testing::picture_index;
using text_testing::picture_record;
using test_support::slurp;

namespace {

/// Extras "Textbibliothek …" of `form`: its window, or nothing when the entry is not usable.
TextlibWindow* trigger_textlib(TForm1& form)
{
    auto* action = form.findChild<QAction*>(QStringLiteral("Textbibliothek1"));
    if (action == nullptr || !action->isEnabled()) return nullptr;
    action->trigger();
    for (QObject* child : form.children())
        if (auto* window = dynamic_cast<TextlibWindow*>(child)) return window;
    return nullptr;
}

/// The fixture's drive with a picture collection of one axis pair: MC/SO=JU/SA in slot 0.
TextlibWindow* open_window(Fixture& fx)
{
    write_bytes(fx.drive / "PBTX" / "MCSO.vwt", picture_index({{0, "JU/SA"}}));
    write_bytes(fx.drive / "PBTX" / "MCSO.txt", picture_record({"Zuversicht und Geduld im Beruf."}));
    fx.start();
    fx.desktop.boxes.clear();  // the opening hint
    return trigger_textlib(*fx.form);  // usable with no person loaded
}

/// The row of `formula` in the window's list, or -1.
int row_of(const TextlibWindow& w, const QString& formula)
{
    for (int row = 0; row < w.list->count(); ++row)
        if (w.list->item(row)->text().startsWith(formula + u' ')) return row;
    return -1;
}

std::vector<std::string> shown_lines(const Fixture& fx, const std::string& entry)
{
    std::vector<std::string> lines;
    for (const std::string& line : resolve_entry(entry, fx.form->ktexte, DriveC(fx.drive)).lines)
        lines.push_back(line.substr(0, line.find_last_not_of(' ') + 1));
    return lines;
}

}  // namespace

class TextlibWindowTest : public QObject {
    Q_OBJECT
private slots:
    void editsOnTheGridAndRefusesWhatTheFilesCannotHold();
    void coverageOfTheCurrentComparison();
    void anotherCollectionBesideTheFirst();
    void unsavedTypingIsSavedDiscardedOrKept();
    void coverageFollowsEachResultAndEscapeCloses();
    void importShowsWhatTheFilesNowHold();
    void boxesBelongToTheTextLibrary();
    void listAndEditorShareASplitter();
};

void TextlibWindowTest::editsOnTheGridAndRefusesWhatTheFilesCannotHold()
{
    Fixture fx;
    TextlibWindow* w = open_window(fx);
    QVERIFY(w != nullptr);
    QCOMPARE(w->list->count(), 5);  // four single meanings and one picture
    w->filter->setText(QStringLiteral("GEDULD"));
    QCOMPARE(w->list->count(), 2);  // JU/SA and MC/SO=JU/SA
    w->filter->clear();

    // A new picture: the words wrap onto the lines of the files, the room left is shown.
    w->newClick();
    w->formula->setText(QStringLiteral("MC/SO=VE/MA"));
    const QString words = QStringLiteral("Anziehung zwischen Ziel und Leidenschaft; die Begegnung wirkt stark und "
                                         "lange nach, gr\u00F6\u00DFer als gedacht.");
    w->editor->setPlainText(words);
    QVERIFY(w->room->text().startsWith(QStringLiteral("Zeilen: 2 von 14, in der letzten Zeile noch ")));
    w->saveClick();
    QVERIFY(fx.desktop.boxes.empty());
    QCOMPARE(shown_lines(fx, "MC/SO=VE/MA"),
             (std::vector<std::string>{"Anziehung zwischen Ziel und Leidenschaft; die Begegnung wirkt stark und",
                                       "lange nach, gr\xF6\xDF" "er als gedacht."}));
    QCOMPARE(w->list->count(), 6);

    // What the picture files cannot hold is refused with its reason; nothing is written.
    const std::string before = slurp(fx.drive / "PBTX" / "MCSO.txt");
    w->editor->setPlainText(QStringLiteral("So \u201Egut\u201C"));
    QVERIFY(w->room->text().contains(QStringLiteral("Zeile 1, Spalte 4")));
    w->saveClick();
    QCOMPARE(fx.desktop.boxes.size(), std::size_t{1});
    QVERIFY(fx.desktop.boxes[0].text.find("Spalte 4") != std::string::npos);
    QCOMPARE(slurp(fx.drive / "PBTX" / "MCSO.txt"), before);

    // A single meaning saved while the program runs shows at the next click of an entry.
    fx.desktop.boxes.clear();
    w->formula->setText(QStringLiteral("MC/SO"));
    w->editor->setPlainText(QStringLiteral("Ziele, neu gefasst"));
    w->saveClick();
    ResultText result;
    result.entries = {"MC/SO=AS/MO"};
    QVERIFY(show_result(*fx.form->Form2, result));
    fx.form->Form2->ListBox1->setCurrentRow(0);
    fx.form->Form2->ListBox1Click();
    QVERIFY(!fx.desktop.boxes.empty());
    QVERIFY(fx.desktop.boxes.back().text.find("MC/SO: Ziele, neu gefasst") != std::string::npos);
    fx.form->Form2->hide();

    // A file another program changed since it was read is not overwritten without leave.
    const std::string theirs = slurp(fx.drive / "PBTX" / "MCSO.txt") + picture_record({"von anderswo"});
    write_bytes(fx.drive / "PBTX" / "MCSO.txt", theirs);
    fx.desktop.boxes.clear();
    fx.desktop.answers = {Answer::no};
    w->formula->setText(QStringLiteral("MC/SO=JU/SA"));
    w->editor->setPlainText(QStringLiteral("Meine Fassung"));
    w->saveClick();
    QCOMPARE(fx.desktop.boxes.size(), std::size_t{1});
    QCOMPARE(fx.desktop.boxes[0].type, BoxType::confirmation);
    QVERIFY(fx.desktop.boxes[0].buttons == Buttons::yes_no_default_no);  // Enter keeps their file
    QCOMPARE(slurp(fx.drive / "PBTX" / "MCSO.txt"), theirs);

    // "Versionen …" brings back the texts as they were before the first change.
    w->refresh();
    QVERIFY(w->versions->count() >= 2);
    w->versions->setCurrentIndex(w->versions->count() - 1);
    fx.desktop.answers = {Answer::yes};
    w->versionsClick();
    QVERIFY(shown_lines(fx, "MC/SO=VE/MA").empty());
}

void TextlibWindowTest::coverageOfTheCurrentComparison()
{
    Fixture fx;
    TextlibWindow* w = open_window(fx);
    QVERIFY(w != nullptr);
    QCOMPARE(w->coverage_list->count(), 0);  // no comparison yet
    ResultText result;
    result.entries = {"MC/SO=JU/SA", "MC/JU=VE/MA", "JU/SA=MC/SO", "AP/AD=KR/VU"};
    QVERIFY(show_result(*fx.form->Form2, result));
    fx.form->Form2->hide();
    w->refresh();
    QCOMPARE(w->coverage_list->count(), 4);
    // Entry and source stand in columns (a list shows no tab).
    QCOMPARE(w->coverage_list->item(0)->text(), QStringLiteral("MC/SO=JU/SA   Bild"));
    QCOMPARE(w->coverage_list->item(1)->text(), QStringLiteral("MC/JU=VE/MA   Einzelbedeutungen"));
    QCOMPARE(w->coverage_list->item(2)->text(),
             QStringLiteral("JU/SA=MC/SO   Einzelbedeutungen  (umgekehrt vorhanden)"));
    QCOMPARE(w->coverage_list->item(3)->text(), QStringLiteral("AP/AD=KR/VU   keine"));
    QCOMPARE(w->coverage_counts->text(), QStringLiteral("4 Eintr\u00E4ge: 1 Bild, 2 Einzelbedeutungen, 1 keine"));

    // An entry without a picture text opens the editor on its formula; the reversed form's text
    // is offered and taken over, and saving it gives the entry a picture text.
    fx.desktop.answers = {Answer::yes};
    QTest::mouseClick(w->coverage_list->viewport(), Qt::LeftButton, {},
                      w->coverage_list->visualItemRect(w->coverage_list->item(2)).center());
    QCOMPARE(w->formula->text(), QStringLiteral("JU/SA=MC/SO"));
    QCOMPARE(w->editor->toPlainText(), QStringLiteral("Zuversicht und Geduld im Beruf."));
    w->saveClick();
    QCOMPARE(shown_lines(fx, "JU/SA=MC/SO"), std::vector<std::string>{"Zuversicht und Geduld im Beruf."});
    QCOMPARE(w->coverage_list->item(2)->text(), QStringLiteral("JU/SA=MC/SO   Bild"));
}

void TextlibWindowTest::anotherCollectionBesideTheFirst()
{
    Fixture fx;
    TextlibWindow* w = open_window(fx);
    QVERIFY(w != nullptr);
    const std::filesystem::path theirs = fx.drive / "Kollege";
    write_bytes(theirs / "MCSO.vwt", picture_index({{4, "JU/SA"}}));
    write_bytes(theirs / "MCSO.txt", std::string(4 * 1024, ' ') + picture_record({"Die Sicht des Kollegen."}));
    const std::string their_bytes = slurp(theirs / "MCSO.txt");
    w->open_formula("MC/SO=JU/SA");
    fx.desktop.open_paths.push_back((theirs / "MCSO.vwt").string());
    w->compareClick();
    QCOMPARE(w->editor->toPlainText(), QStringLiteral("Zuversicht und Geduld im Beruf."));
    QCOMPARE(w->other->toPlainText(), QStringLiteral("Die Sicht des Kollegen."));
    QVERIFY(w->take_button->isEnabled());
    w->takeClick();
    w->saveClick();
    QCOMPARE(shown_lines(fx, "MC/SO=JU/SA"), std::vector<std::string>{"Die Sicht des Kollegen."});
    QCOMPARE(slurp(theirs / "MCSO.txt"), their_bytes);  // the other collection is only read
}

void TextlibWindowTest::unsavedTypingIsSavedDiscardedOrKept()
{
    // Each way of leaving typed text behind, with each answer.
    enum class Door { other_entry, click_entry, close_window, quit_program };
    for (const Door door : {Door::other_entry, Door::click_entry, Door::close_window, Door::quit_program}) {
        for (const Answer answer : {Answer::save, Answer::discard, Answer::cancel}) {
            const QString name = QString::number(static_cast<int>(door)) + "/" + QString::number(static_cast<int>(answer));
            Fixture fx;
            TextlibWindow* w = open_window(fx);
            QVERIFY(w != nullptr);
            QVERIFY(QTest::qWaitForWindowExposed(w));
            const std::string stored = slurp(fx.drive / "PBTX" / "MCSO.txt");
            w->list->setCurrentRow(row_of(*w, "MC/SO=JU/SA"));
            QTRY_COMPARE(w->formula->text(), QStringLiteral("MC/SO=JU/SA"));
            QVERIFY(!w->unsaved());
            w->editor->setPlainText(QStringLiteral("Neu getippt"));
            QVERIFY(w->unsaved());
            fx.desktop.answers = {answer};
            switch (door) {
            case Door::other_entry:
                w->list->setCurrentRow(row_of(*w, "JU/SA"));
                QTRY_COMPARE(fx.desktop.boxes.size(), std::size_t{1});
                QApplication::processEvents();
                break;
            case Door::click_entry:
                QTest::mouseClick(w->list->viewport(), Qt::LeftButton, {},
                                  w->list->visualItemRect(w->list->item(row_of(*w, "JU/SA"))).center());
                QTRY_COMPARE(fx.desktop.boxes.size(), std::size_t{1});
                QTest::qWait(20);  // no second question follows
                break;
            case Door::close_window: w->close(); break;
            case Door::quit_program: fx.form->close(); break;
            }
            QVERIFY2(fx.desktop.boxes.size() == 1, qPrintable(name));
            QCOMPARE(fx.desktop.boxes[0].buttons, Buttons::save_discard_cancel);
            QVERIFY(fx.desktop.boxes[0].text.find("MC/SO=JU/SA") != std::string::npos);
            const bool kept = answer == Answer::cancel;
            QVERIFY2(w->unsaved() == kept, qPrintable(name));
            QCOMPARE(shown_lines(fx, "MC/SO=JU/SA"),
                     answer == Answer::save ? std::vector<std::string>{"Neu getippt"}
                                            : std::vector<std::string>{"Zuversicht und Geduld im Beruf."});
            if (answer != Answer::save) QCOMPARE(slurp(fx.drive / "PBTX" / "MCSO.txt"), stored);
            switch (door) {
            case Door::other_entry:
            case Door::click_entry:
                QCOMPARE(w->formula->text(), kept ? QStringLiteral("MC/SO=JU/SA") : QStringLiteral("JU/SA"));
                QCOMPARE(w->list->currentRow(), row_of(*w, kept ? "MC/SO=JU/SA" : "JU/SA"));
                if (kept) QCOMPARE(w->editor->toPlainText(), QStringLiteral("Neu getippt"));
                break;
            case Door::close_window: QCOMPARE(w->isVisible(), kept); break;
            case Door::quit_program:
                QCOMPARE(fx.desktop.ends, kept ? 0 : 1);
                QCOMPARE(fx.form->ended(), !kept);
                break;
            }
        }
    }
}

void TextlibWindowTest::coverageFollowsEachResultAndEscapeCloses()
{
    Fixture fx;
    fx.ready();
    TextlibWindow* w = trigger_textlib(*fx.form);
    QVERIFY(w != nullptr);
    QCOMPARE(w->coverage_list->count(), 0);
    // Each comparison run while the window is open shows in its coverage at once.
    std::size_t all_entries = 0;
    for (QAction* comparison : {fx.form->asas1, fx.form->doppelte1, fx.form->Solar1}) {
        QStringList shown;
        QVERIFY(while_modal(fx.form->Form2, [&] { comparison->trigger(); }, [&] {
            for (int row = 0; row < w->coverage_list->count(); ++row) shown << w->coverage_list->item(row)->text();
        }));
        const std::vector<std::string>& entries = fx.form->Form2->entries();
        QCOMPARE(shown.size(), static_cast<qsizetype>(entries.size()));
        for (std::size_t i = 0; i < entries.size(); ++i)
            QVERIFY2(shown[static_cast<qsizetype>(i)].startsWith(to_qt(entries[i]) + "   "), qPrintable(shown[static_cast<qsizetype>(i)]));
        all_entries += entries.size();
    }
    QVERIFY(all_entries > 0);

    // Escape closes the window.
    QTest::qWait(20);  // the main window's own activation after the comparison is through
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitFor([w] { return QApplication::activeWindow() == w; }));
    w->editor->setFocus();
    QTest::keyClick(w->editor, Qt::Key_Escape);
    QVERIFY(!w->isVisible());
}

void TextlibWindowTest::importShowsWhatTheFilesNowHold()
{
    Fixture fx;
    TextlibWindow* w = open_window(fx);
    QVERIFY(w != nullptr);
    w->open_formula("MC/SO=JU/SA");
    const std::filesystem::path file = fx.drive / "import.txt";

    // An import that deletes the picture open in the editor: the editor shows that it is gone.
    write_bytes(file, "[MC/SO=JU/SA]\n");
    fx.desktop.open_paths.push_back(file.string());
    w->importClick();
    QCOMPARE(w->editor->toPlainText(), QString());
    QVERIFY(!w->unsaved());
    QCOMPARE(row_of(*w, "MC/SO=JU/SA"), -1);
    QCOMPARE(fx.desktop.take_texts(),
             std::vector<std::string>{"\xDC" "bernommen: 0 ge\xE4ndert, 0 neu, 1 gel\xF6scht"});

    // Typing is never replaced by an import: it stays, unsaved.
    w->open_formula("MC/SO");
    w->editor->setPlainText(QStringLiteral("Meine Fassung"));
    write_bytes(file, "[MC/SO]\nvon au\xC3\x9F" "en\n");
    fx.desktop.open_paths.push_back(file.string());
    w->importClick();
    QCOMPARE(w->editor->toPlainText(), QStringLiteral("Meine Fassung"));
    QVERIFY(w->unsaved());
    fx.desktop.boxes.clear();

    // A refused import says that the file was not taken over; a folder is no file to import.
    write_bytes(file, "[MC/SO=JU/SA]\nSo \xE2\x80\x9Egut\xE2\x80\x9C\n");
    const std::string before = slurp(fx.drive / "PBTX" / "MCSO.txt");
    for (const std::filesystem::path& path : {file, fx.drive / "PBTX"}) {
        fx.desktop.open_paths.push_back(path.string());
        w->importClick();
        QCOMPARE(fx.desktop.boxes.size(), std::size_t{1});
        QCOMPARE(fx.desktop.boxes[0].type, BoxType::error);
        const std::string& text = fx.desktop.boxes[0].text;
        QVERIFY2(text.find("nicht gespeichert") == std::string::npos, text.c_str());
        if (path == file) QVERIFY2(text.find("Die Austauschdatei wurde nicht \xFC" "bernommen") == 0, text.c_str());
        else QVERIFY2(text.find(path.string() + ": ") == 0, text.c_str());
        fx.desktop.boxes.clear();
    }
    QCOMPARE(slurp(fx.drive / "PBTX" / "MCSO.txt"), before);
    QCOMPARE(w->editor->toPlainText(), QStringLiteral("Meine Fassung"));
}

namespace {

/// Answers every message box and file dialog as soon as it is up and notes the window it
/// belongs to: boxes with their default button, open dialogs with `file`.
struct BoxAnswerer {
    QTimer timer;
    std::vector<QWidget*> owners;
    std::vector<QString> texts;
    QString file;
    explicit BoxAnswerer(QString chosen) : file(std::move(chosen))
    {
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr || !modal->isVisible()) return;
            owners.push_back(modal->parentWidget() == nullptr ? nullptr : modal->parentWidget()->window());
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                texts.push_back(box->text());
                const bool asks_to_replace = box->text().contains(QStringLiteral("Trotzdem"));
                // "Trotzdem überschreiben?" offers No as its default; this answer takes Yes.
                if (asks_to_replace) QVERIFY(box->defaultButton() != nullptr && box->defaultButton()->text() == "&Nein");
                for (QAbstractButton* b : box->buttons())
                    if (b->text() == "&Ja" || b->text() == "OK") b->click();
            } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
                texts.push_back(QStringLiteral("Datei"));
                dialog->selectFile(file);
                QMetaObject::invokeMethod(dialog, "accept");
            }
        });
        timer.start();
    }
};

}  // namespace

void TextlibWindowTest::boxesBelongToTheTextLibrary()
{
    Fixture fx;
    write_bytes(fx.drive / "PBTX" / "MCSO.vwt", picture_index({{0, "JU/SA"}}));
    write_bytes(fx.drive / "PBTX" / "MCSO.txt", picture_record({"Zuversicht und Geduld im Beruf."}));
    const std::filesystem::path file = fx.drive / "import.txt";
    write_bytes(file, "[MC/SO=VE/MA]\nNeu\n");
    BoxAnswerer answerer(QString::fromStdString(file.string()));
    QtDesktop qt;
    TForm1 form(qt, DriveC(fx.drive));
    qt.set_parent(&form);
    form.show();
    QTRY_VERIFY(!answerer.owners.empty());  // the opening hint, over the main window
    TextlibWindow* w = trigger_textlib(form);
    QVERIFY(w != nullptr);
    QTest::qWait(20);  // the main window's activation after the hint is through
    w->activateWindow();
    QVERIFY(QTest::qWaitFor([w] { return QApplication::activeWindow() == w; }));

    // The import: its file dialog and its summary.
    answerer.owners.clear();
    w->importClick();
    QVERIFY(answerer.texts.back().startsWith(QStringLiteral("\u00DCbernommen: ")));
    QCOMPARE(answerer.owners, (std::vector<QWidget*>{w, w}));
    QTRY_VERIFY(QApplication::activeWindow() == w);

    // Deleting a text of a file another program changed: two questions, both over this window.
    write_bytes(fx.drive / "PBTX" / "MCSO.txt", slurp(fx.drive / "PBTX" / "MCSO.txt") + picture_record({"anders"}));
    answerer.owners.clear();
    w->open_formula("MC/SO=JU/SA");
    QVERIFY(w->deleteClick());
    QCOMPARE(answerer.owners, (std::vector<QWidget*>{w, w}));
    QTRY_VERIFY(QApplication::activeWindow() == w);
    QVERIFY(!textlib::text_of(textlib::open_library(DriveC(fx.drive)), {"MC/SO", "JU/SA"}));
}

void TextlibWindowTest::listAndEditorShareASplitter()
{
    Fixture fx;
    const QFont before = QApplication::font();
    QFont large(QStringLiteral("DejaVu Sans"));
    large.setPointSize(16);
    QApplication::setFont(large);
    TextlibWindow* w = open_window(fx);
    QVERIFY(w != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QCOMPARE(w->splitter->count(), 2);
    QVERIFY(w->splitter->widget(0)->isAncestorOf(w->list));
    QVERIFY(w->splitter->widget(1)->isAncestorOf(w->editor));
    // The list shows a whole formula and the start of its text, however large the font.
    const int formula_width = w->list->fontMetrics().horizontalAdvance(QStringLiteral("MC/SO=JU/SA   Zuversicht"));
    QVERIFY2(w->list->viewport()->width() >= formula_width,
             qPrintable(QString::number(w->list->viewport()->width()) + " < " + QString::number(formula_width)));
    // The user can give the list more room.
    w->resize(w->width() + 400, w->height());
    QApplication::processEvents();
    const int list_width = w->list->width();
    w->splitter->setSizes({w->splitter->sizes()[0] + 100, w->splitter->sizes()[1] - 100});
    QVERIFY(w->list->width() > list_width);
    QApplication::setFont(before);
}

QTEST_MAIN(TextlibWindowTest)
#include "textlib_window_test.moc"
