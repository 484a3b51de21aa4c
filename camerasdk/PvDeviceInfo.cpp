// The common part of a discovery record.
#include "camerasdk/PvDeviceInfo.h"

PvDeviceInfo::PvDeviceInfo(PvDeviceInfoType type, const PvDeviceIdentity& identity, const PvInterface* host_interface)
    : type_(type), identity_(identity), host_interface_(host_interface) {}

PvDeviceInfo::~PvDeviceInfo() = default;
