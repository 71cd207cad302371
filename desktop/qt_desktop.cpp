// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/qt_desktop.h"

#include <QApplication>
#include <QFont>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTranslator>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "desktop/appearance.h"
#include "desktop/first_frame.h"
#include "desktop/help_window.h"
#include "desktop/qt_print.h"
#include "desktop/qt_style.h"
#include "base/texts.h"

namespace duoskop {

QString to_qt(std::string_view cp1252)
{
    QStringDecoder decode("windows-1252");
    QString text = decode(QByteArrayView(cp1252.data(), static_cast<qsizetype>(cp1252.size())));
    text.replace(QChar(u'\r'), QChar(u'\n'));
    return text;
}

std::string from_qt(const QString& text)
{
    QStringEncoder encode("windows-1252", QStringEncoder::Flag::Default);
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        const QByteArray one = encode(QStringView(&c, 1));
        // The converter may also answer a character it lacks with its substitute byte 0x1A.
        const bool encoded =
            one.size() == 1 && !encode.hasError() && (one[0] != '\x1A' || c == QChar(u'\x1A'));
        bytes.push_back(encoded ? one[0] : '?');
        // An encoder keeps its error once it had one: the characters after a '?' need a fresh one.
        if (encoded) encode.resetState();
        else encode = QStringEncoder("windows-1252", QStringEncoder::Flag::Default);
    }
    return bytes;
}

namespace {

struct BoxLook {
    std::string_view caption;
    QMessageBox::Icon icon;
};

BoxLook box_look(BoxType type)
{
    switch (type) {
    case BoxType::warning: return {texts::kBoxWarning, QMessageBox::Warning};
    case BoxType::error: return {texts::kBoxError, QMessageBox::Critical};
    case BoxType::information: return {texts::kBoxInformation, QMessageBox::Information};
    case BoxType::confirmation: return {texts::kBoxConfirmation, QMessageBox::Question};
    }
    return {texts::kBoxInformation, QMessageBox::Information};
}

}  // namespace

QWidget* QtDesktop::owner() const
{
    // The window the user acted in: a dialog of ours that is open, else the window in front, else
    // the window of the box or dialog before: right after one closes, the window system may not
    // yet have made its window the active one again, and a second box of the same action (the
    // summary after a file dialog, a question after a question) belongs there too.
    QWidget* found = QApplication::activeModalWidget();
    if (found == nullptr) found = QApplication::activeWindow();
    if (found == nullptr && last_window_ != nullptr && last_window_->isVisible()) found = last_window_;
    if (found == nullptr) found = parent_;
    if (found != nullptr) last_window_ = found->window();
    return found;
}

namespace {

/// While it lives a box or dialog is open over `owner`; when it goes, the owner's window is the
/// active one again, whatever the window manager picks, and the keyboard goes to the widget that
/// had the focus in it.
class FocusReturn {
public:
    explicit FocusReturn(QWidget* owner) : window_(owner == nullptr ? nullptr : owner->window()) {}
    ~FocusReturn()
    {
        if (window_ && window_->isVisible() && !window_->isActiveWindow()) window_->activateWindow();
    }
    FocusReturn(const FocusReturn&) = delete;
    FocusReturn& operator=(const FocusReturn&) = delete;

private:
    QPointer<QWidget> window_;
};

}  // namespace

Answer QtDesktop::message(BoxType type, std::string_view text, Buttons buttons)
{
    const BoxLook look = box_look(type);
    QWidget* over = owner();
    const FocusReturn focus_return(over);
    QMessageBox box(look.icon, to_qt(look.caption), to_qt(text), QMessageBox::NoButton, over);
    box.setTextFormat(Qt::PlainText);  // file names and texts from files are no markup
    if (buttons == Buttons::ok) {
        QPushButton* ok = box.addButton(to_qt(texts::kButtonOk), QMessageBox::AcceptRole);
        box.setDefaultButton(ok);
        box.setEscapeButton(ok);
        box.exec();
        return Answer::ok;
    }
    if (buttons == Buttons::save_discard_cancel) {
        QPushButton* save = box.addButton(to_qt(texts::kButtonSave), QMessageBox::AcceptRole);
        QPushButton* discard = box.addButton(to_qt(texts::kButtonDiscard), QMessageBox::DestructiveRole);
        QPushButton* cancel = box.addButton(to_qt(texts::kButtonCancel), QMessageBox::RejectRole);
        box.setDefaultButton(save);
        box.setEscapeButton(cancel);
        box.exec();
        if (box.clickedButton() == save) return Answer::save;
        return box.clickedButton() == discard ? Answer::discard : Answer::cancel;
    }
    QPushButton* yes = box.addButton(to_qt(texts::kButtonYes), QMessageBox::YesRole);
    QPushButton* no = box.addButton(to_qt(texts::kButtonNo), QMessageBox::NoRole);
    box.setDefaultButton(buttons == Buttons::yes_no_default_no ? no : yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes ? Answer::yes : Answer::no;
}

std::size_t QtDesktop::choose(BoxType type, std::string_view text, std::span<const std::string_view> choices,
                              std::size_t default_choice)
{
    if (choices.empty()) return default_choice;
    const BoxLook look = box_look(type);
    QWidget* over = owner();
    const FocusReturn focus_return(over);
    QMessageBox box(look.icon, to_qt(look.caption), to_qt(text), QMessageBox::NoButton, over);
    box.setTextFormat(Qt::PlainText);
    std::vector<QPushButton*> buttons;
    // One role for all, so that every desktop's button order keeps them in the given order.
    for (const std::string_view choice : choices) buttons.push_back(box.addButton(to_qt(choice), QMessageBox::ActionRole));
    box.setDefaultButton(buttons[std::min(default_choice, buttons.size() - 1)]);
    // The last choice changes nothing: Escape and the window's close button press it.
    box.setEscapeButton(buttons.back());
    box.exec();
    const auto pressed = std::find(buttons.begin(), buttons.end(), box.clickedButton());
    return pressed == buttons.end() ? buttons.size() - 1 : static_cast<std::size_t>(pressed - buttons.begin());
}

std::optional<std::string> QtDesktop::open_file(const std::string& initial_dir)
{
    const FocusReturn focus_return(owner());
    const QString path =
        QFileDialog::getOpenFileName(owner(), QString(), QString::fromStdString(initial_dir));
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
}

std::optional<std::string> QtDesktop::open_file_of(const std::string& initial_dir, const std::string& filter)
{
    const FocusReturn focus_return(owner());
    const QString path = QFileDialog::getOpenFileName(owner(), QString(), QString::fromStdString(initial_dir),
                                                      QString::fromStdString(filter));
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
}

std::optional<std::string> QtDesktop::save_file(const std::string& initial_dir)
{
    return save_text_file(initial_dir, false);
}

std::optional<std::string> QtDesktop::save_file_asking(const std::string& initial_dir)
{
    return save_text_file(initial_dir, true);
}

std::optional<std::string> QtDesktop::choose_folder(const std::string& initial_dir)
{
    const QString dir = QFileDialog::getExistingDirectory(parent_, QString(), QString::fromStdString(initial_dir));
    if (dir.isEmpty()) return std::nullopt;
    return dir.toStdString();
}

std::optional<std::string> QtDesktop::save_text_file(const std::string& initial_dir, bool ask_before_replacing)
{
    const QString start = last_folder_.isEmpty() ? QString::fromStdString(initial_dir) : last_folder_;
    const FocusReturn focus_return(owner());
    QFileDialog dialog(owner(), QString(), start, QStringLiteral("*.txt"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("TXT"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !ask_before_replacing);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const QString path = dialog.selectedFiles().front();
    last_folder_ = QFileInfo(path).absolutePath();
    return path.toStdString();
}

std::optional<std::string> QtDesktop::save_file_as(const std::string& initial_dir, const std::string& suggested,
                                                   const std::string& filter)
{
    const QString start = QString::fromStdString(initial_dir) + QLatin1Char('/') + QString::fromStdString(suggested);
    const FocusReturn focus_return(owner());
    const QString path = QFileDialog::getSaveFileName(owner(), QString(), start, QString::fromStdString(filter));
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
}

std::unique_ptr<LineDevice> QtDesktop::open_printer()
{
    return open_printer_named("Duoskop");
}

std::unique_ptr<LineDevice> QtDesktop::open_printer_named(std::string_view document_name)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setDocName(to_qt(document_name));
    const QString folder = last_folder_.isEmpty()
        ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
        : last_folder_;
    // The proposal stands in the dialog's file field; a real printer stays the first choice.
    printer->setOutputFileName(print_file_proposal(folder, document_name));
    if (!QPrinterInfo::availablePrinterNames().isEmpty()) printer->setOutputFormat(QPrinter::NativeFormat);
    const FocusReturn focus_return(owner());
    QPrintDialog dialog(printer.get(), owner());
    if (dialog.exec() != QDialog::Accepted) return nullptr;
    if (printer->outputFormat() == QPrinter::PdfFormat && !printer->outputFileName().isEmpty())
        last_folder_ = QFileInfo(printer->outputFileName()).absolutePath();
    return std::make_unique<QtLineDevice>(std::move(printer));
}

QString print_file_proposal(const QString& folder, std::string_view document_name)
{
    QString name = to_qt(document_name).trimmed();
    for (QChar& c : name)
        if (c == u'/' || c == u'\\' || c.unicode() < 0x20) c = u'-';
    if (name.isEmpty() || name.startsWith(u'.')) name.prepend(QStringLiteral("Duoskop"));
    return QDir(folder).filePath(name + QStringLiteral(".pdf"));
}

bool install_german_translations()
{
    // Qt's own dialogs take German texts and German number and date formats for their display;
    // the program's data never pass through the locale.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

void QtDesktop::end_program()
{
    QCoreApplication::exit(0);
}

void QtDesktop::end_program_with(int status)
{
    QCoreApplication::exit(status);
}

void start_desktop_program(const char* desktop_file_name)
{
    QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 8));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(desktop_file_name));
    install_help_key(*qApp);  // F1 opens the manual in every window
    start_appearance();       // light, dark or the desktop's colours
    if (!install_german_translations())
        std::fprintf(stderr, "%s: Qts deutsche \u00DCbersetzungen (qtbase_de.qm) fehlen; Qts Dialoge bleiben englisch\n",
                     desktop_file_name);
}

void show_main_window(QWidget* window)
{
    report_first_frame(window);
    after_first_frame(window, [] { QApplication::setWindowIcon(program_icon()); });
    window->show();
}

}  // namespace duoskop
