#include "platform/qt/ini_settings_store.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <fstream>
#include <functional>
#include <string>

namespace zdz::qt {
namespace {

const std::string kApp = "Zazedor";

// The error `call` ends with; one that returns reads as the error "returned", of no reason.
StoreError Thrown(const std::function<void()>& call) {
  try {
    call();
  } catch (const StoreError& e) {
    return e;
  }
  return StoreError("returned");
}

class IniSettingsStoreTest : public ::testing::Test {
 protected:
  std::string Base() const { return dir_.path().toStdString() + "/config"; }
  std::string Folder() const { return Base() + "/" + kApp; }
  std::string File() const { return Folder() + "/" + kApp + ".conf"; }
  QStringList FolderEntries() const {
    return QDir(QString::fromStdString(Folder()))
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
  }

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
  // A fresh store reads the file, not anything remembered.
  std::string Read(const std::string& key, const std::string& section = kApp) {
    return IniSettingsStore(Base()).Read(kApp, section, key);
  }

  QTemporaryDir dir_;
  IniSettingsStore store_{Base()};
};

TEST_F(IniSettingsStoreTest, SettingsRoundTripHandWrittenLinesSurviveAndDeleteTakesOnlyOurs) {
  EXPECT_EQ(Read("0"), "");
  EXPECT_FALSE(QDir(QString::fromStdString(Base())).exists()) << "reading must not create";
  const StoreValues values = {{"0", "True"},
                              {"2", "-1"},
                              {"WAVEName", " Ruvazu.wav"},
                              {"WAVE", "/home/ユーザー/my chimes/鐘 = \"ding\" #1; \\x41\\.wav"}};
  store_.SaveAll(kApp, kApp, values);
  for (const auto& [key, value] : values) EXPECT_EQ(Read(key), value) << key;
  EXPECT_EQ(FolderEntries(), QStringList{"Zazedor.conf"}) << "no temporary file is left";

  WriteFile("; by hand\n[Other]\nWAVE=x\n[Zazedor]\n0=True\n");
  store_.SaveAll(kApp, kApp, {{"0", "False"}, {"1", "True"}});
  EXPECT_EQ(FileText(), "; by hand\n[Other]\nWAVE=x\n[Zazedor]\n0=False\n1=True\n");

  // Delete removes the file, and the folder when nothing else uses it.
  store_.SaveAll(kApp, "Other", {{"k", "v"}});
  store_.Delete(kApp);
  EXPECT_FALSE(QDir(QString::fromStdString(Folder())).exists());
  EXPECT_EQ(Read("k", "Other"), "");
  EXPECT_NO_THROW(store_.Delete(kApp));  // nothing left: not an error

  store_.SaveAll(kApp, kApp, {{"0", "True"}});
  QFile other(QString::fromStdString(Folder() + "/notes.txt"));
  ASSERT_TRUE(other.open(QIODevice::WriteOnly));
  other.close();
  store_.Delete(kApp);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(File())));
  EXPECT_TRUE(other.exists());
}

TEST_F(IniSettingsStoreTest, AFullOrReadOnlyDiskKeepsTheOldFileAndSaysWhy) {
  // A file system of a few pages; skipped where mounting is not allowed.
  QDir().mkpath(QString::fromStdString(Base()));
  if (mount("tmpfs", Base().c_str(), "tmpfs", 0, "size=64k") != 0) GTEST_SKIP() << "no mount";
  struct Unmount {
    std::string at;
    ~Unmount() { umount2(at.c_str(), MNT_DETACH); }
  } unmount{Base()};
  StoreValues six = {{"0", "True"},  {"1", "False"},     {"2", "True"},
                     {"3", "False"}, {"WAVE", "/a.wav"}, {"WAVEName", " a.wav"}};
  store_.SaveAll(kApp, kApp, six);
  const QByteArray before = FileText();

  std::ofstream filler(Base() + "/filler", std::ios::binary);
  for (const std::string block(4096, 'x'); filler.write(block.data(), block.size());) {
  }
  filler.close();
  six[4].second = std::string(8000, 'w');  // more than the pages left
  const StoreError full = Thrown([&] { store_.SaveAll(kApp, kApp, six); });
  EXPECT_EQ(full.Reason(), StoreFailure::kNoSpace) << full.what();
  EXPECT_NE(std::string(full.what()).find(File()), std::string::npos) << full.what();
  EXPECT_EQ(FileText(), before);
  EXPECT_EQ(FolderEntries(), QStringList{"Zazedor.conf"}) << "the temporary file is removed";

  ASSERT_EQ(mount(nullptr, Base().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
  EXPECT_EQ(Thrown([&] {
              store_.SaveAll(kApp, kApp, {{"0", "False"}});
            }).Reason(),
            StoreFailure::kNotPermitted);
  // A folder that cannot be changed, even by root: the file stays, and the delete says so.
  EXPECT_EQ(Thrown([&] { store_.Delete(kApp); }).Reason(), StoreFailure::kNotPermitted);
  EXPECT_EQ(FileText(), before);
}

TEST_F(IniSettingsStoreTest, WhatIsNotASmallReadableFileReadsEmptyAndIsNotReplaced) {
  // A folder in the file's place, and the message names the file.
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(File())));
  EXPECT_EQ(Read("0"), "");
  const StoreError intoFolder = Thrown([&] { store_.SaveAll(kApp, kApp, {{"0", "True"}}); });
  EXPECT_NE(std::string(intoFolder.what()).find(File()), std::string::npos) << intoFolder.what();
  EXPECT_THROW(store_.Delete(kApp), StoreError);

  // A FIFO with no writer would block a plain open forever: the test would hang.
  ASSERT_TRUE(QDir().rmdir(QString::fromStdString(File())));
  ASSERT_EQ(mkfifo(File().c_str(), 0600), 0);
  EXPECT_EQ(Read("0"), "");
  EXPECT_THROW(store_.SaveAll(kApp, kApp, {{"0", "True"}}), StoreError);
  ASSERT_EQ(unlink(File().c_str()), 0);

  // An endless device behind a link.
  ASSERT_EQ(symlink("/dev/zero", File().c_str()), 0);
  EXPECT_EQ(Read("0"), "");
  EXPECT_THROW(store_.SaveAll(kApp, kApp, {{"0", "True"}}), StoreError);
  EXPECT_TRUE(QFileInfo(QString::fromStdString(File())).isSymLink());
  ASSERT_EQ(unlink(File().c_str()), 0);

  // Too big to be settings, or unreadable.
  QByteArray big = "[Zazedor]\n0=True\n";
  big.append(QByteArray(2 << 20, 'x'));
  WriteFile(big);
  EXPECT_EQ(Read("0"), "");
  EXPECT_THROW(store_.SaveAll(kApp, kApp, {{"1", "True"}}), StoreError);
  EXPECT_EQ(FileText().size(), big.size());
  if (geteuid() == 0) return;  // root reads any file
  WriteFile("[Zazedor]\n0=True\n");
  ASSERT_EQ(chmod(File().c_str(), 0), 0);
  EXPECT_EQ(Read("0"), "");
  EXPECT_THROW(store_.SaveAll(kApp, kApp, {{"1", "True"}}), StoreError);
  ASSERT_EQ(chmod(File().c_str(), 0600), 0);
  EXPECT_EQ(Read("0"), "True");
}

// A folder that cannot be made is startup.sh's, where the user meets the message.
TEST_F(IniSettingsStoreTest, NoWriteOutsideTheBaseFolder) {
  for (const std::string app : {"", ".", "..", "../escape", "a/b"}) {
    EXPECT_THROW(store_.SaveAll(app, kApp, {{"0", "True"}}), StoreError) << app;
    EXPECT_EQ(store_.Read(app, kApp, "0"), "") << app;
    EXPECT_NO_THROW(store_.Delete(app)) << app;
  }
  EXPECT_TRUE(QDir(dir_.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot));
}

}  // namespace
}  // namespace zdz::qt
