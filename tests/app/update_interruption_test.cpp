// What SIGINT, SIGTERM and SIGHUP do while an update runs: a handled signal only asks for a stop
// and hands SIGINT and SIGTERM back to their default action, so that a second one ends the tool
// at once, while SIGHUP is ignored from then on; SIGPIPE is ignored throughout; a signal ignored
// when the tool started stays ignored; afterwards the old actions are back. (When the watcher ends
// the tool, only once the camera has been silent, the end-to-end stop tests show with slow cameras.)
#include "app/update_interruption.h"

#include <signal.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "util/stop_request.h"

namespace fwupdate {
namespace {

void (*Disposition(int signal))(int) {
  struct sigaction current {};
  sigaction(signal, nullptr, &current);
  return current.sa_handler;
}

TEST(UpdateInterruption, HandledSignalAsksForAStopAndLeavesTheNextToItsDefaultIgnoredOneStaysIgnored) {
  // Signal actions belong to the whole test process: they are put back however the test ends.
  struct Restore {
    struct sigaction sigint {};
    struct sigaction sigterm {};
    Restore() {
      sigaction(SIGINT, nullptr, &sigint);
      sigaction(SIGTERM, nullptr, &sigterm);
    }
    ~Restore() {
      sigaction(SIGINT, &sigint, nullptr);
      sigaction(SIGTERM, &sigterm, nullptr);
      quarx::util::ClearStopRequest();
    }
  } restore;
  signal(SIGINT, SIG_IGN);  // as in a background job of a script
  signal(SIGTERM, SIG_DFL);
  {
    const UpdateInterruption interruption;
    EXPECT_NE(Disposition(SIGTERM), SIG_DFL);
    raise(SIGINT);
    EXPECT_EQ(quarx::util::StopSignal(), 0);
    raise(SIGTERM);
    EXPECT_EQ(quarx::util::StopSignal(), SIGTERM);
    EXPECT_EQ(Disposition(SIGTERM), SIG_DFL);
    EXPECT_EQ(Disposition(SIGINT), SIG_IGN);
  }
  EXPECT_EQ(Disposition(SIGINT), SIG_IGN);
  EXPECT_EQ(Disposition(SIGTERM), SIG_DFL);
}

// "stop" (the stop handler), "default" or "ignored".
std::string Action(int signal) {
  const auto handler = Disposition(signal);
  return handler == SIG_DFL ? "default" : handler == SIG_IGN ? "ignored" : "stop";
}

TEST(UpdateInterruption, AHangUpStopsLikeSigtermAndIsIgnoredAfterTheFirstStop) {
  const std::vector<int> kSignals = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};
  struct Restore {
    std::vector<int> signals;
    std::vector<struct sigaction> actions = std::vector<struct sigaction>(signals.size());
    explicit Restore(std::vector<int> s) : signals(std::move(s)) {
      for (std::size_t i = 0; i < signals.size(); ++i) sigaction(signals[i], nullptr, &actions[i]);
    }
    ~Restore() {
      for (std::size_t i = 0; i < signals.size(); ++i) sigaction(signals[i], &actions[i], nullptr);
      quarx::util::ClearStopRequest();
    }
  } restore(kSignals);
  const struct {
    const char* name;
    bool hupIgnoredAtStart;  // as under nohup
    std::vector<int> raised;
    int stop;
    std::vector<std::string> during;  // SIGINT, SIGTERM, SIGHUP, SIGPIPE after the signals raised
  } kCases[] = {
      {"hang-up twice", false, {SIGHUP, SIGHUP}, SIGHUP, {"default", "default", "ignored", "ignored"}},
      {"hang-up after Ctrl-C", false, {SIGINT, SIGHUP}, SIGINT, {"default", "default", "ignored", "ignored"}},
      {"hang-up under nohup", true, {SIGHUP}, 0, {"stop", "stop", "ignored", "ignored"}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    for (const int signo : kSignals) signal(signo, SIG_DFL);
    signal(SIGHUP, c.hupIgnoredAtStart ? SIG_IGN : SIG_DFL);
    {
      const UpdateInterruption interruption;
      for (const int signo : c.raised) raise(signo);
      EXPECT_EQ(quarx::util::StopSignal(), c.stop);
      std::vector<std::string> during;
      for (const int signo : kSignals) during.push_back(Action(signo));
      EXPECT_EQ(during, c.during);
    }
    EXPECT_EQ(Action(SIGHUP), c.hupIgnoredAtStart ? "ignored" : "default");
    EXPECT_EQ(Action(SIGPIPE), "default");
    quarx::util::ClearStopRequest();
  }
}

}  // namespace
}  // namespace fwupdate
