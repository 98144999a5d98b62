#include <gtest/gtest.h>

#include "display/RecordingSurface.h"

namespace zentrik {
namespace {

TEST(RecordingSurface, KeepsEachCallWithTheStateInEffect) {
  RecordingSurface surface;
  Font big{-20, 700, false, false, false, "Arial"};
  surface.setFont(big);
  surface.setTextColor(0x0000FF);
  surface.save();
  surface.setFont(Font{});
  surface.setTextColor(kBlack);
  surface.setBackgroundOpaque(false);
  surface.restore();
  surface.drawText(10, 20, "Hi", {HAlign::Centre, VAlign::Bottom}, true);
  surface.setPen({PenStyle::Dash, 1, 0x00FF00});
  surface.moveTo(1, 2);
  surface.lineTo(3, 4);
  surface.lineTo(5, 6);

  std::vector<RecordingSurface::Operation> texts = surface.of(RecordingSurface::Op::Text);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].font, big);  // the state before save() is back
  EXPECT_EQ(texts[0].color, 0x0000FFu);
  EXPECT_TRUE(texts[0].opaque);
  std::vector<std::string> log = surface.log();
  ASSERT_GE(log.size(), 5u);
  EXPECT_EQ(log[log.size() - 5], "text 10,20 centre/bottom turned \"Hi\"");
  EXPECT_EQ(log[log.size() - 2], "line 1,2 3,4 dash 1 00ff00");
  EXPECT_EQ(log.back(), "line 3,4 5,6 dash 1 00ff00");  // each line starts where the last ended
}

TEST(RecordingSurface, MeasuresHalfTheFontHeightPerCharacter) {
  RecordingSurface surface;
  surface.setFont(Font{-12, 400, false, false, false, "Arial"});
  EXPECT_EQ(surface.textExtent("09E+").width, 24);
  EXPECT_EQ(surface.textExtent("09E+").height, 12);
  surface.setFont(Font{-9, 400, false, false, false, ""});
  EXPECT_EQ(surface.textExtent("").width, 0);
  EXPECT_EQ(surface.textExtent("ab").width, 10);  // 4.5 rounds up
  EXPECT_EQ(surface.textExtent("ab").height, 9);
}

}  // namespace
}  // namespace zentrik
