#pragma once
// GoogleMock stand-ins for the adaptor's devices, node maps, nodes, streams and buffers, and for
// the file access of the core's file writer: the core's fault paths without a camera.

#include <gmock/gmock.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/genicam_file.h"
#include "sdkadaptor/src/buffer.h"
#include "sdkadaptor/src/device.h"
#include "sdkadaptor/src/device_gev.h"
#include "sdkadaptor/src/device_u3v.h"
#include "sdkadaptor/src/gen_boolean.h"
#include "sdkadaptor/src/gen_command.h"
#include "sdkadaptor/src/gen_enum.h"
#include "sdkadaptor/src/gen_file.h"
#include "sdkadaptor/src/gen_float.h"
#include "sdkadaptor/src/gen_integer.h"
#include "sdkadaptor/src/gen_parameter.h"
#include "sdkadaptor/src/gen_parameters.h"
#include "sdkadaptor/src/gen_register.h"
#include "sdkadaptor/src/gen_string.h"
#include "sdkadaptor/src/image.h"
#include "sdkadaptor/src/quarx_types.h"
#include "sdkadaptor/src/result.h"
#include "sdkadaptor/src/stream.h"
#include "sdkadaptor/src/stream_gev.h"
#include "sdkadaptor/src/stream_u3v.h"

namespace quarx::test {

// The operations every adaptor device has.
#define QUARX_MOCK_INTERFACE_DEVICE_OPERATIONS                                                                  \
  MOCK_METHOD(void, Connect, (const std::string& connectionId), (override));                                    \
  MOCK_METHOD(void, DisConnect, (), (override));                                                                \
  MOCK_METHOD(std::unique_ptr<sdkadaptor::InterfaceGenParameters>, GetParameters, (), (override));              \
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

// A node of the adaptor class Node (GenParameter or a typed subclass) without an SDK node: the
// operations tests steer are mocked; the rest fail, or read false or empty, as for a node the
// adaptor cannot reach.
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
  MOCK_METHOD(quarx::VisibilityTypeEnum, GetVisibility, (), (const, override));
  MOCK_METHOD(bool, IsSelector, (), (const, override));
  MOCK_METHOD(bool, IsWritable, (), (const, override));
  MOCK_METHOD(std::string, ToString, (), (const, override));
};

using MockGenParameter = MockNode<sdkadaptor::GenParameter>;
using MockGenBoolean = MockNode<sdkadaptor::GenBoolean>;
using MockGenCommand = MockNode<sdkadaptor::GenCommand>;
using MockGenEnum = MockNode<sdkadaptor::GenEnum>;
using MockGenFloat = MockNode<sdkadaptor::GenFloat>;
using MockGenInteger = MockNode<sdkadaptor::GenInteger>;
using MockGenRegister = MockNode<sdkadaptor::GenRegister>;
using MockGenString = MockNode<sdkadaptor::GenString>;

// A mocked node that reports its kind and name, as every node of a node map does.
template <class Node>
std::shared_ptr<::testing::NiceMock<Node>> NodeOfType(quarx::FeatureTypeEnum type, const std::string& name) {
  auto node = std::make_shared<::testing::NiceMock<Node>>();
  ON_CALL(*node, GetType()).WillByDefault(::testing::Return(type));
  ON_CALL(*node, GetName()).WillByDefault(::testing::Return(name));
  return node;
}


// The camera's file access as the core's file writer drives it.
class MockFileAccess : public core::GenicamFile::FileAccess {
 public:
  MOCK_METHOD(bool, IsWritable, (const std::string& name), (override));
  MOCK_METHOD(void, Open, (const std::string& name, sdkadaptor::GenOpenMode mode), (override));
  MOCK_METHOD(int64_t, Wrire, (const uint8_t* data, int64_t length), (override));
  MOCK_METHOD(void, Close, (), (override));
  MOCK_METHOD(std::string, GetStatus, (), (override));
};

// The operations every adaptor stream has.
#define QUARX_MOCK_INTERFACE_STREAM_OPERATIONS                                                      \
  MOCK_METHOD(void, AbortQueueBuffers, (), (override));                                             \
  MOCK_METHOD(void, Close, (), (override));                                                         \
  MOCK_METHOD(unsigned int, GetChannel, (), (const, override));                                     \
  MOCK_METHOD(std::unique_ptr<sdkadaptor::InterfaceGenParameters>&, GetParameters, (), (override)); \
  MOCK_METHOD(unsigned int, GetQueuedBufferCount, (), (const, override));                           \
  MOCK_METHOD(unsigned int, GetQueuedBufferMaximum, (), (const, override));                         \
  MOCK_METHOD(bool, IsOpen, (), (const, override));                                                 \
  MOCK_METHOD(void, AllocBuffers, (unsigned int size, unsigned int count), (override));             \
  MOCK_METHOD(void, ReleaseBuffers, (), (override));                                                \
  MOCK_METHOD(sdkadaptor::InterfaceBuffer*, RetrieveBuffer,                                         \
              (sdkadaptor::Result & operationResult, unsigned int timeoutMs), (override))

// Streams hand the core their node map holder by reference; the mocks keep one (empty
// unless a test fills it) and answer GetParameters with it.
class MockStreamGEV : public sdkadaptor::InterfaceStreamGEV {
 public:
  MockStreamGEV() { ON_CALL(*this, GetParameters()).WillByDefault(::testing::ReturnRef(parameters)); }
  QUARX_MOCK_INTERFACE_STREAM_OPERATIONS;
  MOCK_METHOD(std::string, GetDeviceIPAddress, (), (const, override));
  MOCK_METHOD(std::string, GetLocalIPAddress, (), (const, override));
  MOCK_METHOD(uint16_t, GetLocalPort, (), (const, override));
  MOCK_METHOD(unsigned int, GetUserModeDataReceiverThreadPriority, (), (const, override));
  MOCK_METHOD(void, SetUserModeDataReceiverThreadPriority, (unsigned int priority), (override));
  MOCK_METHOD(void, Open, (uint16_t channel), (override));

  std::unique_ptr<sdkadaptor::InterfaceGenParameters> parameters;
};

class MockStreamU3V : public sdkadaptor::InterfaceStreamU3V {
 public:
  MockStreamU3V() { ON_CALL(*this, GetParameters()).WillByDefault(::testing::ReturnRef(parameters)); }
  QUARX_MOCK_INTERFACE_STREAM_OPERATIONS;
  MOCK_METHOD(void, Open, (), (override));
  MOCK_METHOD(std::string, GetGUID, (), (const, override));

  std::unique_ptr<sdkadaptor::InterfaceGenParameters> parameters;
};

#undef QUARX_MOCK_INTERFACE_STREAM_OPERATIONS

class MockBuffer : public sdkadaptor::InterfaceBuffer {
 public:
  MOCK_METHOD(uint32_t, GetAcquiredSize, (), (const, override));
  MOCK_METHOD(uint64_t, GetBlockID, (), (const, override));
  MOCK_METHOD(uint8_t*, GetDataPointer, (), (const, override));
  MOCK_METHOD(uint64_t, GetID, (), (const, override));
  MOCK_METHOD(uint32_t, GetIgnoredPacketCount, (), (const, override));
  MOCK_METHOD(uint32_t, GetLostPacketCount, (), (const, override));
  MOCK_METHOD(uint32_t, GetPayloadSize, (), (const, override));
  MOCK_METHOD(uint32_t, GetPacketOutOfOrderCount, (), (const, override));
  MOCK_METHOD(uint32_t, GetPacketsRecoveredCount, (), (const, override));
  MOCK_METHOD(uint64_t, GetReceptionTime, (), (const, override));
  MOCK_METHOD(uint32_t, GetResendGroupRequestedCount, (), (const, override));
  MOCK_METHOD(uint32_t, GetResendPacketRequestedCount, (), (const, override));
  MOCK_METHOD(uint64_t, GetTimestamp, (), (const, override));
  MOCK_METHOD(void, SetBlockID, (uint64_t blockId), (override));
  MOCK_METHOD(void, SetID, (uint64_t id), (override));
  MOCK_METHOD(void, SetReceptionTime, (uint64_t receptionTime), (override));
  MOCK_METHOD(void, SetTimestamp, (uint64_t timestamp), (override));
  MOCK_METHOD(std::unique_ptr<sdkadaptor::InterfaceImage>, GetImage, (), (const, override));
  MOCK_METHOD(void, Release, (), (override));
  // Lets a test see when the core deletes the buffer it owns.
  MOCK_METHOD(void, Die, ());
  ~MockBuffer() override { Die(); }
};

}  // namespace quarx::test
