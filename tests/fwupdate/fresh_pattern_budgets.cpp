// Linked into every test program that matches patterns in its own process: each test starts with
// the pattern budgets of a new command, as each run of the tool does, so a test passes whether
// it runs alone, in a process of its own (ctest) or after every other test of its program.
#include <gtest/gtest.h>

#include "core/libstatic_fwupdate/pattern_match.h"

namespace {

class FreshPatternBudgets : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override { quarx::core::fwupdate::StartPatternBudgetsAfresh(); }
};

// GoogleTest owns the listener once it is appended.
const bool kRegistered = [] {
  ::testing::UnitTest::GetInstance()->listeners().Append(new FreshPatternBudgets);
  return true;
}();

}  // namespace
