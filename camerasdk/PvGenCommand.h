#pragma once
// A command GenICam node: execute it, and tell when the camera has finished it.

#include "camerasdk/PvGenParameter.h"

class PvGenCommand : public PvGenParameter {
 public:
  PvGenCommand(PvGenParameterArray* owner, ArvGcFeatureNode* node);

  PvResult Execute();
  // Done once the command's register no longer reads back as the command value; read from the
  // camera on every call, never from a cache.
  PvResult IsDone(bool& done);
};
