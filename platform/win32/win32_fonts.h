#pragma once
// The fonts of one window at its DPI, each made once however often a control asks.

#include "platform/win32/win32_api.h"

#include <map>
#include <string>

#include "platform/form_layout.h"

namespace zdz::win32 {

class FontCache {
 public:
  FontCache() = default;
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;
  ~FontCache();

  void SetDpi(int dpi) { dpi_ = dpi; }
  // The font a control's table names (the system's message font when it names no face),
  // condensed where a one-line label's `caption` would be clipped in `widthPx`.
  HFONT For(const ControlSpec& spec, const std::string& caption, int widthPx, HWND measureIn);

 private:
  HFONT For(const FontSpec& spec);
  HFONT Make(const LOGFONTW& lf);

  int dpi_ = 96;
  std::map<std::string, HFONT> fonts_;  // by LOGFONTW bytes
};

}  // namespace zdz::win32
