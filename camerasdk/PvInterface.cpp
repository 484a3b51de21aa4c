// A host interface as discovery records it.
#include "camerasdk/PvInterface.h"

PvInterface::PvInterface(const std::string& name, const std::string& display_id, const std::string& unique_id)
    : name_(name), display_id_(display_id), unique_id_(unique_id) {}
