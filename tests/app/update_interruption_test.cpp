// What SIGINT, SIGTERM and SIGHUP do while an update runs: a handled signal only asks for a stop
// and hands SIGINT and SIGTERM back to their default action, so that a second one ends the tool
// at once, while SIGHUP is ignored from then on; SIGPIPE is ignored throughout; a signal ignored
// when the tool started stays ignored; afterwards SIGINT and SIGTERM have their old actions back,
// SIGHUP and SIGPIPE only once the tool has written its last. (When the watcher ends the tool, only
// once the camera has been silent, the end-to-end stop tests show with slow cameras.)
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
      ReleaseOutputSignals();
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
      ReleaseOutputSignals();
      for (std::size_t i = 0; i < signals.size(); ++i) sigaction(signals[i], &actions[i], nullptr);
      quarx::util::ClearStopRequest();
    }
  } restore(kSignals);
  const auto actions = [&kSignals] {
    std::vector<std::string> all;
    for (const int signo : kSignals) all.push_back(Action(signo));
    return all;
  };
  const std::vector<std::string> kDefaults(kSignals.size(), "default");
  const struct {
    const char* name;
    bool hupIgnoredAtStart;  // as under nohup
    int updates;             // one after the other, no release between; the signals come in the last
    std::vector<int> raised;
    int stop;
    std::vector<std::string> during;    // SIGINT, SIGTERM, SIGHUP, SIGPIPE after the signals raised
    std::vector<std::string> released;  // the same once the tool has written its last
  } kCases[] = {
      {"hang-up twice", false, 1, {SIGHUP, SIGHUP}, SIGHUP, {"default", "default", "ignored", "ignored"}, kDefaults},
      {"hang-up after Ctrl-C", false, 1, {SIGINT, SIGHUP}, SIGINT, {"default", "default", "ignored", "ignored"},
       kDefaults},
      {"hang-up under nohup", true, 1, {SIGHUP}, 0, {"stop", "stop", "ignored", "ignored"},
       {"default", "default", "ignored", "default"}},
      {"no signal", false, 1, {}, 0, {"stop", "stop", "stop", "ignored"}, kDefaults},
      // The first update left SIGHUP ignored by the tool itself: the second still stops on it.
      {"hang-up in a second update", false, 2, {SIGHUP}, SIGHUP, {"default", "default", "ignored", "ignored"},
       kDefaults},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    for (const int signo : kSignals) signal(signo, SIG_DFL);
    signal(SIGHUP, c.hupIgnoredAtStart ? SIG_IGN : SIG_DFL);
    for (int n = 1; n < c.updates; ++n) {
      const UpdateInterruption earlier;
    }
    {
      const UpdateInterruption interruption;
      for (const int signo : c.raised) raise(signo);
      EXPECT_EQ(quarx::util::StopSignal(), c.stop);
      EXPECT_EQ(actions(), c.during);
    }
    // The error line and the final flush are still to come: a hang-up or a reader gone now must
    // not end the process (this one, the test's, included).
    EXPECT_EQ(actions(), (std::vector<std::string>{"default", "default", "ignored", "ignored"}));
    raise(SIGHUP);
    raise(SIGPIPE);
    ReleaseOutputSignals();
    EXPECT_EQ(actions(), c.released);
    quarx::util::ClearStopRequest();
  }
}

}  // namespace
}  // namespace fwupdate
