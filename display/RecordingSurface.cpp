#include "display/RecordingSurface.h"

#include <cstdio>

namespace zentrik {
namespace {

std::string hex(uint32_t color) {
  char text[16];
  std::snprintf(text, sizeof text, "%06x", static_cast<unsigned>(color));
  return text;
}

const char* style_name(PenStyle style) {
  switch (style) {
    case PenStyle::Solid: return "solid";
    case PenStyle::Dash: return "dash";
    case PenStyle::Dot: return "dot";
    case PenStyle::DashDot: return "dashdot";
    case PenStyle::DashDotDot: return "dashdotdot";
  }
  return "?";
}

std::string pen_text(const Pen& pen) {
  return std::string(style_name(pen.style)) + " " + std::to_string(pen.width) + " " + hex(pen.color);
}

std::string font_text(const Font& font) {
  std::string text = std::to_string(font.height) + " " + std::to_string(font.weight);
  if (font.italic) text += " italic";
  if (font.underline) text += " underline";
  if (font.strike) text += " strike";
  return text + " \"" + font.face + "\"";
}

std::string align_text(TextAlign align) {
  const char* h = align.horizontal == HAlign::Left ? "left" : align.horizontal == HAlign::Centre ? "centre" : "right";
  return std::string(h) + (align.vertical == VAlign::Top ? "/top" : "/bottom");
}

std::string point(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }

std::string rect_text(const Rect& r) { return point(r.left, r.top) + " " + point(r.right, r.bottom); }

std::string line_of(const RecordingSurface::Operation& o) {
  using Op = RecordingSurface::Op;
  switch (o.op) {
    case Op::Fill: return "fill " + rect_text(o.rect) + " " + hex(o.color);
    case Op::Move: return "move " + point(o.x, o.y);
    case Op::Line: return "line " + point(o.x0, o.y0) + " " + point(o.x, o.y) + " " + pen_text(o.pen);
    case Op::Pen: return "pen " + pen_text(o.pen);
    case Op::Font: return "font " + font_text(o.font);
    case Op::TextColor: return "textcolor " + hex(o.color);
    case Op::Background: return o.opaque ? "background opaque" : "background transparent";
    case Op::Text:
      return "text " + point(o.x, o.y) + " " + align_text(o.align) + (o.turned ? " turned" : "") + " \"" +
             o.text + "\"";
    case Op::Save: return "save";
    case Op::Restore: return "restore";
    case Op::Exclude: return "exclude " + rect_text(o.rect);
    case Op::Window: return "window " + rect_text(o.rect);
  }
  return "?";
}

}  // namespace

std::vector<RecordingSurface::Operation> RecordingSurface::of(Op op) const {
  std::vector<Operation> found;
  for (const Operation& o : operations_)
    if (o.op == op) found.push_back(o);
  return found;
}

std::vector<std::string> RecordingSurface::log() const {
  std::vector<std::string> lines;
  lines.reserve(operations_.size());
  for (const Operation& o : operations_) lines.push_back(line_of(o));
  return lines;
}

RecordingSurface::Operation& RecordingSurface::add(Op op) {
  Operation& o = operations_.emplace_back();
  o.op = op;
  return o;
}

void RecordingSurface::fillRect(const Rect& rect, uint32_t color) {
  Operation& o = add(Op::Fill);
  o.rect = rect;
  o.color = color;
}

void RecordingSurface::moveTo(int x, int y) {
  x_ = x;
  y_ = y;
  Operation& o = add(Op::Move);
  o.x = x;
  o.y = y;
}

void RecordingSurface::lineTo(int x, int y) {
  Operation& o = add(Op::Line);
  o.x0 = x_;
  o.y0 = y_;
  o.x = x_ = x;
  o.y = y_ = y;
  o.pen = state_.pen;
}

void RecordingSurface::setPen(const Pen& pen) {
  state_.pen = pen;
  add(Op::Pen).pen = pen;
}

void RecordingSurface::setFont(const Font& font) {
  state_.font = font;
  add(Op::Font).font = font;
}

void RecordingSurface::setTextColor(uint32_t color) {
  state_.text_color = color;
  add(Op::TextColor).color = color;
}

void RecordingSurface::setBackgroundOpaque(bool opaque) {
  state_.opaque = opaque;
  add(Op::Background).opaque = opaque;
}

void RecordingSurface::drawText(int x, int y, std::string_view text, TextAlign align, bool turned) {
  Operation& o = add(Op::Text);
  o.x = x;
  o.y = y;
  o.color = state_.text_color;
  o.text = std::string(text);
  o.align = align;
  o.turned = turned;
  o.opaque = state_.opaque;
  o.font = state_.font;
}

TextExtent RecordingSurface::textExtent(std::string_view text) {
  return {static_cast<int>(text.size()) * advance(state_.font), cell_height(state_.font)};
}

void RecordingSurface::save() {
  saved_.push_back(state_);
  add(Op::Save);
}

void RecordingSurface::restore() {
  if (!saved_.empty()) {
    state_ = saved_.back();
    saved_.pop_back();
  }
  add(Op::Restore);
}

void RecordingSurface::excludeClip(const Rect& rect) { add(Op::Exclude).rect = rect; }

void RecordingSurface::setLogicalWindow(int x, int y, int width, int height) {
  add(Op::Window).rect = {x, y, width, height};
}

}  // namespace zentrik
