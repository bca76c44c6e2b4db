#include "platform/qt/lazy_sound.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include <cstdio>

#include "platform/qt/posix_file.h"

namespace zdz::qt {

namespace {

QString ModulePath() {
  const QDir exe(QCoreApplication::applicationDirPath());
  const QString beside = exe.absoluteFilePath("zoduzazu-sound.so");
  if (QFileInfo::exists(beside)) return beside;
  return QDir::cleanPath(exe.absoluteFilePath("../" ZDZ_SOUND_MODULE_DIR "/zoduzazu-sound.so"));
}

}  // namespace

LazySound::~LazySound() {
  if (Sound* sound = sound_.exchange(nullptr)) destroy_(sound);
}

Sound* LazySound::Loaded() {
  if (tried_) return sound_.load();
  tried_ = true;
  QLibrary module(ModulePath());
  using Create = Sound* (*)();
  auto create = reinterpret_cast<Create>(module.resolve("zdz_sound_create"));
  interrupt_ = reinterpret_cast<void (*)(Sound*)>(module.resolve("zdz_sound_interrupt"));
  destroy_ = reinterpret_cast<void (*)(Sound*)>(module.resolve("zdz_sound_destroy"));
  if (!create || !interrupt_ || !destroy_) {
    std::fprintf(stderr, "zoduzazu: no sound: %s\n", qPrintable(module.errorString()));
    return nullptr;
  }
  // The module stays loaded for the program's life (QLibrary does not unload on destruction).
  sound_.store(create());
  return sound_.load();
}

wave::Opener LazySound::FileOpener() { return OpenPosixFile; }

bool LazySound::Output(std::shared_ptr<const wave::Image> image, int strokes, bool async) {
  Sound* sound = Loaded();
  return sound && sound->Output(std::move(image), strokes, async);
}

void LazySound::Stop() {
  // Stopping needs nothing loaded when nothing ever played.
  if (Sound* sound = sound_.load()) sound->Stop();
}

void LazySound::Interrupt() {
  if (Sound* sound = sound_.load()) interrupt_(sound);
}

}  // namespace zdz::qt
