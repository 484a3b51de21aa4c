// USB3 Vision records completed from each camera's bootstrap texts, as the camera holds them;
// a camera that cannot be read, or that Aravis could mistake for another, is listed all the same.
#include "camerasdk/uv_discovery.h"

#include <csignal>

#include <gtest/gtest.h>

#include "camerasdk/PvDeviceInfoU3V.h"
#include "tests/support/log_capture.h"
#include "tests/support/usb_cameras.h"
#include "util/stop_request.h"

namespace camerasdk {
namespace {

using quarx::test::kDeviceVersionRegister;
using quarx::test::kSerialNumberRegister;
using quarx::test::kUserDefinedNameRegister;
using quarx::test::ScriptedUsbBus;
using quarx::test::UsbCamera;
using Texts = std::vector<std::string>;

const std::string kNotRead = " of the USB3 Vision camera 2-";

struct Discovery {
  std::vector<std::unique_ptr<PvDeviceInfo>> devices;
  Texts warnings;
};

Discovery Discover(ScriptedUsbBus& bus) {
  std::vector<PvDeviceIdentity> listed;
  bus.List(listed);
  quarx::test::LogCapture log;
  Discovery discovery;
  AddUsb3VisionRecords(bus, listed, nullptr, discovery.devices);
  discovery.warnings = log.Lines();
  return discovery;
}

Texts TextsOf(const PvDeviceInfo& device) {
  return {device.GetVersion().GetAscii(), device.GetUserDefinedName().GetAscii(),
          dynamic_cast<const PvDeviceInfoU3V&>(device).GetBootstrapSerialNumber().GetAscii()};
}

// Each text is read on its own: the user-defined name is optional in GenCP, and a camera that
// refuses it must still tell its version, which conditions and the check after a flash match.
TEST(Usb3VisionListing, ReadsEachTextUpToTheFirstNulOnItsOwnAndListsACameraThatCannotBeReadWithOneWarning) {
  const std::string full(kUvTextLength, 'V');
  const std::string notUtf8 = std::string(kUvTextLength - 2, 'N') + "\xff\xfe";
  const std::vector<std::pair<UsbCamera, Texts>> rows = {
      {{full, notUtf8, {}, "0123456789ABCDEF01234567"}, {full, notUtf8, "SN1"}},
      {{std::string("2.0.0\0junk", 10), "Line 3", {}, {}, {}, "VLM-0002"}, {"2.0.0", "Line 3", "VLM-0002"}},
      {{"", "", {}, {}, {}, ""}, {"", "", ""}},
      {{"2.0.0", "Line 3", {0x0184}}, {"2.0.0", "", "SN4"}},
      {{"2.0.0", "Line 3", {0x00C4}}, {"", "Line 3", "SN5"}},
      {{"2.0.0", "Line 3", {0x00C4, 0x0184}}, {"", "", "SN6"}},
      {{"2.0.0", "Line 3", {0x0144}}, {"2.0.0", "Line 3", ""}},
  };
  std::vector<UsbCamera> cameras;
  for (const auto& row : rows) cameras.push_back(row.first);
  ScriptedUsbBus bus(cameras);
  const Discovery discovery = Discover(bus);
  ASSERT_EQ(discovery.devices.size(), rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(TextsOf(*discovery.devices[i]), rows[i].second) << i;
    // The GUID of the camera's descriptor, not its serial number standing in.
    EXPECT_EQ(dynamic_cast<const PvDeviceInfoU3V&>(*discovery.devices[i]).GetDeviceGUID().GetAscii(),
              rows[i].first.guid.value_or("GUID-" + std::to_string(i + 1)))
        << i;
  }
  const std::string refused = " not read: Result(GenericError), Description(refused)";
  EXPECT_EQ(
      discovery.warnings,
      (Texts{"[warning] <Find> User-defined name" + kNotRead + "4 (FWCAM-U, serial number SN4)" + refused,
             "[warning] <Find> Version" + kNotRead + "5 (FWCAM-U, serial number SN5)" + refused,
             "[warning] <Find> Version and user-defined name" + kNotRead + "6 (FWCAM-U, serial number SN6)" + refused,
             "[warning] <Find> Serial number" + kNotRead + "7 (FWCAM-U, serial number SN7)" + refused}));
  EXPECT_EQ(bus.reads.size(), 3 * rows.size());

  // After a stop request no camera is opened: each read would be one more wait.
  quarx::util::RequestStop(SIGINT);
  std::vector<PvDeviceIdentity> listed;
  bus.List(listed);
  std::vector<std::unique_ptr<PvDeviceInfo>> devices;
  AddUsb3VisionRecords(bus, listed, nullptr, devices);
  quarx::util::ClearStopRequest();
  EXPECT_EQ(devices.size(), rows.size());
  EXPECT_EQ(bus.opens, static_cast<int>(rows.size()));
}

// A camera that does not answer costs one wait, not one per register, and the warning names
// every text left unread.
TEST(Usb3VisionListing, ACameraSilentOnOneReadIsNotReadFurther) {
  const std::string silent = " not read: Result(Timeout), Description(no answer)";
  const struct {
    std::uint64_t silentAt;
    std::vector<std::uint64_t> reads;
    Texts texts;
    std::string warning;
  } rows[] = {
      {kDeviceVersionRegister, {kDeviceVersionRegister}, {"", "", ""}, "Version, user-defined name and serial number"},
      {kUserDefinedNameRegister,
       {kDeviceVersionRegister, kUserDefinedNameRegister},
       {"2.0.0", "", ""},
       "User-defined name and serial number"},
      {kSerialNumberRegister,
       {kDeviceVersionRegister, kUserDefinedNameRegister, kSerialNumberRegister},
       {"2.0.0", "Line 3", ""},
       "Serial number"},
  };
  for (const auto& row : rows) {
    ScriptedUsbBus bus({{"2.0.0", "Line 3", {}, {}, {row.silentAt}}});
    const Discovery discovery = Discover(bus);
    EXPECT_EQ(bus.reads, row.reads) << row.warning;
    EXPECT_EQ(TextsOf(*discovery.devices.at(0)), row.texts) << row.warning;
    EXPECT_EQ(discovery.warnings,
              Texts{"[warning] <Find> " + row.warning + kNotRead + "1 (FWCAM-U, serial number SN1)" + silent});
  }
}

// Ctrl-C during a camera's reads is not held by its further reads.
TEST(Usb3VisionListing, AStopBetweenTwoReadsEndsTheCamerasReads) {
  int reads = 0;
  UvBootstrapTexts texts;
  const UvBootstrapReads results = ReadUvBootstrapTexts(
      [&reads](std::uint64_t, std::uint32_t size, std::uint8_t* bytes) {
        ++reads;
        quarx::util::RequestStop(SIGINT);
        std::fill_n(bytes, size, 0);
        bytes[0] = '2';
        return PvResult();
      },
      texts);
  quarx::util::ClearStopRequest();
  EXPECT_EQ(reads, 1);
  EXPECT_EQ(texts.device_version, "2");
  EXPECT_TRUE(results.device_version.IsOK());
  for (const PvResult* result : {&results.user_defined_name, &results.serial_number}) {
    EXPECT_EQ(result->GetCode(), PvResult::Code::ABORTED);
    EXPECT_EQ(result->GetDescription().GetAscii(), std::string("a stop was requested"));
  }
}

// Aravis opens a USB3 Vision camera by its GUID alone: a camera is chosen only when its id names
// one listed device and its GUID names no other.
TEST(Usb3VisionListing, ACameraIsChosenOnlyWhenItsGuidTellsItApart) {
  const auto listing = [](std::vector<std::string> guids, std::vector<std::string> ids = {}) {
    std::vector<PvDeviceIdentity> entries;
    for (std::size_t i = 0; i < guids.size(); ++i) {
      PvDeviceIdentity entry;
      entry.connection_id = i < ids.size() ? ids[i] : "2-" + std::to_string(i + 1);
      entry.model_name = "FWCAM-U";
      entry.serial_number = "SN" + std::to_string(i + 1);
      entry.device_guid = guids[i];
      entries.push_back(entry);
    }
    return entries;
  };
  const std::string camera = "The USB3 Vision camera 2-1 (FWCAM-U, serial number SN1) ";
  const struct {
    const char* name;
    std::vector<PvDeviceIdentity> listing;
    std::string refusal;  // none: chosen
  } rows[] = {
      {"unique GUID", listing({"GUID-A", "GUID-B"}), ""},
      {"GUID shared by two cameras", listing({"GUID-A", "GUID-A", "GUID-B"}),
       camera + "cannot be told apart: its GUID GUID-A is held by 2 listed devices, and Aravis opens a camera by "
                "its GUID alone: it would open the first of them it finds"},
      {"empty GUID", listing({"", "GUID-B"}),
       camera + "has no GUID (1 listed device without one), and Aravis opens a camera by its GUID alone: it would "
                "open the first USB device it finds without one"},
      {"empty GUID of two cameras", listing({"", ""}),
       camera + "has no GUID (2 listed devices without one), and Aravis opens a camera by its GUID alone: it would "
                "open the first USB device it finds without one"},
      {"id not listed", listing({"GUID-A"}, {"2-9"}), "No USB3 Vision device with id 2-1"},
      {"id of two cameras", listing({"GUID-A", "GUID-B"}, {"2-1", "2-1"}),
       "The id 2-1 is held by 2 listed devices (FWCAM-U, serial number SN1, GUID GUID-A; FWCAM-U, serial number "
       "SN2, GUID GUID-B): which of them it names cannot be told"},
  };
  for (const auto& row : rows) {
    const UsbCameraChoice choice = ChooseUsbCamera(row.listing, "2-1");
    EXPECT_EQ(choice.refusal.GetDescription().GetAscii(), row.refusal) << row.name;
    EXPECT_EQ(choice.refusal.IsOK(), row.refusal.empty()) << row.name;
    EXPECT_EQ(choice.camera.device_guid, row.refusal.empty() ? "GUID-A" : "") << row.name;
  }
}

// Discovery lists a camera that Aravis could mistake for another, but reads nothing from it:
// its texts would come from whichever device Aravis finds first.
TEST(Usb3VisionListing, ACameraWhoseGuidDoesNotTellItApartIsListedUnread) {
  ScriptedUsbBus bus({{"1.0.0", "A", {}, "GUID-A"},
                      {"2.0.0", "B", {}, "GUID-A"},
                      {"3.0.0", "C", {}, ""},
                      {"4.0.0", "D", {}, "GUID-D"}});
  const Discovery discovery = Discover(bus);
  ASSERT_EQ(discovery.devices.size(), 4u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(TextsOf(*discovery.devices[i]), (Texts{"", "", ""})) << i;
  }
  EXPECT_EQ(TextsOf(*discovery.devices[3]), (Texts{"4.0.0", "D", "SN4"}));
  EXPECT_EQ(bus.opens, 1);
  ASSERT_EQ(discovery.warnings.size(), 3u);
  EXPECT_EQ(discovery.warnings[0], "[warning] <Find> Version, user-defined name and serial number" + kNotRead +
                                       "1 (FWCAM-U, serial number SN1) not read: Result(GenericError), Description(The "
                                       "USB3 Vision camera 2-1 (FWCAM-U, serial number SN1) cannot be told apart: its "
                                       "GUID GUID-A is held by 2 listed devices, and Aravis opens a camera by its GUID "
                                       "alone: it would open the first of them it finds)");
  EXPECT_NE(discovery.warnings[2].find("3 (FWCAM-U, serial number SN3) not read: Result(GenericError), Description(The "
                                       "USB3 Vision camera 2-3 (FWCAM-U, serial number SN3) has no GUID"),
            std::string::npos);
}

// Discovery opens a camera for its reads as a connection opens it: one that Aravis cannot claim,
// or that is gone since the listing, is listed unread with a warning naming it and its GUID ahead
// of Aravis's text.
TEST(Usb3VisionListing, ACameraThatCannotBeOpenedOrIsGoneIsListedUnreadWithAravissText) {
  const std::string busy = "Failed to claim USB interface to '(null)-(null)-(null)-GUID-A': LIBUSB_ERROR_BUSY";
  UsbCamera held{"1.0.0", "A", {}, "GUID-A"};
  held.open_failure = busy;
  ScriptedUsbBus bus({held, {"2.0.0", "B", {}, "GUID-B"}, {"3.0.0", "C", {}, "GUID-C"}});
  std::vector<PvDeviceIdentity> listed;
  bus.List(listed);
  bus.Unplug(3);
  quarx::test::LogCapture log;
  std::vector<std::unique_ptr<PvDeviceInfo>> devices;
  AddUsb3VisionRecords(bus, listed, nullptr, devices);
  ASSERT_EQ(devices.size(), 3u);
  EXPECT_EQ(TextsOf(*devices[0]), (Texts{"", "", ""}));
  EXPECT_EQ(TextsOf(*devices[1]), (Texts{"2.0.0", "B", "SN2"}));
  EXPECT_EQ(TextsOf(*devices[2]), (Texts{"", "", ""}));
  const auto warning = [](int i, const std::string& guid, const std::string& aravis) {
    const std::string camera = "USB3 Vision camera 2-" + std::to_string(i) + " (FWCAM-U, serial number SN" +
                               std::to_string(i) + ")";
    return "[warning] <Find> Version, user-defined name and serial number of the " + camera +
           " not read: Result(GenericError), Description(The " + camera + ", GUID " + guid + ", cannot be opened: " + aravis + ")";
  };
  EXPECT_EQ(log.Lines(), (Texts{warning(1, "GUID-A", busy), warning(3, "GUID-C", quarx::test::kAravisGuidNotFound)}));
  EXPECT_EQ(bus.opens, 3);
}

}  // namespace
}  // namespace camerasdk
