#include "platform/qt/ini_settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace zdz {

namespace {

// Far more than six settings ever need; a bigger file is not ours and is not read into memory.
constexpr qint64 kMaxFileSize = 1 << 20;

QString ToQt(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

bool IsSpace(char c) { return c == ' ' || c == '\t'; }
bool IsControl(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u < 0x20 || u == 0x7f;
}
bool HasControl(std::string_view s) {
  for (char c : s) {
    if (IsControl(c)) return true;
  }
  return false;
}
bool HasOuterSpace(std::string_view s) {
  return !s.empty() && (IsSpace(s.front()) || IsSpace(s.back()));
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

// ---- quoting: "..." with \\ \" \n \r \t \xHH, so any text survives a line-based file ----

std::string Quote(std::string_view s) {
  std::string out = "\"";
  for (char c : s) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (IsControl(c)) {
          char hex[5];
          std::snprintf(hex, sizeof hex, "\\x%02x", static_cast<unsigned char>(c));
          out += hex;
        } else {
          out += c;
        }
    }
  }
  return out + '"';
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads a quoted text at the start of `s` and removes it from `s`; nullopt when malformed.
std::optional<std::string> Unquote(std::string_view& s) {
  if (s.empty() || s.front() != '"') return std::nullopt;
  std::string out;
  for (std::size_t i = 1; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '"') {
      s.remove_prefix(i + 1);
      return out;
    }
    if (c != '\\') {
      out += c;
      continue;
    }
    if (++i == s.size()) return std::nullopt;
    switch (s[i]) {
      case '\\':
        out += '\\';
        break;
      case '"':
        out += '"';
        break;
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case 't':
        out += '\t';
        break;
      case 'x': {
        if (i + 2 >= s.size()) return std::nullopt;
        const int hi = HexDigit(s[i + 1]), lo = HexDigit(s[i + 2]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
        break;
      }
      default:
        return std::nullopt;
    }
  }
  return std::nullopt;
}

// Plain text where a reader cannot mistake it, quoted otherwise.
std::string EncodeSection(const std::string& s) {
  const bool plain = !s.empty() && !HasOuterSpace(s) && s.front() != '"' &&
                     s.find(']') == std::string::npos && !HasControl(s);
  return "[" + (plain ? s : Quote(s)) + "]";
}
std::string EncodeEntry(const std::string& key, const std::string& value) {
  const bool plain_key = !key.empty() && !HasOuterSpace(key) &&
                         std::string_view("\"[;#").find(key.front()) == std::string_view::npos &&
                         key.find('=') == std::string::npos && !HasControl(key);
  const bool plain_value =
      !HasOuterSpace(value) && (value.empty() || value.front() != '"') && !HasControl(value);
  return (plain_key ? key : Quote(key)) + "=" + (plain_value ? value : Quote(value));
}

// ---- the file as lines: entries and headers are understood, everything else kept verbatim ----

struct Line {
  enum Kind { kOther, kSection, kEntry };
  Kind kind = kOther;
  std::string raw;
  std::string name;  // the section's name, or the entry's key
  std::string value;
};

Line ParseLine(std::string raw) {
  Line line;
  line.raw = std::move(raw);
  std::string_view t = Trim(line.raw);
  if (t.empty() || t.front() == ';' || t.front() == '#') return line;

  if (t.front() == '[') {
    if (t.size() < 2 || t.back() != ']') return line;
    std::string_view inner = Trim(t.substr(1, t.size() - 2));
    if (!inner.empty() && inner.front() == '"') {
      auto name = Unquote(inner);
      if (!name || !Trim(inner).empty()) return line;
      line.name = std::move(*name);
    } else {
      line.name = inner;
    }
    line.kind = Line::kSection;
    return line;
  }

  std::string key;
  if (t.front() == '"') {
    auto quoted = Unquote(t);
    if (!quoted) return line;
    key = std::move(*quoted);
    t = Trim(t);
    if (t.empty() || t.front() != '=') return line;
    t.remove_prefix(1);
  } else {
    const auto eq = t.find('=');
    if (eq == std::string_view::npos) return line;
    key = Trim(t.substr(0, eq));
    if (key.empty()) return line;
    t.remove_prefix(eq + 1);
  }
  t = Trim(t);
  if (!t.empty() && t.front() == '"') {
    auto quoted = Unquote(t);
    if (!quoted || !Trim(t).empty()) return line;
    line.value = std::move(*quoted);
  } else {
    line.value = t;
  }
  line.name = std::move(key);
  line.kind = Line::kEntry;
  return line;
}

std::vector<Line> Parse(const QByteArray& bytes) {
  std::string_view text(bytes.constData(), std::size_t(bytes.size()));
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::vector<Line> lines;
  while (!text.empty()) {
    const auto nl = text.find('\n');
    std::string_view raw = text.substr(0, nl);
    text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    lines.push_back(ParseLine(std::string(raw)));
  }
  return lines;
}

// Calls f(index) for every entry of `key` under a header `section`, in file order.
template <typename F>
void ForEachEntry(const std::vector<Line>& lines, const std::string& section,
                  const std::string& key, F f) {
  bool inside = false;  // entries above the first header belong to no section
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind == Line::kSection) inside = lines[i].name == section;
    if (inside && lines[i].kind == Line::kEntry && lines[i].name == key) f(i);
  }
}

void SetEntry(std::vector<Line>& lines, const std::string& section, const std::string& key,
              const std::string& value) {
  Line entry = ParseLine(EncodeEntry(key, value));
  std::vector<std::size_t> found;
  ForEachEntry(lines, section, key, [&](std::size_t i) { found.push_back(i); });
  if (!found.empty()) {
    // Duplicates go, so what is read back is what was saved.
    for (auto it = found.rbegin(); it + 1 != found.rend(); ++it) {
      lines.erase(lines.begin() + std::ptrdiff_t(*it));
    }
    lines[found.front()] = std::move(entry);
    return;
  }
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind != Line::kSection || lines[i].name != section) continue;
    std::size_t at = i + 1;
    for (std::size_t j = i + 1; j < lines.size() && lines[j].kind != Line::kSection; ++j) {
      if (lines[j].kind == Line::kEntry) at = j + 1;
    }
    lines.insert(lines.begin() + std::ptrdiff_t(at), std::move(entry));
    return;
  }
  if (!lines.empty() && !Trim(lines.back().raw).empty()) lines.push_back(Line{});
  lines.push_back(ParseLine(EncodeSection(section)));
  lines.push_back(std::move(entry));
}

QByteArray Serialize(const std::vector<Line>& lines) {
  QByteArray out;
  for (const Line& line : lines) {
    out.append(line.raw.data(), qsizetype(line.raw.size()));
    out.append('\n');
  }
  return out;
}

// ---- file access ----

struct Loaded {
  bool ok = true;  // false: the file exists but cannot be read as a settings file
  QByteArray bytes;
  QString reason;
};

Loaded Load(const QString& path) {
  Loaded result;
  const QFileInfo info(path);
  if (!info.exists()) return result;
  // A FIFO or device would block or never end: only a regular file is read.
  if (!info.isFile()) return {false, {}, "not a regular file"};
  if (info.size() > kMaxFileSize) return {false, {}, "too large to be a settings file"};
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {false, {}, "cannot read it: " + file.errorString()};
  result.bytes = file.read(kMaxFileSize + 1);
  if (file.error() != QFileDevice::NoError) {
    return {false, {}, "cannot read it: " + file.errorString()};
  }
  if (result.bytes.size() > kMaxFileSize) return {false, {}, "too large to be a settings file"};
  return result;
}

// The folder may stand in one's own home; "." and ".." or a separator would leave it.
bool IsValidApp(const std::string& app) {
  return !app.empty() && app != "." && app != ".." && app.find('/') == std::string::npos &&
         app.find('\0') == std::string::npos;
}

}  // namespace

IniSettingsStore::IniSettingsStore(std::string base) : base_(std::move(base)) {}

std::string IniSettingsStore::FilePath(const std::string& app) const {
  if (base_.empty() || !IsValidApp(app)) return {};
  return QDir(ToQt(base_)).filePath(ToQt(app + "/" + app + ".conf")).toStdString();
}

std::string IniSettingsStore::Read(const std::string& app, const std::string& section,
                                   const std::string& key) {
  const std::string path = FilePath(app);
  if (path.empty()) return {};
  const Loaded loaded = Load(ToQt(path));
  if (!loaded.ok) return {};
  const std::vector<Line> lines = Parse(loaded.bytes);
  std::string value;
  bool found = false;
  ForEachEntry(lines, section, key, [&](std::size_t i) {
    if (!found) value = lines[i].value;
    found = true;
  });
  return value;
}

void IniSettingsStore::Save(const std::string& app, const std::string& section,
                            const std::string& key, const std::string& value) {
  const std::string path = FilePath(app);
  if (path.empty()) {
    throw StoreError("cannot store settings of \"" + app + "\": " +
                     (base_.empty() ? "no configuration folder" : "not a valid application name"));
  }
  const QString qpath = ToQt(path);
  const Loaded loaded = Load(qpath);
  // Writing over a file that could not be read would throw its other settings away.
  if (!loaded.ok) throw StoreError("cannot write " + path + ": " + loaded.reason.toStdString());
  std::vector<Line> lines = Parse(loaded.bytes);
  SetEntry(lines, section, key, value);
  const QByteArray text = Serialize(lines);

  const QString folder = QFileInfo(qpath).absolutePath();
  errno = 0;
  if (!QDir().mkpath(folder)) {
    const int err = errno;
    throw StoreError("cannot write " + path +
                     ": cannot create its folder: " + (err ? std::strerror(err) : "failed"));
  }
  QSaveFile file(qpath);
  if (!file.open(QIODevice::WriteOnly)) {
    throw StoreError("cannot write " + path + ": " + file.errorString().toStdString());
  }
  if (file.write(text) != text.size()) {
    const std::string reason = file.errorString().toStdString();
    file.cancelWriting();
    throw StoreError("cannot write " + path + ": " + reason);
  }
  if (!file.commit()) {
    throw StoreError("cannot write " + path + ": " + file.errorString().toStdString());
  }
}

void IniSettingsStore::Delete(const std::string& app) {
  const std::string path = FilePath(app);
  if (path.empty()) return;  // such an application can have nothing stored
  const QString qpath = ToQt(path);
  const QFileInfo info(qpath);
  if (!info.exists() && !info.isSymLink()) return;
  QFile file(qpath);
  if (!file.remove()) {
    throw StoreError("cannot remove " + path + ": " + file.errorString().toStdString());
  }
  QDir().rmdir(info.absolutePath());  // only when nothing else lives there
}

}  // namespace zdz
