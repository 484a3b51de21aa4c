// The update engine's exception: codes, message and its one warning line, which a copy does not repeat.
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
    const fwupdate::FWUpdateException copy(e);
  }
  const core::fwupdate::FWUpdateExceptionImpl empty("FeatureExecute", 7, ERR_FEATURE, "");
  EXPECT_STREQ(empty.what(), "");
  EXPECT_THAT(log.Lines(),
              ElementsAre("[warning] <FeatureWrite:123>throw FWUpdateException err_code_detail(4002) msg(step failed)",
                          "[warning] <FeatureExecute:7>throw FWUpdateException err_code_detail(3000) msg()"));
}
