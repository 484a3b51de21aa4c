#pragma once
// GigE Vision's fixed numbers in one place: the control port and the bootstrap registers that
// the stand-in reads and writes, and that a discovery acknowledge mirrors (0x00-0xF7). Never
// included outside camerasdk/.

#include <cstddef>
#include <cstdint>

namespace camerasdk {

constexpr std::uint16_t kGvcpPort = 3956;

// Bootstrap register addresses. Texts are NUL-padded fields of the given length.
constexpr std::uint64_t kRegVersion = 0x0000;
constexpr std::uint64_t kRegDeviceMode = 0x0004;
constexpr std::uint64_t kRegMacHigh = 0x0008;  // the MAC's upper 16 bits are the low half of this word
constexpr std::uint64_t kRegMacLow = 0x000C;
constexpr std::uint64_t kRegIpConfigOptions = 0x0010;
constexpr std::uint64_t kRegIpConfigCurrent = 0x0014;
constexpr std::uint64_t kRegCurrentIp = 0x0024;
constexpr std::uint64_t kRegSubnetMask = 0x0034;
constexpr std::uint64_t kRegDefaultGateway = 0x0044;
constexpr std::uint64_t kRegManufacturerName = 0x0048;
constexpr std::size_t kLenManufacturerName = 32;
constexpr std::uint64_t kRegModelName = 0x0068;
constexpr std::size_t kLenModelName = 32;
constexpr std::uint64_t kRegDeviceVersion = 0x0088;
constexpr std::size_t kLenDeviceVersion = 32;
constexpr std::uint64_t kRegManufacturerInfo = 0x00A8;
constexpr std::size_t kLenManufacturerInfo = 48;
constexpr std::uint64_t kRegSerialNumber = 0x00D8;
constexpr std::size_t kLenSerialNumber = 16;
constexpr std::uint64_t kRegUserDefinedName = 0x00E8;
constexpr std::size_t kLenUserDefinedName = 16;
constexpr std::uint64_t kRegStreamChannelCount = 0x0904;
constexpr std::uint64_t kRegControlChannelPrivilege = 0x0A00;
// Stream channel registers of channel 0; each further channel's lie kStreamChannelStride on.
constexpr std::uint64_t kRegStreamChannelPort = 0x0D00;
constexpr std::uint64_t kRegStreamChannelDestination = 0x0D18;
constexpr std::uint64_t kStreamChannelStride = 0x40;

}  // namespace camerasdk
