#pragma once
// The connected Aravis devices by connection id: a stream is opened by the id of a device that
// this process has connected, and Aravis streams need that very device object. Never included
// outside camerasdk/.

#include <arv.h>

#include <string>

namespace camerasdk_detail {

// Remembers a connected device under its connection id (a later one with the same id wins),
// with the GUID a USB3 Vision device was listed with.
void RegisterOpenDevice(const std::string& connectionId, ArvDevice* device, const std::string& guid = std::string());
// Forgets the device, whatever id it was registered under.
void ForgetOpenDevice(ArvDevice* device);
// A new reference to the connected device of that id, or null.
ArvDevice* FindOpenDevice(const std::string& connectionId);
// The GUID registered with the device of that id, or "".
std::string OpenDeviceGuid(const std::string& connectionId);

}  // namespace camerasdk_detail
