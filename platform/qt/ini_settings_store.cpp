#include "platform/qt/ini_settings_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <utility>

#include "platform/ini/ini_text.h"

namespace zdz::qt {

namespace {

// Far more than six settings ever need; a bigger file is not ours and is not read into memory.
constexpr qint64 kMaxFileSize = 1 << 20;

QString ToQt(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

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
  // At its size, not the limit: a settings file is a few hundred bytes.
  result.bytes = file.read(std::min(info.size(), kMaxFileSize) + 1);
  if (file.error() != QFileDevice::NoError) {
    return {false, {}, "cannot read it: " + file.errorString()};
  }
  if (result.bytes.size() > kMaxFileSize) return {false, {}, "too large to be a settings file"};
  return result;
}

StoreFailure FailureOf(int err) {
  switch (err) {
    case ENOSPC:
    case EDQUOT:
      return StoreFailure::kNoSpace;
    case EACCES:
    case EPERM:
    case EROFS:
      return StoreFailure::kNotPermitted;
    default:
      return StoreFailure::kOther;
  }
}

[[noreturn]] void ThrowErrno(const std::string& path, const char* step, int err) {
  throw StoreError("cannot write " + path + ": " + step + ": " + std::strerror(err),
                   FailureOf(err));
}

// Writes a temporary file beside `path` and renames it over `path` only once every byte is
// known to be on the disk: a full or failing disk leaves the old file as it was.
void ReplaceFile(const std::string& path, std::string_view bytes) {
  std::string temp = path + ".XXXXXX";
  const int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) ThrowErrno(path, "cannot create a temporary file", errno);
  auto fail = [&](const char* step) {
    const int err = errno;
    ::close(fd);
    ::unlink(temp.c_str());
    ThrowErrno(path, step, err);
  };
  struct stat old {};
  if (::stat(path.c_str(), &old) == 0) ::fchmod(fd, old.st_mode & 07777);
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      fail("write failed");
    }
    bytes.remove_prefix(std::size_t(n));
  }
  if (::fsync(fd) != 0) fail("fsync failed");
  if (::close(fd) != 0) {
    const int err = errno;
    ::unlink(temp.c_str());
    ThrowErrno(path, "close failed", err);
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    const int err = errno;
    ::unlink(temp.c_str());
    ThrowErrno(path, "rename failed", err);
  }
  // The rename itself reaches the disk with the folder.
  const std::string folder = path.substr(0, path.rfind('/'));
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
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
  const ini::IniText text(std::string_view(loaded.bytes.constData(), loaded.bytes.size()));
  return text.Find(section, key).value_or("");
}

void IniSettingsStore::SaveAll(const std::string& app, const std::string& section,
                               const StoreValues& values) {
  const std::string path = FilePath(app);
  if (path.empty()) {
    throw StoreError("cannot store settings of \"" + app + "\": " +
                     (base_.empty() ? "no configuration folder" : "not a valid application name"));
  }
  const QString qpath = ToQt(path);
  const Loaded loaded = Load(qpath);
  // Writing over a file that could not be read would throw its other settings away.
  if (!loaded.ok) throw StoreError("cannot write " + path + ": " + loaded.reason.toStdString());
  ini::IniText text(std::string_view(loaded.bytes.constData(), loaded.bytes.size()));
  for (const auto& [key, value] : values) text.Set(section, key, value);

  const QString folder = QFileInfo(qpath).absolutePath();
  errno = 0;
  if (!QDir().mkpath(folder)) {
    const int err = errno;
    throw StoreError("cannot write " + path +
                         ": cannot create its folder: " + (err ? std::strerror(err) : "failed"),
                     FailureOf(err));
  }
  ReplaceFile(path, text.Bytes());
}

void IniSettingsStore::Delete(const std::string& app) {
  const std::string path = FilePath(app);
  if (path.empty()) return;  // such an application can have nothing stored
  const QString qpath = ToQt(path);
  const QFileInfo info(qpath);
  if (!info.exists() && !info.isSymLink()) return;
  // unlink rather than QFile::remove, for errno: the user is told why the settings stay.
  if (::unlink(QFile::encodeName(qpath).constData()) != 0 && errno != ENOENT) {
    const int err = errno;
    throw StoreError("cannot remove " + path + ": " + std::strerror(err), FailureOf(err));
  }
  QDir().rmdir(info.absolutePath());  // only when nothing else lives there
}

}  // namespace zdz::qt
