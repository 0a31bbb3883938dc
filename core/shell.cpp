#include "core/shell.h"

#include <chrono>
#include <thread>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/files.h"

extern char** environ;

namespace fondaris::core {

OpenResult XdgShell::open(const std::string& path) {
  if (!fileExists(path)) return OpenResult::NotFound;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const char* argv[] = {"xdg-open", path.c_str(), nullptr};
  pid_t pid = 0;
  const int rc =
      posix_spawnp(&pid, "xdg-open", &actions, nullptr, const_cast<char**>(argv), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return OpenResult::NoAssociation;

  // xdg-open either fails at once or hands over to a viewer that may run for a long time.
  using namespace std::chrono;
  const auto deadline = steady_clock::now() + milliseconds(1500);
  while (steady_clock::now() < deadline) {
    int status = 0;
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) {
      if (WIFEXITED(status) && (WEXITSTATUS(status) == 3 || WEXITSTATUS(status) == 4))
        return OpenResult::NoAssociation;
      if (WIFEXITED(status) && WEXITSTATUS(status) == 2) return OpenResult::NotFound;
      return OpenResult::Ok;
    }
    if (done < 0) return OpenResult::Ok;
    std::this_thread::sleep_for(milliseconds(20));
  }
  // Still running: the viewer has it. Reap it whenever it ends.
  std::thread([pid] {
    int status = 0;
    ::waitpid(pid, &status, 0);
  }).detach();
  return OpenResult::Ok;
}

}  // namespace fondaris::core
