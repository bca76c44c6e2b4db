#pragma once
// What every back end draws the same way from a form's table: the tab order, which one-line
// labels are condensed and how much, and where a window first appears.

#include <functional>
#include <optional>
#include <vector>

#include "platform/form.h"

namespace zdz {

// The controls that have a tab index, in its order (equal indexes keep the table's order).
std::vector<Control*> TabOrder(const Form& form);

// The forms were laid out for narrower faces than the ones a desktop may have installed: a
// one-line label in a named face whose text would be clipped is drawn condensed instead.
bool IsCondensedToFit(const ControlSpec& spec);
// The width to draw such a label's face at, in percent of its normal width (50 to 100), so that
// `textPx` of text fits in `roomPx` less a 2-pixel margin and, for an italic face, its lean
// past the last advance (a quarter of the face's `fontHeightPx`).
int CondensedPercent(const FontSpec& font, int textPx, int roomPx, int fontHeightPx);

struct PixelRect {
  int left = 0, top = 0, width = 0, height = 0;
};

// Where a window goes when it is first shown, in pixels: centred on the work area (the outer
// frame's corner, from `outerWidth` x `outerHeight`), or the form's own position (the client
// area's corner). Nothing: wherever the system puts a new window.
struct StartPlace {
  int x = 0, y = 0;
  bool clientCorner = false;
};
std::optional<StartPlace> PlaceOnFirstShow(const FormSpec& spec, const PixelRect& workArea,
                                           int outerWidth, int outerHeight,
                                           const std::function<int(int twips)>& toPixels);

}  // namespace zdz
