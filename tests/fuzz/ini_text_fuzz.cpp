// libFuzzer target for the settings file's text codec: any bytes parse, and whatever is set
// is read back the same by another reader of the written bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/ini/ini_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string section = input.ConsumeRandomLengthString(64);
  const std::string key = input.ConsumeRandomLengthString(64);
  const std::string value = input.ConsumeRandomLengthString(256);
  const std::string file = input.ConsumeRemainingBytesAsString();

  zdz::ini::IniText text(file);
  const auto before = text.Find(section, key);
  const std::string bytes = text.Bytes();
  // Parsing and writing back changes nothing but a byte-order mark and CRLF line ends.
  if (zdz::ini::IniText(bytes).Find(section, key) != before) std::abort();

  if (key.empty()) return 0;  // an empty key is never written by the program
  text.Set(section, key, value);
  if (zdz::ini::IniText(text.Bytes()).Find(section, key) != value) std::abort();
  return 0;
}
