#pragma once
// A chime file opened with plain POSIX calls: it is read on a reader thread, where no Qt object
// may be used.

#include <memory>
#include <string>

#include "platform/wave/wave_image.h"

namespace zdz::qt {

// A regular file only: a FIFO or a device could keep the reader waiting forever.
std::unique_ptr<wave::ByteSource> OpenPosixFile(const std::string& name);

}  // namespace zdz::qt
