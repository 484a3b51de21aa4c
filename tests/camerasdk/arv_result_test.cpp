// How Aravis errors become SDK results.
#include "camerasdk/arv_result.h"

#include <gtest/gtest.h>

namespace camerasdk_detail {
namespace {

TEST(ArvResult, AravisErrorsMapToTheCodesTheAdaptorKnows) {
  const struct {
    ArvErrorDomain domain;
    int code;
    std::uint32_t expected;
    const char* codeString;
  } kCases[] = {
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
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.codeString + std::string(" from ") + std::to_string(c.code));
    const PvResult result = ResultFromArvError(c.domain, c.code, "[Width] Value out of range");
    EXPECT_EQ(result.GetCode(), c.expected);
    EXPECT_STREQ(result.GetCodeString().GetAscii(), c.codeString);
    EXPECT_STREQ(result.GetDescription().GetAscii(), "[Width] Value out of range");
  }
}

}  // namespace
}  // namespace camerasdk_detail
