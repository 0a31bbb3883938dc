// Starts a command and answers the time until its first window is mapped on the X display, in
// microseconds, on standard output. The command is ended then. Watching the display rather than
// the process is what a user sees: the window is there, not just the process running.
// Usage: first-window-timer COMMAND [ARGUMENTS...]
#include <X11/Xlib.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <cstdio>

namespace {

constexpr int kTimeoutMilliseconds = 30000;

bool waitForEvent(Display* display, std::chrono::steady_clock::time_point deadline) {
  while (XPending(display) == 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd watch{ConnectionNumber(display), POLLIN, 0};
    ::poll(&watch, 1, static_cast<int>(left.count()));
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: first-window-timer COMMAND [ARGUMENTS...]\n", stderr);
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fputs("first-window-timer: no X display\n", stderr);
    return 2;
  }
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, False);

  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    execvp(argv[1], argv + 1);
    _exit(127);
  }
  const auto deadline = start + std::chrono::milliseconds(kTimeoutMilliseconds);
  long long microseconds = -1;
  while (microseconds < 0 && waitForEvent(display, deadline)) {
    XEvent event;
    XNextEvent(display, &event);
    // Menus and tool tips bypass the window manager; the first real window is what counts.
    if (event.type == MapNotify && !event.xmap.override_redirect)
      microseconds = std::chrono::duration_cast<std::chrono::microseconds>(
                         std::chrono::steady_clock::now() - start)
                         .count();
  }
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  XCloseDisplay(display);
  if (microseconds < 0) {
    std::fprintf(stderr, "first-window-timer: no window within %d ms\n", kTimeoutMilliseconds);
    return 1;
  }
  std::printf("%lld\n", microseconds);
  return 0;
}
