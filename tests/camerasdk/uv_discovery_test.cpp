// USB3 Vision records completed from each camera's bootstrap texts, as the camera holds them;
// a camera that cannot be read is listed all the same.
#include "camerasdk/uv_discovery.h"

#include <csignal>

#include <gtest/gtest.h>

#include "camerasdk/PvDeviceInfoU3V.h"
#include "tests/support/log_capture.h"
#include "tests/support/usb_cameras.h"
#include "util/stop_request.h"

namespace camerasdk {
namespace {

using Texts = std::vector<std::string>;

// Each text is read on its own: the user-defined name is optional in GenCP, and a camera that
// refuses it must still tell its version, which conditions and the check after a flash match.
TEST(Usb3VisionListing, ReadsEachTextUpToTheFirstNulOnItsOwnAndListsACameraThatCannotBeReadWithOneWarning) {
  const std::string full(kUvTextLength, 'V');
  const std::string notUtf8 = std::string(kUvTextLength - 2, 'N') + "\xff\xfe";
  const std::vector<std::pair<quarx::test::UsbCamera, Texts>> rows = {
      {{full, notUtf8, {}, "0123456789ABCDEF01234567"}, {full, notUtf8}},
      {{std::string("2.0.0\0junk", 10), "Line 3"}, {"2.0.0", "Line 3"}},
      {{"", ""}, {"", ""}},
      {{"2.0.0", "Line 3", {0x0184}}, {"2.0.0", ""}},
      {{"2.0.0", "Line 3", {0x00C4}}, {"", "Line 3"}},
      {{"2.0.0", "Line 3", {0x00C4, 0x0184}}, {"", ""}},
  };
  std::vector<quarx::test::UsbCamera> cameras;
  for (const auto& row : rows) cameras.push_back(row.first);
  quarx::test::ScriptedUsbBus bus(cameras);
  std::vector<PvDeviceIdentity> listed;
  bus.List(listed);
  quarx::test::LogCapture log;
  std::vector<std::unique_ptr<PvDeviceInfo>> devices;
  AddUsb3VisionRecords(bus, listed, nullptr, devices);
  ASSERT_EQ(devices.size(), rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ((Texts{devices[i]->GetVersion().GetAscii(), devices[i]->GetUserDefinedName().GetAscii()}), rows[i].second)
        << i;
    // The GUID of the camera's descriptor, not its serial number standing in.
    EXPECT_EQ(dynamic_cast<const PvDeviceInfoU3V&>(*devices[i]).GetDeviceGUID().GetAscii(), rows[i].first.guid) << i;
  }
  const std::string notRead = " of the USB3 Vision camera 2-";
  EXPECT_EQ(log.Lines(),
            (Texts{"[warning] <Find> User-defined name" + notRead +
                       "4 (FWCAM-U, serial number SN4) not read: Result(Timeout), Description(no answer)",
                   "[warning] <Find> Version" + notRead +
                       "5 (FWCAM-U, serial number SN5) not read: Result(Timeout), Description(no answer)",
                   "[warning] <Find> Version and user-defined name" + notRead +
                       "6 (FWCAM-U, serial number SN6) not read: Result(Timeout), Description(no answer)"}));

  // After a stop request no camera is opened: each read would be one more wait.
  quarx::util::RequestStop(SIGINT);
  AddUsb3VisionRecords(bus, listed, nullptr, devices);
  quarx::util::ClearStopRequest();
  EXPECT_EQ(devices.size(), 2 * rows.size());
  EXPECT_EQ(bus.opens, static_cast<int>(rows.size()));
}

}  // namespace
}  // namespace camerasdk
