#pragma once
// GoogleMock stand-ins for the adaptor's discovery interfaces: the system and its records.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>

#include "sdkadaptor/src/device_info.h"
#include "sdkadaptor/src/host_interface.h"
#include "sdkadaptor/src/system.h"

namespace quarx::test {

class MockSystem : public sdkadaptor::InterfaceSystem {
 public:
  MOCK_METHOD(std::vector<std::unique_ptr<sdkadaptor::InterfaceDeviceInfo>>, Find, (), (override));
  MOCK_METHOD(std::unique_ptr<sdkadaptor::InterfaceDeviceInfo>, FindDevice, (const std::string&), (override));
  MOCK_METHOD(std::vector<std::unique_ptr<sdkadaptor::InterfaceHostInterface>>, GetInterface, (), (override));
  MOCK_METHOD(unsigned int, GetDetectionTimeoutMillisec, (), (const, override));
  MOCK_METHOD(void, SetDetectionTimeoutMillisec, (unsigned int), (override));
  MOCK_METHOD(bool, GetSubnetBroadcastEnabled, (), (const, override));
  MOCK_METHOD(void, SetSubnetBroadcastEnabled, (bool), (override));
  MOCK_METHOD((std::pair<std::uint16_t, std::uint16_t>), GetGEVSupportedVersion, (), (const, override));
  MOCK_METHOD((std::pair<std::uint16_t, std::uint16_t>), GetU3VSupportedVersion, (), (const, override));
};

class MockDeviceInfo : public sdkadaptor::InterfaceDeviceInfo {
 public:
  MOCK_METHOD(std::string, GetConnectionId, (), (const, override));
  MOCK_METHOD(std::string, GetDisplayId, (), (const, override));
  MOCK_METHOD(std::string, GetManufactureInfo, (), (const, override));
  MOCK_METHOD(std::string, GetModelName, (), (const, override));
  MOCK_METHOD(std::string, GetSerialNumber, (), (const, override));
  MOCK_METHOD(DeviceInterfaceTypeEnum, GetType, (), (const, override));
  MOCK_METHOD(std::string, GetUniqueId, (), (const, override));
  MOCK_METHOD(std::string, GetUserDefinedName, (), (const, override));
  MOCK_METHOD(std::string, GetVenderName, (), (const, override));
  MOCK_METHOD(std::string, GetVersion, (), (const, override));
  MOCK_METHOD(std::unique_ptr<sdkadaptor::InterfaceHostInterface>, GetHostInterface, (), (const, override));
};

}  // namespace quarx::test
