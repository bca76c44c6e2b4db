#include "platform/ini/ini_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace zdz::ini {
namespace {

// What another program reading the same bytes gets.
std::string Reread(const IniText& text, const std::string& section, const std::string& key) {
  return IniText(text.Bytes()).Find(section, key).value_or("<absent>");
}

TEST(IniTextTest, AwkwardValuesKeysAndSectionsRoundTrip) {
  const std::string awkward[] = {
      "",
      " leading",
      "trailing ",
      "\ttab\t",
      "\"quoted\"",
      "\\",
      "a=b=c",
      "#not a comment",
      ";not a comment",
      "[not a section]",
      "x]y",
      "line one\nline two\r\n",
      std::string("nul\0inside", 10),
      "\x01\x1f\x7f",
      "\\x41 is not A",
      "全角　スペース　",
      "ﾀｽｸトレイから出す(&T)",
      "\xff\xfe not UTF-8",
      "\x83\x4c\x83\x85\x81\x5b.wav",  // Shift-JIS bytes
  };
  IniText text;
  for (const std::string& s : awkward) text.Set("Zazedor", "v" + s, s);
  for (const std::string& s : awkward) {
    if (!s.empty()) text.Set(s, s, "value of " + s);
  }
  for (const std::string& s : awkward) {
    EXPECT_EQ(Reread(text, "Zazedor", "v" + s), s);
    if (!s.empty()) {
      EXPECT_EQ(Reread(text, s, s), "value of " + s);
    }
  }
  EXPECT_EQ(Reread(text, "a=b", "a"), "<absent>");

  // Simple values stay readable for people and for scripts that look at the file.
  IniText plain;
  plain.Set("Zazedor", "0", "True");
  plain.Set("Zazedor", "WAVEName", " Ruvazu.wav");
  EXPECT_EQ(plain.Bytes(), "[Zazedor]\n0=True\nWAVEName=\" Ruvazu.wav\"\n");
}

TEST(IniTextTest, SettingOneKeyKeepsEverythingElseByteForByte) {
  IniText text(
      "; written by hand\n"
      "orphan=before any section\n"
      "[Other]\n"
      "WAVE=other wave\n"
      "not a setting at all\n"
      "[Zazedor]\n"
      "0=True\n"
      "WAVE=old\n"
      "WAVE=old duplicate\n"
      "\n"
      "[Third]\n"
      "x = y\n");
  text.Set("Zazedor", "WAVE", "new");
  text.Set("Zazedor", "WAVEName", " new.wav");
  text.Set("Fourth", "k", "v");
  EXPECT_EQ(text.Bytes(),
            "; written by hand\n"
            "orphan=before any section\n"
            "[Other]\n"
            "WAVE=other wave\n"
            "not a setting at all\n"
            "[Zazedor]\n"
            "0=True\n"
            "WAVE=new\n"
            "WAVEName=\" new.wav\"\n"
            "\n"
            "[Third]\n"
            "x = y\n"
            "\n"
            "[Fourth]\n"
            "k=v\n");
  EXPECT_FALSE(text.Find("", "orphan"));
}

TEST(IniTextTest, HandWrittenFilesAreReadAsMeant) {
  const IniText text(
      "\xEF\xBB\xBF[Zazedor]\r\n"
      "  0 = True  \r\n"
      "WAVE=C:\\Program Files\\Zoduzazu\\Ruvazu.wav\r\n"
      "WAVEName=\" Ruvazu.wav\"\r\n"
      "2=first\r\n"
      "2=second\r\n"
      "WAVE=\r\n"
      "WAVE=/after/an/empty/duplicate.wav\r\n"
      "3=\"unterminated\r\n"
      "=no key\r\n"
      "\"bad escape\\q\"=x\r\n"
      "1=\"trailing\" junk\r\n"
      "[Zazedor");
  EXPECT_EQ(text.Find("Zazedor", "0"), "True");
  EXPECT_EQ(text.Find("Zazedor", "WAVE"), "C:\\Program Files\\Zoduzazu\\Ruvazu.wav");
  EXPECT_EQ(IniText("[Zazedor]\nWAVE=\nWAVE=/a.wav\n").Find("Zazedor", "WAVE"), "/a.wav");
  EXPECT_EQ(IniText("[Zazedor]\nWAVE=\nWAVE=\n").Find("Zazedor", "WAVE"), "");
  EXPECT_EQ(IniText("[Zazedor]\n[Other\n0=x\n").Find("Zazedor", "0"), "x");  // no header
  EXPECT_EQ(text.Find("Zazedor", "WAVEName"), " Ruvazu.wav");
  EXPECT_EQ(text.Find("Zazedor", "2"), "first");
  EXPECT_FALSE(text.Find("Zazedor", "3"));
  EXPECT_FALSE(text.Find("Zazedor", "1"));
  EXPECT_FALSE(text.Find("Zazedor", ""));
}

TEST(IniTextTest, JunkParsesAsNothingAndStaysUsable) {
  std::mt19937 random(42);
  std::string junk;
  while (junk.size() < 64 * 1024) {
    const char c = static_cast<char>(random());
    if (c != '=' && c != '[') junk += c;  // so that no line can parse as a setting
  }
  IniText text(junk);
  EXPECT_FALSE(text.Find("Zazedor", "0"));
  text.Set("Zazedor", "0", "True");
  EXPECT_EQ(Reread(text, "Zazedor", "0"), "True");
  EXPECT_EQ(text.Bytes().substr(0, junk.size()), junk) << "junk is kept, not rewritten";
}

}  // namespace
}  // namespace zdz::ini
