#include "platform/win32/win32_fonts.h"

#include <algorithm>
#include <utility>

#include "platform/form_rules.h"
#include "platform/win32/win32_text.h"

namespace zdz::win32 {

FontCache::~FontCache() {
  for (auto& [key, font] : fonts_) DeleteObject(font);
}

HFONT FontCache::For(const ControlSpec& spec, const std::string& caption, int widthPx,
                     HWND measureIn) {
  HFONT font = For(spec.font);
  if (!IsCondensedToFit(spec) || caption.empty()) return font;
  const std::wstring text = Wide(caption);
  HDC dc = GetDC(measureIn);
  // The text's width and the face's average character width; `height` takes the face's height.
  const auto measure = [&](HFONT face, LONG& height) {
    HGDIOBJ old = SelectObject(dc, face);
    SIZE extent{};
    TEXTMETRICW metrics{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    height = metrics.tmHeight;
    return std::pair(extent.cx, metrics.tmAveCharWidth);
  };
  LONG height = 0;
  const auto [natural, averageWidth] = measure(font, height);
  const int percent = CondensedPercent(spec.font, natural, widthPx, height);
  if (percent < 100) {
    LOGFONTW lf{};
    GetObjectW(font, sizeof lf, &lf);
    lf.lfWidth = std::max<LONG>(1, MulDiv(averageWidth, percent, 100));
    font = Make(lf);
    // A face's widths come in whole pixels and need not follow lfWidth in proportion (at 96 dpi
    // the title came out 14 % wider than asked, and its italic's last letter was cut off): narrow
    // it further until the text as drawn fits.
    const LONG narrowest = std::max<LONG>(1, MulDiv(averageWidth, 50, 100));
    while (lf.lfWidth > narrowest &&
           CondensedPercent(spec.font, measure(font, height).first, widthPx, height) < 100) {
      --lf.lfWidth;
      font = Make(lf);
    }
  }
  ReleaseDC(measureIn, dc);
  return font;
}

HFONT FontCache::For(const FontSpec& spec) {
  LOGFONTW lf{};
  if (spec.face.empty()) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi_);
    lf = metrics.lfMessageFont;
  } else {
    lf.lfHeight = -MulDiv(static_cast<int>(spec.points * 100 + 0.5), dpi_, 7200);
    lf.lfWeight = spec.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = spec.italic;
    lf.lfCharSet = static_cast<BYTE>(spec.charset);
    lf.lfQuality = CLEARTYPE_QUALITY;
    const std::wstring face = Wide(spec.face);
    lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
  }
  return Make(lf);
}

HFONT FontCache::Make(const LOGFONTW& lf) {
  std::string key(reinterpret_cast<const char*>(&lf), sizeof lf);
  auto [it, added] = fonts_.try_emplace(std::move(key), nullptr);
  if (added) it->second = CreateFontIndirectW(&lf);
  return it->second;
}

}  // namespace zdz::win32
