// SPDX-License-Identifier: GPL-3.0-or-later
// A main window on a drive C made in a temporary directory, driven through a scripted desktop.
#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "desktop/qt_desktop.h"
#include "desktop/unit1.h"
#include "desktop/unit2.h"
#include "scripted_desktop.h"
#include "tests/core/text_files_fixture.h"

namespace duoskop::test {

using text_testing::ktexte_record;

struct Fixture {
    QTemporaryDir dir;
    std::filesystem::path drive;
    ScriptedDesktop desktop;
    std::unique_ptr<TForm1> form;

    /// `with_ktexte`: the single meanings file exists (else the start shows its error box).
    explicit Fixture(bool with_ktexte = true) : drive(dir.path().toStdString())
    {
        // Settings go to a test location, never to the user's own.
        QStandardPaths::setTestModeEnabled(true);
        std::filesystem::create_directories(drive / "astro" / "daten");
        if (with_ktexte) {
            write_bytes(drive / "astro" / "KTEXTE.txt",
                        ktexte_record("MC/SO", "Berufliche Ziele") +
                            ktexte_record("JU/SA", "Geduld und Ausdauer") +
                            ktexte_record("VE/MA", "Anziehung und Leidenschaft") +
                            ktexte_record("MC/JU", "Erfolg und Anerkennung"));
        }
    }

    /// Creates and shows the main window; the start state follows from the event loop.
    void start()
    {
        form = std::make_unique<TForm1>(desktop, DriveC(drive));
        form->show();
        (void)QTest::qWaitForWindowActive(form.get());
        QApplication::processEvents();
    }

    void load1(const std::string& path)
    {
        desktop.open_paths.push_back(path);
        form->name1->trigger();
    }
    void load2(const std::optional<std::string>& path)
    {
        desktop.open_paths.push_back(path);
        form->name2->trigger();
    }
    /// Types both orbs; the entry ends by itself after the third character of each field.
    void type_orbs(const char* orb_double, const char* orb_simple)
    {
        form->Edit1->clear();
        form->Edit2->clear();
        form->Edit1->setFocus();
        QTest::keyClicks(form->Edit1, QString::fromLatin1(orb_double));
        QTest::keyClicks(form->Edit2, QString::fromLatin1(orb_simple));
    }
    /// Start, both persons, orbs 1,0 and 0,5: the state Ready.
    void ready()
    {
        start();
        load1(make_chart(drive, "MEIER.DAT", meier()));
        load2(make_chart(drive, "SCHULZ.DAT", schulz()));
        type_orbs("1,0", "0,5");
        desktop.boxes.clear();
    }
};

/// Fills the result window with `result` and shows it (not modally); whether it came on screen.
inline bool show_result(TForm2& window, const ResultText& result)
{
    window.fill(result);
    window.show();
    return QTest::qWaitForWindowExposed(&window);
}

/// Runs `trigger`, which shows the result window modally; `inspect` runs while it is shown, then
/// "&Fertig" closes it. Returns whether the window was shown.
inline bool while_modal(TForm2* result_window, const std::function<void()>& trigger,
                        const std::function<void()>& inspect)
{
    bool shown = false;
    QTimer::singleShot(0, result_window, [&] {
        shown = result_window->isVisible() && result_window->isModal();
        if (!shown) return;
        inspect();
        QTest::mouseClick(result_window->Button3, Qt::LeftButton);
    });
    trigger();
    QApplication::processEvents();
    return shown;
}

}  // namespace duoskop::test
