// The only road that opens a USB3 Vision camera for writing: each connection lists the bus
// itself, chooses on the whole listing and opens by the GUID alone, as Aravis opens.
#include "camerasdk/PvDeviceU3V.h"

#include <arv.h>

#include <gtest/gtest.h>

#include "tests/support/usb_cameras.h"

namespace {

using quarx::test::kAravisGuidNotFound;
using quarx::test::ScriptedUsbBus;
using quarx::test::UsbCamera;
using Texts = std::vector<std::string>;

UsbCamera Camera(std::optional<std::string> guid, std::optional<std::string> id = std::nullopt) {
  UsbCamera camera;
  camera.guid = std::move(guid);
  camera.id = std::move(id);
  return camera;
}

// A device for the connection, made in process: Aravis's own fake.
ScriptedUsbBus& BusOf(std::unique_ptr<ScriptedUsbBus>& bus) {
  bus->make_device = [] { return arv_fake_device_new("FAKE", nullptr); };
  return *bus;
}

const std::string kCamera1 = "The USB3 Vision camera 2-1 (FWCAM-U, serial number SN1)";

TEST(PvDeviceU3V, AConnectionOpensOnlyACameraItsGuidTellsApartAndOpensItByThatGuid) {
  const struct {
    const char* name;
    std::vector<UsbCamera> cameras;
    std::string id;
    std::string failure;  // none: connected
    Texts opened;         // the GUIDs the bus was asked to open
  } rows[] = {
      {"a unique camera", {Camera("GUID-A"), Camera("GUID-B")}, "2-2", "", {"GUID-B"}},
      {"a shared GUID",
       {Camera("GUID-A"), Camera("GUID-A")},
       "2-1",
       kCamera1 + " cannot be told apart: its GUID GUID-A is held by 2 listed devices, and Aravis opens a camera by "
                  "its GUID alone: it would open the first of them it finds",
       {}},
      {"an empty GUID",
       {Camera(""), Camera("GUID-B")},
       "2-1",
       kCamera1 + " has no GUID (1 listed device without one), and Aravis opens a camera by its GUID alone: it would "
                  "open the first USB device it finds without one",
       {}},
      {"a doubled id",
       {Camera("GUID-A", "2-1"), Camera("GUID-B", "2-1")},
       "2-1",
       "The id 2-1 is held by 2 listed devices (FWCAM-U, serial number SN1, GUID GUID-A; FWCAM-U, serial number SN2, "
       "GUID GUID-B): which of them it names cannot be told",
       {}},
      {"an id not listed", {Camera("GUID-A")}, "2-9", "No USB3 Vision device with id 2-9", {}},
  };
  for (const auto& row : rows) {
    auto owned = std::make_unique<ScriptedUsbBus>(row.cameras);
    ScriptedUsbBus& bus = BusOf(owned);
    PvDeviceU3V device(std::move(owned));
    const PvResult result = device.Connect(PvString(row.id));
    EXPECT_EQ(std::string(result.GetDescription().GetAscii()), row.failure) << row.name;
    EXPECT_EQ(device.IsConnected(), row.failure.empty()) << row.name;
    EXPECT_EQ(bus.opened_guids, row.opened) << row.name;
    // What the identity check compares: the entry the id resolved to, nothing when refused.
    EXPECT_EQ(std::string(device.GetGUID().GetAscii()), row.failure.empty() ? "GUID-B" : "") << row.name;
    EXPECT_EQ(std::string(device.GetSerialNumber().GetAscii()), row.failure.empty() ? "SN2" : "") << row.name;
  }
}

// Aravis's text for an open by GUID that finds no device names neither the camera nor the GUID.
TEST(PvDeviceU3V, AnOpenThatFailsNamesTheCameraAndItsGuidAheadOfAravissText) {
  UsbCamera camera = Camera("GUID-A");
  camera.open_failure = kAravisGuidNotFound;
  auto owned = std::make_unique<ScriptedUsbBus>(std::vector<UsbCamera>{camera});
  PvDeviceU3V device(std::move(owned));
  const PvResult result = device.Connect(PvString("2-1"));
  EXPECT_TRUE(result.IsFailure());
  EXPECT_EQ(std::string(result.GetDescription().GetAscii()),
            kCamera1 + ", GUID GUID-A, cannot be opened: " + kAravisGuidNotFound);
  EXPECT_FALSE(device.IsConnected());
  EXPECT_EQ(std::string(device.GetGUID().GetAscii()), "");
}

// What discovery saw is no warrant: a device plugged in since may share the camera's GUID.
TEST(PvDeviceU3V, TheListingIsMadeWhenConnecting) {
  auto owned = std::make_unique<ScriptedUsbBus>(std::vector<UsbCamera>{Camera("GUID-A")});
  ScriptedUsbBus& bus = BusOf(owned);
  std::vector<PvDeviceIdentity> listed;
  bus.List(listed);
  std::vector<std::unique_ptr<PvDeviceInfo>> discovered;
  camerasdk::AddUsb3VisionRecords(bus, listed, nullptr, discovered);
  ASSERT_EQ(discovered.size(), 1u);
  EXPECT_EQ(bus.opens, 1);  // unique at discovery: read

  bus.Plug(Camera("GUID-A"));
  PvDeviceU3V device(std::move(owned));
  const std::string refusal = device.Connect(PvString("2-1")).GetDescription().GetAscii();
  EXPECT_EQ(refusal.rfind(kCamera1 + " cannot be told apart: its GUID GUID-A is held by 2 listed devices", 0), 0u)
      << refusal;
  EXPECT_FALSE(device.IsConnected());
  EXPECT_EQ(bus.opened_guids, Texts{});

  // Once the other device is gone, the same connection opens the camera.
  bus.Unplug(2);
  EXPECT_TRUE(device.Connect(PvString("2-1")).IsOK());
  EXPECT_EQ(bus.opened_guids, Texts{"GUID-A"});
}

}  // namespace
