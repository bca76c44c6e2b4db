#include "platform/form_rules.h"

#include <algorithm>

namespace zdz {

std::vector<Control*> TabOrder(const Form& form) {
  std::vector<Control*> order;
  for (const auto& c : form.Controls())
    if (c->Spec().tabIndex >= 0) order.push_back(c.get());
  std::stable_sort(order.begin(), order.end(), [](const Control* a, const Control* b) {
    return a->Spec().tabIndex < b->Spec().tabIndex;
  });
  return order;
}

bool IsCondensedToFit(const ControlSpec& spec) {
  return spec.kind == ControlKind::kLabel && !spec.wordWrap && !spec.font.face.empty();
}

int CondensedPercent(const FontSpec& font, int textPx, int roomPx, int fontHeightPx) {
  const int room = roomPx - 2 - (font.italic ? fontHeightPx / 4 : 0);
  if (textPx <= room || room <= 0) return 100;
  return std::max(50, 100 * room / textPx);
}

std::optional<StartPlace> PlaceOnFirstShow(const FormSpec& spec, const PixelRect& workArea,
                                           int outerWidth, int outerHeight,
                                           const std::function<int(int twips)>& toPixels) {
  switch (spec.startPosition) {
    case StartPosition::kCenterScreen:
      return StartPlace{workArea.left + (workArea.width - outerWidth) / 2,
                        workArea.top + (workArea.height - outerHeight) / 2, false};
    case StartPosition::kManual:
      return StartPlace{toPixels(spec.left), toPixels(spec.top), true};
    case StartPosition::kSystemDefault:
      break;
  }
  return std::nullopt;
}

}  // namespace zdz
