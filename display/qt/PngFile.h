// The PNG form of a drawn picture, written here rather than by the toolkit's image
// writer: a plot is mostly blank paper with thin lines, and rows told apart from the
// row above them ("up" filter) deflate about twice as fast as rows for which every
// filter is tried, into files of about the same size. Lossless, 8-bit RGB.
// PlotFiles uses it for PNG exports.
#pragma once

class QImage;
class QIODevice;

namespace zentrik {

// Writes the picture (any format; alpha is dropped) to the device; false when the
// device takes fewer bytes or memory runs out.
bool write_png(const QImage& image, QIODevice& device);

}  // namespace zentrik
