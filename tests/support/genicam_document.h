#pragma once
// GenICam documents for tests, written as their feature elements only.

#include <string>

namespace quarx::test {

// Wraps the features in a document with the header a GenICam document needs. Header-only, so
// that tests of the camera SDK stand-in can use it without the adaptor.
inline std::string GenicamDocument(const std::string& features) {
  return R"(<?xml version="1.0" encoding="utf-8"?>
<RegisterDescription ModelName="Test" VendorName="Test" StandardNameSpace="None"
    SchemaMajorVersion="1" SchemaMinorVersion="0" SchemaSubMinorVersion="1"
    MajorVersion="1" MinorVersion="0" SubMinorVersion="0" ProductGuid="0" VersionGuid="0"
    xmlns="http://www.genicam.org/GenApi/Version_1_0">
)" + features +
         "\n</RegisterDescription>\n";
}

}  // namespace quarx::test
