#pragma once
// USB3 Vision cameras from Aravis's USB interface alone (no network traffic), completed by what
// each camera holds itself.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "camerasdk/PvDeviceInfo.h"
#include "camerasdk/PvInterface.h"
#include "camerasdk/PvResult.h"
#include "camerasdk/uv_bootstrap_texts.h"

typedef struct _ArvDevice ArvDevice;

namespace camerasdk {

// The listed camera a connection id names, when that camera can be opened as itself. Aravis
// opens a USB3 Vision camera by its GUID alone: the first USB device whose GUID string is that
// one, and with an empty GUID the first USB device without one. So a camera is chosen only when
// exactly one listed device has the id, its GUID is not empty and no other listed device
// carries it; otherwise `refusal` says why, naming the camera, its GUID and the listed devices
// that hold it. Only a whole listing can tell: a listing of the one camera hides the others.
struct UsbCameraChoice {
  PvDeviceIdentity camera;  // the listing entry, when `refusal` is OK
  PvResult refusal;
};
UsbCameraChoice ChooseUsbCamera(const std::vector<PvDeviceIdentity>& listing, const std::string& connection_id);

// The USB side of discoveries and connections: the host's bus through Aravis, a script in tests.
class UsbCameraBus {
 public:
  virtual ~UsbCameraBus() = default;
  // The USB3 Vision cameras on the bus with what the USB listing gives of them: ids, vendor,
  // model, manufacturer information, serial number and GUID, but no version and no user-defined
  // name.
  virtual PvResult List(std::vector<PvDeviceIdentity>& cameras) = 0;
  // Opens a USB device as Aravis does, knowing nothing but the GUID: the first whose GUID string
  // is `guid`. The device is the caller's.
  virtual PvResult OpenByGuid(const std::string& guid, ArvDevice*& device) = 0;
  // Opens a camera that ChooseUsbCamera chose only while `read` runs, handing it the camera's
  // memory. The result is the open's failure, else what `read` returns.
  virtual PvResult ReadFromCamera(const PvDeviceIdentity& camera,
                                  const std::function<PvResult(const MemoryRead&)>& read) = 0;
};

// The host's bus through Aravis's USB interface.
class AravisUsbBus : public UsbCameraBus {
 public:
  PvResult List(std::vector<PvDeviceIdentity>& cameras) override;
  PvResult OpenByGuid(const std::string& guid, ArvDevice*& device) override;
  PvResult ReadFromCamera(const PvDeviceIdentity& camera,
                          const std::function<PvResult(const MemoryRead&)>& read) override;
};

// Opens a camera that ChooseUsbCamera chose, by its GUID: the open Aravis's own open by id ends
// in, without first looking the id up in Aravis's table, where another device's name or GUID
// can stand for it. A failure is CannotOpen's.
PvResult OpenUsbCamera(UsbCameraBus& bus, const PvDeviceIdentity& camera, ArvDevice*& device);

// The failure `opened` of an open of `camera` by its GUID, naming the camera and its GUID ahead of
// Aravis's own text. Aravis knows only the GUID then: its text names no device when none has the
// GUID ("USB device '(null):(null):(null)' not found"), and names a device that it found but could
// not claim, bootstrap or load the GenICam data of by the GUID alone, as '(null)-(null)-(null)-<GUID>'.
PvResult CannotOpen(const PvDeviceIdentity& camera, const PvResult& opened);

// Appends one record per listed camera, each pointing at `host_interface`, with the version,
// user-defined name and bootstrap serial number read from the camera itself. A camera that
// cannot be chosen, opened or read, or is reached after a stop request, is listed all the same,
// with what was not read empty and one warning that names it and says why.
void AddUsb3VisionRecords(UsbCameraBus& bus, const std::vector<PvDeviceIdentity>& cameras,
                          const PvInterface* host_interface, std::vector<std::unique_ptr<PvDeviceInfo>>& devices);

// The lookup of one camera by its id, decided on the whole listing as AddUsb3VisionRecords
// decides: the record of the one listed camera with that id, read, or listed unread with the
// same warning. An id that no listed device holds, or more than one, names no camera: no record,
// and the result says why.
PvResult AddUsb3VisionRecordById(UsbCameraBus& bus, const std::vector<PvDeviceIdentity>& cameras,
                                 const std::string& connection_id, const PvInterface* host_interface,
                                 std::vector<std::unique_ptr<PvDeviceInfo>>& devices);

}  // namespace camerasdk
