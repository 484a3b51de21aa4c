// Command GenICam nodes: execute through Aravis; completion read from the command's register.
#include "camerasdk/PvGenCommand.h"

#include <cerrno>
#include <cstdlib>
#include <string>

#include "camerasdk/arv_support.h"

using camerasdk_detail::ChildText;
using camerasdk_detail::Failure;
using camerasdk_detail::ResultFromError;

namespace {

// Reads an integer node of the command's document by name.
PvResult ReadIntegerNode(ArvGc* genicam, const std::string& name, gint64& value, bool& writeOnly) {
  ArvGcNode* node = arv_gc_get_node(genicam, name.c_str());
  if (node == nullptr || !ARV_IS_GC_INTEGER(node)) {
    return Failure(PvResult::Code::NOT_SUPPORTED, "Command register(" + name + ") is not an integer node");
  }
  writeOnly = ARV_IS_GC_FEATURE_NODE(node) &&
              arv_gc_feature_node_get_actual_access_mode(ARV_GC_FEATURE_NODE(node)) == ARV_GC_ACCESS_MODE_WO;
  if (writeOnly) {
    return PvResult();
  }
  GError* error = nullptr;
  value = arv_gc_integer_get_value(ARV_GC_INTEGER(node), &error);
  return ResultFromError(error);
}

}  // namespace

PvGenCommand::PvGenCommand(PvGenParameterArray* owner, ArvGcFeatureNode* node)
    : PvGenParameter(owner, node, PvGenTypeCommand) {}

PvResult PvGenCommand::Execute() {
  PvResult result = CheckAccess(Access::kWrite);
  if (result.IsFailure()) {
    return result;
  }
  GError* error = nullptr;
  arv_gc_command_execute(ARV_GC_COMMAND(node_), &error);
  return ResultFromError(error);
}

PvResult PvGenCommand::IsDone(bool& done) {
  PvResult result = CheckAttached();
  if (result.IsFailure()) {
    return result;
  }
  ArvGc* genicam = arv_gc_node_get_genicam(ARV_GC_NODE(node_));
  const std::string valueName = ChildText(ARV_DOM_NODE(node_), "pValue");
  if (valueName.empty()) {
    return Failure(PvResult::Code::NOT_SUPPORTED, "Command " + name_ + " has no register to poll");
  }
  gint64 current = 0;
  bool writeOnly = false;
  result = ReadIntegerNode(genicam, valueName, current, writeOnly);
  if (result.IsFailure()) {
    return result;
  }
  // A register that cannot be read back cannot show the command still running.
  if (writeOnly) {
    done = true;
    return result;
  }
  gint64 commandValue = 0;
  const std::string literal = ChildText(ARV_DOM_NODE(node_), "CommandValue");
  if (!literal.empty()) {
    errno = 0;
    char* end = nullptr;
    commandValue = std::strtoll(literal.c_str(), &end, 0);
    if (errno == ERANGE || end == literal.c_str() || *end != '\0') {
      return Failure(PvResult::Code::NOT_SUPPORTED,
                     "Command " + name_ + " has an invalid CommandValue(" + literal + ")");
    }
  } else {
    const std::string commandValueName = ChildText(ARV_DOM_NODE(node_), "pCommandValue");
    bool commandValueWriteOnly = false;
    result = commandValueName.empty()
                 ? Failure(PvResult::Code::NOT_SUPPORTED, "Command " + name_ + " has no command value")
                 : ReadIntegerNode(genicam, commandValueName, commandValue, commandValueWriteOnly);
    if (result.IsFailure()) {
      return result;
    }
  }
  done = current != commandValue;
  return result;
}
