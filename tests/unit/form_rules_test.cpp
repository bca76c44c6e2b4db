// The rules every back end draws by: the timer's aim, the tab order, condensed labels, placement.
#include <gtest/gtest.h>

#include "platform/form_rules.h"
#include "platform/tick_delay.h"

namespace zdz {
namespace {

TEST(TickDelay, AimsAtTheNextWholeTenthRoundedUpAndNeverAtNow) {
  constexpr std::int64_t second = 1'765'000'000LL * 1'000'000;  // a whole second, in µs
  EXPECT_EQ(DelayToNextTick(second, 100), 100);                 // on a tenth: the next one
  EXPECT_EQ(DelayToNextTick(second + 40'000, 100), 60);
  EXPECT_EQ(DelayToNextTick(second + 1, 100), 100);     // 99.999 ms rounds up
  EXPECT_EQ(DelayToNextTick(second + 99'600, 100), 1);  // just early: the tenth it missed
  EXPECT_EQ(DelayToNextTick(second + 250'000, 1000), 750);
  EXPECT_EQ(DelayToNextTick(second + 250'400, 0), 1);  // no interval: every millisecond
}

TEST(TabOrder, ControlsWithATabIndexInItsOrderTiesInTableOrder) {
  FormSpec spec;
  for (const auto& [name, tab] : std::vector<std::pair<const char*, int>>{
           {"a", 2}, {"label", -1}, {"b", 0}, {"c", 2}, {"d", 1}}) {
    ControlSpec c;
    c.name = name;
    c.tabIndex = tab;
    spec.controls.push_back(c);
  }
  Form form(spec);
  std::string order;
  for (const Control* c : TabOrder(form)) order += c->Name();
  EXPECT_EQ(order, "bdac");
}

TEST(CondensedLabels, OneLineLabelsInANamedFaceShrinkToFitDownToHalf) {
  ControlSpec label;
  label.font = {"ＭＳ 明朝", 12, false, false, 128};
  EXPECT_TRUE(IsCondensedToFit(label));
  ControlSpec other = label;
  other.wordWrap = true;
  EXPECT_FALSE(IsCondensedToFit(other));
  other = label;
  other.font.face.clear();
  EXPECT_FALSE(IsCondensedToFit(other));
  other = label;
  other.kind = ControlKind::kCheckBox;
  EXPECT_FALSE(IsCondensedToFit(other));

  const FontSpec upright = label.font;
  FontSpec italic = upright;
  italic.italic = true;
  EXPECT_EQ(CondensedPercent(upright, 100, 102, 40), 100);  // fits beside the 2-pixel margin
  EXPECT_EQ(CondensedPercent(upright, 101, 102, 40), 99);
  EXPECT_EQ(CondensedPercent(upright, 150, 122, 40), 80);
  EXPECT_EQ(CondensedPercent(italic, 150, 122, 40), 73);   // less the lean: 10 pixels
  EXPECT_EQ(CondensedPercent(upright, 500, 102, 40), 50);  // no narrower than half
  EXPECT_EQ(CondensedPercent(upright, 500, 0, 40), 100);   // not laid out yet
}

TEST(FirstPlace, CentredOnTheWorkAreaOrTheClientCornerAtTheFormsPosition) {
  FormSpec spec;
  const PixelRect work{0, 30, 1024, 738};
  const auto px = [](int twips) { return twips / 15; };
  EXPECT_FALSE(PlaceOnFirstShow(spec, work, 300, 200, px));
  spec.startPosition = StartPosition::kCenterScreen;
  auto place = PlaceOnFirstShow(spec, work, 300, 200, px);
  ASSERT_TRUE(place);
  EXPECT_EQ(std::tuple(place->x, place->y, place->clientCorner), std::tuple(362, 299, false));
  spec.startPosition = StartPosition::kManual;
  spec.left = 2340;
  spec.top = 1935;
  place = PlaceOnFirstShow(spec, work, 300, 200, px);
  ASSERT_TRUE(place);
  EXPECT_EQ(std::tuple(place->x, place->y, place->clientCorner), std::tuple(156, 129, true));
}

}  // namespace
}  // namespace zdz
