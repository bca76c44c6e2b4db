#pragma once
// An INI-style text: headers "[name]", lines "key=value". Values that a line-based file
// cannot hold as they are (outer spaces, control bytes, a leading quote) are written
// quoted; lines that are not understood are kept byte for byte, so hand edits survive.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zdz::ini {

class IniText {
 public:
  // A leading byte-order mark and CRLF line ends are accepted. Any bytes parse.
  explicit IniText(std::string_view bytes = {});

  // The first non-empty entry of `key` under a header named `section` (an empty duplicate
  // left by a hand edit must not hide the value), else an empty one; entries above the
  // first header belong to no section.
  std::optional<std::string> Find(const std::string& section, const std::string& key) const;

  // Replaces the entry (duplicates of it go, so what is read back is what was set) or adds it
  // after the section's last entry, adding the section at the end when there is none.
  void Set(const std::string& section, const std::string& key, const std::string& value);

  std::string Bytes() const;

 private:
  struct Line {
    enum Kind { kOther, kSection, kEntry };
    Kind kind = kOther;
    std::string raw;
    std::string name;  // the section's name, or the entry's key
    std::string value;
  };
  static Line ParseLine(std::string raw);

  bool byteOrderMark_ = false;  // written back, so a file read and saved keeps its first line
  std::vector<Line> lines_;
};

}  // namespace zdz::ini
