#include "platform/ini/ini_text.h"

#include <cstdio>
#include <utility>

namespace zdz::ini {

namespace {

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

}  // namespace

IniText::Line IniText::ParseLine(std::string raw) {
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

IniText::IniText(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") {
    byteOrderMark_ = true;
    text.remove_prefix(3);
  }
  while (!text.empty()) {
    const auto nl = text.find('\n');
    std::string_view raw = text.substr(0, nl);
    text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    lines_.push_back(ParseLine(std::string(raw)));
  }
}

std::optional<std::string> IniText::Find(const std::string& section, const std::string& key) const {
  std::optional<std::string> found;
  bool inside = false;
  for (const Line& line : lines_) {
    if (line.kind == Line::kSection) inside = line.name == section;
    if (!inside || line.kind != Line::kEntry || line.name != key) continue;
    if (!line.value.empty()) return line.value;
    if (!found) found = line.value;
  }
  return found;
}

void IniText::Set(const std::string& section, const std::string& key, const std::string& value) {
  Line entry = ParseLine(EncodeEntry(key, value));
  std::optional<std::size_t> kept;
  std::optional<std::size_t> sectionAt;
  bool inside = false;
  for (std::size_t i = 0; i < lines_.size();) {
    const Line& line = lines_[i];
    if (line.kind == Line::kSection) {
      inside = line.name == section;
      if (inside && !sectionAt) sectionAt = i;
    }
    if (inside && line.kind == Line::kEntry && line.name == key) {
      if (!kept) {
        kept = i;
      } else {
        lines_.erase(lines_.begin() + std::ptrdiff_t(i));
        continue;
      }
    }
    ++i;
  }
  if (kept) {
    lines_[*kept] = std::move(entry);
    return;
  }
  if (sectionAt) {
    std::size_t at = *sectionAt + 1;
    for (std::size_t j = at; j < lines_.size() && lines_[j].kind != Line::kSection; ++j) {
      if (lines_[j].kind == Line::kEntry) at = j + 1;
    }
    lines_.insert(lines_.begin() + std::ptrdiff_t(at), std::move(entry));
    return;
  }
  if (!lines_.empty() && !Trim(lines_.back().raw).empty()) lines_.push_back(Line{});
  lines_.push_back(ParseLine(EncodeSection(section)));
  lines_.push_back(std::move(entry));
}

std::string IniText::Bytes() const {
  std::string out = byteOrderMark_ ? "\xEF\xBB\xBF" : "";
  for (const Line& line : lines_) {
    out += line.raw;
    out += '\n';
  }
  return out;
}

}  // namespace zdz::ini
