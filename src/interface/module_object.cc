#include "interface/module_object.h"

#include <utility>

namespace nirevo {
namespace {

std::unique_ptr<TNS_PitaroANI> current_module;

}  // namespace

const TNS_PitaroANI* CurrentModule() { return current_module.get(); }

void SetCurrentModule(std::unique_ptr<TNS_PitaroANI> module) {
  current_module = std::move(module);
}

}  // namespace nirevo
