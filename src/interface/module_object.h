// The module object: the one piece of state that lives from `load` to
// `unload`.
#ifndef NIREVO_INTERFACE_MODULE_OBJECT_H_
#define NIREVO_INTERFACE_MODULE_OBJECT_H_

#include <cstdint>
#include <memory>
#include <string>

namespace nirevo {

class TNS_PitaroANI {
 public:
  // The bytes `load` received, exactly: the module's directory including its
  // final path separator.
  std::string directory;
  // Which security levels are served; fixed at 2 (Local and Unknown).
  std::int32_t security_policy = 2;
};

// The current module object, or null before `load` and after `unload`.
// Requests only read it.
const TNS_PitaroANI* CurrentModule();
// Makes `module` current (null: none); the one it replaces is destroyed.
void SetCurrentModule(std::unique_ptr<TNS_PitaroANI> module);

}  // namespace nirevo

#endif  // NIREVO_INTERFACE_MODULE_OBJECT_H_
