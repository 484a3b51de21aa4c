#pragma once
// One GenICam node of a node map: names and texts, type, visibility, access flags, value as
// text and selector relations. The typed nodes derive from it.

#include <string>

#include "camerasdk/PvGenParameterList.h"
#include "camerasdk/PvGenTypes.h"
#include "camerasdk/PvResult.h"
#include "camerasdk/PvString.h"

typedef struct _ArvGcFeatureNode ArvGcFeatureNode;
class PvGenParameterArray;

class PvGenParameter {
 public:
  // Made by the node map only; the node is borrowed from the map's document.
  PvGenParameter(PvGenParameterArray* owner, ArvGcFeatureNode* node, PvGenType type);
  virtual ~PvGenParameter();
  PvGenParameter(const PvGenParameter&) = delete;
  PvGenParameter& operator=(const PvGenParameter&) = delete;

  PvString GetName() const { return PvString(name_); }
  PvResult GetName(PvString& name) const;
  PvResult GetCategory(PvString& category) const;
  PvResult GetDescription(PvString& description) const;
  PvResult GetDisplayName(PvString& displayName) const;
  PvResult GetToolTip(PvString& toolTip) const;
  PvResult GetType(PvGenType& type) const;
  PvResult GetVisibility(PvGenVisibility& visibility) const;
  PvResult IsSelector(bool& selector) const;
  PvResult GetSelectingParameters(PvGenParameterList& list) const;
  PvResult GetSelectedParameters(PvGenParameterList& list) const;

  // Flags read the camera's current state; an error while reading one counts as false.
  bool IsAvailable() const;
  bool IsImplemented() const;
  bool IsPersistent() const;
  bool IsReadable() const;
  bool IsStreamable() const;
  bool IsValueCached() const;
  bool IsWritable() const;
  // No change notifications in this SDK.
  bool GetUpdatesEnabled() const { return false; }

  virtual PvResult FromString(const PvString& value);
  virtual PvResult ToString(PvString& value) const;

  // Cuts the node off its document when the document goes (disconnect); every later
  // operation fails with NotConnected instead of touching freed memory.
  void Detach() { node_ = nullptr; }

 protected:
  enum class Access { kRead, kWrite };
  // Success, or the failure for a node that is detached, unavailable, or lacks the access.
  PvResult CheckAccess(Access access) const;
  PvResult CheckAttached() const;

  PvGenParameterArray* owner_;
  ArvGcFeatureNode* node_;
  std::string name_;
  PvGenType type_;
};
