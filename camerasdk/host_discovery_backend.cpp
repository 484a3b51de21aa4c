// One discovery round on the host. The USB listing runs while the network answers come in; the
// round lasts the detection time plus one bounded read of each USB3 Vision camera.
#include "camerasdk/host_discovery_backend.h"

#include <algorithm>
#include <chrono>

#include "camerasdk/PvDeviceInfoGEV.h"
#include "camerasdk/gvcp_discovery.h"
#include "camerasdk/uv_discovery.h"

namespace camerasdk {
namespace {

const char kUsbInterfaceName[] = "USB3 Vision";
const char kUsbInterfaceId[] = "usb";

using Clock = std::chrono::steady_clock;

// Opens the round's sockets on the host's addresses and lists each as an interface of the
// result; the failure, if any, is the network part's.
PvResult OpenNetwork(GvcpDiscovery& gvcp, DiscoveryResult& result) {
  std::vector<HostAddress> addresses;
  PvResult network = ListHostAddresses(addresses);
  if (network.IsOK()) {
    network = gvcp.Open(addresses);
  }
  for (const HostAddress& host : gvcp.Hosts()) {
    const std::string address = FormatIPv4(host.address);
    result.interfaces.push_back(
        std::make_unique<PvInterface>(host.interface_name, host.interface_name + " " + address, address));
  }
  return network;
}

// Lists the USB3 Vision cameras under an interface of their own, added to the result last.
PvResult ListUsb(UsbCameraBus& bus, DiscoveryResult& result, std::vector<PvDeviceIdentity>& cameras) {
  result.interfaces.push_back(std::make_unique<PvInterface>(kUsbInterfaceName, kUsbInterfaceName, kUsbInterfaceId));
  return bus.List(cameras);
}

// Interfaces [0, n) of the result are the sockets' host addresses, in the same order.
std::unique_ptr<PvDeviceInfo> MakeRecord(const GvcpAnswer& answer, const DiscoveryResult& result) {
  const DiscoveryAck& ack = answer.ack;
  PvDeviceIdentity identity;
  identity.connection_id = FormatIPv4(ack.ip_address);
  identity.unique_id = FormatMacAddress(ack.mac_address);
  identity.display_id = ack.model_name + " (" + identity.connection_id + ")";
  identity.vendor_name = ack.manufacturer_name;
  identity.model_name = ack.model_name;
  identity.version = ack.device_version;
  identity.manufacturer_info = ack.manufacturer_info;
  identity.serial_number = ack.serial_number;
  identity.user_defined_name = ack.user_defined_name;
  PvGEVAddresses addresses;
  addresses.ip_address = identity.connection_id;
  addresses.mac_address = identity.unique_id;
  addresses.subnet_mask = FormatIPv4(ack.subnet_mask);
  addresses.default_gateway = FormatIPv4(ack.default_gateway);
  const PvInterface* host =
      answer.host_index < result.interfaces.size() ? result.interfaces[answer.host_index].get() : nullptr;
  return std::make_unique<PvDeviceInfoGEV>(identity, addresses, host);
}

// A part of the round that failed only fails the round when nothing at all was found: cameras
// that did answer are worth more than an error about another transport.
PvResult Combine(const PvResult& network, const PvResult& usb, const DiscoveryResult& result) {
  if (!result.devices.empty()) {
    return PvResult();
  }
  return network.IsFailure() ? network : usb;
}

}  // namespace

HostDiscoveryBackend::HostDiscoveryBackend() : HostDiscoveryBackend(std::make_unique<AravisUsbBus>()) {}

HostDiscoveryBackend::HostDiscoveryBackend(std::unique_ptr<UsbCameraBus> usb) : usb_(std::move(usb)) {}

HostDiscoveryBackend::~HostDiscoveryBackend() = default;

PvResult HostDiscoveryBackend::Discover(const DiscoverySettings& settings, DiscoveryResult& result) {
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(settings.timeout_ms);
  GvcpDiscovery gvcp;
  const PvResult network = OpenNetwork(gvcp, result);
  gvcp.SendBroadcast(settings.subnet_broadcast);

  std::vector<PvDeviceIdentity> usb_cameras;
  const PvResult usb = ListUsb(*usb_, result, usb_cameras);
  const PvInterface* usb_interface = result.interfaces.back().get();

  for (const GvcpAnswer& answer : gvcp.Collect(deadline)) {
    result.devices.push_back(MakeRecord(answer, result));
  }
  // After the deadline, not before: the answers that wait meanwhile would be read past it, and
  // dropped. Each camera adds one bounded read.
  AddUsb3VisionRecords(*usb_, usb_cameras, usb_interface, result.devices);
  return Combine(network, usb, result);
}

PvResult HostDiscoveryBackend::FindDevice(const std::string& id, const DiscoverySettings& settings,
                                          DiscoveryResult& result) {
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(settings.timeout_ms);
  GvcpDiscovery gvcp;
  const PvResult network = OpenNetwork(gvcp, result);

  const std::optional<std::uint32_t> ip = ParseIPv4(id);
  if (ip) {
    gvcp.SendUnicast(*ip);
    const auto answers = gvcp.Collect(deadline, [](const GvcpAnswer&) { return true; });
    if (!answers.empty()) {
      result.devices.push_back(MakeRecord(answers.front(), result));
    }
    return network.IsFailure() && result.devices.empty() ? network : PvResult();
  }

  gvcp.SendBroadcast(settings.subnet_broadcast);
  std::vector<PvDeviceIdentity> usb_cameras;
  const PvResult usb = ListUsb(*usb_, result, usb_cameras);
  if (std::any_of(usb_cameras.begin(), usb_cameras.end(),
                  [&id](const PvDeviceIdentity& camera) { return camera.connection_id == id; })) {
    // Decided on the whole listing, as a discovery decides: only it shows another device with
    // the camera's GUID, or a second one with its id.
    return AddUsb3VisionRecordById(*usb_, usb_cameras, id, result.interfaces.back().get(), result.devices);
  }

  const std::optional<std::array<std::uint8_t, 6>> mac = ParseMacAddress(id);
  const auto isTarget = [&](const GvcpAnswer& answer) {
    return mac ? answer.ack.mac_address == *mac : FormatIPv4(answer.ack.ip_address) == id;
  };
  const auto answers = gvcp.Collect(deadline, isTarget);
  if (!answers.empty() && isTarget(answers.back())) {
    result.devices.push_back(MakeRecord(answers.back(), result));
  }
  return Combine(network, usb, result);
}

}  // namespace camerasdk
