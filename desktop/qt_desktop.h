// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop on Qt: message boxes, file and printer dialogs, and the conversion of the program's
// Windows-1252 texts into the widgets' strings.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "base/desktop.h"

class QWidget;

namespace duoskop {

/// The widget text of a Windows-1252 text; "\r" (a line break in the program's messages) becomes "\n".
QString to_qt(std::string_view cp1252);
/// The Windows-1252 bytes of a widget text, one byte per character ('?' where none exists).
std::string from_qt(const QString& text);

/// The real desktop: modal Qt message boxes and dialogs over the window given as parent.
class QtDesktop : public Desktop {
public:
    explicit QtDesktop(QWidget* parent = nullptr) : parent_(parent) {}
    void set_parent(QWidget* parent) { parent_ = parent; }

    Answer message(BoxType type, std::string_view text, Buttons buttons) override;
    std::optional<std::string> open_file(const std::string& initial_dir) override;
    std::optional<std::string> save_file(const std::string& initial_dir) override;
    std::optional<std::string> save_file_as(const std::string& initial_dir, const std::string& suggested,
                                            const std::string& filter) override;
    std::unique_ptr<LineDevice> open_printer() override;
    void end_program() override;

private:
    QWidget* parent_;
};

}  // namespace duoskop
