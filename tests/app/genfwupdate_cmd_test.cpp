// Conversion of a command's option texts into the values each operation takes.
#include "app/genfwupdate_cmd.h"

#include <string>

#include <gtest/gtest.h>

namespace fwupdate {
namespace {

GenicamFWUpdateCmd Cmd(Operation operation, const OptionList& options) {
  GenicamFWUpdateCmd cmd(operation, "pkg.guf");
  cmd.SetOptions(options);
  return cmd;
}

TEST(OperationSettings, DefaultsWithoutOptions) {
  const auto list = GetDeviceListSettings(Cmd(Operation::DeviceList, {}));
  EXPECT_EQ(list.timeoutMs, 1500u);

  const auto info = GetFileInfoSettings(Cmd(Operation::FileInfo, {}));
  EXPECT_EQ(info.deviceNumber, -1);
  EXPECT_FALSE(info.noTest);
  EXPECT_EQ(info.timeoutMs, 1500u);

  const auto update = GetUpdateSettings(Cmd(Operation::Update, {}));
  EXPECT_EQ(update.deviceNumber, 0);
  EXPECT_EQ(update.timeoutMs, 1500u);
  EXPECT_FALSE(update.noPrompt);
  EXPECT_FALSE(update.silent);
}

struct NumberCase {
  std::string text;
  int updateDevice;
  int fileInfoDevice;
};

void PrintTo(const NumberCase& c, std::ostream* os) { *os << "'" << c.text << "'"; }

class DeviceNumberText : public ::testing::TestWithParam<NumberCase> {};

TEST_P(DeviceNumberText, ConvertsLikeStoiThenNarrowsPerOperation) {
  const NumberCase& c = GetParam();
  EXPECT_EQ(GetUpdateSettings(Cmd(Operation::Update, {{Option::Device, c.text}})).deviceNumber, c.updateDevice);
  EXPECT_EQ(GetFileInfoSettings(Cmd(Operation::FileInfo, {{Option::Device, c.text}})).deviceNumber,
            c.fileInfoDevice);
}

INSTANTIATE_TEST_SUITE_P(Texts, DeviceNumberText,
                         ::testing::Values(NumberCase{"0", 0, 0}, NumberCase{"3", 3, 3}, NumberCase{"12abc", 12, 12},
                                           NumberCase{"  +5", 5, 5}, NumberCase{"70000", 4464, 4464},
                                           NumberCase{"65535", 65535, -1}, NumberCase{"-1", 65535, -1},
                                           NumberCase{"32768", 32768, -32768}));

TEST(OperationSettings, LastOccurrenceOfAnOptionWins) {
  const auto update = GetUpdateSettings(Cmd(
      Operation::Update,
      {{Option::Device, "1"}, {Option::Device, "2"}, {Option::TimeoutMs, "100"}, {Option::TimeoutMs, "250"}}));
  EXPECT_EQ(update.deviceNumber, 2);
  EXPECT_EQ(update.timeoutMs, 250u);
  EXPECT_EQ(GetDeviceListSettings(Cmd(Operation::DeviceList, {{Option::TimeoutMs, "9"}, {Option::TimeoutMs, "12x"}}))
                .timeoutMs,
            12u);
}

TEST(OperationSettings, DiscoveryTimeFromZeroToIntMaxIsTakenAsGiven) {
  EXPECT_EQ(GetDeviceListSettings(Cmd(Operation::DeviceList, {{Option::TimeoutMs, "0"}})).timeoutMs, 0u);
  EXPECT_EQ(GetUpdateSettings(Cmd(Operation::Update, {{Option::TimeoutMs, " 2147483647"}})).timeoutMs, 2147483647u);
}

TEST(OperationSettings, FlagsAreTakenByPresenceAndUnusedOptionsIgnored) {
  const OptionList all{{Option::Device, "abc"},   {Option::NoPrompt, ""},   {Option::NoTest, ""},
                       {Option::Silent, ""},      {Option::TimeoutMs, "7"}, {Option::Log, "x"},
                       {Option::LogLevel, "bad"}};
  // The device list reads only the discovery time, so a device text that is no number does not matter.
  EXPECT_EQ(GetDeviceListSettings(Cmd(Operation::DeviceList, all)).timeoutMs, 7u);

  OptionList forUpdate = all;
  forUpdate.front().second = "4";
  const auto update = GetUpdateSettings(Cmd(Operation::Update, forUpdate));
  EXPECT_TRUE(update.noPrompt);
  EXPECT_TRUE(update.silent);
  EXPECT_EQ(update.deviceNumber, 4);

  const auto info = GetFileInfoSettings(Cmd(Operation::FileInfo, forUpdate));
  EXPECT_TRUE(info.noTest);
  EXPECT_EQ(info.timeoutMs, 7u);
}

struct BadValueCase {
  Operation operation;
  OptionList options;
  std::string error;
};

void PrintTo(const BadValueCase& c, std::ostream* os) { *os << c.error; }

class BadOptionValue : public ::testing::TestWithParam<BadValueCase> {};

TEST_P(BadOptionValue, IsACommandLineErrorNamingLabelAndText) {
  const BadValueCase& c = GetParam();
  const auto cmd = Cmd(c.operation, c.options);
  try {
    switch (c.operation) {
      case Operation::DeviceList:
        GetDeviceListSettings(cmd);
        break;
      case Operation::FileInfo:
        GetFileInfoSettings(cmd);
        break;
      default:
        GetUpdateSettings(cmd);
        break;
    }
    FAIL() << "no error for " << c.error;
  } catch (const ExceptionCmdParse& e) {
    EXPECT_EQ(std::string(e.what()), c.error);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Values, BadOptionValue,
    ::testing::Values(
        BadValueCase{Operation::Update, {{Option::Device, "abc"}}, "Invalid operation option(Device idx) value(abc)"},
        BadValueCase{Operation::Update,
                     {{Option::Device, "99999999999"}},
                     "Invalid operation option(Device idx) value(99999999999)"},
        BadValueCase{Operation::FileInfo, {{Option::Device, ""}}, "Invalid operation option(Device idx) value()"},
        // An earlier good value does not save a later bad one.
        BadValueCase{Operation::Update,
                     {{Option::Device, "1"}, {Option::Device, "x1"}},
                     "Invalid operation option(Device idx) value(x1)"},
        BadValueCase{Operation::DeviceList,
                     {{Option::TimeoutMs, "99999999999"}},
                     "Invalid operation option(Timeout) value(99999999999)"},
        BadValueCase{Operation::FileInfo, {{Option::TimeoutMs, "ms"}}, "Invalid operation option(Timeout) value(ms)"},
        // A negative time that slipped past the parser's '-' check would wrap into weeks of discovery.
        BadValueCase{Operation::DeviceList, {{Option::TimeoutMs, " -5"}}, "Invalid operation option(Timeout) value( -5)"},
        BadValueCase{Operation::FileInfo, {{Option::TimeoutMs, " -1"}}, "Invalid operation option(Timeout) value( -1)"},
        BadValueCase{Operation::Update, {{Option::TimeoutMs, "\t-2147483648"}},
                     "Invalid operation option(Timeout) value(\t-2147483648)"}));

}  // namespace
}  // namespace fwupdate
