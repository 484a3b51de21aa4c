// The update engine's exception: codes, message and its one warning line, which a copy does not repeat.
#include <gmock/gmock.h>

#include "core/libstatic_fwupdate/exception_update_impl.h"
#include "tests/support/log_capture.h"

using namespace quarx;
using ::testing::ElementsAre;

TEST(FWUpdateExceptionImpl, CarriesResultFiveDetailAndMessageAndLogsOneWarning) {
  test::LogCapture log;
  const core::fwupdate::FWUpdateExceptionImpl thrown("FeatureWrite", 123, ERR_UPDATE_STEP, "step failed");
  const fwupdate::FWUpdateException copy(thrown);
  EXPECT_EQ(copy.GetResultCode(), 5);
  EXPECT_EQ(copy.GetErrCodeDetail(), 4002);
  EXPECT_STREQ(copy.what(), "step failed");
  EXPECT_STREQ(core::fwupdate::FWUpdateExceptionImpl("FeatureExecute", 7, ERR_FEATURE, "").what(), "");
  EXPECT_THAT(log.Lines(),
              ElementsAre("[warning] <FeatureWrite:123>throw FWUpdateException err_code_detail(4002) msg(step failed)",
                          "[warning] <FeatureExecute:7>throw FWUpdateException err_code_detail(3000) msg()"));
}
