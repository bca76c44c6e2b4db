#pragma once
// The Linux program's command line: --version and --help answer without a display, anything
// else is refused before the desktop starts.

#include <cstdio>

namespace zdz::qt {

// -1 when the clock should start; otherwise the exit status, after the answer or the one-line
// refusal has been printed (answers on `out`, the refusal on `err`).
int AnswerCommandLine(int argc, char** argv, const char* version, std::FILE* out, std::FILE* err);

}  // namespace zdz::qt
