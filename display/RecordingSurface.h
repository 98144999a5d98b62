// A surface for tests: it keeps every call, with the pen, font and colours in
// effect, so tests can assert the positions and texts of a drawing. Texts measure
// deterministically: the cell height is the font's pixel height and each character
// advances by half of it (rounded up), whatever the face.
#pragma once

#include <string>
#include <vector>

#include "display/Surface.h"

namespace zentrik {

class RecordingSurface : public Surface {
 public:
  enum class Op { Fill, Move, Line, Pen, Font, TextColor, Background, Text, Save, Restore, Exclude, Window };

  struct Operation {
    Op op = Op::Move;
    int x0 = 0, y0 = 0;  // a line's start
    int x = 0, y = 0;    // a line's end, a move's point, a text's anchor
    Rect rect;           // fill, exclude; window: left, top, width, height as right, bottom
    uint32_t color = 0;  // a fill's colour; a text's colour
    std::string text;
    TextAlign align;
    bool turned = false;
    bool opaque = false;  // a text's background mode
    Pen pen;              // a line's pen
    Font font;            // a text's font
  };

  // The character metrics of a font on this surface.
  static int cell_height(const Font& font) { return font.height < 0 ? -font.height : font.height; }
  static int advance(const Font& font) { return (cell_height(font) + 1) / 2; }

  const std::vector<Operation>& operations() const { return operations_; }
  std::vector<Operation> of(Op op) const;
  // One line per call, as in "line 32,0 32,344 solid 1 000000" or
  // "text 20,172 centre/top turned \"0.5\"".
  std::vector<std::string> log() const;
  void clear() { operations_.clear(); }

  void fillRect(const Rect& rect, uint32_t color) override;
  void moveTo(int x, int y) override;
  void lineTo(int x, int y) override;
  void setPen(const Pen& pen) override;
  void setFont(const Font& font) override;
  void setTextColor(uint32_t color) override;
  void setBackgroundOpaque(bool opaque) override;
  void drawText(int x, int y, std::string_view text, TextAlign align, bool turned) override;
  TextExtent textExtent(std::string_view text) override;
  void save() override;
  void restore() override;
  void excludeClip(const Rect& rect) override;
  void setLogicalWindow(int x, int y, int width, int height) override;

 private:
  struct State {
    Pen pen;
    Font font;
    uint32_t text_color = kBlack;
    bool opaque = true;
  };
  Operation& add(Op op);

  State state_;
  std::vector<State> saved_;
  int x_ = 0, y_ = 0;  // the current position
  std::vector<Operation> operations_;
};

}  // namespace zentrik
