// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: the menu states from Start to Ready and back, the orb fields, the loading
// failures, the information panel and the wait of the half-sum evaluation.
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTemporaryDir>
#include <QTest>
#include <QFile>
#include <QAction>
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <algorithm>

#include "app/dial.h"
#include "desktop/drive_dialog.h"
#include "desktop/qt_picture.h"
#include "desktop/qt_style.h"
#include "base/texts.h"
#include "fixture.h"

using namespace duoskop;
using namespace duoskop::test;

namespace {

struct MenuState {
    bool name1, name2, Solar1, mcmc1, Halbsummen1, asas1, Ende1;
    bool operator==(const MenuState&) const = default;
};

MenuState menu(const TForm1& f)
{
    return {f.name1->isEnabled(),     f.name2->isEnabled(), f.Solar1->isEnabled(),
            f.mcmc1->menuAction()->isEnabled(), f.Halbsummen1->isEnabled(),
            f.asas1->isEnabled(),     f.Ende1->isEnabled()};
}

constexpr MenuState start_state{true, false, false, false, false, false, false};
constexpr MenuState person1_state{false, true, false, false, false, false, false};
constexpr MenuState asked_state{false, false, false, false, false, false, false};
constexpr MenuState ready_state{false, false, true, true, false, true, true};

QString q(std::string_view cp1252) { return to_qt(cp1252); }

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void startShowsTheHintOnceAndTheStartState();
    void roadFromStartToReadyAndRestartKeepingTheOrbs();
    void restartAnsweredNoEndsTheProgram();
    void orbFieldsReadTheDecimalCommaAndRefuseNonNumbers();
    void cancelledPersonTwoShowsOrbFieldsButNoComparisons();
    void fileThatCannotBeOpenedLeavesTheMenuAsBefore();
    void fileThatIsNoChartEndsTheProgramAfterItsMessage();
    void missingSingleMeaningsAreReportedAtStart();
    void infoPanelShowsTheDecodedPicture();
    void halfsumEvaluationWaitsForEditThree();
    void closingTheWindowWhileWaitingEndsTheProgram();
    void theProgramIconIsFoundBesideTheProgram();
    void laufwerkCShowsTheDriveAndKeepsOrForgetsAChoice();
    void boxesOfferTheirButtonsWithTheSafeOneAsDefault();
};

void MainWindowTest::startShowsTheHintOnceAndTheStartState()
{
    Fixture fx;
    fx.start();
    TForm1& f = *fx.form;
    QCOMPARE(f.windowTitle(), q(texts::kCaptionMain));
    QCOMPARE(fx.desktop.boxes.size(), std::size_t{1});
    QCOMPARE(fx.desktop.boxes[0].text, std::string(texts::kHintStart));
    QVERIFY(fx.desktop.boxes[0].type == BoxType::information);
    QVERIFY(menu(f) == start_state);
    QVERIFY(f.Info1->isEnabled());
    for (QWidget* w : {static_cast<QWidget*>(f.Memo1), static_cast<QWidget*>(f.Edit1),
                       static_cast<QWidget*>(f.Edit2), static_cast<QWidget*>(f.Edit3),
                       static_cast<QWidget*>(f.Label11), static_cast<QWidget*>(f.Panel2)})
        QVERIFY(w->isHidden());
    QCOMPARE(f.menuBar()->actions().at(0)->text(), q(texts::kMenuName1));
    QCOMPARE(f.mcmc1->title(), q(texts::kMenuMcmc1));
    QCOMPARE(f.size(), QSize(640, 302));

    // A cancelled dialog for person 1 leaves everything as it was.
    fx.desktop.open_paths.push_back(std::nullopt);
    f.name1->trigger();
    QVERIFY(menu(f) == start_state);
    QCOMPARE(fx.desktop.open_dirs.back(), (fx.drive / "astro" / "daten").string());
}

void MainWindowTest::roadFromStartToReadyAndRestartKeepingTheOrbs()
{
    Fixture fx;
    fx.start();
    TForm1& f = *fx.form;
    fx.desktop.boxes.clear();

    fx.load1(make_chart(fx.drive, "MEIER.DAT", meier()));
    QVERIFY(menu(f) == person1_state);
    QCOMPARE(f.Label1->text(), QStringLiteral(" Meier"));
    QCOMPARE(f.Label2->text(), QStringLiteral(" Hans"));
    QCOMPARE(f.Label3->text(), QStringLiteral(" 01.05.1960"));
    QCOMPARE(f.Label4->text(), QStringLiteral(" 06:30:45"));
    QCOMPARE(f.Label5->text(), QStringLiteral(" Hamburg"));
    QCOMPARE(f.Label4->palette().color(QPalette::WindowText), QColor(Qt::yellow));
    QVERIFY(f.Memo1->isHidden());
    QVERIFY(fx.desktop.boxes.empty());

    fx.load2(make_chart(fx.drive, "SCHULZ.DAT", schulz()));
    QCOMPARE(fx.desktop.take_texts(), std::vector<std::string>{std::string(texts::kHintOrbsLong)});
    QVERIFY(menu(f) == asked_state);
    QCOMPARE(f.Label6->text(), QStringLiteral(" Schulz"));
    QVERIFY(!f.Memo1->isHidden() && !f.Edit1->isHidden() && !f.Edit2->isHidden());
    QVERIFY(!f.Label11->isHidden() && !f.Label13->isHidden() && f.Edit3->isHidden());
    QStringList axis_lines;
    for (const std::string& line : search_axis_lines(f.chart.pos1, f.chart.pos2, f.chart.axes))
        axis_lines << q(line);
    QCOMPARE(f.Memo1->toPlainText(), axis_lines.join(QChar(u'\n')));
    QCOMPARE(QApplication::focusWidget(), f.Edit1);

    // 1,5 moves on to Edit2 after its third character; 0,8 ends the entry.
    QTest::keyClicks(f.Edit1, QStringLiteral("1,5"));
    QCOMPARE(QApplication::focusWidget(), f.Edit2);
    QTest::keyClicks(f.Edit2, QStringLiteral("0,8"));
    QCOMPARE(f.orbs.orb_double, 1.5);
    QCOMPARE(f.orbs.orb_simple, 0.8);
    QCOMPARE(f.Label14->text(), q(" D-Orbis: 01\xB0" "30' "));
    QCOMPARE(f.Label15->text(), q(" E-Orbis: 00\xB0" "48' "));
    QVERIFY(menu(f) == ready_state);
    QVERIFY(f.Edit1->isHidden() && f.Edit2->isHidden() && f.Label11->isHidden());
    QVERIFY(!f.Label14->isHidden() && !f.Label15->isHidden());

    // "&Fertig" answered Yes: the start state again, without the opening hint; orbs kept.
    fx.desktop.answers.push_back(Answer::yes);
    f.Ende1->trigger();
    QCOMPARE(fx.desktop.take_texts(), std::vector<std::string>{std::string(texts::kAskRestart)});
    QVERIFY(menu(f) == start_state);
    QVERIFY(f.Label1->text().isEmpty() && f.Label14->text().isEmpty() && f.Memo1->isHidden());
    QCOMPARE(f.Edit1->text(), QStringLiteral("1,5"));
    QCOMPARE(f.Edit2->text(), QStringLiteral("0,8"));
    QCOMPARE(fx.desktop.ends, 0);

    // New persons: the short orb hint, a white time label for 12:00:00, and Tab twice takes
    // the previous orbs over.
    fx.load1(make_chart(fx.drive, "SCHULZ.DAT", schulz()));
    fx.load2(make_chart(fx.drive, "LANG.DAT", noon()));
    QCOMPARE(fx.desktop.take_texts(), std::vector<std::string>{std::string(texts::kHintOrbsShort)});
    QCOMPARE(f.Label9->palette().color(QPalette::WindowText), QColor(Qt::white));
    QCOMPARE(QApplication::focusWidget(), f.Edit1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY(menu(f) == ready_state);
    QCOMPARE(f.Label15->text(), q(" E-Orbis: 00\xB0" "48' "));
}

void MainWindowTest::restartAnsweredNoEndsTheProgram()
{
    Fixture fx;
    fx.ready();
    fx.desktop.answers.push_back(Answer::no);
    fx.form->Ende1->trigger();
    QCOMPARE(fx.desktop.ends, 1);
    QVERIFY(fx.desktop.end_statuses.empty());  // an ordinary end: status 0
    QVERIFY(fx.form->ended());
}

void MainWindowTest::orbFieldsReadTheDecimalCommaAndRefuseNonNumbers()
{
    Fixture fx;
    fx.start();
    TForm1& f = *fx.form;
    fx.load1(make_chart(fx.drive, "MEIER.DAT", meier()));
    fx.load2(make_chart(fx.drive, "SCHULZ.DAT", schulz()));

    struct Case {
        const char* text;
        double orb;
        bool accepted;
    };
    // The second character always becomes the decimal point: 25 reads as 2.0.
    for (const Case& c : {Case{"2,5", 2.5, true}, Case{"2.5", 2.5, true}, Case{"25", 2.0, true},
                          Case{"5", 5.0, true}, Case{"", 0.0, false}, Case{"x", 0.0, false}}) {
        f.Edit1->setFocus();
        {
            const QSignalBlocker typed_at_once(f.Edit1);  // no move to Edit2 after 3 characters
            f.Edit1->setText(QString::fromLatin1(c.text));
        }
        QTest::keyClick(f.Edit1, Qt::Key_Backtab);
        QCOMPARE(f.orbs.orb_double, c.orb);
        if (c.accepted) {
            QCOMPARE(f.Edit1->text(), QString::fromLatin1(c.text));
            QCOMPARE(QApplication::focusWidget(), f.Memo1);
        } else {
            QVERIFY(f.Edit1->text().isEmpty());
            QCOMPARE(QApplication::focusWidget(), f.Edit1);
        }
    }
    // A simple orb that is not a number keeps the state Orbs asked.
    {
        const QSignalBlocker typed_at_once(f.Edit1);
        f.Edit1->setText(QStringLiteral("1,0"));
    }
    f.Edit2->setFocus();
    QTest::keyClicks(f.Edit2, QStringLiteral("a,b"));
    QCOMPARE(QApplication::focusWidget(), f.Edit2);
    QVERIFY(f.Edit2->text().isEmpty());
    QVERIFY(menu(f) == asked_state);
}

void MainWindowTest::cancelledPersonTwoShowsOrbFieldsButNoComparisons()
{
    Fixture fx;
    fx.start();
    TForm1& f = *fx.form;
    fx.load1(make_chart(fx.drive, "MEIER.DAT", meier()));
    fx.desktop.boxes.clear();
    fx.load2(std::nullopt);
    QCOMPARE(fx.desktop.take_texts(), std::vector<std::string>{std::string(texts::kHintOrbsLong)});
    QVERIFY(f.name2->isEnabled());
    QVERIFY(!f.Edit1->isHidden() && f.Memo1->isHidden());

    // With the memo hidden the third character of Edit2 still ends the entry.
    fx.type_orbs("1,0", "0,5");
    QCOMPARE(f.Label15->text(), q(" E-Orbis: 00\xB0" "30' "));
    QVERIFY(f.Edit2->isHidden());
    // No person 2 yet: restart and person 2 are usable, the comparisons are not.
    QVERIFY((menu(f) == MenuState{false, true, false, false, false, false, true}));

    fx.load2(make_chart(fx.drive, "SCHULZ.DAT", schulz()));
    QCOMPARE(fx.desktop.take_texts(), std::vector<std::string>{std::string(texts::kHintOrbsShort)});
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY(menu(f) == ready_state);
}

void MainWindowTest::fileThatCannotBeOpenedLeavesTheMenuAsBefore()
{
    Fixture fx;
    fx.start();
    TForm1& f = *fx.form;
    fx.desktop.boxes.clear();
    fx.load1((fx.drive / "astro" / "daten" / "FEHLT.DAT").string());
    QCOMPARE(fx.desktop.boxes.size(), std::size_t{1});
    QVERIFY(fx.desktop.boxes[0].type == BoxType::error);
    QVERIFY(menu(f) == start_state);

    fx.load1(make_chart(fx.drive, "MEIER.DAT", meier()));
    fx.desktop.boxes.clear();
    fx.load2((fx.drive / "astro" / "daten" / "FEHLT.DAT").string());
    QCOMPARE(fx.desktop.boxes.size(), std::size_t{1});  // no orb hint follows
    QVERIFY(menu(f) == person1_state);
    QVERIFY(f.Edit1->isHidden());
    QCOMPARE(fx.desktop.ends, 0);
}

void MainWindowTest::fileThatIsNoChartEndsTheProgramAfterItsMessage()
{
    {
        Fixture fx;
        fx.start();
        fx.desktop.boxes.clear();
        // The file name does not match the person's name.
        fx.load1(make_chart(fx.drive, "OTTO.DAT", meier()));
        QCOMPARE(fx.desktop.boxes.size(), std::size_t{1});
        QCOMPARE(fx.desktop.boxes[0].text, std::string("OTTO.DAT") + std::string(texts::kNotAChartFile));
        QCOMPARE(fx.desktop.ends, 1);
        QCOMPARE(fx.desktop.end_statuses, std::vector<int>{1});  // the program exits with 1
        QVERIFY(fx.form->Label1->text().isEmpty());
        // Nothing reacts any more.
        fx.form->name2->trigger();
        QCOMPARE(fx.desktop.boxes.size(), std::size_t{1});
    }
    {
        Fixture fx;
        fx.start();
        fx.desktop.boxes.clear();
        const auto path = fx.drive / "astro" / "daten" / "KURZ.DAT";
        write_bytes(path, chart_record_bytes(meier()).substr(0, 76));
        fx.load1(path.string());
        QCOMPARE(fx.desktop.boxes.size(), std::size_t{1});
        QCOMPARE(fx.desktop.boxes[0].text, std::string(texts::kLoadFailedBefore) + path.string() +
                                               std::string(texts::kLoadFailedAfter));
        QCOMPARE(fx.desktop.ends, 1);
    }
    {
        // The message comes from the core in Windows-1252, the file name's umlaut included.
        Fixture fx;
        fx.start();
        fx.desktop.boxes.clear();
        fx.load1(make_chart(fx.drive, "M\u00DCLLER.DAT", meier()));
        QCOMPARE(fx.desktop.boxes.size(), std::size_t{1});
        QCOMPARE(fx.desktop.boxes[0].text, std::string("M\xDCLLER.DAT") + std::string(texts::kNotAChartFile));
    }
}

void MainWindowTest::missingSingleMeaningsAreReportedAtStart()
{
    Fixture fx(false);
    fx.start();
    QCOMPARE(fx.desktop.boxes.size(), std::size_t{2});
    QVERIFY(fx.desktop.boxes[0].type == BoxType::error);
    QCOMPARE(fx.desktop.boxes[0].text, std::string(texts::kKtexteMissing));
    QVERIFY(!fx.form->ktexte.ktexte_da);
    QCOMPARE(fx.desktop.boxes[1].text, std::string(texts::kHintStart));
}

void MainWindowTest::infoPanelShowsTheDecodedPicture()
{
    Fixture fx;
    fx.start();
    TForm1& f = *fx.form;
    f.Info1->trigger();
    QVERIFY(!f.Panel2->isHidden());
    f.Info1->trigger();
    QVERIFY(f.Panel2->isHidden());
    f.Info1->trigger();
    QTest::mouseClick(f.Label16, Qt::LeftButton);
    QVERIFY(f.Panel2->isHidden());
    QVERIFY(menu(f) == start_state);

    const QImage picture = f.Image1->pixmap().toImage();
    QCOMPARE(picture.size(), QSize(64, 64));
    // Navy in the corner, the yellow centre of the dial.
    const QColor corner = picture.pixelColor(1, 1);
    QVERIFY(corner.blue() > 100 && corner.red() < 40 && corner.green() < 40);
    const QColor centre = picture.pixelColor(32, 32);
    QVERIFY(centre.red() > 200 && centre.green() > 200 && centre.blue() < 80);

    // Data that are not a JPEG, or a cut one, give no picture and no crash.
    const unsigned char garbage[] = {0xFF, 0xD8, 0xFF, 0x00, 0x12, 0x34};
    QVERIFY(decode_jpeg(garbage).isNull());
    QVERIFY(decode_jpeg({}).isNull());
    QVERIFY(decode_jpeg(info_picture_jpeg().first(200)).isNull() ||
            decode_jpeg(info_picture_jpeg().first(200)).size() == QSize(64, 64));
}

void MainWindowTest::halfsumEvaluationWaitsForEditThree()
{
    Fixture fx;
    fx.ready();
    TForm1& f = *fx.form;
    QVERIFY(while_modal(f.Form2, [&] { f.einfache1->trigger(); }, [] {}));
    QVERIFY(f.Halbsummen1->isEnabled());
    fx.desktop.boxes.clear();

    bool waited = false;
    bool menus_locked = false;
    QString caption;
    QTimer::singleShot(0, &f, [&] {
        waited = f.waiting_for_halfsum_orb() && !f.Edit3->isHidden() &&
                 QApplication::focusWidget() == f.Edit3;
        menus_locked = !f.Solar1->isEnabled() && !f.mcmc1->menuAction()->isEnabled() &&
                       !f.asas1->isEnabled() && !f.Ende1->isEnabled();
        // A second start while waiting does nothing.
        f.Halbsummen1Click();
        // 0,0 is no orb: the evaluation keeps waiting with the focus in Edit3.
        QTest::keyClicks(f.Edit3, QStringLiteral("0,0"));
        if (!f.waiting_for_halfsum_orb() || QApplication::focusWidget() != f.Edit3) waited = false;
        QTimer::singleShot(0, f.Form2, [&] {
            caption = f.Form2->windowTitle();
            f.Form2->accept();
        });
        f.Edit3->clear();
        QTest::keyClicks(f.Edit3, QStringLiteral("0,3"));
    });
    f.Halbsummen1->trigger();
    QVERIFY(waited);
    QVERIFY(menus_locked);
    QCOMPARE(caption, q(texts::kCaptionHalfsums));
    QCOMPARE(f.orbs.orb_halfsum, 0.3);
    QVERIFY(f.Edit3->isHidden());
    QCOMPARE(fx.desktop.take_texts(), std::vector<std::string>{std::string(texts::kHintHalfsums)});
    QVERIFY(menu(f) == (MenuState{false, false, true, true, true, true, true}));

    // A restart disables the evaluation until the simple complements have run again.
    fx.desktop.answers.push_back(Answer::yes);
    f.Ende1->trigger();
    QVERIFY(!f.Halbsummen1->isEnabled());
}

void MainWindowTest::closingTheWindowWhileWaitingEndsTheProgram()
{
    Fixture fx;
    fx.ready();
    TForm1& f = *fx.form;
    QVERIFY(while_modal(f.Form2, [&] { f.einfache1->trigger(); }, [] {}));
    QTimer::singleShot(0, &f, [&] { f.close(); });
    f.Halbsummen1->trigger();
    QVERIFY(f.ended());
    QCOMPARE(fx.desktop.ends, 1);
    QVERIFY(!f.Form2->isVisible());
}

void MainWindowTest::theProgramIconIsFoundBesideTheProgram()
{
    // The build tree holds the icons where an installation has them (<bin>/../share/icons).
    const QIcon icon = program_icon();
    QVERIFY(!icon.isNull());
    QCOMPARE(icon.pixmap(16, 16).width(), 16);
    QVERIFY(!icon.pixmap(256, 256).isNull());
}

void MainWindowTest::laufwerkCShowsTheDriveAndKeepsOrForgetsAChoice()
{
    // A user's session: no drive given, the personal drive made at the first start.
    QTemporaryDir home;
    const std::filesystem::path base = home.path().toStdString();
    const QByteArray saved_config = qgetenv("XDG_CONFIG_HOME");
    const QByteArray saved_data = qgetenv("XDG_DATA_HOME");
    const QByteArray saved_drive = qgetenv("DUOSKOP_DRIVE_C");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("data"))));
    qunsetenv("DUOSKOP_DRIVE_C");
    const DriveChoice found = find_drive_c(std::nullopt);
    QVERIFY(found.source == DriveSource::personal);
    ScriptedDesktop desktop;
    TForm1 form(desktop, DriveC(found.root, found.source));
    auto* entry = form.findChild<QAction*>(QStringLiteral("LaufwerkC1"));
    QVERIFY(entry != nullptr);
    QCOMPARE(entry->text(), q(texts::kMenuLaufwerkC1));
    const std::string personal = "Laufwerk C: " + found.root.string() + "\r" + drive_source_text(DriveSource::personal);
    const std::vector<std::string> offered = {"Anderer Ordner \x85", "Standard wiederherstellen", "Abbrechen"};

    // One box with three buttons; "Abbrechen", the default, changes nothing.
    entry->trigger();
    QCOMPARE(desktop.boxes.size(), std::size_t{1});
    QCOMPARE(desktop.boxes[0].choices, offered);
    QCOMPARE(desktop.boxes[0].default_choice, std::size_t{2});
    QCOMPARE(desktop.boxes[0].text, personal + std::string(texts::kLaufwerkWahl));
    QCOMPARE(chosen_drive(), std::nullopt);

    // Another folder, without astro\daten: made on request, kept for the next start.
    const std::filesystem::path other = base / "Horoskope";
    std::filesystem::create_directories(other);
    desktop.boxes.clear();
    desktop.choices = {0};
    desktop.answers = {Answer::yes};
    desktop.folders = {other.string()};
    entry->trigger();
    QCOMPARE(desktop.boxes.size(), std::size_t{3});
    QCOMPARE(desktop.boxes[1].text, other.string() + std::string(texts::kLaufwerkOhneDaten));
    QCOMPARE(desktop.boxes[2].text, std::string(texts::kLaufwerkNeu) + other.string() + "\r" +
                                        drive_source_text(DriveSource::chosen));
    QVERIFY(std::filesystem::is_directory(other / "astro" / "daten"));
    QCOMPARE(chosen_drive(), std::optional<std::filesystem::path>(other));

    // The program still runs on the personal drive, and says so; the chosen folder follows at the
    // next start. "Standard wiederherstellen" forgets it.
    desktop.boxes.clear();
    desktop.choices = {1};
    entry->trigger();
    QCOMPARE(desktop.boxes.size(), std::size_t{2});
    QCOMPARE(desktop.boxes[0].text, personal + "\r\r" + std::string(texts::kLaufwerkNaechsterStart) + ": " +
                                        other.string() + "\r" + drive_source_text(DriveSource::chosen) +
                                        std::string(texts::kLaufwerkWahl));
    QVERIFY(desktop.boxes[0].text.find(texts::kLaufwerkAusAufruf) == std::string::npos);
    QCOMPARE(desktop.boxes[1].text, std::string(texts::kLaufwerkNeu) + found.root.string() + "\r" +
                                        drive_source_text(DriveSource::personal));
    QCOMPARE(chosen_drive(), std::nullopt);

    // A drive given with --drive-c is named so, with the drive a start without it would take.
    desktop.boxes.clear();
    choose_drive_c(desktop, DriveC(other, DriveSource::command_line));
    QCOMPARE(desktop.boxes[0].text,
             "Laufwerk C: " + other.string() + "\r" + std::string(texts::kLaufwerkAusAufruf) + "\r\r" +
                 std::string(texts::kLaufwerkNaechsterStart) + std::string(texts::kLaufwerkOhneAufruf) + ": " +
                 found.root.string() + "\r" + drive_source_text(DriveSource::personal) + std::string(texts::kLaufwerkWahl));

    qputenv("XDG_CONFIG_HOME", saved_config);
    qputenv("XDG_DATA_HOME", saved_data);
    qputenv("DUOSKOP_DRIVE_C", saved_drive);
}

void MainWindowTest::boxesOfferTheirButtonsWithTheSafeOneAsDefault()
{
    // The real boxes: the buttons in the given order, the last one under Escape; a question whose
    // Yes loses data answers No to Enter.
    QtDesktop desktop;
    const std::string_view choices[] = {"Anderer Ordner \x85", "Standard wiederherstellen", "Abbrechen"};
    QStringList order;
    QString default_button;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        QList<QAbstractButton*> buttons = box->buttons();
        std::sort(buttons.begin(), buttons.end(), [](const QAbstractButton* a, const QAbstractButton* b) {
            return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x();
        });
        for (const QAbstractButton* b : buttons) order << b->text();
        default_button = box->defaultButton() != nullptr ? box->defaultButton()->text() : QString();
        QTest::keyClick(box, Qt::Key_Escape);
    });
    QCOMPARE(desktop.choose(BoxType::confirmation, "Laufwerk C", choices, 2), std::size_t{2});
    QCOMPARE(order, QStringList({QString::fromUtf8("Anderer Ordner \u2026"), QStringLiteral("Standard wiederherstellen"),
                                 QStringLiteral("Abbrechen")}));
    QCOMPARE(default_button, QStringLiteral("Abbrechen"));

    for (const Buttons buttons : {Buttons::yes_no, Buttons::yes_no_default_no}) {
        QTimer::singleShot(0, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                QTest::keyClick(box, Qt::Key_Return);
        });
        const Answer expected = buttons == Buttons::yes_no ? Answer::yes : Answer::no;
        QVERIFY(desktop.message(BoxType::confirmation, "Trotzdem \xFC" "berschreiben?", buttons) == expected);
    }
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
