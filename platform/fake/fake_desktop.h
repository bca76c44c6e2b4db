#pragma once
// An in-memory desktop for the unit tests: it records everything the program asks of it and
// lets a test act as the user, the clock, the store and the system.

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "platform/desktop.h"
#include "platform/wave/chime_player.h"

namespace zdz::fake {

class FakeDesktop;

// What a desktop was last told about one control.
class FakeControl : public ControlPeer {
 public:
  void SetCaption(const std::string& text) override { caption = text; }
  void SetValue(bool on) override { value = on; }
  void SetEnabled(bool on) override { enabled = on; }
  void SetBackColor(Color color) override { backColor = color; }
  void SetGeometry(int l, int t, int w, int h) override {
    left = l, top = t, width = w, height = h;
  }

  std::string caption;
  bool value = false;
  bool enabled = true;
  Color backColor = kDefaultColor;
  int left = 0, top = 0, width = 0, height = 0;
};

class FakeMenuItem : public MenuItemPeer {
 public:
  void SetCaption(const std::string& text) override { caption = text; }
  void SetEnabled(bool on) override { enabled = on; }

  std::string caption;
  bool enabled = true;
};

class FakeWindow : public WindowPeer {
 public:
  FakeWindow(FakeDesktop& desk, Form& form, NativeHandle handle);
  ~FakeWindow() override;

  void Show() override;
  void Hide() override;
  void SetEnabled(bool enabled) override;
  void SetOuterSize(int width, int height) override;
  void SetCaption(const std::string& text) override;
  void SetTopmost(bool topmost) override;
  void PopupMenu(const std::string& menuName) override;
  NativeHandle Handle() const override { return handle_; }
  NativeHandle IconHandle() const override { return handle_ + 1; }

  Form& Model() { return form_; }
  // The peers of the form's controls and menu items, as the desktop drew them.
  FakeControl& Peer(const std::string& control, int index = -1);
  FakeMenuItem& MenuPeer(const std::string& item);

  bool visible = false;
  bool enabled = true;
  bool topmost = false;
  int width = 0, height = 0;
  std::string caption;
  std::vector<std::string> popups;

 private:
  FakeDesktop& desk_;
  Form& form_;
  NativeHandle handle_;
  std::map<const Control*, std::unique_ptr<FakeControl>> controls_;
  std::map<const MenuItem*, std::unique_ptr<FakeMenuItem>> menuItems_;
};

struct StoreWrite {
  std::string key, value;
  bool operator==(const StoreWrite&) const = default;
};

class FakeStore : public SettingsStore {
 public:
  std::string Read(const std::string& app, const std::string& section,
                   const std::string& key) override;
  // Writes one value after another and puts the earlier ones back when one fails, as the
  // registry store does.
  void SaveAll(const std::string& app, const std::string& section,
               const StoreValues& values) override;
  void Delete(const std::string& app) override;

  // (app, section, key) -> text
  std::map<std::tuple<std::string, std::string, std::string>, std::string> values;
  std::vector<StoreWrite> writes;  // those kept, in order, app and section left out
  int deletes = 0;
  bool failSaves = false;                          // every SaveAll fails at its first write
  StoreFailure failReason = StoreFailure::kOther;  // of a failed save or delete
  std::string failSaveKey;                         // writing this key fails
  bool loseWrites = false;                         // SaveAll succeeds but keeps nothing
  bool failDelete = false;

  // The six values of the program's own section, as a key -> text map.
  std::map<std::string, std::string> Section() const;
  void Put(const std::string& key, const std::string& value);
};

class FakeTray : public NotifyArea {
 public:
  bool Add(const NotifyIconData& data) override;
  bool Delete(const NotifyIconData& data) override;
  bool Holds(NativeHandle window, std::uint32_t id) override;
  void SetListener(NotifyAreaListener* l) override { listener = l; }

  // The area goes away with every icon in it, or (re)appears empty; the listener is told.
  void Vanish();
  void Appear();

  bool present = true;  // a notification area exists
  NotifyAreaListener* listener = nullptr;
  std::vector<NotifyIconData> adds, deletes;
  std::map<std::pair<NativeHandle, std::uint32_t>, NotifyIconData> icons;
};

// One sound the desktop was asked to play: the file last opened, how many strokes, how.
struct PlayCall {
  std::string name;
  int strokes = 1;
  bool async = false;
  bool operator==(const PlayCall&) const = default;
};

// A short, valid chime file: 16-bit mono PCM at 8 kHz.
std::string TestWave(int ms = 100);

// Bytes in memory, read in order.
class MemorySource : public wave::ByteSource {
 public:
  explicit MemorySource(std::string bytes) : bytes_(std::move(bytes)) {}
  std::size_t Read(void* to, std::size_t n) override;
  bool Skip(std::uint64_t n) override;

 private:
  std::string bytes_;
  std::size_t at_ = 0;
};

// The fake sound system: files in memory, plays recorded.
class FakeSound : public wave::Output {
 public:
  explicit FakeSound(FakeDesktop& desk) : desk_(desk) {}
  wave::Opener FileOpener();
  bool Play(std::shared_ptr<const wave::Image> image, int strokes, bool async,
            Clock::time_point until) override;
  void Stop() override { playing.clear(); }

  // A file that "exists", and the names opened so far.
  void AddFile(const std::string& name, std::string bytes);
  std::vector<std::string> Opened() const;

  std::vector<PlayCall> plays;
  std::shared_ptr<const wave::Image> lastImage;
  Clock::time_point lastUntil;
  std::string playing;  // the file an asynchronous sound still plays, "" when none

 private:
  struct Files {
    mutable std::mutex mu;
    std::map<std::string, std::string> bytes;
    std::vector<std::string> opened;
  };
  FakeDesktop& desk_;
  std::shared_ptr<Files> files_ = std::make_shared<Files>();
};

struct RegValue {
  std::uint32_t type;
  std::vector<std::uint8_t> data;
};

class FakeRegistry : public Registry {
 public:
  long OpenKey(std::uint32_t root, const std::string& subKey, std::uint32_t options,
               std::uint32_t access, RegKey* key) override;
  long QueryValue(RegKey key, const std::string& valueName, std::uint32_t* type, std::uint8_t* data,
                  std::uint32_t* size) override;
  long CloseKey(RegKey key) override;

  void SetString(std::uint32_t root, const std::string& key, const std::string& name,
                 const std::string& text);
  void SetValue(std::uint32_t root, const std::string& key, const std::string& name,
                RegValue value);

  std::map<std::pair<std::uint32_t, std::string>, std::map<std::string, RegValue>> keys;
  std::set<std::string> denied;     // keys this account may not open
  std::vector<std::string> opened;  // key paths, in order
  std::vector<std::uint32_t> accessMasks;
  int openHandles = 0;

 private:
  std::map<RegKey, std::pair<std::uint32_t, std::string>> handles_;
  RegKey next_ = 100;
};

class FakeTime : public TimeSource {
 public:
  LocalTime Now() override { return now; }
  std::string TimeSeparator() override { return separator; }
  std::string AmDesignator() override { return am; }
  std::string PmDesignator() override { return pm; }

  LocalTime now{2026, 12, 6, 9, 30, 0};
  std::string separator = ":";
  std::string am = "午前";
  std::string pm = "午後";
};

class FakeSystem : public System {
 public:
  std::optional<std::string> ShowOpen(const OpenFileRequest& request) override;
  void MessageBox(const std::string& text, const std::string& title) override;
  bool StartProgram(const std::string& path) override;
  bool FileExists(const std::string& path) override { return files.count(path) > 0; }
  std::string DataFolder() override { return dataFolder; }
  char PathSeparator() override { return separator; }
  double TwipsPerPixelX() override { return twipsPerPixel; }
  int DoubleClickMs() override { return doubleClickMs; }
  void ReportFailure(const std::string& text) override { failures.push_back(text); }
  void EndProgram() override { ended = true; }

  std::deque<std::optional<std::string>> openAnswers;  // nullopt: the user cancels
  std::vector<OpenFileRequest> openRequests;
  std::vector<std::pair<std::string, std::string>> messages;  // text, title
  std::vector<std::string> started;
  std::vector<std::string> failures;  // reported where no window can say it
  std::set<std::string> startable;    // programs that start; the rest fail
  std::set<std::string> files;
  std::string dataFolder = "C:\\Program Files\\Zoduzazu";
  char separator = '\\';
  double twipsPerPixel = 15;
  int doubleClickMs = 500;
  bool ended = false;
};

// Fires only when the test says the time has come.
class FakeOneShot : public OneShotTimer {
 public:
  void Start(int, std::function<void()> fire) override { fire_ = std::move(fire); }
  void Stop() override { fire_ = nullptr; }
  void Fire() {
    if (auto f = std::exchange(fire_, nullptr)) f();
  }

 private:
  std::function<void()> fire_;
};

class FakeDesktop : public Desktop {
 public:
  FakeDesktop();
  std::unique_ptr<WindowPeer> CreateWindow(Form& form) override;
  std::unique_ptr<OneShotTimer> CreateOneShot() override;
  SettingsStore& Store() override { return store; }
  NotifyArea& Tray() override { return tray; }
  Sound& Audio() override { return player; }
  Registry& Reg() override { return registry; }
  TimeSource& Time() override { return time; }
  System& Sys() override { return system; }

  // The live window of a form, or null.
  FakeWindow* Window(const std::string& formName);
  // Acting as the user.
  void ChooseMenu(const std::string& formName, const std::string& item);
  void Click(const std::string& formName, const std::string& control, int index = -1);
  void Toggle(const std::string& formName, const std::string& control, int index = -1);
  void Select(const std::string& formName, const std::string& control);
  void Close(const std::string& formName);  // Esc or the title bar's close
  // The notification icon (window, 1) reporting a mouse message.
  void IconMessage(NativeHandle window, std::uint32_t message);
  // The double-click interval runs out: held clicks are delivered.
  void ElapseOneShots();
  // One expiry of the timer on the clock window.
  void Tick();

  // Menu item chosen in the next pop-up, if any.
  std::optional<std::string> popupChoice;

  // Everything in order: "show fomTIME", "hide fomTIME", "play <name> <flags>", ...
  std::vector<std::string> log;

  FakeStore store;
  FakeTray tray;
  FakeSound sound{*this};
  // Its files are in memory and always arrive: a read deadline here would only measure how
  // soon a busy test machine starts the reader thread (the deadline has tests of its own).
  wave::ChimePlayer player{sound.FileOpener(), [this] { return &sound; }, wave::kMaxStrokeSeconds,
                           std::chrono::minutes(1)};
  FakeRegistry registry;
  FakeTime time;
  FakeSystem system;

 private:
  friend class FakeWindow;
  std::map<std::string, FakeWindow*> windows_;
  std::vector<FakeOneShot*> oneShots_;
  NativeHandle nextHandle_ = 0x1000;
};

}  // namespace zdz::fake
