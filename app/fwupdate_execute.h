#pragma once
// The update operation: applies the first update of a package to one camera, from the
// confirmation question through the steps to the search for the camera after its reset.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/libstatic_fwupdate/guffile_info.h"

namespace fwupdate {

class FWUpdateExecute {
 public:
  // Only records the path: the package is read during Execute.
  explicit FWUpdateExecute(const std::string& packagePath);
  ~FWUpdateExecute();
  FWUpdateExecute(const FWUpdateExecute&) = delete;
  FWUpdateExecute& operator=(const FWUpdateExecute&) = delete;

  // Updates camera `deviceNumber` of the ordered list. Returns normally on success and when the
  // user answers "n"; every failure leaves as an exception, after the camera has been let go.
  void Execute(unsigned short deviceNumber, unsigned int timeoutMs, bool noPrompt, bool silent);

  // The value of the first pair whose key is `name`, or an empty string.
  std::string GetFeatureFromDeviceInfo(const std::string& name,
                                       const std::vector<std::pair<std::string, std::string>>& info) const;

 private:
  std::unique_ptr<quarx::core::fwupdate::GuffileInfo> guffile_;
};

}  // namespace fwupdate
