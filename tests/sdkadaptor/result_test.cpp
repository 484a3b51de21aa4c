// SDK results become log lines and adaptor exceptions with the right codes and texts.
#include "sdkadaptor/src/result.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "camerasdk/PvResult.h"
#include "tests/support/log_capture.h"
#include "tests/support/thrown_adaptor_exception.h"

namespace quarx::sdkadaptor {
namespace {

using quarx::test::Thrown;
using ::testing::ElementsAre;

TEST(Result, KeepsListedCodesFoldsOthersToGenericErrorAndBusyOnesToDeviceBusy) {
  EXPECT_EQ(Result().GetCodeString(), "Ok");
  for (const unsigned int kept : {0x17u, 0x0B03u, 0xFFFFu}) {
    EXPECT_EQ(Result::CodeEnumFromUint(kept), kept);
  }
  EXPECT_EQ(Result::CodeEnumFromUint(0x0002), 0x4000u);
  EXPECT_EQ(Result(0x100001, "x", "y").GetCode(), 0x4000u);
  const Result timeout(PvResult(0x1E, "took too long"));
  EXPECT_EQ(timeout.GetCodeString() + "/" + timeout.GetDescription(), "Timeout/took too long");
  EXPECT_EQ(ExceptionSdkAdaptor(0x100001, "").GetCodeString(), "InvalidParameterIndex");
  EXPECT_THROW(ExceptionSdkAdaptor(0x1E, "timeout"), std::out_of_range);
  for (const PvResult& busy : {PvResult(0x202, "busy"), PvResult(0x4000, 0x4000, "busy")}) {
    EXPECT_TRUE(Result::IsBusy(busy));
    const ExceptionSdkAdaptor e = Thrown([&] { Result::ThrowExceptionWhenError(busy, "f", 1); });
    EXPECT_EQ(e.GetCodeString() + "/" + e.GetDescription() + "/" + std::to_string(e.GetCode()), "Device BUSY/busy/514");
  }
  EXPECT_FALSE(Result::IsBusy(PvResult(0x4000, 0x17, "generic")));
}

TEST(Result, SuccessLogsOneTraceLineAndAFailureAnErrorAndAWarningLineAndThrows) {
  quarx::test::LogCapture log;
  Result::LoggingPvResult(PvResult(), "Connect");
  EXPECT_NO_THROW(Result::ThrowExceptionWhenError(PvResult(), "device.cpp", 12));
  const PvResult failed(0x0002, "odd failure");
  Result::LoggingPvResult(failed, "DisConnect");
  const ExceptionSdkAdaptor e = Thrown([&] { Result::ThrowExceptionWhenError(failed, "device.cpp", 40); });
  EXPECT_EQ(e.GetCode(), 0x4000u);
  EXPECT_EQ(e.GetCodeString() + "/" + e.GetDescription(), "Unknown/odd failure");
  EXPECT_THAT(log.Lines(), ElementsAre("[trace] <Connect> Result(OK), Description()",
                                       "[error] <DisConnect> Result(Unknown), Description(odd failure)",
                                       "[warning] ThrowExceptionWhenError Result(Unknown) File(device.cpp) Line(40)"));
}

}  // namespace
}  // namespace quarx::sdkadaptor
