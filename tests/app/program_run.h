#pragma once
// Runs the real fwupdate program with exactly the given argument vector, optionally with a
// configuration file of its own, and collects what it writes to standard output.

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

extern char** environ;

namespace fwupdate::test {

struct ProgramRun {
  int exitStatus = -1;
  std::string out;
};

// Exit status of a child that could not prepare what the test needs (not the program's own).
constexpr int kCannotPrepare = 77;

// Runs the program with exactly `argv` (program name included, if any) and standard input at end of file.
// `prepare` runs in the child once standard output is the collecting pipe, before the program starts (it may
// move the pipe to another descriptor); returning false ends the child with kCannotPrepare.
inline ProgramRun RunProgram(const std::vector<std::string>& argv, bool withHome = true,
                             const std::function<bool()>& prepare = {}) {
  std::vector<std::string> words = argv;
  std::vector<char*> args;
  for (auto& word : words) {
    args.push_back(word.data());
  }
  args.push_back(nullptr);
  int pipeFds[2];
  if (pipe(pipeFds) != 0) {
    ADD_FAILURE() << "pipe failed";
    return {};
  }
  const pid_t pid = fork();
  if (pid == 0) {
    if (!withHome) {
      unsetenv("HOME");
    }
    dup2(pipeFds[1], STDOUT_FILENO);
    const int devNull = open("/dev/null", O_RDONLY);
    dup2(devNull, STDIN_FILENO);
    close(pipeFds[0]);
    close(pipeFds[1]);
    if (prepare && !prepare()) {
      _exit(kCannotPrepare);
    }
    execve(FWUPDATE_PATH, args.data(), environ);
    _exit(127);
  }
  close(pipeFds[1]);
  ProgramRun run;
  char buffer[4096];
  for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;) {
    run.out.append(buffer, static_cast<std::size_t>(n));
  }
  close(pipeFds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return run;
}

inline std::vector<std::string> Line(std::vector<std::string> args) {
  args.insert(args.begin(), FWUPDATE_PATH);
  return args;
}

// The program reads its configuration from one fixed path. To give it one without touching the machine, the
// child mounts an empty file system over /opt in a mount namespace of its own and writes the file there;
// HOME, when set, lies inside that file system too, so nothing is left behind.
constexpr const char* kNoMountNamespace =
    "needs a private mount namespace (root or user namespaces) to place the configuration file";
constexpr const char* kHomeInNamespace = "/opt/home";

inline ProgramRun RunWithConfiguration(const std::vector<std::string>& args, const std::string& config,
                                       bool withHome = true) {
  return RunProgram(Line(args), withHome, [&] {
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount("tmpfs", "/opt", "tmpfs", 0, "size=1m") != 0) {
      return false;
    }
    std::error_code ec;
    std::filesystem::create_directories("/opt/velmora/fwupdate", ec);
    std::ofstream("/opt/velmora/fwupdate/quarx.conf") << config;
    return !ec && (!withHome || setenv("HOME", kHomeInNamespace, 1) == 0);
  });
}

}  // namespace fwupdate::test
