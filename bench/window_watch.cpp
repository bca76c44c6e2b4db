// Starts a program and prints how many milliseconds pass from its start until one of its
// windows is mapped and viewable, then ends it.
//   window_watch [--class CLASS] [--timeout SECONDS] -- PROGRAM [ARG...]
// A window is the program's when its _NET_WM_PID is the program's process id or, for clients
// that do not set it, when its WM_CLASS class is CLASS.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <set>
#include <string>

namespace {

double Now() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Windows come and go while we look at them.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

struct Watch {
  Display* display = nullptr;
  Atom pid_atom = None;
  pid_t pid = 0;
  std::string window_class;
  std::set<Window> candidates;

  bool HasPid(Window w) const {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool match = false;
    if (XGetWindowProperty(display, w, pid_atom, 0, 1, False, XA_CARDINAL, &type, &format, &count,
                           &after, &data) == Success &&
        data && format == 32 && count == 1) {
      match = static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data)) == pid;
    }
    if (data) XFree(data);
    return match;
  }

  bool HasClass(Window w) const {
    if (window_class.empty()) return false;
    XClassHint hint{};
    if (!XGetClassHint(display, w, &hint)) return false;
    const bool match = hint.res_class && window_class == hint.res_class;
    if (hint.res_name) XFree(hint.res_name);
    if (hint.res_class) XFree(hint.res_class);
    return match;
  }

  void Consider(Window w) {
    if (!candidates.count(w) && (HasPid(w) || HasClass(w))) candidates.insert(w);
  }

  bool AnyViewable() const {
    for (Window w : candidates) {
      XWindowAttributes a{};
      if (XGetWindowAttributes(display, w, &a) && a.map_state == IsViewable) return true;
    }
    return false;
  }
};

void Stop(pid_t pid) {
  kill(pid, SIGTERM);
  for (int i = 0; i < 300; ++i) {
    if (waitpid(pid, nullptr, WNOHANG) == pid) return;
    usleep(10000);
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

}  // namespace

int main(int argc, char** argv) {
  Watch watch;
  double timeout = 20;
  int first = 1;
  for (; first < argc; ++first) {
    if (!std::strcmp(argv[first], "--class") && first + 1 < argc) {
      watch.window_class = argv[++first];
    } else if (!std::strcmp(argv[first], "--timeout") && first + 1 < argc) {
      timeout = std::atof(argv[++first]);
    } else if (!std::strcmp(argv[first], "--")) {
      ++first;
      break;
    } else {
      break;
    }
  }
  if (first >= argc) {
    std::fprintf(stderr, "usage: %s [--class CLASS] [--timeout SECONDS] -- PROGRAM [ARG...]\n",
                 argv[0]);
    return 2;
  }
  watch.display = XOpenDisplay(nullptr);
  if (!watch.display) {
    std::fprintf(stderr, "window_watch: cannot open the display\n");
    return 1;
  }
  XSetErrorHandler(IgnoreXError);
  Display* d = watch.display;
  watch.pid_atom = XInternAtom(d, "_NET_WM_PID", False);
  // New top-level windows are announced on the root; their properties on themselves.
  XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
  XSync(d, False);

  const double start = Now();
  watch.pid = fork();
  if (watch.pid < 0) return 1;
  if (watch.pid == 0) {
    execvp(argv[first], argv + first);
    std::perror(argv[first]);
    _exit(127);
  }

  while (Now() - start < timeout) {
    while (XPending(d)) {
      XEvent e;
      XNextEvent(d, &e);
      if (e.type == CreateNotify) {
        const Window w = e.xcreatewindow.window;
        XSelectInput(d, w, PropertyChangeMask);
        watch.Consider(w);
      } else if (e.type == PropertyNotify) {
        watch.Consider(e.xproperty.window);
      }
    }
    if (watch.AnyViewable()) {
      std::printf("%.1f\n", (Now() - start) * 1000);
      Stop(watch.pid);
      return 0;
    }
    if (waitpid(watch.pid, nullptr, WNOHANG) == watch.pid) {
      std::fprintf(stderr, "window_watch: %s ended without a window\n", argv[first]);
      return 1;
    }
    pollfd p{ConnectionNumber(d), POLLIN, 0};
    poll(&p, 1, 1);
  }
  std::fprintf(stderr, "window_watch: no window of %s within %.0f s\n", argv[first], timeout);
  Stop(watch.pid);
  return 1;
}
