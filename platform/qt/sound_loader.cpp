#include "platform/qt/sound_loader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include <cstdio>

namespace zdz::qt {

namespace {

QString ModulePath() {
  const QDir exe(QCoreApplication::applicationDirPath());
  const QString beside = exe.absoluteFilePath("zoduzazu-sound.so");
  if (QFileInfo::exists(beside)) return beside;
  return QDir::cleanPath(exe.absoluteFilePath("../" ZDZ_SOUND_MODULE_DIR "/zoduzazu-sound.so"));
}

}  // namespace

SoundLoader::~SoundLoader() {
  if (wave::Output* output = output_.exchange(nullptr)) destroy_(output);
}

wave::Output* SoundLoader::Load() {
  if (tried_) return output_.load();
  tried_ = true;
  QLibrary module(ModulePath());
  using Create = wave::Output* (*)();
  auto create = reinterpret_cast<Create>(module.resolve("zdz_sound_create"));
  interrupt_ = reinterpret_cast<void (*)(wave::Output*)>(module.resolve("zdz_sound_interrupt"));
  destroy_ = reinterpret_cast<void (*)(wave::Output*)>(module.resolve("zdz_sound_destroy"));
  if (!create || !interrupt_ || !destroy_) {
    std::fprintf(stderr, "zoduzazu: no sound: %s\n", qPrintable(module.errorString()));
    return nullptr;
  }
  // The module stays loaded for the program's life (QLibrary does not unload on destruction).
  output_.store(create());
  return output_.load();
}

void SoundLoader::Interrupt() {
  if (wave::Output* output = output_.load()) interrupt_(output);
}

}  // namespace zdz::qt
