// Aravis errors as SDK results, node kinds by XML tag, DOM helpers.
#include "camerasdk/arv_support.h"

#include <cstring>
#include <map>

#include "util/stop_request.h"

namespace camerasdk_detail {
PvResult Failure(std::uint32_t code, const std::string& description) { return PvResult(code, description); }

static_assert(arv_error::kDeviceNotConnected == ARV_DEVICE_ERROR_NOT_CONNECTED);
static_assert(arv_error::kDeviceTimeout == ARV_DEVICE_ERROR_TIMEOUT);
static_assert(arv_error::kDeviceProtocolNotImplemented == ARV_DEVICE_ERROR_PROTOCOL_ERROR_NOT_IMPLEMENTED);
static_assert(arv_error::kDeviceProtocolBusy == ARV_DEVICE_ERROR_PROTOCOL_ERROR_BUSY);
static_assert(arv_error::kGenicamNoEventImplementation == ARV_GC_ERROR_NO_EVENT_IMPLEMENTATION);
static_assert(arv_error::kGenicamSetFromStringUndefined == ARV_GC_ERROR_SET_FROM_STRING_UNDEFINED);
static_assert(arv_error::kGenicamGetAsStringUndefined == ARV_GC_ERROR_GET_AS_STRING_UNDEFINED);
static_assert(arv_error::kIoTimedOut == G_IO_ERROR_TIMED_OUT);

PvResult ResultFromArvError(ArvErrorDomain domain, int code, const std::string& message) {
  std::uint32_t result = PvResult::Code::GENERIC_ERROR;
  if (domain == ArvErrorDomain::kDevice) {
    switch (code) {
      case arv_error::kDeviceTimeout:
        result = PvResult::Code::TIMEOUT;
        break;
      case arv_error::kDeviceNotConnected:
        result = PvResult::Code::NOT_CONNECTED;
        break;
      case arv_error::kDeviceProtocolNotImplemented:
        result = PvResult::Code::NOT_SUPPORTED;
        break;
      case arv_error::kDeviceProtocolBusy:
        result = PvResult::Code::BUSY;
        break;
      default:
        break;
    }
  } else if (domain == ArvErrorDomain::kGenicam) {
    switch (code) {
      case arv_error::kGenicamNoEventImplementation:
      case arv_error::kGenicamSetFromStringUndefined:
      case arv_error::kGenicamGetAsStringUndefined:
        result = PvResult::Code::NOT_SUPPORTED;
        break;
      default:
        break;
    }
  } else if (domain == ArvErrorDomain::kIo && code == arv_error::kIoTimedOut) {
    result = PvResult::Code::TIMEOUT;
  }
  return Failure(result, message);
}

PvResult ResultFromError(GError* error) {
  if (error == nullptr) {
    // Nearly every request to the camera (register reads and writes, command executions, the
    // polls of file access) ends here: a stop is waited for while the camera answers. The few
    // successes that were no request (a value from the node map) come between requests anyway.
    quarx::util::NoteCameraAnswer();
    return PvResult();
  }
  ArvErrorDomain domain = ArvErrorDomain::kOther;
  if (error->domain == ARV_DEVICE_ERROR) {
    domain = ArvErrorDomain::kDevice;
  } else if (error->domain == ARV_GC_ERROR) {
    domain = ArvErrorDomain::kGenicam;
  } else if (error->domain == G_IO_ERROR) {
    domain = ArvErrorDomain::kIo;
  }
  PvResult result = ResultFromArvError(domain, error->code, Text(error->message));
  g_error_free(error);
  return result;
}

PvGenType TypeFromTag(const char* tag) {
  static const std::map<std::string, PvGenType> kTypes = {
      {"Integer", PvGenTypeInteger},       {"IntReg", PvGenTypeInteger},       {"MaskedIntReg", PvGenTypeInteger},
      {"IntSwissKnife", PvGenTypeInteger}, {"IntConverter", PvGenTypeInteger}, {"StructEntry", PvGenTypeInteger},
      {"Enumeration", PvGenTypeEnum},      {"Boolean", PvGenTypeBoolean},      {"String", PvGenTypeString},
      {"StringReg", PvGenTypeString},      {"Command", PvGenTypeCommand},      {"Float", PvGenTypeFloat},
      {"FloatReg", PvGenTypeFloat},        {"SwissKnife", PvGenTypeFloat},     {"Converter", PvGenTypeFloat},
      {"Register", PvGenTypeRegister},
  };
  if (tag == nullptr) {
    return PvGenTypeUndefined;
  }
  const auto it = kTypes.find(tag);
  return it == kTypes.end() ? PvGenTypeUndefined : it->second;
}

// Aravis numbers visibility the other way round (Invisible 0 ... Beginner 3).
PvGenVisibility VisibilityFromArv(ArvGcVisibility visibility) {
  switch (visibility) {
    case ARV_GC_VISIBILITY_BEGINNER:
      return PvGenVisibilityBeginner;
    case ARV_GC_VISIBILITY_EXPERT:
      return PvGenVisibilityExpert;
    case ARV_GC_VISIBILITY_GURU:
      return PvGenVisibilityGuru;
    case ARV_GC_VISIBILITY_INVISIBLE:
      return PvGenVisibilityInvisible;
    default:
      return PvGenVisibilityUndefined;
  }
}

PvGenRepresentation RepresentationFromArv(ArvGcRepresentation representation) {
  switch (representation) {
    case ARV_GC_REPRESENTATION_LINEAR:
      return PvGenRepresentationLinear;
    case ARV_GC_REPRESENTATION_LOGARITHMIC:
      return PvGenRepresentationLogarithmic;
    case ARV_GC_REPRESENTATION_BOOLEAN:
      return PvGenRepresentationBoolean;
    case ARV_GC_REPRESENTATION_PURE_NUMBER:
      return PvGenRepresentationPureNumber;
    case ARV_GC_REPRESENTATION_HEX_NUMBER:
      return PvGenRepresentationHexNumber;
    case ARV_GC_REPRESENTATION_IPV4_ADDRESS:
      return PvGenRepresentationIPV4Address;
    case ARV_GC_REPRESENTATION_MAC_ADDRESS:
      return PvGenRepresentationMACAddress;
    default:
      return PvGenRepresentationUndefined;
  }
}

std::string ChildText(ArvDomNode* node, const char* tag) {
  for (ArvDomNode* child = arv_dom_node_get_first_child(node); child != nullptr;
       child = arv_dom_node_get_next_sibling(child)) {
    if (!ARV_IS_DOM_ELEMENT(child) || std::strcmp(arv_dom_node_get_node_name(child), tag) != 0) {
      continue;
    }
    ArvDomNode* text = arv_dom_node_get_first_child(child);
    std::string value = text == nullptr ? std::string() : Text(arv_dom_node_get_node_value(text));
    const auto first = value.find_first_not_of(" \t\r\n");
    const auto last = value.find_last_not_of(" \t\r\n");
    return first == std::string::npos ? std::string() : value.substr(first, last - first + 1);
  }
  return std::string();
}

}  // namespace camerasdk_detail
