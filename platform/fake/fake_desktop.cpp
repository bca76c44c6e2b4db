#include "platform/fake/fake_desktop.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace zdz::fake {

FakeWindow::FakeWindow(FakeDesktop& desk, Form& form, NativeHandle handle)
    : caption(form.Caption()), desk_(desk), form_(form), handle_(handle) {
  desk_.windows_[form.Name()] = this;
  for (const auto& c : form.Controls()) {
    auto peer = std::make_unique<FakeControl>();
    peer->caption = c->Caption();
    peer->enabled = c->Enabled();
    peer->backColor = c->BackColor();
    peer->left = c->Left(), peer->top = c->Top(), peer->width = c->Width();
    peer->height = c->Height();
    c->AttachPeer(peer.get());
    controls_[c.get()] = std::move(peer);
  }
  for (const auto& m : form.MenuItems()) {
    auto peer = std::make_unique<FakeMenuItem>();
    peer->caption = m->Caption();
    peer->enabled = m->Enabled();
    m->AttachPeer(peer.get());
    menuItems_[m.get()] = std::move(peer);
  }
}

FakeControl& FakeWindow::Peer(const std::string& control, int index) {
  return *controls_.at(&form_.Ctl(control, index));
}

FakeMenuItem& FakeWindow::MenuPeer(const std::string& item) {
  return *menuItems_.at(&form_.Menu(item));
}

FakeWindow::~FakeWindow() {
  for (const auto& c : form_.Controls()) c->AttachPeer(nullptr);
  for (const auto& m : form_.MenuItems()) m->AttachPeer(nullptr);
  auto it = desk_.windows_.find(form_.Name());
  if (it != desk_.windows_.end() && it->second == this) desk_.windows_.erase(it);
  desk_.log.push_back("destroy " + form_.Name());
}

void FakeWindow::Show() {
  visible = true;
  desk_.log.push_back("show " + form_.Name());
}

void FakeWindow::Hide() {
  visible = false;
  desk_.log.push_back("hide " + form_.Name());
}

void FakeWindow::SetEnabled(bool on) {
  enabled = on;
  desk_.log.push_back((on ? "enable " : "disable ") + form_.Name());
}

void FakeWindow::SetOuterSize(int w, int h) {
  width = w;
  height = h;
}

void FakeWindow::SetCaption(const std::string& text) { caption = text; }

void FakeWindow::SetTopmost(bool on) {
  topmost = on;
  desk_.log.push_back((on ? "topmost " : "notopmost ") + form_.Name());
}

void FakeWindow::PopupMenu(const std::string& menuName) {
  popups.push_back(menuName);
  desk_.log.push_back("popup " + menuName);
  if (auto choice = std::exchange(desk_.popupChoice, std::nullopt)) {
    MenuItem& item = form_.Menu(*choice);
    if (item.Parent() != menuName) throw std::logic_error(*choice + " is not in " + menuName);
    item.UserChoose();
  }
}

std::string FakeStore::Read(const std::string& app, const std::string& section,
                            const std::string& key) {
  auto it = values.find({app, section, key});
  return it == values.end() ? "" : it->second;
}

void FakeStore::SaveAll(const std::string& app, const std::string& section,
                        const StoreValues& batch) {
  const auto before = values;
  const auto kept = writes.size();
  for (const auto& [key, value] : batch) {
    if (failSaves || key == failSaveKey) {
      values = before;
      writes.resize(kept);
      throw StoreError("cannot save " + key, failReason);
    }
    writes.push_back({key, value});
    if (!loseWrites) values[{app, section, key}] = value;
  }
}

void FakeStore::Delete(const std::string& app) {
  if (failDelete) throw StoreError("cannot delete " + app, failReason);
  ++deletes;
  std::erase_if(values, [&](const auto& kv) { return std::get<0>(kv.first) == app; });
}

std::map<std::string, std::string> FakeStore::Section() const {
  std::map<std::string, std::string> out;
  for (const auto& [k, v] : values)
    if (std::get<0>(k) == "Zazedor" && std::get<1>(k) == "Zazedor") out[std::get<2>(k)] = v;
  return out;
}

void FakeStore::Put(const std::string& key, const std::string& value) {
  values[{"Zazedor", "Zazedor", key}] = value;
}

bool FakeTray::Add(const NotifyIconData& data) {
  adds.push_back(data);
  if (!present || icons.count({data.hWnd, data.uID})) return false;
  icons[{data.hWnd, data.uID}] = data;
  return true;
}

bool FakeTray::Delete(const NotifyIconData& data) {
  deletes.push_back(data);
  return icons.erase({data.hWnd, data.uID}) > 0;
}

bool FakeTray::Holds(NativeHandle window, std::uint32_t id) {
  return icons.count({window, id}) > 0;
}

void FakeTray::Vanish() {
  present = false;
  icons.clear();
  if (listener) listener->AreaChanged(false);
}

void FakeTray::Appear() {
  present = true;
  icons.clear();
  if (listener) listener->AreaChanged(true);
}

std::string TestWave(int ms) {
  const std::uint32_t data = static_cast<std::uint32_t>(ms) * 16;  // 8000 frames/s, 2 bytes each
  std::string w = "RIFF____WAVEfmt ";
  auto put = [&w](std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i) w.push_back(static_cast<char>(v >> (8 * i)));
  };
  put(16, 4), put(1, 2), put(1, 2), put(8000, 4), put(16000, 4), put(2, 2), put(16, 2);
  w += "data";
  put(data, 4);
  for (std::uint32_t i = 0; i < data / 2; ++i) put(i % 16 < 8 ? 0x2000 : 0xE000, 2);
  for (int i = 0; i < 4; ++i) w[4 + i] = static_cast<char>((w.size() - 8) >> (8 * i));
  return w;
}

std::size_t MemorySource::Read(void* to, std::size_t n) {
  n = std::min(n, bytes_.size() - at_);
  std::copy_n(bytes_.data() + at_, n, static_cast<char*>(to));
  at_ += n;
  return n;
}

bool MemorySource::Skip(std::uint64_t n) {
  at_ = static_cast<std::size_t>(std::min<std::uint64_t>(bytes_.size(), at_ + n));
  return true;
}

wave::Opener FakeSound::FileOpener() {
  return [files = files_](const std::string& name) -> std::unique_ptr<wave::ByteSource> {
    std::lock_guard lock(files->mu);
    files->opened.push_back(name);
    auto it = files->bytes.find(name);
    if (it == files->bytes.end()) return nullptr;
    return std::make_unique<MemorySource>(it->second);
  };
}

bool FakeSound::Play(std::shared_ptr<const wave::Image> image, int strokes, bool async,
                     Clock::time_point until) {
  const std::string name = Opened().back();
  plays.push_back({name, strokes, async});
  lastImage = std::move(image);
  lastUntil = until;
  playing = async ? name : "";
  desk_.log.push_back("play " + name + " " + std::to_string(strokes) + (async ? " async" : ""));
  return true;
}

void FakeSound::AddFile(const std::string& name, std::string bytes) {
  std::lock_guard lock(files_->mu);
  files_->bytes[name] = std::move(bytes);
}

std::vector<std::string> FakeSound::Opened() const {
  std::lock_guard lock(files_->mu);
  return files_->opened;
}

long FakeRegistry::OpenKey(std::uint32_t root, const std::string& subKey, std::uint32_t,
                           std::uint32_t access, RegKey* key) {
  opened.push_back(subKey);
  accessMasks.push_back(access);
  if (denied.count(subKey)) return 5;  // ERROR_ACCESS_DENIED
  if (!keys.count({root, subKey})) return kErrorFileNotFound;
  *key = ++next_;
  handles_[*key] = {root, subKey};
  ++openHandles;
  return kErrorSuccess;
}

long FakeRegistry::QueryValue(RegKey key, const std::string& valueName, std::uint32_t* type,
                              std::uint8_t* data, std::uint32_t* size) {
  const auto& values = keys.at(handles_.at(key));
  auto it = values.find(valueName);
  if (it == values.end()) return kErrorFileNotFound;
  const RegValue& v = it->second;
  if (v.data.size() > *size) {
    *size = static_cast<std::uint32_t>(v.data.size());
    return kErrorMoreData;
  }
  *type = v.type;
  std::copy(v.data.begin(), v.data.end(), data);
  *size = static_cast<std::uint32_t>(v.data.size());
  return kErrorSuccess;
}

long FakeRegistry::CloseKey(RegKey key) {
  if (handles_.erase(key)) --openHandles;
  return kErrorSuccess;
}

void FakeRegistry::SetString(std::uint32_t root, const std::string& key, const std::string& name,
                             const std::string& text) {
  RegValue v{kRegSz, std::vector<std::uint8_t>(text.begin(), text.end())};
  v.data.push_back(0);
  SetValue(root, key, name, std::move(v));
}

void FakeRegistry::SetValue(std::uint32_t root, const std::string& key, const std::string& name,
                            RegValue value) {
  keys[{root, key}][name] = std::move(value);
}

std::optional<std::string> FakeSystem::ShowOpen(const OpenFileRequest& request) {
  openRequests.push_back(request);
  if (openAnswers.empty()) return std::nullopt;
  auto answer = openAnswers.front();
  openAnswers.pop_front();
  return answer;
}

void FakeSystem::MessageBox(const std::string& text, const std::string& title) {
  messages.emplace_back(text, title);
}

bool FakeSystem::StartProgram(const std::string& path) {
  started.push_back(path);
  return startable.count(path) > 0;
}

FakeDesktop::FakeDesktop() = default;

std::unique_ptr<WindowPeer> FakeDesktop::CreateWindow(Form& form) {
  log.push_back("create " + form.Name());
  nextHandle_ += 0x10;
  return std::make_unique<FakeWindow>(*this, form, nextHandle_);
}

namespace {

// Unregisters itself, so a test can fire whatever is still alive.
class TrackedOneShot : public FakeOneShot {
 public:
  explicit TrackedOneShot(std::vector<FakeOneShot*>& live) : live_(live) { live_.push_back(this); }
  ~TrackedOneShot() override { std::erase(live_, this); }

 private:
  std::vector<FakeOneShot*>& live_;
};

}  // namespace

std::unique_ptr<OneShotTimer> FakeDesktop::CreateOneShot() {
  return std::make_unique<TrackedOneShot>(oneShots_);
}

void FakeDesktop::ElapseOneShots() {
  for (FakeOneShot* t : std::vector<FakeOneShot*>(oneShots_)) t->Fire();
}

FakeWindow* FakeDesktop::Window(const std::string& formName) {
  auto it = windows_.find(formName);
  return it == windows_.end() ? nullptr : it->second;
}

namespace {

FakeWindow& Need(FakeWindow* w, const std::string& name) {
  if (!w) throw std::logic_error("no window " + name);
  return *w;
}

}  // namespace

void FakeDesktop::ChooseMenu(const std::string& formName, const std::string& item) {
  Need(Window(formName), formName).Model().Menu(item).UserChoose();
}

void FakeDesktop::Click(const std::string& formName, const std::string& control, int index) {
  Need(Window(formName), formName).Model().Ctl(control, index).UserClick();
}

void FakeDesktop::Toggle(const std::string& formName, const std::string& control, int index) {
  Control& c = Need(Window(formName), formName).Model().Ctl(control, index);
  c.UserSetValue(!c.Value());
}

void FakeDesktop::Select(const std::string& formName, const std::string& control) {
  Need(Window(formName), formName).Model().Ctl(control).UserSetValue(true);
}

void FakeDesktop::Close(const std::string& formName) {
  Need(Window(formName), formName).Model().UserCancel();
}

void FakeDesktop::IconMessage(NativeHandle window, std::uint32_t message) {
  if (tray.listener) tray.listener->IconMessage(window, 1, message);
}

void FakeDesktop::Tick() {
  for (const auto& c : Need(Window("fomTIME"), "fomTIME").Model().Controls())
    if (c->Spec().kind == ControlKind::kTimer) c->Click();
}

}  // namespace zdz::fake
