#pragma once
// The file information operation: what each update of a package holds and which cameras it fits.

#include <string>

namespace fwupdate {

class FWUpdateFileInfo {
 public:
  explicit FWUpdateFileInfo(const std::string& packagePath);

  // Prints every update of the package; unless noTest, also the cameras each one fits: all of
  // them for device number -1, otherwise only that one. Discovery runs before the package is
  // read, with or without the test. Throws on a package that cannot be read and on a device
  // number outside the list (std::out_of_range).
  void DisplayUpdateInfo(short deviceNumber, bool noTest, unsigned int timeoutMs) const;

 private:
  std::string packagePath_;
};

}  // namespace fwupdate
