#pragma once
// Aravis glue shared by the stand-in's sources (never included outside camerasdk/): results
// from Aravis errors, node kinds by XML tag, and small DOM helpers.

#include <arv.h>

#include <cstdint>
#include <string>

#include "camerasdk/PvGenTypes.h"
#include "camerasdk/PvResult.h"
#include "camerasdk/arv_result.h"

namespace camerasdk_detail {

// The access texts the core classifies failures by; Aravis's own messages would not match.
inline constexpr const char* kNotReadable = "Node is not readable";
inline constexpr const char* kNotWritable = "Node is not writable";
inline constexpr const char* kNotAvailable = "Node is not available";

// Maps an Aravis error to a result and frees it; a null error is success, noted as an answer of
// the camera (util/stop_request.h).
PvResult ResultFromError(GError* error);

// The SDK node type of a GenICam element, decided by its tag: Enumeration also implements
// Integer and String in Aravis, IntReg also Register, so the GObject type would mislead.
PvGenType TypeFromTag(const char* tag);

// The text of the first child element named `tag`, or "" when there is none.
std::string ChildText(ArvDomNode* node, const char* tag);

PvGenVisibility VisibilityFromArv(ArvGcVisibility visibility);
PvGenRepresentation RepresentationFromArv(ArvGcRepresentation representation);

// Aravis returns null for absent texts.
inline std::string Text(const char* text) { return text == nullptr ? std::string() : std::string(text); }

}  // namespace camerasdk_detail
