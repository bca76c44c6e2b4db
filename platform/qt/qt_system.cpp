#include "platform/qt/qt_system.h"

#include "resources/captions.h"

#include <time.h>

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QMessageBox>
#include <QStyleHints>

#include <QProcess>
#include <cstdio>

#include "platform/qt/qt_units.h"

namespace zdz::qt {

namespace {

// "description|pattern|..." to Qt's "description (pattern);;...".
QString ToNameFilters(const std::string& filter) {
  const QStringList parts = Q(filter).split('|');
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    const QString& text = parts[i];
    out << (text.contains('(') ? text : text + " (" + parts[i + 1] + ")");
  }
  return out.join(";;");
}

}  // namespace

std::optional<std::string> QtSystem::ShowOpen(const OpenFileRequest& request) {
  QFileDialog dialog(QApplication::activeWindow(), Q(request.title));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  // A typed name that names no file yet is accepted; its folder must exist.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(ToNameFilters(request.filter));
  dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
  if (!request.fileName.empty()) dialog.selectFile(Q(request.fileName));
  while (dialog.exec() == QDialog::Accepted) {
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return std::nullopt;
    const QFileInfo chosen(files.first());
    if ((request.flags & kOfnPathMustExist) && !chosen.absoluteDir().exists()) continue;
    return S(chosen.absoluteFilePath());
  }
  return std::nullopt;
}

void QtSystem::MessageBox(const std::string& text, const std::string& title) {
  QMessageBox box(QMessageBox::NoIcon, Q(title), Q(text), QMessageBox::Ok,
                  QApplication::activeWindow());
  box.exec();
}

bool QtSystem::StartProgram(const std::string& path) {
  // The path is the program itself: no shell and no splitting at spaces.
  return !path.empty() && QProcess::startDetached(Q(path), {});
}

bool QtSystem::FileExists(const std::string& path) { return QFileInfo(Q(path)).isFile(); }

std::string QtSystem::DataFolder() {
  const QDir exe(QCoreApplication::applicationDirPath());
  if (exe.exists(text::kChimeFile)) return S(exe.absolutePath());
  // An installed program: <prefix>/bin beside <prefix>/share/zoduzazu.
  const QDir shared(exe.absoluteFilePath("../share/zoduzazu"));
  if (shared.exists(text::kChimeFile)) return S(shared.absolutePath());
  return S(exe.absolutePath());
}

double QtSystem::TwipsPerPixelX() { return TwipsPerPixel(); }

int QtSystem::DoubleClickMs() { return QGuiApplication::styleHints()->mouseDoubleClickInterval(); }

void QtSystem::ReportFailure(const std::string& text) {
  std::fprintf(stderr, "%s\n", text.c_str());
}

void QtSystem::EndProgram() { QCoreApplication::exit(0); }

LocalTime QtTime::Now() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  localtime_r(&now.tv_sec, &local);  // unlike localtime(), no look at the zone file
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
          local.tm_hour,        local.tm_min,     local.tm_sec};
}

namespace {

// The first character after the hours in the locale's own time pattern.
std::string LocaleTimeSeparator(const QLocale& locale) {
  const QString pattern = locale.timeFormat(QLocale::ShortFormat);
  // A plain search: one regular expression here would keep its engine's pages resident all day.
  qsizetype i = 0;
  while (i < pattern.size() && pattern[i] != 'h' && pattern[i] != 'H') ++i;
  if (i == pattern.size()) return ":";
  while (i < pattern.size() && (pattern[i] == 'h' || pattern[i] == 'H')) ++i;
  if (i < pattern.size() && pattern[i] != 'm' && !pattern[i].isLetterOrNumber())
    return S(QString(pattern[i]));
  return ":";
}

}  // namespace

QtTime::QtTime() {
  const QLocale locale = QLocale::system();
  separator_ = LocaleTimeSeparator(locale);
  am_ = S(locale.amText());
  pm_ = S(locale.pmText());
  tzset();
  // The zone file is replaced, not rewritten, when the zone changes: watch its folder too.
  zoneWatch_ = std::make_unique<QFileSystemWatcher>(QStringList{"/etc/localtime", "/etc"});
  const auto reread = [this] {
    tzset();
    if (!zoneWatch_->files().contains("/etc/localtime")) zoneWatch_->addPath("/etc/localtime");
  };
  QObject::connect(zoneWatch_.get(), &QFileSystemWatcher::fileChanged, reread);
  QObject::connect(zoneWatch_.get(), &QFileSystemWatcher::directoryChanged, reread);
}

}  // namespace zdz::qt
