#pragma once
// The step executor: carries out one step of an update at a time on one connected camera and
// reports every failure as an update exception.

#include <cstdint>
#include <memory>
#include <string>

#include "core/device.h"
#include "core/found_device_info.h"
#include "core/libstatic_fwupdate/device_factory.h"
#include "core/libstatic_fwupdate/guffile_info.h"

namespace quarx::core::fwupdate {

class GenICamUpdate {
 public:
  // Both references are borrowed and must outlive the executor. Nothing is connected yet.
  GenICamUpdate(std::unique_ptr<FoundDeviceInfo>& info, std::unique_ptr<GuffileInfo>& guffile, unsigned int reserved);
  GenICamUpdate(std::unique_ptr<FoundDeviceInfo>& info, std::unique_ptr<GuffileInfo>& guffile, unsigned int reserved,
                DeviceFactory createDevice);
  // Disconnects a camera that is still connected; never throws.
  ~GenICamUpdate();
  GenICamUpdate(const GenICamUpdate&) = delete;
  GenICamUpdate& operator=(const GenICamUpdate&) = delete;

  // Connects unless already connected, and confirms that the camera connected is the record's
  // (DeviceIdentityMismatch, the camera let go, when not). Failures come as the device core
  // throws them.
  void ConnectCamera();

  // One step each. Failures leave as FWUpdateException: detail 3000 (empty message) for a
  // feature or command the camera lacks, 4002 for anything else; the package reader's own
  // exceptions pass unchanged.
  void FeatureWrite(const ProcedureItem& item);
  void FileUpload(const ProcedureItem& item);
  // Waits for completion at most the step's time-out; a command still busy then ends the step
  // without error. A stop request (util/stop_request.h) ends the wait with a failure.
  void FeatureExecute(const ProcedureItem& item);
  // Resets the camera and lets go of it: later camera steps need ConnectCamera again.
  void DeviceReset(const ProcedureItem& item);
  // Matches the version of `found` (the camera found again after its reset) against the
  // step's pattern; needs no connection. The version checks have a pattern budget of their own
  // (VersionCheckPatternMatcher): the camera is flashed by then.
  bool FeatureAssert(const ProcedureItem& item, std::unique_ptr<FoundDeviceInfo>& found);

 private:
  // Logs the step's entry, checks its kind, runs `work` and turns failures into update exceptions.
  template <class Work>
  auto RunStep(const char* operation, const ProcedureItem& item, ProcedureType kind, Work&& work);
  // The connected device handle; throws std::logic_error when there is none.
  Device& RequireDevice() const;

  std::unique_ptr<FoundDeviceInfo>& info_;
  std::unique_ptr<GuffileInfo>& guffile_;
  [[maybe_unused]] unsigned int reserved_;  // kept as the constructor received it; nothing reads it
  DeviceFactory createDevice_;
  std::shared_ptr<Device> device_;
};

}  // namespace quarx::core::fwupdate
