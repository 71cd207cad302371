// SPDX-License-Identifier: GPL-3.0-or-later
// What the drawing commands (dial, ephemeris, report) share: a Gui application without a display,
// and writing a picture with the error on stderr.
#pragma once

#include <QByteArray>
#include <QGuiApplication>
#include <string>

namespace duoskop::cli {

/// A Gui application on the offscreen platform: fonts and painting work without a display.
class OffscreenGui {
public:
    OffscreenGui();

private:
    QGuiApplication app_;
};

/// Writes picture bytes as the whole new content of `path`; false after the reason on stderr.
bool write_picture(const std::string& path, const QByteArray& bytes);

}  // namespace duoskop::cli
