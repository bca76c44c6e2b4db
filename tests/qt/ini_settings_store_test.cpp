#include "platform/qt/ini_settings_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <map>
#include <random>
#include <string>

namespace zdz {
namespace {

const std::string kApp = "Zazedor";

class IniSettingsStoreTest : public ::testing::Test {
 protected:
  std::string Base() const { return dir_.path().toStdString() + "/config"; }
  std::string Folder() const { return Base() + "/" + kApp; }
  std::string File() const { return Folder() + "/" + kApp + ".conf"; }

  void WriteFile(const QByteArray& bytes) {
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(Folder())));
    QFile f(QString::fromStdString(File()));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
  }
  QByteArray FileText() const {
    QFile f(QString::fromStdString(File()));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  std::string Read(const std::string& key, const std::string& section = kApp) {
    return IniSettingsStore(Base()).Read(kApp, section, key);
  }

  QTemporaryDir dir_;
  IniSettingsStore store_{Base()};
};

TEST_F(IniSettingsStoreTest, TheSixSettingsRoundTripExactly) {
  const std::map<std::string, std::string> values = {
      {"0", "True"},
      {"1", "False"},
      {"2", "-1"},
      {"3", "0"},
      {"WAVE", "/home/ユーザー/my chimes/鐘 = \"ding\" #1; \\x41\\.wav"},
      {"WAVEName", " Ruvazu.wav"},
  };
  for (const auto& [key, value] : values) store_.Save(kApp, kApp, key, value);
  // A fresh store reads the file, not anything remembered.
  for (const auto& [key, value] : values) EXPECT_EQ(Read(key), value) << key;

  // Simple values stay readable for people and for scripts that look at the file.
  const QByteArray text = FileText();
  EXPECT_TRUE(text.startsWith("[Zazedor]\n")) << text.toStdString();
  EXPECT_TRUE(text.contains("\n0=True\n")) << text.toStdString();
}

TEST_F(IniSettingsStoreTest, AwkwardValuesRoundTrip) {
  const std::string awkward[] = {
      "",
      " leading",
      "trailing ",
      "\ttab\t",
      "\"quoted\"",
      "\"",
      "\\",
      "ends with backslash\\",
      "a=b=c",
      "#not a comment",
      ";not a comment",
      "[not a section]",
      "line one\nline two\r\n",
      std::string("nul\0inside", 10),
      "\x01\x1f\x7f",
      "\\x41 is not A",
      "全角　スペース　",
      "ﾀｽｸトレイから出す(&T)",
      "\xff\xfe not UTF-8",
  };
  int n = 0;
  for (const std::string& value : awkward) {
    store_.Save(kApp, kApp, "k" + std::to_string(n++), value);
  }
  n = 0;
  for (const std::string& value : awkward) {
    EXPECT_EQ(Read("k" + std::to_string(n++)), value) << "value #" << n - 1;
  }
}

TEST_F(IniSettingsStoreTest, AwkwardKeysAndSectionsStayApart) {
  const std::string names[] = {"", " k", "k ", "a=b", "[x]", "#c", ";c", "\"q", "x]y", "改行\n"};
  for (const std::string& name : names) {
    store_.Save(kApp, name, name, "value of " + name);
  }
  for (const std::string& name : names) {
    EXPECT_EQ(Read(name, name), "value of " + name) << "[" << name << "]";
  }
  EXPECT_EQ(Read("a", "a=b"), "");
  EXPECT_EQ(Read("k", "k"), "");
}

TEST_F(IniSettingsStoreTest, SavingOneKeyKeepsEverythingElse) {
  WriteFile(
      "; written by hand\n"
      "orphan=before any section\n"
      "[Other]\n"
      "WAVE=other wave\n"
      "not a setting at all\n"
      "[Zazedor]\n"
      "0=True\n"
      "WAVE=old\n"
      "\n"
      "[Third]\n"
      "x = y\n");
  store_.Save(kApp, kApp, "WAVE", "new");
  store_.Save(kApp, kApp, "WAVEName", " new.wav");
  store_.Save(kApp, "Fourth", "k", "v");

  EXPECT_EQ(Read("WAVE"), "new");
  EXPECT_EQ(Read("WAVEName"), " new.wav");
  EXPECT_EQ(Read("0"), "True");
  EXPECT_EQ(Read("WAVE", "Other"), "other wave");
  EXPECT_EQ(Read("x", "Third"), "y");
  EXPECT_EQ(Read("k", "Fourth"), "v");
  EXPECT_EQ(Read("orphan", ""), "");
  const QByteArray text = FileText();
  EXPECT_TRUE(text.contains("; written by hand\n"));
  EXPECT_TRUE(text.contains("not a setting at all\n"));
  EXPECT_EQ(text.count("[Zazedor]"), 1);
  EXPECT_EQ(text.count("WAVE=new"), 1);
}

TEST_F(IniSettingsStoreTest, HandWrittenFilesAreReadAsMeant) {
  WriteFile(
      "\xEF\xBB\xBF[Zazedor]\r\n"
      "  0 = True  \r\n"
      "WAVE=C:\\Program Files\\Zoduzazu\\Ruvazu.wav\r\n"
      "WAVEName=\" Ruvazu.wav\"\r\n"
      "2=first\r\n"
      "2=second\r\n"
      "3=\"unterminated\r\n"
      "=no key\r\n"
      "\"bad escape\\q\"=x\r\n"
      "1=\"trailing\" junk\r\n"
      "[Zazedor");
  EXPECT_EQ(Read("0"), "True");
  EXPECT_EQ(Read("WAVE"), "C:\\Program Files\\Zoduzazu\\Ruvazu.wav");
  EXPECT_EQ(Read("WAVEName"), " Ruvazu.wav");
  EXPECT_EQ(Read("2"), "first");
  EXPECT_EQ(Read("3"), "");
  EXPECT_EQ(Read("1"), "");
  EXPECT_EQ(Read(""), "");

  // Saving a duplicated key leaves one value, the saved one.
  store_.Save(kApp, kApp, "2", "third");
  EXPECT_EQ(Read("2"), "third");
  EXPECT_FALSE(FileText().contains("second"));
}

TEST_F(IniSettingsStoreTest, DeleteRemovesFileAndEmptyFolder) {
  store_.Save(kApp, kApp, "0", "True");
  store_.Save(kApp, "Other", "k", "v");
  store_.Delete(kApp);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(File())));
  EXPECT_FALSE(QDir(QString::fromStdString(Folder())).exists());
  EXPECT_EQ(Read("0"), "");
  EXPECT_EQ(Read("k", "Other"), "");
  EXPECT_NO_THROW(store_.Delete(kApp));  // nothing left: not an error

  // Another program's file in the folder keeps the folder.
  store_.Save(kApp, kApp, "0", "True");
  QFile other(QString::fromStdString(Folder() + "/notes.txt"));
  ASSERT_TRUE(other.open(QIODevice::WriteOnly));
  other.close();
  store_.Delete(kApp);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(File())));
  EXPECT_TRUE(other.exists());

  store_.Save(kApp, kApp, "0", "False");
  EXPECT_EQ(Read("0"), "False");
}

TEST_F(IniSettingsStoreTest, AbsentFileOrFolderReadsEmpty) {
  EXPECT_EQ(Read("0"), "");
  EXPECT_FALSE(QDir(QString::fromStdString(Base())).exists()) << "reading must not create";
  EXPECT_EQ(IniSettingsStore("").Read(kApp, kApp, "0"), "");
}

TEST_F(IniSettingsStoreTest, JunkFileReadsEmptyAndStaysUsable) {
  std::mt19937 random(42);
  QByteArray junk;
  while (junk.size() < 64 * 1024) {
    const char c = static_cast<char>(random());
    if (c != '=' && c != '[') junk.append(c);  // so that no line can parse as a setting
  }
  WriteFile(junk);
  EXPECT_EQ(Read("0"), "");
  EXPECT_EQ(Read("WAVE"), "");
  store_.Save(kApp, kApp, "0", "True");
  EXPECT_EQ(Read("0"), "True");
}

TEST_F(IniSettingsStoreTest, NonFilesInPlaceOfTheFileReadEmptyAndRefuseWrites) {
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(File())));  // a folder named Zazedor.conf
  EXPECT_EQ(Read("0"), "");
  try {
    store_.Save(kApp, kApp, "0", "True");
    ADD_FAILURE() << "Save into a folder succeeded";
  } catch (const StoreError& e) {
    EXPECT_NE(std::string(e.what()).find(File()), std::string::npos) << e.what();
  }
  EXPECT_THROW(store_.Delete(kApp), StoreError);

  // A FIFO with no writer would block a plain open forever.
  ASSERT_TRUE(QDir().rmdir(QString::fromStdString(File())));
  ASSERT_EQ(mkfifo(File().c_str(), 0600), 0);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Read("0"), "");
  EXPECT_THROW(store_.Save(kApp, kApp, "0", "True"), StoreError);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_NO_THROW(store_.Delete(kApp));
}

TEST_F(IniSettingsStoreTest, UnreadableFileReadsEmptyAndIsNotOverwritten) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads any file";
  WriteFile("[Zazedor]\n0=True\n[Other]\nk=v\n");
  ASSERT_EQ(chmod(File().c_str(), 0), 0);
  EXPECT_EQ(Read("0"), "");
  EXPECT_THROW(store_.Save(kApp, kApp, "1", "True"), StoreError);
  ASSERT_EQ(chmod(File().c_str(), 0600), 0);
  EXPECT_EQ(Read("k", "Other"), "v");
}

TEST_F(IniSettingsStoreTest, OversizedFileIsNeitherReadNorOverwritten) {
  QByteArray big = "[Zazedor]\n0=True\n";
  big.append(QByteArray(2 << 20, 'x'));
  WriteFile(big);
  EXPECT_EQ(Read("0"), "");
  EXPECT_THROW(store_.Save(kApp, kApp, "1", "True"), StoreError);
  EXPECT_EQ(FileText().size(), big.size());
}

TEST_F(IniSettingsStoreTest, UnwritablePlaceThrowsNamingTheFile) {
  // The base folder's parent is a regular file: nothing can be created below it.
  QFile blocker(dir_.path() + "/blocker");
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  const std::string base = dir_.path().toStdString() + "/blocker/config";
  IniSettingsStore store(base);
  try {
    store.Save(kApp, kApp, "0", "True");
    ADD_FAILURE() << "Save below a regular file succeeded";
  } catch (const StoreError& e) {
    const std::string message = e.what();
    EXPECT_NE(message.find(base + "/Zazedor/Zazedor.conf"), std::string::npos) << message;
    EXPECT_NE(message.find("Not a directory"), std::string::npos) << message;
  }
  EXPECT_EQ(store.Read(kApp, kApp, "0"), "");
  EXPECT_NO_THROW(store.Delete(kApp));
}

TEST_F(IniSettingsStoreTest, ReadOnlyFolderThrowsAndKeepsTheOldFile) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into any folder";
  store_.Save(kApp, kApp, "0", "True");
  ASSERT_EQ(chmod(Folder().c_str(), 0500), 0);
  EXPECT_THROW(store_.Save(kApp, kApp, "0", "False"), StoreError);
  EXPECT_THROW(store_.Delete(kApp), StoreError);
  ASSERT_EQ(chmod(Folder().c_str(), 0700), 0);
  EXPECT_EQ(Read("0"), "True");
}

TEST_F(IniSettingsStoreTest, SaveLeavesOnlyTheFileBehind) {
  for (int i = 0; i < 20; ++i) store_.Save(kApp, kApp, "0", i % 2 ? "True" : "False");
  EXPECT_EQ(QDir(QString::fromStdString(Folder()))
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{"Zazedor.conf"});
}

TEST_F(IniSettingsStoreTest, ApplicationNamesCannotLeaveTheBaseFolder) {
  for (const std::string app : {"", ".", "..", "../escape", "a/b"}) {
    EXPECT_THROW(store_.Save(app, kApp, "0", "True"), StoreError) << app;
    EXPECT_EQ(store_.Read(app, kApp, "0"), "") << app;
    EXPECT_NO_THROW(store_.Delete(app)) << app;
  }
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{});
}

}  // namespace
}  // namespace zdz
