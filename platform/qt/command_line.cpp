// zdz::qt::AnswerCommandLine: --version, --help and the refusal of anything else.
#include "platform/qt/command_line.h"

#include <cstring>

namespace zdz::qt {

namespace {

constexpr char kUsage[] =
    "Usage: zoduzazu [--version | --help]\n"
    "A desktop clock with an hourly chime. Run without options it shows the clock;\n"
    "its settings are in $XDG_CONFIG_HOME/Zazedor/Zazedor.conf.\n"
    "\n"
    "  --version  print the version and exit\n"
    "  --help     print this help and exit\n";

}  // namespace

int AnswerCommandLine(int argc, char** argv, const char* version, std::FILE* out, std::FILE* err) {
  if (argc < 2) return -1;
  const char* arg = argv[1];
  if (argc == 2 && std::strcmp(arg, "--version") == 0) {
    std::fprintf(out, "zoduzazu %s\n", version);
    return 0;
  }
  if (argc == 2 && std::strcmp(arg, "--help") == 0) {
    std::fputs(kUsage, out);
    return 0;
  }
  // The first argument that is not one of ours: the later ones would only repeat the point.
  const char* bad =
      (std::strcmp(arg, "--version") == 0 || std::strcmp(arg, "--help") == 0) ? argv[2] : arg;
  std::fprintf(err, "zoduzazu: unknown option '%s' (try 'zoduzazu --help')\n", bad);
  return 2;
}

}  // namespace zdz::qt
