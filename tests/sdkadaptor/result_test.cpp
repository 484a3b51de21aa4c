// SDK results become log lines and adaptor exceptions with the right codes and texts.
#include "sdkadaptor/src/result.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "camerasdk/PvResult.h"
#include "tests/support/log_capture.h"

using quarx::sdkadaptor::ExceptionSdkAdaptor;
using quarx::sdkadaptor::Result;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST(Result, DefaultIsOkWithEmptyDescription) {
  Result r;
  EXPECT_EQ(r.GetCode(), 0u);
  EXPECT_EQ(r.GetCodeString(), "Ok");
  EXPECT_EQ(r.GetDescription(), "");
}

TEST(Result, KeepsListedCodesAndFoldsOthersToGenericError) {
  EXPECT_EQ(Result::CodeEnumFromUint(0x17), 0x17u);
  EXPECT_EQ(Result::CodeEnumFromUint(0x0B03), 0x0B03u);
  EXPECT_EQ(Result::CodeEnumFromUint(0xFFFF), 0xFFFFu);
  EXPECT_EQ(Result::CodeEnumFromUint(0x0002), 0x4000u);
  // The adaptor's own codes never come out of a conversion.
  EXPECT_EQ(Result::CodeEnumFromUint(0x100001), 0x4000u);
  EXPECT_EQ(Result(0x100001, "x", "y").GetCode(), 0x4000u);
}

TEST(Result, BuiltFromSdkResultCopiesTexts) {
  Result r(PvResult(0x1E, "took too long"));
  EXPECT_EQ(r.GetCode(), 0x1Eu);
  EXPECT_EQ(r.GetCodeString(), "Timeout");
  EXPECT_EQ(r.GetDescription(), "took too long");
}

TEST(Result, SuccessLogsOneTraceLineAndDoesNotThrow) {
  quarx::test::LogCapture log;
  PvResult ok;
  Result::LoggingPvResult(ok, "Connect");
  EXPECT_NO_THROW(Result::ThrowExceptionWhenError(ok, "device.cpp", 12));
  EXPECT_THAT(log.Lines(), ElementsAre("[trace] <Connect> Result(OK), Description()"));
}

TEST(Result, FailureOutsideKeptCodesThrowsGenericErrorWithSdkTexts) {
  quarx::test::LogCapture log;
  PvResult failed(0x0002, "odd failure");
  Result::LoggingPvResult(failed, "DisConnect");
  try {
    Result::ThrowExceptionWhenError(failed, "device.cpp", 40);
    FAIL() << "no exception";
  } catch (const ExceptionSdkAdaptor& e) {
    EXPECT_EQ(e.GetCode(), 0x4000u);
    EXPECT_EQ(e.GetCodeString(), "Unknown");
    EXPECT_EQ(e.GetDescription(), "odd failure");
  }
  EXPECT_THAT(log.Lines(), ElementsAre("[error] <DisConnect> Result(Unknown), Description(odd failure)",
                                       "[warning] ThrowExceptionWhenError Result(Unknown) File(device.cpp) Line(40)"));
}

TEST(Result, BusyResultsThrowDeviceBusy) {
  for (const PvResult& busy : {PvResult(0x202, "busy"), PvResult(0x4000, 0x4000, "busy")}) {
    EXPECT_TRUE(Result::IsBusy(busy));
    try {
      Result::ThrowExceptionWhenError(busy, "f", 1);
      FAIL() << "no exception";
    } catch (const ExceptionSdkAdaptor& e) {
      EXPECT_EQ(e.GetCode(), 0x202u);
      EXPECT_EQ(e.GetCodeString(), "Device BUSY");
      EXPECT_EQ(e.GetDescription(), "busy");
    }
  }
  EXPECT_FALSE(Result::IsBusy(PvResult(0x4000, 0x17, "generic")));
}

TEST(ExceptionSdkAdaptor, TwoArgumentFormTakesCodeStringFromTable) {
  EXPECT_EQ(ExceptionSdkAdaptor(26, "d").GetCodeString(), "NotSupported");
  EXPECT_EQ(ExceptionSdkAdaptor(0x100001, "").GetCodeString(), "InvalidParameterIndex");
  EXPECT_EQ(ExceptionSdkAdaptor(0x1000003, "").GetCodeString(), "InvalidParameterType");
  EXPECT_THROW(ExceptionSdkAdaptor(0x1E, "timeout"), std::out_of_range);
}
