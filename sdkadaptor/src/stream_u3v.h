#pragma once
// A USB3 Vision stream.

#include <string>

#include "sdkadaptor/src/stream.h"

class PvStreamU3V;

namespace quarx::sdkadaptor {

class InterfaceStreamU3V : public virtual InterfaceStream {
 public:
  virtual void Open() = 0;
  virtual std::string GetGUID() const = 0;

 protected:
  ~InterfaceStreamU3V() = default;
};

class StreamU3V : public Stream, public virtual InterfaceStreamU3V {
 public:
  // A new, closed SDK stream for the device of that connection id.
  explicit StreamU3V(const std::string& connectionId);

  // The device must be connected in this process under the connection id.
  void Open() override;
  std::string GetGUID() const override;

 private:
  PvStreamU3V& U3v() const;
};

}  // namespace quarx::sdkadaptor
