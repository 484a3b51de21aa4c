// How Aravis errors become SDK results.
#include "camerasdk/arv_result.h"

#include <gtest/gtest.h>

namespace camerasdk_detail {
namespace {

constexpr std::uint32_t kBusyMark = PvResult::Code::GENERIC_ERROR;

TEST(ArvResult, AravisErrorsMapToTheCodesTheAdaptorKnows) {
  struct Case {
    ArvErrorDomain domain;
    int code;
    std::uint32_t expected;
    const char* codeString;
  };
  const Case cases[] = {
      {ArvErrorDomain::kDevice, arv_error::kDeviceTimeout, 0x1E, "Timeout"},
      {ArvErrorDomain::kIo, arv_error::kIoTimedOut, 0x1E, "Timeout"},
      {ArvErrorDomain::kDevice, arv_error::kDeviceNotConnected, 0x17, "NotConnected"},
      {ArvErrorDomain::kDevice, arv_error::kDeviceProtocolNotImplemented, 0x1A, "NotSupported"},
      {ArvErrorDomain::kGenicam, arv_error::kGenicamSetFromStringUndefined, 0x1A, "NotSupported"},
      {ArvErrorDomain::kGenicam, arv_error::kGenicamGetAsStringUndefined, 0x1A, "NotSupported"},
      {ArvErrorDomain::kGenicam, arv_error::kGenicamNoEventImplementation, 0x1A, "NotSupported"},
      {ArvErrorDomain::kDevice, arv_error::kDeviceProtocolBusy, 0x202, "Busy"},
      {ArvErrorDomain::kDevice, 0, 0x4000, "GenericError"},
      {ArvErrorDomain::kGenicam, 4, 0x4000, "GenericError"},
      {ArvErrorDomain::kOther, arv_error::kDeviceTimeout, 0x4000, "GenericError"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.codeString + std::string(" from ") + std::to_string(c.code));
    const PvResult result = ResultFromArvError(c.domain, c.code, "[Width] Value out of range");
    EXPECT_TRUE(result.IsFailure());
    EXPECT_EQ(result.GetCode(), c.expected);
    EXPECT_STREQ(result.GetCodeString().GetAscii(), c.codeString);
    EXPECT_STREQ(result.GetDescription().GetAscii(), "[Width] Value out of range");
  }
}

TEST(ArvResult, AGenericFailureNeverCarriesTheInternalCodeThatMeansBusy) {
  // The adaptor reads a generic code with a generic internal code as "device busy".
  EXPECT_NE(ResultFromArvError(ArvErrorDomain::kDevice, 0, "x").GetInternalCode(), kBusyMark);
  EXPECT_NE(Failure(PvResult::Code::GENERIC_ERROR, "Node is not writable").GetInternalCode(), kBusyMark);
  EXPECT_EQ(Failure(PvResult::Code::TIMEOUT, "late").GetInternalCode(), PvResult::Code::TIMEOUT);
}

}  // namespace
}  // namespace camerasdk_detail
