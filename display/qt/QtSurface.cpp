#include "display/qt/QtSurface.h"

#include <QColor>
#include <QFontMetrics>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QRegion>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace zentrik {
namespace {

QColor to_qcolor(uint32_t color) { return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF); }

QString to_qstring(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect to_qrect(const Rect& rect) { return QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top); }

// Dashes and gaps in pen widths, as the classic desktop draws its one-pixel pens.
QList<qreal> dash_pattern(PenStyle style) {
  switch (style) {
    case PenStyle::Dash: return {18, 6};
    case PenStyle::Dot: return {3, 3};
    case PenStyle::DashDot: return {9, 6, 3, 6};
    case PenStyle::DashDotDot: return {9, 3, 3, 3, 3, 3};
    case PenStyle::Solid: break;
  }
  return {};
}

QPen to_qpen(const Pen& pen) {
  QPen qpen(to_qcolor(pen.color));
  qpen.setWidth(std::max(pen.width, 1));
  qpen.setCapStyle(Qt::FlatCap);
  qpen.setJoinStyle(Qt::MiterJoin);
  if (pen.style != PenStyle::Solid) qpen.setDashPattern(dash_pattern(pen.style));
  return qpen;
}

// The default height of a font whose height is 0.
constexpr int kDefaultPixelHeight = 12;

// Stamps kept per surface; texts beyond them are drawn plainly.
constexpr std::size_t kStamps = 256;

// Pictures larger than this draw scaled characters through the painter: finding
// the clipping's pixels would take a copy of the whole picture.
constexpr qint64 kMaxProbedPixels = qint64{16} << 20;

// A document's path is drawn and a new one begun after this many elements, so that
// a curve of many millions of distinct points does not wait whole in memory.
constexpr int kPathElements = 1 << 20;

bool whole(qreal value) { return value == std::floor(value) && std::abs(value) < 1e6; }

}  // namespace

QFont to_qfont(const Font& font) {
  QFont qfont(font.face.empty() ? QStringLiteral("Sans Serif") : QString::fromStdString(font.face));
  const int height = font.height == 0 ? -kDefaultPixelHeight : font.height;
  // The size is taken as a 64-bit magnitude: the most negative height has no int negation.
  const int pixels = static_cast<int>(std::clamp<long long>(std::llabs(static_cast<long long>(height)), 1, 2000));
  qfont.setPixelSize(pixels);
  if (height > 0) {
    // a positive height is the whole character cell, leading included
    const int cell = QFontMetrics(qfont).height();
    if (cell > 0) qfont.setPixelSize(std::max(1, pixels * pixels / cell));
  }
  qfont.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight == 0 ? 400 : font.weight, 1, 1000)));
  qfont.setItalic(font.italic);
  qfont.setUnderline(font.underline);
  qfont.setStrikeOut(font.strike);
  return qfont;
}

QtSurface::QtSurface(QPainter& painter) : painter_(painter) {
  state_.pen = to_qpen(Pen{});
  painter_.setPen(state_.pen);
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
  painter_.setBackgroundMode(Qt::TransparentMode);  // the opaque text cell is filled here
  QPaintDevice* device = painter_.device();
  if (!painter_.isActive() || !device) return;
  const QPaintEngine::Type engine = painter_.paintEngine()->type();
  document_ = engine == QPaintEngine::SVG || engine == QPaintEngine::Pdf;
  if (device->devType() == QInternal::Image && engine == QPaintEngine::Raster) {
    auto* image = static_cast<QImage*>(device);
    if (image->format() == QImage::Format_RGB32) {
      // the painter holds the only reference while it paints: no copy is made here
      image_ = image;
      bits_ = image->bits();
      bytes_per_line_ = image->bytesPerLine();
    }
  }
}

QtSurface::~QtSurface() { flush_path(); }

// Which quick ways hold under the painter's present mapping and clipping. What is
// known of anchors holds for one mapping and clipping; what is known of columns
// (device pixels) holds as long as logical rows stay device rows.
void QtSurface::update_geometry() {
  if (geometry_known_) return;
  geometry_known_ = true;
  pixels_ = translated_ = columnar_ = vertical_known_ = false;
  followed_ = nullptr;
  settled_.clear();
  device_ = painter_.deviceTransform();
  device_inverse_ = device_.inverted();
  const bool plain = bits_ && painter_.compositionMode() == QPainter::CompositionMode_SourceOver &&
                     painter_.opacity() == 1.0 && !painter_.testRenderHint(QPainter::Antialiasing);
  if (plain && device_.type() <= QTransform::TxScale && device_.m11() > 0 && device_.m22() > 0) {
    const bool whole_pixels =
        whole(device_.m11()) && whole(device_.m22()) && whole(device_.dx()) && whole(device_.dy());
    const bool moved = whole_pixels && device_.type() <= QTransform::TxTranslate;
    offset_ = moved ? QPoint(static_cast<int>(device_.dx()), static_cast<int>(device_.dy())) : QPoint();
    if (!painter_.hasClipping()) {
      clip_ = image_->rect();
      pixels_ = true;
    } else if (whole_pixels) {
      // whole pixels onto whole pixels: the clip's rectangle maps exactly
      const QRegion region = painter_.clipRegion();
      clip_ = image_->rect() & device_.mapRect(region.boundingRect());
      pixels_ = region.rectCount() <= 1;
    } else if (std::optional<QRect> probed = probe_clip()) {
      clip_ = *probed;
      pixels_ = true;
    }
    translated_ = pixels_ && moved;
    columnar_ = pixels_ && VerticalLines::applies(device_);
  }
  if (!columnar_) forget_columns();
}

// The device pixels the clipping lets through under a scaled mapping, as the raster
// engine rounds it: the whole device is filled through the painter in two colours
// and its pixels are put back after each. None when they form no single rectangle.
std::optional<QRect> QtSurface::probe_clip() {
  const int width = image_->width(), height = image_->height();
  if (static_cast<qint64>(width) * height > kMaxProbedPixels) return std::nullopt;
  const QImage kept = image_->copy();
  const QRect everything = device_inverse_.mapRect(QRectF(-2, -2, width + 4, height + 4)).toAlignedRect();
  std::vector<uint8_t> inside(static_cast<std::size_t>(width) * height, 1);
  for (QRgb marker : {0xFF010203u, 0xFFFEFDFCu}) {
    painter_.save();
    painter_.setCompositionMode(QPainter::CompositionMode_Source);
    painter_.fillRect(everything, QColor::fromRgb(marker));
    painter_.restore();
    for (int y = 0; y < height; ++y) {
      auto* row = reinterpret_cast<uint32_t*>(bits_ + y * bytes_per_line_);
      uint8_t* in = inside.data() + static_cast<std::size_t>(y) * width;
      for (int x = 0; x < width; ++x) in[x] &= row[x] == marker;
      std::memcpy(row, kept.constScanLine(y), static_cast<std::size_t>(width) * sizeof(uint32_t));
    }
  }
  int left = width, right = -1, top = height, bottom = -1;
  long count = 0;
  for (int y = 0; y < height; ++y) {
    const uint8_t* in = inside.data() + static_cast<std::size_t>(y) * width;
    const uint8_t* first = std::find(in, in + width, 1);
    if (first == in + width) continue;
    const int last = static_cast<int>(std::find(std::make_reverse_iterator(in + width),
                                                std::make_reverse_iterator(first), 1).base() - in) - 1;
    left = std::min(left, static_cast<int>(first - in));
    right = std::max(right, last);
    top = std::min(top, y);
    bottom = y;
    count += std::count(first, in + last + 1, 1);
  }
  if (count == 0) return QRect();
  const QRect box(QPoint(left, top), QPoint(right, bottom));
  if (count != static_cast<long>(box.width()) * box.height()) return std::nullopt;
  return box;
}

void QtSurface::use_pen() {
  if (pen_set_) return;
  painter_.setPen(state_.pen);
  pen_set_ = true;
}

void QtSurface::forget_columns() { columns_.reset(image_ ? image_->width() : 0, columns_.color()); }

void QtSurface::fillRect(const Rect& rect, uint32_t color) {
  flush_path();
  painter_.fillRect(to_qrect(rect), to_qcolor(color));
  update_geometry();
  if (!pixels_) return;
  const QRect device_rect = device_.mapRect(QRectF(to_qrect(rect))).toAlignedRect();
  unsettle_device(device_rect.adjusted(-1, -1, 1, 1));
  if (!columnar_) return;
  // under a narrowed mapping the rectangle's rounded pixels lie within the mapped one
  const QRect filled = (translated_ ? to_qrect(rect).translated(offset_) : device_rect) & clip_;
  for (int x = filled.left(); x <= filled.right(); ++x) columns_.cut(x, filled.top(), filled.bottom());
}

void QtSurface::moveTo(int x, int y) {
  current_ = QPoint(x, y);
  dash_travel_ = 0;
}

void QtSurface::lineTo(int x, int y) {
  const QPoint to(x, y);
  if (document_) {
    if (to != current_) add_to_path(to);
    return;
  }
  draw_line(to);
}

// A line on a picture.
void QtSurface::draw_line(QPoint to) {
  // Lines leave out their last pixel, so a line to where it stands covers none; a
  // curve of millions of points mostly repeats pixels.
  if (to == current_) return;
  update_geometry();
  if (columnar_ && skips_vertical_line(to)) {
    current_ = to;
    return;
  }
  if (pixels_ && followed_ && !(state_.pen_pixel == followed_pixel_ && settled_.lines_keep())) {
    const int reach = state_.pen.width() + 1;
    unsettle_device(device_.mapRect(QRectF(QRect(current_, to).normalized()))
                        .toAlignedRect()
                        .adjusted(-reach, -reach, reach, reach));
  }
  draw_through_painter(to);
}

// What the columns know stays true under lines of their colour, of any width or
// dashes. A thin line straight up or down is left out when its column already holds
// its colour on the rows it would paint.
bool QtSurface::skips_vertical_line(QPoint to) {
  if (columns_.color() != state_.pen_pixel) columns_.reset(image_->width(), state_.pen_pixel);
  if (!state_.thin_solid || to.x() != current_.x()) return false;
  ColumnRun run;
  if (!vertical_run(current_, to, run)) return false;
  if (run.column < clip_.left() || run.column > clip_.right() || run.top > run.bottom ||
      columns_.holds(run.column, run.top, run.bottom))
    return true;
  columns_.add(run.column, run.top, run.bottom);
  return false;
}

inline bool QtSurface::vertical_run(QPoint from, QPoint to, ColumnRun& run) {
  if (!vertical_known_) {
    if (!vertical_.probed_for(device_))
      vertical_.probe(device_, image_->width(), painter_.renderHints(), to_qpen(Pen{}));
    vertical_known_ = true;
  }
  const VerticalLines::Landing* landing = vertical_.at(to.x(), to.y() > from.y());
  if (!landing) return false;
  const int rows_offset = static_cast<int>(device_.dy());
  const int start = from.y() + rows_offset, end = to.y() + rows_offset;
  run.column = landing->column;
  run.top = std::max(std::min(start, end) + landing->from_top, clip_.top());
  run.bottom = std::min(std::max(start, end) - landing->from_bottom, clip_.bottom());
  return true;
}

// A chain of short lines (a formula's curve) keeps its dashes going from one line
// to the next instead of starting each line with a dash. Each line is its own call:
// the raster engine joins the lines of one call, which paints pixels the separate
// lines leave out.
void QtSurface::draw_through_painter(QPoint to) {
  use_pen();
  if (state_.pen.style() == Qt::CustomDashLine) {
    QPen pen = state_.pen;
    pen.setDashOffset(dash_travel_ / pen.widthF());
    painter_.setPen(pen);
    pen_set_ = false;
    dash_travel_ += std::hypot(to.x() - current_.x(), to.y() - current_.y());
  }
  painter_.drawLine(current_, to);
  current_ = to;
}

// The anchors where the followed character would cover any of these device pixels
// may change pixels again.
void QtSurface::unsettle_device(const QRect& box) {
  if (!followed_ || box.isEmpty()) return;
  const QRect& reach = followed_->reach();
  if (reach.isEmpty()) return;  // nothing settled yet
  // the device pixels of the origins whose characters meet the box
  const QRect origins(box.left() - reach.right(), box.top() - reach.bottom(), box.width() + reach.width() - 1,
                      box.height() + reach.height() - 1);
  const TextCell& cell = followed_->cell();
  const int origin_x = cell.rect.left(), origin_y = cell.rect.top() + cell.ascent;  // from the anchor, logical
  if (translated_) {
    settled_.unsettle(QRect(QPoint(origins.left() - offset_.x() - origin_x, origins.top() - offset_.y() - origin_y),
                            origins.size()));
    return;
  }
  // device = logical * scale + offset on each axis; truncation is within a pixel of the floor
  auto logical = [](int device, double scale, double offset) { return static_cast<int>((device - offset) / scale); };
  const int left = logical(origins.left(), device_.m11(), device_.dx()) - origin_x - 2;
  const int right = logical(origins.right() + 1, device_.m11(), device_.dx()) - origin_x + 2;
  const int top = logical(origins.top(), device_.m22(), device_.dy()) - origin_y - 2;
  const int bottom = logical(origins.bottom() + 1, device_.m22(), device_.dy()) - origin_y + 2;
  settled_.unsettle(QRect(QPoint(left, top), QPoint(right, bottom)));
}

void QtSurface::setPen(const Pen& pen) {
  flush_path();
  state_.pen = to_qpen(pen);
  state_.pen_pixel = state_.pen.color().rgb();
  state_.thin_solid = pen.style == PenStyle::Solid && pen.width <= 1;
  painter_.setPen(state_.pen);
  pen_set_ = true;
  dash_travel_ = 0;
}

void QtSurface::setFont(const Font& font) {
  flush_path();
  painter_.setFont(to_qfont(font));
  ++font_serial_;
}

void QtSurface::setTextColor(uint32_t color) {
  flush_path();
  state_.text_color = color;
  state_.text_pixel = to_qcolor(color).rgb();
}

void QtSurface::setBackgroundOpaque(bool opaque) {
  flush_path();
  state_.opaque = opaque;
}

void QtSurface::drawText(int x, int y, std::string_view text, TextAlign align, bool turned) {
  if (document_) {
    if (!turned && !state_.opaque) {
      draw_in_document(x, y, text, align);
      return;
    }
    flush_path();
  } else if (!turned && !state_.opaque && bits_) {
    if (TextStamp* stamp = stamp_for(text, align)) {
      draw_stamp(*stamp, x, y);
      return;
    }
  }
  draw_text_plainly(x, y, text, align, turned);
}

void QtSurface::draw_text_plainly(int x, int y, std::string_view text, TextAlign align, bool turned) {
  const QString qtext = to_qstring(text);
  draw_plain_text(painter_, x, y, qtext, text_cell(painter_.fontMetrics(), qtext, align),
                  to_qcolor(state_.text_color), state_.opaque, turned);
  pen_set_ = false;
  forget_columns();
  followed_ = nullptr;
  settled_.clear();
}

// The stamp of a text in the present font, colour and alignment, made when the text
// comes a second time; none for a text drawn once.
TextStamp* QtSurface::stamp_for(std::string_view text, TextAlign align) {
  const uint32_t color = state_.text_color;
  auto matches = [&](const StampEntry& entry) {
    if (entry.font_serial != font_serial_ || entry.color != color || !(entry.align == align) ||
        entry.text.size() != text.size())
      return false;
    for (std::size_t i = 0; i < text.size(); ++i)  // mostly a single character
      if (entry.text[i] != text[i]) return false;
    return true;
  };
  StampEntry* entry = last_stamp_ && matches(*last_stamp_) ? last_stamp_ : nullptr;
  for (auto it = stamps_.begin(); !entry && it != stamps_.end(); ++it)
    if (matches(*it)) entry = &*it;
  if (!entry) {
    if (stamps_.size() >= kStamps) {
      // make room by forgetting the texts that came only once
      std::erase_if(stamps_, [](const StampEntry& e) { return !e.stamp; });
      last_stamp_ = nullptr;
      if (stamps_.size() >= kStamps) return nullptr;
    }
    entry = &stamps_.emplace_back();
    entry->font_serial = font_serial_;
    entry->text = std::string(text);
    entry->color = color;
    entry->align = align;
  }
  last_stamp_ = entry;
  if (!entry->stamp && ++entry->uses >= 2)
    entry->stamp = std::make_unique<TextStamp>(painter_, to_qstring(text), color, align);
  return entry->stamp.get();
}

// From now on what is known of anchors is of this stamp's character.
void QtSurface::follow_stamp(const TextStamp& stamp) {
  if (followed_ == &stamp) return;
  followed_ = &stamp;
  followed_pixel_ = state_.text_pixel;
  // anchors whose character can reach the device's pixels
  const int margin = 2 * (stamp.cell().rect.width() + stamp.cell().rect.height()) + 8;
  settled_.follow(device_inverse_
                      .mapRect(QRectF(image_->rect()))
                      .toAlignedRect()
                      .adjusted(-margin, -margin, margin, margin));
}

// Whether every pixel the mask touches with the origin at `at` lies outside the
// clipping or holds the columns' colour already.
bool QtSurface::columns_hold(const StampMask& mask, QPoint at) const {
  int column = at.x() + mask.origin.x();
  for (auto [top, bottom] : mask.ink_rows) {
    if (top <= bottom && column >= clip_.left() && column <= clip_.right()) {
      const int from = std::max(at.y() + top, clip_.top()), to = std::min(at.y() + bottom, clip_.bottom());
      if (from <= to && !columns_.holds(column, from, to)) return false;
    }
    ++column;
  }
  return true;
}

void QtSurface::draw_stamp(TextStamp& stamp, int x, int y) {
  update_geometry();
  if (pixels_) {
    follow_stamp(stamp);
    if (settled_.holds(x, y)) return;
    QPoint at;
    if (const StampMask* mask = stamp.mask_at(painter_, device_, x, y, at)) {
      settled_.note_mask(mask->keeps_own_colour);
      // blended on pixels of its colour the character leaves them so
      const bool keeps = columnar_ && mask->keeps_own_colour && state_.text_pixel == columns_.color();
      if (keeps && columns_hold(*mask, at)) {
        settled_.add(x, y);
        return;
      }
      if (stamp.blend(*mask, bits_, bytes_per_line_, clip_, at))
        unsettle_device(QRect(at + mask->origin, QSize(mask->width, mask->height)));
      else
        settled_.add(x, y);
      if (!columnar_ || keeps) return;
      int column = at.x() + mask->origin.x();
      for (auto [top, bottom] : mask->ink_rows) columns_.cut(column++, at.y() + top, at.y() + bottom);
      return;
    }
  }
  stamp.draw(painter_, x, y);
  pen_set_ = false;
  forget_columns();
  followed_ = nullptr;
  settled_.clear();
}

// In a document a line joins the path of the lines before it.
void QtSurface::add_to_path(QPoint to) {
  if (batch_.path.isEmpty()) batch_.pen = state_.pen;
  if (batch_.path.isEmpty() || batch_.end != current_) batch_.path.moveTo(current_);
  batch_.path.lineTo(to);
  batch_.end = current_ = to;
  if (batch_.path.elementCount() >= kPathElements) flush_path();
}

// A point character in a document waits, with the others of its formula, for the
// path its lines are growing, and is drawn after it: the curve stays one path. It
// is placed by its origin, without moving the painter, which would open a new
// group for each character of an SVG.
void QtSurface::draw_in_document(int x, int y, std::string_view text, TextAlign align) {
  const QString qtext = to_qstring(text);
  const TextStamp* stamp = stamp_for(text, align);
  const TextCell cell = stamp ? stamp->cell() : text_cell(painter_.fontMetrics(), qtext, align);
  const QPoint origin(cell.rect.left(), cell.rect.top() + cell.ascent);
  if (!batch_.anchors.empty() && (batch_.text != qtext || batch_.text_origin != origin)) flush_path();
  batch_.text = qtext;
  batch_.text_origin = origin;
  batch_.text_color = to_qcolor(state_.text_color);
  batch_.anchors.emplace_back(x, y);
  if (batch_.anchors.size() >= static_cast<std::size_t>(kPathElements)) flush_path();
}

// The growing path, its corners beveled (as the separate lines left them, with
// their notches filled), then the characters that waited for it. A character drawn
// again where it stands already is drawn once: nothing lies between the two.
void QtSurface::flush_path() {
  if (!batch_.path.isEmpty()) {
    QPen pen = batch_.pen;
    pen.setJoinStyle(Qt::BevelJoin);
    painter_.setPen(pen);
    painter_.setBrush(Qt::NoBrush);
    painter_.drawPath(batch_.path);
    pen_set_ = false;
  }
  if (!batch_.anchors.empty()) {
    std::vector<QPoint>& anchors = batch_.anchors;
    auto before = [](QPoint a, QPoint b) { return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x(); };
    std::sort(anchors.begin(), anchors.end(), before);
    anchors.erase(std::unique(anchors.begin(), anchors.end()), anchors.end());
    painter_.setPen(batch_.text_color);
    for (QPoint anchor : anchors) painter_.drawText(anchor + batch_.text_origin, batch_.text);
    pen_set_ = false;
  }
  batch_ = PathBatch{};
}

// On a picture the steps of a curve go straight to the quick ways of lines and
// stamps; elsewhere they are drawn one by one.
void QtSurface::drawCurve(std::span<const CurveStep> steps, std::string_view character, TextAlign align) {
  if (document_ || !bits_ || state_.opaque) {
    Surface::drawCurve(steps, character, align);
    return;
  }
  TextStamp* stamp = nullptr;
  for (const CurveStep& step : steps) {
    if (!step.character) {
      draw_line(QPoint(step.x, step.y));
      continue;
    }
    if (!stamp) stamp = stamp_for(character, align);
    if (stamp)
      draw_stamp(*stamp, step.x, step.y);
    else
      draw_text_plainly(step.x, step.y, character, align, false);
  }
}

TextExtent QtSurface::textExtent(std::string_view text) {
  const QFontMetrics metrics = painter_.fontMetrics();
  return {metrics.horizontalAdvance(to_qstring(text)), metrics.height()};
}

void QtSurface::save() {
  flush_path();
  saved_.push_back(state_);
  painter_.save();
}

void QtSurface::restore() {
  flush_path();
  if (saved_.empty()) return;
  state_ = saved_.back();
  saved_.pop_back();
  painter_.restore();
  pen_set_ = false;
  ++font_serial_;
  geometry_known_ = false;
}

void QtSurface::excludeClip(const Rect& rect) {
  flush_path();
  QRegion region = painter_.hasClipping() ? painter_.clipRegion() : QRegion(painter_.window());
  painter_.setClipRegion(region.subtracted(QRegion(to_qrect(rect))));
  geometry_known_ = false;
}

void QtSurface::setLogicalWindow(int x, int y, int width, int height) {
  flush_path();
  if (width > 0 && height > 0) painter_.setWindow(x, y, width, height);
  geometry_known_ = false;
}

}  // namespace zentrik
