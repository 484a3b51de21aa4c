#pragma once
// Where the emulated camera keeps its identity and the registers of the features it adds:
// the one place that names an address of the camera's memory.

#include <cstdint>

namespace quarx::emulator {

// The fake camera's memory; a read beyond it (and beyond the GenICam XML mapped after it)
// crashes the fake camera, so every register of the generated XML lies below this bound.
constexpr std::uint32_t kCameraMemorySize = 0x10000;

// GigE Vision bootstrap registers, mirrored by the discovery acknowledge (offsets 0x00-0xF7).
namespace bootstrap {
constexpr std::uint32_t kVersion = 0x0000;
constexpr std::uint32_t kDeviceMode = 0x0004;
constexpr std::uint32_t kMacHigh = 0x0008;  // upper 16 bits of the MAC in the low half of the word
constexpr std::uint32_t kMacLow = 0x000C;
constexpr std::uint32_t kIpConfigOptions = 0x0010;
constexpr std::uint32_t kIpConfigCurrent = 0x0014;
constexpr std::uint32_t kCurrentIp = 0x0024;
constexpr std::uint32_t kSubnetMask = 0x0034;
constexpr std::uint32_t kDefaultGateway = 0x0044;
constexpr std::uint32_t kManufacturerName = 0x0048;
constexpr std::uint32_t kManufacturerNameSize = 32;
constexpr std::uint32_t kModelName = 0x0068;
constexpr std::uint32_t kModelNameSize = 32;
constexpr std::uint32_t kDeviceVersion = 0x0088;
constexpr std::uint32_t kDeviceVersionSize = 32;
constexpr std::uint32_t kManufacturerInfo = 0x00A8;
constexpr std::uint32_t kManufacturerInfoSize = 48;
constexpr std::uint32_t kSerialNumber = 0x00D8;
constexpr std::uint32_t kSerialNumberSize = 16;
constexpr std::uint32_t kUserDefinedName = 0x00E8;
constexpr std::uint32_t kUserDefinedNameSize = 16;
constexpr std::uint32_t kDiscoveryDataSize = 0x00F8;
constexpr std::uint32_t kControlChannelPrivilege = 0x0A00;

// GigE Vision 1.2: major version in the upper half, minor in the lower.
constexpr std::uint32_t kVersionValue = 0x00010002;
// Big-endian device, device class transmitter, one network interface.
constexpr std::uint32_t kDeviceModeValue = 0x80000000;
// Persistent IP, DHCP and LLA offered; persistent IP current (the address was given to us).
constexpr std::uint32_t kIpConfigOptionsValue = 0x00000007;
constexpr std::uint32_t kIpConfigCurrentValue = 0x00000001;
}  // namespace bootstrap

// Registers of the features the emulator adds to the fake camera's XML. All are 32-bit
// big-endian unless noted.
namespace reg {
constexpr std::uint32_t kDeviceReset = 0x8000;
constexpr std::uint32_t kFirmwareUpdateMode = 0x8004;
constexpr std::uint32_t kFirmwareUpdateExecute = 0x8008;
constexpr std::uint32_t kFirmwareUpdateStatus = 0x800C;
constexpr std::uint32_t kSourceCount = 0x8010;  // signed
constexpr std::uint32_t kSourceSelector = 0x8014;

constexpr std::uint32_t kFileSelector = 0x8100;
constexpr std::uint32_t kFileOperationSelector = 0x8104;
constexpr std::uint32_t kFileOpenMode = 0x8108;
constexpr std::uint32_t kFileAccessOffset = 0x810C;
constexpr std::uint32_t kFileAccessLength = 0x8110;
constexpr std::uint32_t kFileOperationExecute = 0x8114;
constexpr std::uint32_t kFileOperationStatus = 0x8118;
constexpr std::uint32_t kFileOperationResult = 0x811C;
// One size register per file, indexed by the FileSelector value.
constexpr std::uint32_t kFileSizeBase = 0x8120;
constexpr std::uint32_t kFileSizeStride = 4;

// Where "DeviceSerialNumber" reads when the camera maps it away from the bootstrap register
// (--serial-feature): a NUL-padded text, like a maker's longer form of its serial.
constexpr std::uint32_t kSerialNumberFeature = 0x8200;
constexpr std::uint32_t kSerialNumberFeatureSize = 64;

constexpr std::uint32_t kFileAccessBuffer = 0x9000;
constexpr std::uint32_t kFileAccessBufferSize = 4096;
}  // namespace reg

static_assert(reg::kFileAccessBuffer + reg::kFileAccessBufferSize <= kCameraMemorySize,
              "the file access buffer must lie inside the fake camera's memory");

// Values of the enumerations the emulator adds.
enum class FileId : std::uint32_t { Firmware = 0, ReadOnlyFile = 1, FailingFile = 2 };
constexpr std::uint32_t kFileCount = 3;

enum class FileOperation : std::uint32_t { Open = 0, Close = 1, Read = 2, Write = 3 };
enum class FileOpenMode : std::uint32_t { Read = 0, Write = 1, ReadWrite = 2 };
enum class FileOperationStatus : std::uint32_t { Success = 0, Failure = 1 };

enum class FirmwareUpdateMode : std::uint32_t { Off = 0, On = 1 };
enum class FirmwareUpdateStatus : std::uint32_t { Idle = 0, InProgress = 1, Success = 2, Failure = 3 };

// What a command register holds while its command runs; the register reads 0 once it is done.
constexpr std::uint32_t kCommandValue = 1;

}  // namespace quarx::emulator
