// The adaptor's exception and its table of code strings.
#include "sdkadaptor/src/exception_sdk_adaptor.h"

namespace quarx::sdkadaptor {

const std::unordered_map<CodeEnum, std::string> err_code_strings = {
    {0x202, "Busy"},
    {0x4000, "GenericError"},
    {0x1000002, "InternalError"},
    {0x100001, "InvalidParameterIndex"},
    {0x1000003, "InvalidParameterType"},
    {23, "NotConnected"},
    {26, "NotSupported"},
};

ExceptionSdkAdaptor::ExceptionSdkAdaptor(CodeEnum code, const std::string& description)
    : code_(code), code_string_(err_code_strings.at(code)), description_(description) {}

ExceptionSdkAdaptor::ExceptionSdkAdaptor(CodeEnum code, const std::string& code_string, const std::string& description)
    : code_(code), code_string_(code_string), description_(description) {}

}  // namespace quarx::sdkadaptor
