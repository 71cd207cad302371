// SPDX-License-Identifier: GPL-3.0-or-later
// The picture of the information panel: baseline JPEG data built into the program, decoded by our
// own call of libjpeg.
#pragma once

#include <QImage>
#include <cstddef>
#include <span>

namespace duoskop {

/// The JPEG data of `Image1` (64 x 64 pixels, colour, baseline).
std::span<const unsigned char> info_picture_jpeg();

/// Decodes JPEG data into an RGB image; a null image when the data are not a readable JPEG.
QImage decode_jpeg(std::span<const unsigned char> data);

}  // namespace duoskop
