#pragma once
// The adaptor's one exception: an SDK failure with its code, code string and description.

#include <cstdint>
#include <exception>
#include <string>
#include <unordered_map>

namespace quarx::sdkadaptor {

using CodeEnum = std::uint32_t;

// The adaptor's own code strings; only these codes may be given to the two-argument constructor.
extern const std::unordered_map<CodeEnum, std::string> err_code_strings;

class ExceptionSdkAdaptor : public std::exception {
 public:
  // Throws std::out_of_range for a code without a row in err_code_strings.
  ExceptionSdkAdaptor(CodeEnum code, const std::string& description);
  ExceptionSdkAdaptor(CodeEnum code, const std::string& code_string, const std::string& description);

  CodeEnum GetCode() const { return code_; }
  const std::string& GetCodeString() const { return code_string_; }
  const std::string& GetDescription() const { return description_; }

 private:
  CodeEnum code_;
  std::string code_string_;
  std::string description_;
};

}  // namespace quarx::sdkadaptor
