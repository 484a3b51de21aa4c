#pragma once
// GoogleMock stand-ins for the adaptor's abstract devices, node maps, nodes and enumeration
// entries, and for the file access the core's file writer drives: the core's fault paths are
// tested through them without a camera.

#include <gmock/gmock.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/genicam_file.h"
#include "sdkadaptor/src/device.h"
#include "sdkadaptor/src/device_gev.h"
#include "sdkadaptor/src/device_u3v.h"
#include "sdkadaptor/src/gen_boolean.h"
#include "sdkadaptor/src/gen_command.h"
#include "sdkadaptor/src/gen_enum.h"
#include "sdkadaptor/src/gen_enum_entry.h"
#include "sdkadaptor/src/gen_file.h"
#include "sdkadaptor/src/gen_float.h"
#include "sdkadaptor/src/gen_integer.h"
#include "sdkadaptor/src/gen_parameter.h"
#include "sdkadaptor/src/gen_parameters.h"
#include "sdkadaptor/src/gen_register.h"
#include "sdkadaptor/src/gen_string.h"
#include "sdkadaptor/src/quarx_types.h"

namespace quarx::test {

// The operations every adaptor device has.
#define QUARX_MOCK_INTERFACE_DEVICE_OPERATIONS                                                                  \
  MOCK_METHOD(void, Connect, (const std::string& connectionId), (override));                                    \
  MOCK_METHOD(void, DisConnect, (), (override));                                                                \
  MOCK_METHOD(std::unique_ptr<sdkadaptor::InterfaceGenParameters>, GetParameters, (), (override));             \
  MOCK_METHOD(std::unique_ptr<sdkadaptor::InterfaceGenParameters>, GetCommunicationParameters, (), (override)); \
  MOCK_METHOD(bool, IsConnected, (), (const, override));                                                        \
  MOCK_METHOD(unsigned int, GetPayloadSize, (), (const, override));                                             \
  MOCK_METHOD(void, StreamDisable, (unsigned int channel), (override));                                         \
  MOCK_METHOD(void, StreamEnable, (unsigned int channel), (override));                                          \
  MOCK_METHOD(std::vector<uint8_t>, ReadMemory, (int64_t address, int64_t size), (override));                   \
  MOCK_METHOD(void, WriteMemory, (int64_t address, std::vector<uint8_t> & data), (override));                   \
  MOCK_METHOD(quarx::DeviceInterfaceTypeEnum, GetType, (), (const, override));                                  \
  MOCK_METHOD(unsigned int, GetHeartBeatThreadPriority, (), (const, override));                                 \
  MOCK_METHOD(unsigned int, GetInterruptLinkThreadPriority, (), (const, override));                             \
  MOCK_METHOD(unsigned int, GetInterruptQueueThreadPriority, (), (const, override));                            \
  MOCK_METHOD(void, SetHeartBeatThreadPriority, (unsigned int priority), (const, override));                    \
  MOCK_METHOD(void, SetInterruptLinkThreadPriority, (unsigned int priority), (const, override));                \
  MOCK_METHOD(void, SetInterruptQueueThreadPriority, (unsigned int priority), (const, override));               \
  MOCK_METHOD(std::unique_ptr<sdkadaptor::GenFile>, GetGenFile, (), (const, override))

class MockDeviceGEV : public sdkadaptor::InterfaceDeviceGEV {
 public:
  QUARX_MOCK_INTERFACE_DEVICE_OPERATIONS;
  MOCK_METHOD(void, Connect, (const std::string& connectionId, quarx::AccessTypeEnum access), (override));
  MOCK_METHOD(std::string, GetIPAddress, (), (const, override));
  MOCK_METHOD(std::string, GetMACAddress, (), (const, override));
  MOCK_METHOD(void, NegotiatePacketSize, (unsigned int channel), (override));
  MOCK_METHOD(void, SetStreamDestination, (const std::string& ipAddress, uint16_t port, unsigned int channel),
              (override));
  MOCK_METHOD(void, ExtendHeartbeatTimeout, (), (const, override));
};

class MockDeviceU3V : public sdkadaptor::InterfaceDeviceU3V {
 public:
  QUARX_MOCK_INTERFACE_DEVICE_OPERATIONS;
};

#undef QUARX_MOCK_INTERFACE_DEVICE_OPERATIONS

class MockGenParameters : public sdkadaptor::InterfaceGenParameters {
 public:
  MOCK_METHOD(unsigned int, GetCount, (), (const, override));
  MOCK_METHOD(std::shared_ptr<sdkadaptor::InterfaceGenParameter>, Get, (unsigned int index), (override));
  MOCK_METHOD(std::shared_ptr<sdkadaptor::InterfaceGenParameter>, Get, (const std::string& name), (override));
  MOCK_METHOD(std::unique_ptr<sdkadaptor::GenBoolean>, GetBoolean, (const std::string& name), (override));
  MOCK_METHOD(std::unique_ptr<sdkadaptor::GenCommand>, GetCommand, (const std::string& name), (override));
  MOCK_METHOD(std::unique_ptr<sdkadaptor::GenEnum>, GetEnum, (const std::string& name), (override));
  MOCK_METHOD(std::unique_ptr<sdkadaptor::GenFloat>, GetFloat, (const std::string& name), (override));
  MOCK_METHOD(std::unique_ptr<sdkadaptor::GenInteger>, GetInteger, (const std::string& name), (override));
  MOCK_METHOD(std::unique_ptr<sdkadaptor::GenRegister>, GetRegister, (const std::string& name), (override));
  MOCK_METHOD(std::unique_ptr<sdkadaptor::GenString>, GetString, (const std::string& name), (override));
  MOCK_METHOD(void, AttachDataChunks, (unsigned char* data, unsigned int size), (override));
};

// A node of the adaptor class Node (GenParameter or one of its typed subclasses) whose
// generic operations are mocked. It has no SDK node, so the typed operations of Node (which
// are not virtual) fail as the adaptor fails for a node it cannot reach; a test that needs
// their values uses the emulated camera instead.
template <class Node>
class MockNode : public Node {
 public:
  MockNode() : Node(nullptr) {}

  MOCK_METHOD(void, FromString, (const std::string& value), (override));
  MOCK_METHOD(std::string, GetCategory, (), (const, override));
  MOCK_METHOD(std::string, GetDescription, (), (const, override));
  MOCK_METHOD(std::string, GetDisplayName, (), (const, override));
  MOCK_METHOD(std::string, GetName, (), (const, override));
  MOCK_METHOD(std::string, GetToolTip, (), (const, override));
  MOCK_METHOD(quarx::FeatureTypeEnum, GetType, (), (const, override));
  MOCK_METHOD(bool, IsUpdateEnabled, (), (override));
  MOCK_METHOD(quarx::VisibilityTypeEnum, GetVisibility, (), (const, override));
  MOCK_METHOD(bool, IsAvailable, (), (const, override));
  MOCK_METHOD(bool, IsImplemented, (), (const, override));
  MOCK_METHOD(bool, IsPersistent, (), (const, override));
  MOCK_METHOD(bool, IsReadable, (), (const, override));
  MOCK_METHOD(bool, IsSelector, (), (const, override));
  MOCK_METHOD(bool, IsStreamable, (), (const, override));
  MOCK_METHOD(bool, IsValueCached, (), (const, override));
  MOCK_METHOD(bool, IsWritable, (), (const, override));
  MOCK_METHOD(std::string, ToString, (), (const, override));
  MOCK_METHOD(std::vector<std::string>, GetSelectingParameters, (), (const, noexcept, override));
  MOCK_METHOD(std::vector<std::string>, GetSelectedParameters, (), (const, noexcept, override));
};

using MockGenParameter = MockNode<sdkadaptor::GenParameter>;
using MockGenBoolean = MockNode<sdkadaptor::GenBoolean>;
using MockGenCommand = MockNode<sdkadaptor::GenCommand>;
using MockGenEnum = MockNode<sdkadaptor::GenEnum>;
using MockGenFloat = MockNode<sdkadaptor::GenFloat>;
using MockGenInteger = MockNode<sdkadaptor::GenInteger>;
using MockGenRegister = MockNode<sdkadaptor::GenRegister>;
using MockGenString = MockNode<sdkadaptor::GenString>;

class MockGenEnumEntry : public sdkadaptor::InterfaceGenEnumEntry {
 public:
  MOCK_METHOD(std::string, GetDescription, (), (const, override));
  MOCK_METHOD(std::string, GetDisplayName, (), (const, override));
  MOCK_METHOD(std::string, GetName, (), (const, override));
  MOCK_METHOD(std::string, GetToolTip, (), (const, override));
  MOCK_METHOD(quarx::VisibilityTypeEnum, GetVisibility, (), (const, override));
  MOCK_METHOD(int64_t, GetValue, (), (const, override));
  MOCK_METHOD(bool, IsAvailable, (), (const, override));
};

// The camera's file access as the core's file writer drives it.
class MockFileAccess : public core::GenicamFile::FileAccess {
 public:
  MOCK_METHOD(bool, IsWritable, (const std::string& name), (override));
  MOCK_METHOD(void, Open, (const std::string& name, sdkadaptor::GenOpenMode mode), (override));
  MOCK_METHOD(int64_t, Wrire, (const uint8_t* data, int64_t length), (override));
  MOCK_METHOD(void, Close, (), (override));
  MOCK_METHOD(std::string, GetStatus, (), (override));
};

}  // namespace quarx::test
