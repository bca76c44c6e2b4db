#include "platform/win32/win32_fonts.h"

#include <algorithm>

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
  HGDIOBJ old = SelectObject(dc, font);
  SIZE extent{};
  TEXTMETRICW metrics{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(measureIn, dc);
  const int percent = CondensedPercent(spec.font, extent.cx, widthPx, metrics.tmHeight);
  if (percent == 100) return font;
  LOGFONTW lf{};
  GetObjectW(font, sizeof lf, &lf);
  lf.lfWidth = std::max<LONG>(1, MulDiv(metrics.tmAveCharWidth, percent, 100));
  return Make(lf);
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
