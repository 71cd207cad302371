// SPDX-License-Identifier: GPL-3.0-or-later
// The line-oriented text device on a Qt printer, used for the printed report and the text export.
#pragma once

#include <QFont>
#include <QPainter>
#include <QPrinter>
#include <memory>

#include "base/desktop.h"

namespace duoskop {

/// Prints lines in Liberation Mono ("courier new") 10 pt from the top-left corner of the printable
/// area, one line height apart; a line too wide continues on the next line, broken after the last
/// character that still fits; a new page starts when the next line would not fit any more.
class QtLineDevice : public LineDevice {
public:
    /// Starts the print job on `printer`.
    explicit QtLineDevice(std::unique_ptr<QPrinter> printer);
    ~QtLineDevice() override;

    bool write_line(std::string_view line) override;
    bool close() override;

private:
    bool put(const QString& piece);

    std::unique_ptr<QPrinter> printer_;
    QPainter painter_;
    bool started_ = false;
    bool failed_ = false;
    int line_height_ = 1;
    int ascent_ = 0;
    int page_width_ = 0;
    int page_height_ = 0;
    int y_ = 0;
};

/// The printing font: "courier new" 10 pt, for which Liberation Mono stands in.
QFont print_font();

}  // namespace duoskop
