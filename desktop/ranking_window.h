// SPDX-License-Identifier: GPL-3.0-or-later
// The partner ranking window: person 1 of the main window against every chart file of a folder,
// worked out in the background with a progress bar, then a table that sorts by any column; a
// double-click loads the partner as person 2 as "Name &2" does.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>

#include "base/desktop.h"
#include "base/drive_c.h"
#include "ranking/ranking.h"

class QAction;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace duoskop {

class TForm1;

class RankingWindow : public QDialog {
public:
    /// Adds "Partner-&Rangliste …" to the main window's Extras menu and keeps it usable while
    /// person 1 is loaded and "Name &2" is usable.
    RankingWindow(TForm1& form, Desktop& desktop, DriveC drive);
    ~RankingWindow() override;

    /// The folder dialog: starts in the given folder, returns the chosen folder (UTF-8) or nothing.
    /// A Qt dialog unless a test puts a script here.
    std::function<std::optional<std::string>(const std::string& initial_dir)> choose_folder;

    /// The menu entry: asks for a folder, shows the window and, when both orbs are known, starts.
    void Rangliste1Click();
    /// "&Ordner …": another folder, then a new ranking when both orbs are known.
    void FolderClick();
    /// "&Rangliste erstellen": reads the two orb fields and ranks in the background.
    void StartClick();
    /// "&Abbrechen": stops the ranking under way.
    void CancelClick();
    /// Loads the partner of a table row as person 2 and closes the window.
    void TableDoubleClick(int row);

    /// Closing the window (Esc, the close button) stops a ranking under way.
    void reject() override;

protected:
    /// A new font: rows and columns take its measure again.
    void changeEvent(QEvent* event) override;

public:

    bool running() const { return running_; }
    const std::string& folder() const { return folder_; }

    QAction* Rangliste1;  ///< the entry in the main window's Extras menu
    QLabel* FolderLabel;
    QPushButton* FolderButton;
    QLineEdit* OrbDouble;
    QLineEdit* OrbSimple;
    QPushButton* StartButton;
    QProgressBar* Progress;
    QPushButton* CancelButton;
    QLabel* Status;
    QTableWidget* Table;
    QPlainTextEdit* Problems;

private:
    /// Whether the menu entry may be used now.
    bool usable() const;
    /// Takes the main window's orbs into the empty or unreadable orb fields.
    void take_main_orbs();
    /// Both orb fields read as the main window reads its own; false (and the focus on the first
    /// field that failed) when one does not.
    bool read_orbs(Orbs& orbs);
    void finished(Ranking ranking, std::vector<RankProblem> folder_problems);
    void fill_table(const std::vector<RankEntry>& entries);
    void set_running(bool running);
    /// Widens the columns to their contents and headers.
    void fit_columns();

    TForm1& form_;
    Desktop& desktop_;
    DriveC drive_;
    std::string folder_;
    bool running_ = false;
    std::stop_source stop_;
    std::jthread worker_;
};

}  // namespace duoskop
