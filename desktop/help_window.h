// SPDX-License-Identifier: GPL-3.0-or-later
// The manual ("Handbuch"): German Markdown pages in share/duoskop/handbuch, read by a help window
// with a list of contents and a search field. F1 opens it on the page of the window one works in;
// it stays usable beside the modal windows and dialogs of the program.
#pragma once

#include <QWidget>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

class QApplication;
class QLabel;
class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace duoskop {

/// The folder of the manual's pages: program_data_dir()/handbuch (the build tree has it too).
std::filesystem::path handbuch_dir();

/// The page of the manual that belongs to `window`: the page of the first of it and the windows
/// it belongs to (its parents) that names one, else the index page.
std::string help_page_of(const QWidget& window);

/// The help window: the pages of the manual on the left (narrowed by the search field above
/// them), the chosen page on the right.
class HelpWindow : public QWidget {
public:
    explicit HelpWindow(std::filesystem::path folder);

    /// Shows `page` (a file name of the manual without ".md"); a search in the field marks its
    /// first hit on the page.
    void show_page(std::string_view page);
    /// The page shown now (empty before the first).
    const std::string& current_page() const { return page_; }

    QLabel* SearchLabel;
    QLineEdit* SearchEdit;
    QListWidget* Contents;
    QTextBrowser* Browser;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// Keeps in the contents only the pages holding every word of the search field.
    void filter(const QString& search);
    /// Marks the first word of the search on the page shown.
    void mark_search();
    /// The page's text for the search, read once.
    const QString& page_text(int row);
    friend HelpWindow* open_help(QWidget& from, std::string_view page);
    /// Keeps the window usable while `host`, an application-modal window, is shown.
    void belong_to(QWidget* host);

    std::filesystem::path folder_;
    std::string page_;
    std::vector<QString> texts_;  ///< per page of the contents; read when first searched
    QWidget* host_ = nullptr;
};

/// Opens the manual at `page` in the program's one help window (made when first asked for, and
/// kept by the outermost window `from` belongs to), raised and active. It is a window of its own,
/// not blocked by the modal window `from` may be.
HelpWindow* open_help(QWidget& from, std::string_view page);

/// F1 in any window of `app` opens the manual at that window's page (`help_page_of`).
void install_help_key(QApplication& app);

}  // namespace duoskop
