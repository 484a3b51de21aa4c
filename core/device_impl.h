#pragma once
// The work common to GigE Vision and USB3 Vision cameras behind a device handle: it owns
// the adaptor device and reaches the camera's node maps, features and file access.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/chunk_parser.h"
#include "core/feature.h"
#include "core/feature_boolean.h"
#include "core/feature_command.h"
#include "core/feature_enum.h"
#include "core/feature_float.h"
#include "core/feature_integer.h"
#include "core/feature_register.h"
#include "core/feature_string.h"
#include "core/genicam_file.h"
#include "sdkadaptor/src/device.h"
#include "sdkadaptor/src/gen_parameters.h"
#include "sdkadaptor/src/quarx_types.h"

namespace quarx::core {

class Stream;

class DeviceImpl {
 public:
  // Disconnects the adaptor device if it is still connected, then deletes it. Never throws.
  virtual ~DeviceImpl();
  DeviceImpl(const DeviceImpl&) = delete;
  DeviceImpl& operator=(const DeviceImpl&) = delete;

  // New node maps of the camera's features and of the link's parameters.
  std::unique_ptr<sdkadaptor::InterfaceGenParameters> GetFeaturesPointer();
  std::unique_ptr<sdkadaptor::InterfaceGenParameters> GetCommunicationParametersPointer();

  // Null when the camera has no such feature or its type has no feature class. Never throw.
  std::shared_ptr<Feature> GetFeature(const std::string& name) noexcept;
  std::shared_ptr<Feature> GetCommunicationParameter(const std::string& name) noexcept;
  // Every feature of the node map, null where a node has no feature class. Never throw.
  std::vector<std::shared_ptr<Feature>> GetFeatures() noexcept;
  std::vector<std::shared_ptr<Feature>> GetCommunicationParameters() noexcept;

  // Null for an absent name; a feature of another type throws FeatureException (detail 1).
  std::unique_ptr<FeatureBoolean> GetBoolean(const std::string& name);
  std::unique_ptr<FeatureCommand> GetCommand(const std::string& name);
  std::unique_ptr<FeatureEnum> GetEnum(const std::string& name);
  std::unique_ptr<FeatureFloat> GetFloat(const std::string& name);
  std::unique_ptr<FeatureInteger> GetInteger(const std::string& name);
  std::unique_ptr<FeatureRegister> GetRegister(const std::string& name);
  std::unique_ptr<FeatureString> GetString(const std::string& name);

  // The camera's file access; a failure to get it shows as a file that cannot be written.
  std::unique_ptr<GenicamFile> GetGenFile() const noexcept;

  quarx::DeviceInterfaceTypeEnum GetInterfaceType() const;
  bool IsConnected() const;
  unsigned int GetHeartbeatThreadPriority() const;
  unsigned int GetInterruptLinkThreadPriority() const;
  unsigned int GetInterruptQueueThreadPriority() const;
  // A refused priority throws CoreException (result 7, detail 900).
  void SetHeartbeatThreadPriority(unsigned int priority);
  void SetInterruptLinkThreadPriority(unsigned int priority);
  void SetInterruptQueueThreadPriority(unsigned int priority);

  // Disables the stream channels, drops the streams and disconnects; throws
  // ConnectException (detail 2001) on failure.
  void DisConnect();

  // Creates the device's streams in the way of its transport, keeps them and returns them.
  virtual std::vector<std::shared_ptr<Stream>> CreateStreams() = 0;
  // Allocates and queues buffers on the streams and enables their channels.
  virtual void AllocBuffersToStream(unsigned int bufferCount) = 0;
  // AllocBuffersToStream, then the camera's "AcquisitionStart"; throws AcqusitionException
  // (detail 1002), or the StreamException of the allocation.
  void AcquisitionStart(unsigned int bufferCount);
  // The camera's "AcquisitionStop", then every stream channel disabled; throws
  // AcqusitionException (detail 1003).
  void AcquisitionStop();

 protected:
  // Takes ownership of the adaptor device, which the subclass made for its transport.
  DeviceImpl(const std::string& connectionId, sdkadaptor::InterfaceDevice* device);

  // A chunk parser over the adaptor device, cut off from it when the device goes: streams and
  // buffers that share it may outlive this object.
  std::shared_ptr<ChunkParser> MakeChunkParser();

  // A NUL-padded text of the camera's bootstrap registers, read as memory up to its first NUL
  // (it may fill its field). Throws ConnectException (detail 2000) for `operation` when it
  // cannot be read.
  std::string ReadBootstrapText(const char* operation, int64_t address, int64_t length) const;

  std::string connection_id_;
  // Owned; deleted in the destructor after it has been disconnected.
  sdkadaptor::InterfaceDevice* device_;
  // MAC address prefixes of the camera maker; only GigE Vision cameras carry one.
  std::vector<std::string> vendor_mac_prefixes_;
  uint32_t stream_count_ = 1;
  std::vector<std::shared_ptr<Stream>> streams_;
  std::vector<std::weak_ptr<ChunkParser>> chunk_parsers_;
};

}  // namespace quarx::core
