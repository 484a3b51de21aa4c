// The exception family: codes, messages, the one warning line, and feature-error classification.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/exception_acqusition_impl.h"
#include "core/exception_connect_impl.h"
#include "core/exception_core_impl.h"
#include "core/exception_feature_impl.h"
#include "core/exception_stream_impl.h"
#include "sdkadaptor/src/exception_sdk_adaptor.h"
#include "tests/support/log_capture.h"

using namespace quarx;
using ::testing::ElementsAre;

TEST(CoreException, AreaClassesFixTheirResultCodeAndLogOneWarningWhileTheBaseLogsNothing) {
  test::LogCapture log;
  EXPECT_EQ(core::ConnectExceptionImpl("GetFeatures", 77, ERR_NOT_CONNECTED,
                                       core::ConnectExceptionImpl::ERRMSG_NOT_CONNECTED)
                .GetResultCode(),
            2);
  EXPECT_EQ(core::StreamExceptionImpl("f", 1, ERR_STREAM_CREATE, "m").GetResultCode(), 3);
  EXPECT_EQ(core::AcqusitionExceptionImpl("f", 1, ERR_ACQUSITION_START, "m").GetResultCode(), 1);
  EXPECT_EQ(core::FeatureExceptionImpl("f", 1, ERR_FEATURE, "").GetResultCode(), 9);
  EXPECT_EQ(core::CoreExceptionImpl("Create", RESULT_DEVICE, ERR_INVALID_DEVICE_TYPE, "m").GetResultCode(), 7);
  EXPECT_THAT(
      log.Lines(),
      ElementsAre("[warning] <GetFeatures:77>throw ConnectException err_code_detail(4) msg(Not connected to camera.)",
                  "[warning] <f:1>throw StreamException err_code_detail(6000) msg(m)",
                  "[warning] <f:1>throw AcqusitionException err_code_detail(1002) msg(m)",
                  "[warning] <f:1>throw FeatureException err_code_detail(3000) msg()"));
  EXPECT_EQ(core::SdkAdaptorMessage(sdkadaptor::ExceptionSdkAdaptor(0x4000, "GenericError", "boom")),
            "GenericError, boom");
}

TEST(FeatureExceptionCreate, ClassifiesByAccessTextInOrder) {
  const std::pair<const char*, int> cases[] = {
      {"Node is not writable", 3002}, {"x Node is not writable; Node is not readable", 3002},
      {"Node is not readable", 3001}, {"Node is not available", 3001},
      {"node is not writable", 900},  {"", 900},
  };
  for (const auto& [description, detail] : cases) {
    test::LogCapture log;
    auto e = core::FeatureExceptionImpl::Create("SetValue", 9, "Gain", 0x4000, description);
    EXPECT_EQ(e.GetErrCodeDetail(), detail) << description;
    EXPECT_EQ(e.what(), std::string(description));
    // Only what is left unclassified gets an error line before the warning.
    ASSERT_EQ(log.Lines().size(), detail == 900 ? 2u : 1u);
    if (detail == 900) {
      EXPECT_EQ(log.Lines()[0], std::string("[error] <SetValue> Gain is ") + description);
    }
  }
}
