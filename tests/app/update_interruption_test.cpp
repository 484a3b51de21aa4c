// What SIGINT and SIGTERM do while an update runs: a handled signal only asks for a stop and
// hands both signals back to their default action, so that a second one ends the tool at once;
// a signal ignored when the tool started stays ignored; afterwards the old actions are back.
#include "app/update_interruption.h"

#include <signal.h>

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace fwupdate
