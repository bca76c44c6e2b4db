#include "platform/win32/win32_desktop.h"

#include <functional>
#include <map>

#include "platform/win32/win32_window.h"

namespace zdz::win32 {

namespace {

// SetTimer with a callback, on the window thread.
class OneShot : public OneShotTimer {
 public:
  ~OneShot() override { Stop(); }
  void Start(int ms, std::function<void()> fire) override {
    Stop();
    fire_ = std::move(fire);
    id_ = SetTimer(nullptr, 0, static_cast<UINT>(ms), &OneShot::Expired);
    Live()[id_] = this;
  }
  void Stop() override {
    if (!id_) return;
    KillTimer(nullptr, id_);
    Live().erase(id_);
    id_ = 0;
    fire_ = nullptr;
  }

 private:
  static std::map<UINT_PTR, OneShot*>& Live() {
    static std::map<UINT_PTR, OneShot*> pending;
    return pending;
  }
  static void CALLBACK Expired(HWND, UINT, UINT_PTR id, DWORD) {
    auto it = Live().find(id);
    if (it == Live().end()) return;
    OneShot* self = it->second;
    auto fire = std::move(self->fire_);
    self->Stop();
    if (fire) fire();
  }
  UINT_PTR id_ = 0;
  std::function<void()> fire_;
};

}  // namespace

Win32Desktop::Win32Desktop() {
  owner_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

Win32Desktop::~Win32Desktop() {
  if (owner_) DestroyWindow(owner_);
}

std::unique_ptr<WindowPeer> Win32Desktop::CreateWindow(Form& form) {
  return std::make_unique<Window>(form, tray_, owner_);
}

std::unique_ptr<OneShotTimer> Win32Desktop::CreateOneShot() { return std::make_unique<OneShot>(); }

int Win32Desktop::Run() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (Window::PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

}  // namespace zdz::win32
