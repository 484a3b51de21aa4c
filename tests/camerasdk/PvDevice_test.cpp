// The SDK device before it is connected, and the link-parameter node map it always has.
#include "camerasdk/PvDevice.h"

#include <gtest/gtest.h>

#include "camerasdk/PvDeviceGEV.h"

namespace {

TEST(PvDevice, AnUnconnectedDeviceRefusesDeviceOperationsAndConnectionIdsThatAreNoAddress) {
  PvDeviceGEV device;
  uint8_t byte = 0;
  EXPECT_EQ(device.Disconnect().GetCode(), PvResult::Code::NOT_CONNECTED);
  EXPECT_EQ(device.StreamEnable(0).GetCode(), PvResult::Code::NOT_CONNECTED);
  EXPECT_EQ(device.ReadMemory(&byte, 0, 1).GetCode(), PvResult::Code::NOT_CONNECTED);
  EXPECT_EQ(device.WriteMemory(&byte, 0, 1).GetCode(), PvResult::Code::NOT_CONNECTED);
  // Refused before anything is sent.
  for (const char* id : {"", "camera-1", "127.0.0", "02:5e:c1:00:00:02", "127.0.0.256"}) {
    EXPECT_EQ(device.Connect(PvString(id), PvAccessControl).GetCode(), PvResult::Code::INVALID_PARAMETER) << id;
    EXPECT_FALSE(device.IsConnected());
  }
}

TEST(PvDevice, LinkParameterTextIsReadWholeAndWithinRangeOrRefused) {
  PvDeviceGEV device;
  PvGenParameterArray* link = device.GetCommunicationParameters();
  const struct {
    const char* node;
    const char* text;
    const char* readBack;  // nullptr: refused, the value before stays
  } kCases[] = {
      {"AnswerTimeout", "30000", "30000"},
      {"AnswerTimeout", "0", nullptr},
      {"CommandRetryCount", "0x0A", "10"},
      {"CommandRetryCount", "+5", "5"},
      {"CommandRetryCount", "5 ", nullptr},
      {"CommandRetryCount", "", nullptr},
      {"CommandRetryCount", "0x", nullptr},
      {"CommandRetryCount", "99999999999999999999", nullptr},
      {"CommandRetryCount", "- 5", nullptr},
      {"DisconnectOnAnyTimeout", "1", "true"},
      {"DisconnectOnAnyTimeout", "true", "true"},
      {"DisconnectOnAnyTimeout", "yes", nullptr},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.node) + " '" + c.text + "'");
    PvGenParameter* node = link->Get(PvString(c.node));
    ASSERT_NE(node, nullptr);
    PvString before;
    ASSERT_TRUE(node->ToString(before).IsOK());
    EXPECT_EQ(node->FromString(PvString(c.text)).IsOK(), c.readBack != nullptr);
    PvString text;
    ASSERT_TRUE(node->ToString(text).IsOK());
    EXPECT_STREQ(text.GetAscii(), c.readBack != nullptr ? c.readBack : before.GetAscii());
  }
}

}  // namespace
