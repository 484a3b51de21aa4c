// The feature area's exception.
#include "core/exception_feature_impl.h"

#include "util/quarxlog.h"

namespace quarx::core {

FeatureExceptionImpl::FeatureExceptionImpl(const std::string& function, int line, ErrCodeDetail detail,
                                           const std::string& message)
    : FeatureException(RESULT_FEATURE, detail, message) {
  util::Log::GetInstance("").logger_->warn("<{}:{}>throw FeatureException err_code_detail({}) msg({})", function, line,
                                           static_cast<int>(detail), message);
}

FeatureExceptionImpl FeatureExceptionImpl::Create(const std::string& function, int line,
                                                  const std::string& feature_name, int /*sdk_code*/,
                                                  const std::string& sdk_description) {
  // The SDK code does not tell these apart; the stand-in's access texts do.
  ErrCodeDetail detail = ERR_UNCLASSIFIED;
  if (sdk_description.find("Node is not writable") != std::string::npos) {
    detail = ERR_FEATURE_NOT_WRITABLE;
  } else if (sdk_description.find("Node is not readable") != std::string::npos ||
             sdk_description.find("Node is not available") != std::string::npos) {
    detail = ERR_FEATURE_NOT_READABLE;
  } else {
    util::Log::GetInstance("").logger_->error("<{}> {} is {}", function, feature_name, sdk_description);
  }
  return FeatureExceptionImpl(function, line, detail, sdk_description);
}

}  // namespace quarx::core
