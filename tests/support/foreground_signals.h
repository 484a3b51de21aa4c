#pragma once
// How a test starts a command: as a shell starts one in the foreground, whatever started the tests
// (nohup and a background job leave signals ignored, a caller may leave some blocked).

#include <signal.h>

namespace quarx::test {

// Every signal at its default action and none blocked. For a child between fork and exec: it makes
// async-signal-safe calls only. SIGKILL, SIGSTOP and the C library's own signals refuse the change
// and are at their defaults already.
inline void ResetSignalsForCommand() {
  struct sigaction byDefault {};
  byDefault.sa_handler = SIG_DFL;
  for (int signo = 1; signo < NSIG; ++signo) {
    sigaction(signo, &byDefault, nullptr);
  }
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
}

}  // namespace quarx::test
