// The update engine's exception: codes, message and its one warning line.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/libstatic_fwupdate/exception_update_impl.h"
#include "tests/support/log_capture.h"

using namespace quarx;
using ::testing::ElementsAre;

TEST(FWUpdateExceptionImpl, CarriesResultFiveDetailAndMessageAndLogsOneWarning) {
  test::LogCapture log;
  try {
    throw core::fwupdate::FWUpdateExceptionImpl("FeatureWrite", 123, ERR_UPDATE_STEP, "step failed");
  } catch (const fwupdate::FWUpdateException& e) {
    EXPECT_EQ(e.GetResultCode(), 5);
    EXPECT_EQ(e.GetErrCodeDetail(), 4002);
    EXPECT_STREQ(e.what(), "step failed");
  }
  EXPECT_THAT(log.Lines(),
              ElementsAre("[warning] <FeatureWrite:123>throw FWUpdateException err_code_detail(4002) msg(step failed)"));
}

TEST(FWUpdateExceptionImpl, IsCaughtAsCoreExceptionAndAllowsAnEmptyMessage) {
  test::LogCapture log;
  try {
    throw core::fwupdate::FWUpdateExceptionImpl("FeatureExecute", 7, ERR_FEATURE, "");
  } catch (const CoreException& e) {
    EXPECT_STREQ(e.what(), "");
    EXPECT_EQ(e.GetErrCodeDetail(), 3000);
  }
  EXPECT_THAT(log.Lines(), ElementsAre("[warning] <FeatureExecute:7>throw FWUpdateException err_code_detail(3000) msg()"));
}

TEST(FWUpdateExceptionImpl, CopiesLogNothing) {
  const core::fwupdate::FWUpdateExceptionImpl original("GetUpdates", 1, ERR_UPDATE_ZIP, "m");
  test::LogCapture log;
  const fwupdate::FWUpdateException copy(original);
  EXPECT_EQ(copy.GetErrCodeDetail(), 4003);
  EXPECT_TRUE(log.Lines().empty());
}
