#include "display/qt/PngFile.h"

#include <zlib.h>

#include <QIODevice>
#include <QImage>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zentrik {
namespace {

constexpr unsigned char kUpFilter = 2;
// Below the usual 6: on rows told from the rows above, files as small within a few
// per cent, in about half the time.
constexpr int kLevel = 4;

void put_u32(std::string& out, uint32_t value) {
  out += static_cast<char>(value >> 24);
  out += static_cast<char>(value >> 16);
  out += static_cast<char>(value >> 8);
  out += static_cast<char>(value);
}

// A chunk: its length, type, data and the CRC of type and data.
void put_chunk(std::string& out, const char (&type)[5], std::string_view data) {
  put_u32(out, static_cast<uint32_t>(data.size()));
  const std::size_t start = out.size();
  out.append(type, 4);
  out.append(data);
  const auto* typed = reinterpret_cast<const Bytef*>(out.data() + start);
  put_u32(out, static_cast<uint32_t>(crc32(0L, typed, static_cast<uInt>(4 + data.size()))));
}

// One row as the file holds it: the filter byte, then each byte of red, green, blue
// less the same byte of the row above.
void filter_row(const uint32_t* pixels, const uint32_t* above, int width, unsigned char* out) {
  *out++ = kUpFilter;
  for (int x = 0; x < width; ++x) {
    const uint32_t pixel = pixels[x], over = above ? above[x] : 0;
    *out++ = static_cast<unsigned char>((pixel >> 16) - (over >> 16));
    *out++ = static_cast<unsigned char>((pixel >> 8) - (over >> 8));
    *out++ = static_cast<unsigned char>(pixel - over);
  }
}

// The filtered rows through deflate, into out; false when zlib fails.
bool compress_rows(const QImage& image, std::string& out) {
  z_stream stream{};
  if (deflateInit2(&stream, kLevel, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK) return false;
  const int width = image.width();
  std::vector<unsigned char> row(1 + 3 * static_cast<std::size_t>(width));
  std::vector<unsigned char> block(1 << 16);
  bool good = true;
  for (int y = 0; y < image.height() && good; ++y) {
    const auto* pixels = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
    const auto* above = y > 0 ? reinterpret_cast<const uint32_t*>(image.constScanLine(y - 1)) : nullptr;
    filter_row(pixels, above, width, row.data());
    stream.next_in = row.data();
    stream.avail_in = static_cast<uInt>(row.size());
    const int flush = y + 1 == image.height() ? Z_FINISH : Z_NO_FLUSH;
    int result;
    do {
      stream.next_out = block.data();
      stream.avail_out = static_cast<uInt>(block.size());
      result = deflate(&stream, flush);
      out.append(reinterpret_cast<const char*>(block.data()), block.size() - stream.avail_out);
    } while (result == Z_OK && (stream.avail_out == 0 || flush == Z_FINISH));
    good = flush == Z_FINISH ? result == Z_STREAM_END : result == Z_OK || result == Z_BUF_ERROR;
  }
  deflateEnd(&stream);
  return good;
}

}  // namespace

bool write_png(const QImage& image, QIODevice& device) {
  const QImage pixels = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
                            ? image
                            : image.convertToFormat(QImage::Format_RGB32);
  if (pixels.isNull()) return false;
  std::string header;
  put_u32(header, static_cast<uint32_t>(pixels.width()));
  put_u32(header, static_cast<uint32_t>(pixels.height()));
  header += std::string_view("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, filtered rows, no interlace
  std::string density;  // pixels per metre, as the picture says, so viewers know its size
  put_u32(density, static_cast<uint32_t>(pixels.dotsPerMeterX()));
  put_u32(density, static_cast<uint32_t>(pixels.dotsPerMeterY()));
  density += '\x01';
  std::string rows;
  if (!compress_rows(pixels, rows)) return false;

  std::string file("\x89PNG\r\n\x1a\n", 8);
  put_chunk(file, "IHDR", header);
  put_chunk(file, "pHYs", density);
  put_chunk(file, "IDAT", rows);
  put_chunk(file, "IEND", {});
  return device.write(file.data(), static_cast<qint64>(file.size())) == static_cast<qint64>(file.size());
}

}  // namespace zentrik
