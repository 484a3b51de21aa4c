// A GigE Vision discovery record.
#include "camerasdk/PvDeviceInfoGEV.h"

PvDeviceInfoGEV::PvDeviceInfoGEV(const PvDeviceIdentity& identity, const PvGEVAddresses& addresses,
                                 const PvInterface* host_interface)
    : PvDeviceInfo(PvDeviceInfoTypeGEV, identity, host_interface), addresses_(addresses) {}
