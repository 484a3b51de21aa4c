#pragma once
// The SDK's numbering of node types, visibilities, representations, open modes, access types
// and device kinds; the adaptor converts these into the system's own enumerations.

enum PvGenType {
  PvGenTypeInteger = 0,
  PvGenTypeEnum = 1,
  PvGenTypeBoolean = 2,
  PvGenTypeString = 3,
  PvGenTypeCommand = 4,
  PvGenTypeFloat = 5,
  PvGenTypeRegister = 6,
  PvGenTypeUndefined = 999,
};

enum PvGenVisibility {
  PvGenVisibilityBeginner = 0,
  PvGenVisibilityExpert = 1,
  PvGenVisibilityGuru = 2,
  PvGenVisibilityInvisible = 3,
  PvGenVisibilityUndefined = 999,
};

enum PvGenRepresentation {
  PvGenRepresentationLinear = 0,
  PvGenRepresentationLogarithmic = 1,
  PvGenRepresentationBoolean = 2,
  PvGenRepresentationPureNumber = 3,
  PvGenRepresentationHexNumber = 4,
  PvGenRepresentationIPV4Address = 5,
  PvGenRepresentationMACAddress = 6,
  PvGenRepresentationUndefined = 999,
};

enum PvGenOpenMode {
  PvGenOpenModeWrite = 0,
  PvGenOpenModeRead = 1,
};

enum PvAccessType {
  PvAccessControl = 2,
  PvAccessExclusive = 3,
  PvAccessReadOnly = 4,
};

enum PvDeviceType {
  PvDeviceTypeGEV = 0,
  PvDeviceTypeU3V = 1,
};
