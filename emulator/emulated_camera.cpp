// Runs the fake camera and keeps its identity across resets.
#include "emulator/emulated_camera.h"

#include <arpa/inet.h>
#include <arv.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "emulator/genicam_xml.h"
#include "emulator/register_map.h"

namespace quarx::emulator {
namespace {

// Any serial will do for the fake cameras we create: the real one is written into the
// bootstrap registers afterwards (the fake camera refuses serials that fill their field).
constexpr const char* kPlaceholderSerial = "FWCAM";

std::string FakeCameraXml() {
  ArvFakeCamera* donor = arv_fake_camera_new(kPlaceholderSerial);
  if (donor == nullptr) {
    throw std::runtime_error("cannot create Aravis's fake camera to read its GenICam XML");
  }
  std::size_t size = 0;
  const char* xml = arv_fake_camera_get_genicam_xml(donor, &size);
  std::string copy = xml == nullptr ? std::string() : std::string(xml, size);
  g_object_unref(donor);
  if (copy.empty()) {
    throw std::runtime_error("Aravis's fake camera has no GenICam XML");
  }
  return copy;
}

// The fake camera reads its XML from a file when it is created; the file goes right after.
class TemporaryXmlFile {
 public:
  explicit TemporaryXmlFile(const std::string& xml) {
    std::string pattern = std::string(g_get_tmp_dir()) + "/fwcam-emulator-XXXXXX.xml";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    constexpr int kSuffixLength = 4;  // ".xml"
    const int fd = mkstemps(name.data(), kSuffixLength);
    if (fd < 0) {
      throw std::runtime_error("cannot create a temporary file for the GenICam XML in " + std::string(g_get_tmp_dir()) +
                               ": " + std::strerror(errno));
    }
    path_ = name.data();
    std::size_t written = 0;
    while (written < xml.size()) {
      const ssize_t n = write(fd, xml.data() + written, xml.size() - written);
      if (n <= 0) {
        const std::string reason = std::strerror(errno);
        close(fd);
        unlink(path_.c_str());
        throw std::runtime_error("cannot write the GenICam XML to " + path_ + ": " + reason);
      }
      written += static_cast<std::size_t>(n);
    }
    close(fd);
  }
  ~TemporaryXmlFile() { unlink(path_.c_str()); }
  TemporaryXmlFile(const TemporaryXmlFile&) = delete;
  TemporaryXmlFile& operator=(const TemporaryXmlFile&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

constexpr std::uint16_t kGvcpPort = 3956;

// The fake camera binds its port with address reuse, so a second camera on the same address
// would start without complaint and the two would share the requests. A plain bind tells.
void CheckAddressIsFree(const std::string& address) {
  const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_port = htons(kGvcpPort);
  inet_pton(AF_INET, address.c_str(), &local.sin_addr);
  const bool bound = fd >= 0 && bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0;
  const std::string reason = std::strerror(errno);
  if (fd >= 0) {
    close(fd);
  }
  if (!bound) {
    throw std::runtime_error("cannot serve GVCP on " + address + ":" + std::to_string(kGvcpPort) + " (" + reason +
                             "; is another camera on this address, or is the address not on the loopback "
                             "interface?)");
  }
}

std::uint32_t Ipv4(const std::string& text) {
  in_addr address{};
  inet_pton(AF_INET, text.c_str(), &address);
  return ntohl(address.s_addr);
}

}  // namespace

void EmulatedCamera::Unref::operator()(ArvGvFakeCamera* camera) const { g_object_unref(camera); }

EmulatedCamera::EmulatedCamera(const EmulatorOptions& options)
    : options_(options),
      xml_(BuildGenicamXml(FakeCameraXml(), options)),
      version_(options.version),
      userName_(options.userName) {}

EmulatedCamera::~EmulatedCamera() = default;

void EmulatedCamera::GoOnline() {
  if (camera_) {
    return;
  }
  CheckAddressIsFree(options_.address);
  TemporaryXmlFile file(xml_);
  camera_.reset(arv_gv_fake_camera_new_full(options_.address.c_str(), kPlaceholderSerial, file.Path().c_str()));
  // is_running alone is not enough: it reads true even when the inner fake camera failed.
  if (!camera_ || !arv_gv_fake_camera_is_running(camera_.get()) ||
      arv_gv_fake_camera_get_fake_camera(camera_.get()) == nullptr) {
    camera_.reset();
    throw std::runtime_error("cannot serve GVCP on " + options_.address +
                             " (is the address on the loopback interface, and free of other cameras?)");
  }
  WriteIdentity();
}

void EmulatedCamera::GoOffline() {
  if (!camera_) {
    return;
  }
  userName_ = ReadText(bootstrap::kUserDefinedName, bootstrap::kUserDefinedNameSize);
  // Dropping the fake camera closes its sockets: from now on nothing answers on the address.
  camera_.reset();
}

ArvFakeCamera* EmulatedCamera::Memory() const {
  if (!camera_) {
    throw std::logic_error("the emulated camera is off the network");
  }
  return arv_gv_fake_camera_get_fake_camera(camera_.get());
}

bool EmulatedCamera::HasController() const { return arv_fake_camera_get_control_channel_privilege(Memory()) != 0; }

std::uint32_t EmulatedCamera::ReadRegister(std::uint32_t address) const {
  std::uint32_t value = 0;
  arv_fake_camera_read_register(Memory(), address, &value);
  return value;
}

void EmulatedCamera::WriteRegister(std::uint32_t address, std::uint32_t value) {
  arv_fake_camera_write_register(Memory(), address, value);
}

void EmulatedCamera::ReadMemory(std::uint32_t address, std::uint32_t size, void* data) const {
  if (size == 0 || address >= kCameraMemorySize || size > kCameraMemorySize - address) {
    throw std::out_of_range("read beyond the camera's memory");
  }
  arv_fake_camera_read_memory(Memory(), address, size, data);
}

void EmulatedCamera::WriteMemory(std::uint32_t address, std::uint32_t size, const void* data) {
  if (size == 0 || address >= kCameraMemorySize || size > kCameraMemorySize - address) {
    throw std::out_of_range("write beyond the camera's memory");
  }
  arv_fake_camera_write_memory(Memory(), address, size, data);
}

void EmulatedCamera::WriteText(std::uint32_t address, std::uint32_t fieldSize, const std::string& text) {
  std::vector<char> field(fieldSize, '\0');
  std::memcpy(field.data(), text.data(), std::min<std::size_t>(text.size(), fieldSize));
  WriteMemory(address, fieldSize, field.data());
}

std::string EmulatedCamera::ReadText(std::uint32_t address, std::uint32_t fieldSize) const {
  std::vector<char> field(fieldSize, '\0');
  ReadMemory(address, fieldSize, field.data());
  // A text may fill its field without a terminating NUL.
  return std::string(field.data(), strnlen(field.data(), fieldSize));
}

void EmulatedCamera::WriteIdentity() {
  const std::vector<std::uint8_t> mac = MacBytes(options_.mac);
  WriteRegister(bootstrap::kVersion, bootstrap::kVersionValue);
  WriteRegister(bootstrap::kDeviceMode, bootstrap::kDeviceModeValue);
  WriteRegister(bootstrap::kMacHigh, static_cast<std::uint32_t>(mac[0]) << 8 | mac[1]);
  WriteRegister(bootstrap::kMacLow, static_cast<std::uint32_t>(mac[2]) << 24 |
                                        static_cast<std::uint32_t>(mac[3]) << 16 |
                                        static_cast<std::uint32_t>(mac[4]) << 8 | mac[5]);
  WriteRegister(bootstrap::kIpConfigOptions, bootstrap::kIpConfigOptionsValue);
  WriteRegister(bootstrap::kIpConfigCurrent, bootstrap::kIpConfigCurrentValue);
  WriteRegister(bootstrap::kCurrentIp, Ipv4(options_.address));
  WriteRegister(bootstrap::kSubnetMask, Ipv4(options_.netmask));
  WriteRegister(bootstrap::kDefaultGateway, Ipv4(options_.gateway));
  WriteText(bootstrap::kManufacturerName, bootstrap::kManufacturerNameSize, options_.vendor);
  WriteText(bootstrap::kModelName, bootstrap::kModelNameSize, options_.model);
  WriteText(bootstrap::kDeviceVersion, bootstrap::kDeviceVersionSize, version_);
  WriteText(bootstrap::kManufacturerInfo, bootstrap::kManufacturerInfoSize, options_.manufacturerInfo);
  WriteText(bootstrap::kSerialNumber, bootstrap::kSerialNumberSize, options_.serial);
  if (options_.serialFeature) {
    WriteText(reg::kSerialNumberFeature, reg::kSerialNumberFeatureSize, *options_.serialFeature);
  }
  WriteText(bootstrap::kUserDefinedName, bootstrap::kUserDefinedNameSize, userName_);
  WriteRegister(reg::kSourceCount, static_cast<std::uint32_t>(options_.sources.value_or(0)));
}

}  // namespace quarx::emulator
