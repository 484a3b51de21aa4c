// The SDK device before it is connected, and the link-parameter node map it always has.
#include "camerasdk/PvDevice.h"

#include <gtest/gtest.h>

#include "camerasdk/PvDeviceGEV.h"
#include "camerasdk/PvGenBoolean.h"
#include "camerasdk/PvGenInteger.h"

namespace {

TEST(PvDevice, AnUnconnectedDeviceHasAnEmptyFeatureMapAndRefusesDeviceOperations) {
  PvDeviceGEV device;
  EXPECT_FALSE(device.IsConnected());
  EXPECT_EQ(device.GetParameters()->GetCount(), 0u);
  EXPECT_EQ(device.GetPayloadSize(), 0u);
  EXPECT_STREQ(device.GetMACAddress().GetAscii(), "");
  EXPECT_EQ(device.Disconnect().GetCode(), PvResult::Code::NOT_CONNECTED);
  EXPECT_EQ(device.StreamEnable(0).GetCode(), PvResult::Code::NOT_CONNECTED);
  EXPECT_EQ(device.NegotiatePacketSize(0).GetCode(), PvResult::Code::NOT_CONNECTED);
  uint8_t byte = 0;
  EXPECT_EQ(device.ReadMemory(&byte, 0, 1).GetCode(), PvResult::Code::NOT_CONNECTED);
  EXPECT_EQ(device.WriteMemory(&byte, 0, 1).GetCode(), PvResult::Code::NOT_CONNECTED);
}

TEST(PvDevice, AConnectionIdThatIsNoAddressIsRefusedBeforeAnythingIsSent) {
  PvDeviceGEV device;
  for (const char* id : {"", "camera-1", "127.0.0", "02:5e:c1:00:00:02", "127.0.0.256"}) {
    SCOPED_TRACE(id);
    const PvResult result = device.Connect(PvString(id), PvAccessControl);
    EXPECT_EQ(result.GetCode(), PvResult::Code::INVALID_PARAMETER);
    EXPECT_FALSE(device.IsConnected());
  }
}

TEST(PvDevice, LinkParametersAreKeptWithinTheirRange) {
  PvDeviceGEV device;
  PvGenParameterArray* link = device.GetCommunicationParameters();
  auto* answer = dynamic_cast<PvGenInteger*>(link->Get(PvString("AnswerTimeout")));
  ASSERT_NE(answer, nullptr);
  int64_t value = 0;
  ASSERT_TRUE(answer->GetValue(value).IsOK());
  EXPECT_EQ(value, 1000);
  EXPECT_TRUE(answer->SetValue(30000).IsOK());
  ASSERT_TRUE(answer->GetValue(value).IsOK());
  EXPECT_EQ(value, 30000);
  EXPECT_TRUE(answer->SetValue(0).IsFailure());
  int64_t minimum = 0;
  int64_t maximum = 0;
  EXPECT_TRUE(answer->GetMin(minimum).IsOK());
  EXPECT_TRUE(answer->GetMax(maximum).IsOK());
  EXPECT_LE(minimum, 1);
  EXPECT_GE(maximum, 60000);
  EXPECT_NE(link->Get(PvString("HeartbeatInterval")), nullptr);
  EXPECT_EQ(link->Get(PvString("NoSuchParameter")), nullptr);
  EXPECT_EQ(link->Get(link->GetCount()), nullptr);
}

TEST(PvDevice, IntegerAndBooleanTextIsReadWholeOrRefused) {
  PvDeviceGEV device;
  PvGenParameterArray* link = device.GetCommunicationParameters();
  PvGenParameter* retries = link->Get(PvString("CommandRetryCount"));
  ASSERT_NE(retries, nullptr);
  struct Case {
    const char* text;
    bool accepted;
    const char* readBack;
  };
  const Case integers[] = {
      {"7", true, "7"},        {"0x0A", true, "10"},   {"+5", true, "5"},
      {"5 ", false, nullptr},  {"5x", false, nullptr}, {"", false, nullptr},
      {"abc", false, nullptr}, {"0x", false, nullptr}, {"99999999999999999999", false, nullptr},
      {"- 5", false, nullptr},
  };
  for (const Case& c : integers) {
    SCOPED_TRACE(c.text);
    ASSERT_TRUE(retries->FromString(PvString("3")).IsOK());
    const PvResult result = retries->FromString(PvString(c.text));
    EXPECT_EQ(result.IsOK(), c.accepted) << result.GetDescription().GetAscii();
    PvString text;
    ASSERT_TRUE(retries->ToString(text).IsOK());
    EXPECT_STREQ(text.GetAscii(), c.accepted ? c.readBack : "3");
  }

  auto* disconnect = dynamic_cast<PvGenBoolean*>(link->Get(PvString("DisconnectOnAnyTimeout")));
  ASSERT_NE(disconnect, nullptr);
  const Case booleans[] = {
      {"true", true, "true"},   {"0", true, "false"},    {"1", true, "true"},
      {"false", true, "false"}, {"yes", false, nullptr}, {"", false, nullptr},
  };
  for (const Case& c : booleans) {
    SCOPED_TRACE(c.text);
    ASSERT_TRUE(disconnect->SetValue(false).IsOK());
    EXPECT_EQ(disconnect->FromString(PvString(c.text)).IsOK(), c.accepted);
    PvString text;
    ASSERT_TRUE(disconnect->ToString(text).IsOK());
    EXPECT_STREQ(text.GetAscii(), c.accepted ? c.readBack : "false");
  }
}

}  // namespace
