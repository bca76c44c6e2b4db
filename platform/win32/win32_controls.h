#pragma once
// One native child window per visible control of a form: it draws the model's state and
// reports the user's input to the model, read as its kind reads it.

#include "platform/win32/win32_api.h"

#include <functional>
#include <memory>
#include <set>
#include <string>

#include "platform/form.h"

namespace zdz::win32 {

class Window;

class ChildPeer : public ControlPeer {
 public:
  // The native control for `model` on `window`, with its table's look, font and place; null for
  // the kinds that have none (timers, lines, the file dialog). `groups` collects the containers
  // whose group of option buttons has started.
  static std::unique_ptr<ChildPeer> Create(Window& window, Control& model, UINT id,
                                           std::set<std::string>& groups);

  void SetCaption(const std::string& text) override;
  void SetValue(bool on) override;
  void SetEnabled(bool enabled) override;
  void SetBackColor(Color color) override;
  void SetGeometry(int left, int top, int width, int height) override;

  HWND Hwnd() const { return hwnd_; }
  // A WM_COMMAND notification the control sent its window.
  void Notified(WORD code);
  // WM_CTLCOLORSTATIC: sets the colours on `dc` and returns the background brush.
  LRESULT Colors(HDC dc) const;
  // Place, font and picture again, at the window's new DPI.
  void Refit();

 private:
  using Clicked = std::function<void(HWND)>;
  ChildPeer(Window& window, Control& model, HWND hwnd, POINT origin, Clicked clicked);
  void FitFont();

  Window& window_;
  Control& model_;
  HWND hwnd_;
  POINT origin_;     // the container's position, twips
  Clicked clicked_;  // what BN_CLICKED means for this kind; empty where it means nothing
  std::string shown_;
};

COLORREF ToColorRef(Color c);

// The form's lines: drawn on the window, not windows of their own.
void PaintLines(HDC dc, const Form& form, int dpi);

}  // namespace zdz::win32
