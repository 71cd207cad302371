// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/textlib_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTextEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "base/cp1252.h"
#include "base/file_writer.h"
#include "base/io_error.h"
#include "desktop/desktop_texts.h"
#include "desktop/qt_desktop.h"
#include "desktop/window_habits.h"
#include "results/pictures.h"
#include "textlib/coverage.h"
#include "textlib/exchange.h"
#include "textlib/textlib_texts.h"

namespace duoskop {

namespace {

constexpr int formula_role = Qt::UserRole;

std::string number(std::size_t n) { return std::to_string(n); }

/// `pattern` with its one "%s" replaced by `value`.
std::string fill(std::string_view pattern, const std::string& value)
{
    std::string out(pattern);
    if (const std::size_t at = out.find("%s"); at != std::string::npos) out.replace(at, 2, value);
    return out;
}

std::string joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
    return text;
}

/// Line and column (from 1) of the first typed character without a Windows-1252 byte.
std::optional<std::pair<std::size_t, std::size_t>> foreign_character(const QString& text)
{
    std::size_t line = 1, column = 0;
    for (const QChar c : text) {
        if (c == u'\n') {
            ++line;
            column = 0;
            continue;
        }
        ++column;
        if (c != u'?' && from_qt(QString(c)) == "?") return std::pair(line, column);
    }
    return std::nullopt;
}

QString item_text(const textlib::Formula& f, const std::vector<std::string>& lines)
{
    return to_qt(f.text() + "   " + (lines.empty() ? std::string() : lines.front()));
}

}  // namespace

TextlibWindow::TextlibWindow(Desktop& desktop, DriveC drive, QWidget* parent)
    : QWidget(parent, Qt::Window), desktop_(desktop), drive_(std::move(drive))
{
    setWindowTitle(to_qt(texts::kTlCaption));
    setObjectName(QStringLiteral("TextlibWindow"));
    keep_on_screen(*this);  // opens on the screen, whatever its size and the font
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);

    filter = new QLineEdit(this);
    list = new QListWidget(this);
    list->setFont(fixed);
    formula = new QLineEdit(this);
    formula->setFont(fixed);
    editor = new QTextEdit(this);
    editor->setAcceptRichText(false);
    editor->setFont(fixed);
    editor->setLineWrapMode(QTextEdit::FixedColumnWidth);
    editor->setWordWrapMode(QTextOption::WordWrap);
    editor->setLineWrapColumnOrWidth(static_cast<int>(picture_line_length));
    editor->setMinimumWidth(QFontMetrics(fixed).horizontalAdvance(QString(82, u'x')));
    room = new QLabel(this);
    new_button = new QPushButton(to_qt(texts::kTlNew), this);
    save_button = new QPushButton(to_qt(texts::kTlSave), this);
    delete_button = new QPushButton(to_qt(texts::kTlDelete), this);
    versions = new QComboBox(this);
    versions_button = new QPushButton(to_qt(texts::kTlVersions), this);
    import_button = new QPushButton(to_qt(texts::kTlImport), this);
    export_button = new QPushButton(to_qt(texts::kTlExport), this);
    coverage_list = new QListWidget(this);
    coverage_list->setFont(fixed);
    coverage_counts = new QLabel(this);
    compare_button = new QPushButton(to_qt(texts::kTlCompare), this);
    other = new QPlainTextEdit(this);
    other->setReadOnly(true);
    other->setFont(fixed);
    take_button = new QPushButton(to_qt(texts::kTlTakeOver), this);
    take_button->setEnabled(false);
    // What a screen reader says of the fields and lists; the editor reads as text.
    const auto name = [](QWidget* widget, std::string_view text, std::string_view info = {}) {
        widget->setAccessibleName(to_qt(text));
        if (!info.empty()) widget->setAccessibleDescription(to_qt(info));
    };
    name(filter, texts::kA11yTlFilter);
    name(list, texts::kA11yTlList, texts::kA11yTlListInfo);
    name(formula, texts::kA11yTlFormula);
    name(editor, texts::kA11yTlEditor, texts::kA11yTlEditorInfo);
    name(versions, texts::kA11yTlVersions);
    name(versions->view(), texts::kA11yTlVersions);  // the open list of the versions
    name(coverage_list, texts::kA11yTlCoverage);
    name(other, texts::kA11yTlOther);

    // List and editor side by side in a splitter: the user gives the list more room when a
    // larger font needs it; at first the list shows a formula and the start of its text.
    splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setChildrenCollapsible(false);
    list->setMinimumWidth(QFontMetrics(fixed).horizontalAdvance(QString(30, u'x')));
    auto* left_pane = new QWidget(splitter);
    auto* left = new QVBoxLayout(left_pane);
    left->setContentsMargins(0, 0, 0, 0);
    auto* filter_row = new QHBoxLayout;
    filter_row->addWidget(new QLabel(to_qt(texts::kTlFilter), this));
    filter_row->addWidget(filter);
    left->addLayout(filter_row);
    left->addWidget(list, 3);
    left->addWidget(new QLabel(to_qt(texts::kTlCoverage), this));
    left->addWidget(coverage_list, 2);
    left->addWidget(coverage_counts);

    auto* right_pane = new QWidget(splitter);
    auto* right = new QVBoxLayout(right_pane);
    right->setContentsMargins(0, 0, 0, 0);
    auto* formula_row = new QHBoxLayout;
    formula_row->addWidget(new QLabel(to_qt(texts::kTlFormula), this));
    formula_row->addWidget(formula);
    right->addLayout(formula_row);
    right->addWidget(editor, 3);
    right->addWidget(room);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {new_button, save_button, delete_button, import_button, export_button}) buttons->addWidget(b);
    right->addLayout(buttons);
    auto* version_row = new QHBoxLayout;
    version_row->addWidget(versions, 1);
    version_row->addWidget(versions_button);
    right->addLayout(version_row);
    auto* compare_row = new QHBoxLayout;
    compare_row->addWidget(compare_button);
    compare_row->addWidget(take_button);
    compare_row->addStretch();
    right->addLayout(compare_row);
    right->addWidget(other, 2);

    splitter->addWidget(left_pane);
    splitter->addWidget(right_pane);
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 3);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(splitter);
    close_on_escape(*this);

    connect(filter, &QLineEdit::textChanged, this, [this] { fill_list(); });
    // Moving to another entry asks about unsaved typing once the list has taken the click or key
    // (a box in the middle of the list's own mouse handling would leave its selection astray).
    connect(list, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* now, QListWidgetItem* before) {
        if (now == nullptr) return;
        const QByteArray wanted = now->data(formula_role).toByteArray();
        const QByteArray previous = before == nullptr ? QByteArray() : before->data(formula_role).toByteArray();
        QMetaObject::invokeMethod(this, [this, wanted, previous] { list_moved(wanted, previous); }, Qt::QueuedConnection);
    });
    // A click on the entry that is open opens it again (after another formula was typed); a click
    // on another one is the move above.
    connect(list, &QListWidget::itemClicked, this, [this](QListWidgetItem* i) {
        const QByteArray clicked = i->data(formula_role).toByteArray();
        if (clicked == QByteArray::fromStdString(from_qt(stored_formula_.trimmed()))) go_to(clicked.toStdString());
    });
    connect(coverage_list, &QListWidget::itemClicked, this, [this](QListWidgetItem* i) { coverage_clicked(i); });
    connect(formula, &QLineEdit::textChanged, this, [this] {
        const auto f = typed_formula();
        const bool picture = !f || f->picture();
        editor->setLineWrapColumnOrWidth(static_cast<int>(picture ? picture_line_length : ktexte_text_capacity));
        show_room();
    });
    connect(editor, &QTextEdit::textChanged, this, [this] { show_room(); });
    connect(new_button, &QPushButton::clicked, this, [this] { newClick(); });
    connect(save_button, &QPushButton::clicked, this, [this] { saveClick(); });
    connect(delete_button, &QPushButton::clicked, this, [this] { deleteClick(); });
    connect(versions_button, &QPushButton::clicked, this, [this] { versionsClick(); });
    connect(import_button, &QPushButton::clicked, this, [this] { importClick(); });
    connect(export_button, &QPushButton::clicked, this, [this] { exportClick(); });
    connect(compare_button, &QPushButton::clicked, this, [this] { compareClick(); });
    connect(take_button, &QPushButton::clicked, this, [this] { takeClick(); });
    refresh();
}

void TextlibWindow::showEvent(QShowEvent* event)
{
    refresh();
    QWidget::showEvent(event);
}

void TextlibWindow::closeEvent(QCloseEvent* event)
{
    if (!may_leave_editor()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void TextlibWindow::refresh()
{
    library_ = textlib::open_library(drive_);
    // The shipped sample drive is data of the installation: shown, never written.
    if (textlib::is_shipped_sample_drive(drive_)) library_.versions_dir.clear();
    fill_list();
    versions->clear();
    for (const std::string& name : textlib::list_versions(library_))
        versions->addItem(to_qt(textlib::version_label(name)), QByteArray::fromStdString(name));
    versions_button->setEnabled(versions->count() > 0);
    fill_coverage(entries_source_ ? entries_source_() : std::vector<std::string>{});
    show_room();
}

void TextlibWindow::follow_entries(const std::vector<std::string>& entries)
{
    fill_coverage(entries);
}

void TextlibWindow::fill_list()
{
    std::vector<std::string> words;
    const std::string typed = from_qt(filter->text());
    for (std::size_t pos = 0; pos < typed.size();) {
        const std::size_t end = std::min(typed.find(' ', pos), typed.size());
        if (end > pos) words.push_back(typed.substr(pos, end - pos));
        pos = end + 1;
    }
    list->blockSignals(true);
    list->clear();
    for (const textlib::Formula& f : textlib::search(library_, words)) {
        auto* item = new QListWidgetItem(item_text(f, textlib::text_of(library_, f).value_or(std::vector<std::string>{})));
        item->setData(formula_role, QByteArray::fromStdString(f.text()));
        list->addItem(item);
    }
    list->blockSignals(false);
    select_in_list(from_qt(formula->text().trimmed()));
}

void TextlibWindow::select_in_list(const std::string& formula_text)
{
    const QByteArray wanted = QByteArray::fromStdString(formula_text);
    QListWidgetItem* found = nullptr;
    for (int row = 0; row < list->count() && found == nullptr; ++row)
        if (list->item(row)->data(formula_role).toByteArray() == wanted) found = list->item(row);
    list->blockSignals(true);
    list->setCurrentItem(found);
    list->blockSignals(false);
}

void TextlibWindow::fill_coverage(const std::vector<std::string>& entries)
{
    coverage_list->clear();
    const textlib::Coverage c = textlib::coverage(entries, library_.ktexte, drive_);
    // Entry and source in columns of the fixed font (a list shows no tab).
    std::size_t width = 0;
    for (const textlib::CoverageLine& line : c.lines) width = std::max(width, line.entry.size());
    for (const textlib::CoverageLine& line : c.lines) {
        std::string text = line.entry + std::string(width - line.entry.size() + 3, ' ') +
                           std::string(textlib::source_name(line.source));
        const auto f = textlib::parse_formula(line.entry);
        if (line.source != textlib::TextSource::picture && f && f->picture() && f->key.size() == 5 &&
            textlib::text_of(library_, {f->key, f->axis}).has_value())
            text += texts::kTlReversedMark;
        auto* item = new QListWidgetItem(to_qt(text));
        item->setData(formula_role, QByteArray::fromStdString(line.entry));
        coverage_list->addItem(item);
    }
    coverage_counts->setText(entries.empty() ? QString() : to_qt(textlib::coverage_summary(c)));
}

std::optional<textlib::Formula> TextlibWindow::typed_formula() const
{
    return textlib::parse_formula(from_qt(formula->text().trimmed()));
}

std::vector<std::string> TextlibWindow::editor_lines() const
{
    const auto f = typed_formula();
    const std::size_t width = !f || f->picture() ? picture_line_length : ktexte_text_capacity;
    return textlib::wrap_words(from_qt(editor->toPlainText()), width);
}

void TextlibWindow::show_room()
{
    const auto f = typed_formula();
    const bool picture = !f || f->picture();
    const std::vector<std::string> lines = editor_lines();
    const std::size_t max_lines = picture ? picture_line_count : 1;
    const std::size_t width = picture ? picture_line_length : ktexte_text_capacity;
    std::string text = std::string(texts::kTlRoomLines) + number(lines.size()) + std::string(texts::kTlRoomOf) +
                       number(max_lines) + std::string(texts::kTlRoomLeft) +
                       number(lines.empty() ? width : width - std::min(width, lines.back().size())) +
                       std::string(texts::kTlRoomChars);
    std::string why;
    if (const auto at = foreign_character(editor->toPlainText())) {
        why = std::string(texts::kTlLine) + number(at->first) + std::string(texts::kTlColumn) + number(at->second) +
              ": " + std::string(texts::kTlNoCharacter);
    } else if (const auto refusals = textlib::check_text(f.value_or(textlib::Formula{"MC/MC", "MC/MC"}), lines);
               !refusals.empty()) {
        why = std::string(texts::kTlLine) + number(refusals[0].line) +
              (refusals[0].column ? std::string(texts::kTlColumn) + number(refusals[0].column) : std::string()) +
              ": " + refusals[0].reason;
    }
    room->setText(to_qt(why.empty() ? text : text + "\r" + why));
    room->setStyleSheet(why.empty() ? QString() : QStringLiteral("color: #b00000"));
}

void TextlibWindow::open_formula(const std::string& text)
{
    formula->setText(to_qt(text));
    const auto f = textlib::parse_formula(text);
    const auto lines = f ? textlib::text_of(library_, *f) : std::nullopt;
    editor->setPlainText(to_qt(lines ? joined(*lines) : std::string()));
    const auto theirs = f && other_ ? textlib::text_of(*other_, *f) : std::nullopt;
    other->setPlainText(to_qt(theirs ? joined(*theirs) : std::string()));
    take_button->setEnabled(theirs.has_value());
    mark_stored();
    select_in_list(text);
}

void TextlibWindow::mark_stored()
{
    stored_formula_ = formula->text();
    stored_text_ = editor->toPlainText();
}

bool TextlibWindow::unsaved() const
{
    const QString text = editor->toPlainText();
    return text != stored_text_ || (!text.isEmpty() && formula->text() != stored_formula_);
}

bool TextlibWindow::may_leave_editor()
{
    if (!unsaved()) return true;
    const QString typed = formula->text().trimmed();
    const std::string question =
        typed.isEmpty() ? std::string(texts::kTlUnsavedNoFormula) : fill(texts::kTlUnsavedQuestion, from_qt(typed));
    switch (desktop_.message(BoxType::confirmation, question, Buttons::save_discard_cancel)) {
    case Answer::save:
        return saveClick();
    case Answer::discard:
        formula->setText(stored_formula_);
        editor->setPlainText(stored_text_);
        return true;
    default:
        return false;
    }
}

void TextlibWindow::list_moved(const QByteArray& wanted, const QByteArray& previous)
{
    const QListWidgetItem* current = list->currentItem();
    if (current == nullptr || current->data(formula_role).toByteArray() != wanted) return;  // moved on since
    if (go_to(wanted.toStdString())) return;
    // The typing stays: the list goes back to the entry it came from.
    select_in_list(previous.toStdString());
}

bool TextlibWindow::go_to(const std::string& entry)
{
    if (to_qt(entry) == formula->text().trimmed() && unsaved()) return true;  // the text being typed
    if (!may_leave_editor()) return false;
    open_formula(entry);
    return true;
}

void TextlibWindow::coverage_clicked(QListWidgetItem* item)
{
    const std::string entry = item->data(formula_role).toByteArray().toStdString();
    if (!go_to(entry)) return;
    const auto f = textlib::parse_formula(entry);
    if (!f || !f->picture() || textlib::text_of(library_, *f) || f->key.size() != 5) return;
    // The reader finds nothing for this form; the reversed form has a text: offer to copy it.
    const textlib::Formula reversed{f->key, f->axis};
    const auto theirs = textlib::text_of(library_, reversed);
    if (!theirs) return;
    std::string question = fill(texts::kTlCopyReversed, entry);
    question = fill(question, reversed.text());
    if (desktop_.message(BoxType::confirmation, question, Buttons::yes_no) == Answer::yes)
        editor->setPlainText(to_qt(joined(*theirs)));
}

void TextlibWindow::newClick()
{
    if (!may_leave_editor()) return;
    formula->clear();
    editor->clear();
    other->clear();
    take_button->setEnabled(false);
    mark_stored();
    formula->setFocus();
}

bool TextlibWindow::write(const std::vector<textlib::TextChange>& changes)
{
    return apply_asking([&](const textlib::ApplyOptions& options) {
               return textlib::apply_changes(library_, changes, options);
           },
                        texts::kTlRefusedBox)
        .has_value();
}

std::optional<textlib::ApplyResult> TextlibWindow::apply_asking(
    const std::function<textlib::ApplyResult(const textlib::ApplyOptions&)>& apply, std::string_view refused)
{
    textlib::ApplyResult r = apply({});
    if (r.outcome == textlib::ApplyOutcome::changed) {
        std::string question(texts::kTlChangedBox);
        for (const std::string& f : r.files) question += f + "\r";
        question += texts::kTlChangedQuestion;
        // Replacing another program's change gives it up: No is the default.
        if (desktop_.message(BoxType::confirmation, question, Buttons::yes_no_default_no) != Answer::yes)
            return std::nullopt;
        r = apply({.overwrite_changed = true});
    }
    if (r.outcome == textlib::ApplyOutcome::refused) {
        std::string text(refused);
        for (const textlib::Refusal& refusal : r.refusals)
            text += "\r" + std::string(texts::kTlLine) + number(refusal.line) +
                    (refusal.column ? std::string(texts::kTlColumn) + number(refusal.column) : std::string()) + ": " +
                    refusal.reason;
        desktop_.message(BoxType::error, text, Buttons::ok);
        return std::nullopt;
    }
    if (r.outcome != textlib::ApplyOutcome::written) {
        desktop_.message(BoxType::error, r.message, Buttons::ok);
        // A write that failed may have left files changed (the message names them): show the files.
        if (r.outcome == textlib::ApplyOutcome::failed) {
            after_write();
            show_stored_text();
        }
        return std::nullopt;
    }
    after_write();
    return r;
}

void TextlibWindow::after_write()
{
    const QString typed_filter = filter->text();
    refresh();
    filter->setText(typed_filter);
    if (on_saved_) on_saved_(library_.ktexte);
}

void TextlibWindow::show_stored_text()
{
    const bool typing = unsaved();
    const QString typed_formula_text = formula->text();
    const QString typed_text = editor->toPlainText();
    open_formula(from_qt(stored_formula_));
    if (!typing) return;
    formula->setText(typed_formula_text);
    editor->setPlainText(typed_text);
}

bool TextlibWindow::saveClick()
{
    const auto f = typed_formula();
    if (!f) {
        desktop_.message(BoxType::error, texts::kTlBadFormulaBox, Buttons::ok);
        return false;
    }
    if (const auto at = foreign_character(editor->toPlainText())) {
        desktop_.message(BoxType::error,
                         std::string(texts::kTlRefusedBox) + "\r" + std::string(texts::kTlLine) + number(at->first) +
                             std::string(texts::kTlColumn) + number(at->second) + ": " +
                             std::string(texts::kTlNoCharacter),
                         Buttons::ok);
        return false;
    }
    const std::vector<std::string> lines = editor_lines();
    if (lines.empty()) return deleteClick();  // saving nothing is deleting: ask as "Löschen" does
    if (!write({{*f, lines, 0}})) return false;
    mark_stored();
    return true;
}

bool TextlibWindow::deleteClick()
{
    const auto f = typed_formula();
    if (!f) {
        desktop_.message(BoxType::error, texts::kTlBadFormulaBox, Buttons::ok);
        return false;
    }
    if (desktop_.message(BoxType::confirmation, fill(texts::kTlDeleteQuestion, f->text()), Buttons::yes_no) !=
        Answer::yes)
        return false;
    if (!write({{*f, {}, 0}})) return false;
    editor->clear();
    mark_stored();
    return true;
}

void TextlibWindow::versionsClick()
{
    if (versions->count() == 0) {
        desktop_.message(BoxType::information, texts::kTlNoVersions, Buttons::ok);
        return;
    }
    const std::string name = versions->currentData().toByteArray().toStdString();
    if (desktop_.message(BoxType::confirmation, fill(texts::kTlRestoreQuestion, textlib::version_label(name)),
                         Buttons::yes_no) != Answer::yes)
        return;
    const textlib::RestoreResult r = textlib::restore_version(library_, name);
    if (!r.ok) desktop_.message(BoxType::error, r.message, Buttons::ok);
    // Also after a failure: a restore that could not put everything back left files changed.
    after_write();
    show_stored_text();
}

void TextlibWindow::importClick()
{
    const auto path = desktop_.open_file(drive_.root().string());
    if (!path) return;
    std::string bytes;
    // A folder, or a file that cannot be read to its end, is no exchange file: nothing is merged.
    if (const int error = textlib::read_file(*path, bytes); error != 0) {
        desktop_.message(BoxType::error, cp1252_of_file_name(*path) + ": " + io_error_text(error), Buttons::ok);
        return;
    }
    const auto r = apply_asking(
        [&](const textlib::ApplyOptions& options) { return textlib::import_exchange(library_, bytes, options); },
        texts::kTlImportRefusedBox);
    if (!r) return;
    show_stored_text();
    desktop_.message(BoxType::information,
                     std::string(texts::kTlImported) + number(r->replaced) + " ge\xE4ndert, " + number(r->added) +
                         " neu, " + number(r->deleted) + " gel\xF6scht",
                     Buttons::ok);
}

void TextlibWindow::exportClick()
{
    const auto path = desktop_.save_file_as(drive_.root().string(), "Texte.txt", "Austauschdateien (*.txt)");
    if (!path) return;
    const WriteResult w = write_file_whole(*path, textlib::export_exchange(library_));
    if (!w.ok()) desktop_.message(BoxType::error, w.message(), Buttons::ok);
}

void TextlibWindow::compareClick()
{
    // Any file of the other collection names its folder.
    const auto path = desktop_.open_file(library_.pbtx_dir.string());
    if (!path) return;
    other_ = textlib::open_collection(std::filesystem::path(*path).parent_path());
    // The editor keeps what was typed; only the other side shows the second collection's text.
    const QString typed = editor->toPlainText();
    open_formula(from_qt(formula->text()));
    editor->setPlainText(typed);
}

void TextlibWindow::takeClick()
{
    editor->setPlainText(other->toPlainText());
}

}  // namespace duoskop
