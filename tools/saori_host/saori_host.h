// A SAORI/1.0 host's side of the boundary: loads a module DLL, finds its
// entry points the way common hosts do ("load" first, then "_load"), and
// moves text in and out in fixed global memory blocks.
#ifndef NIREVO_TOOLS_SAORI_HOST_H_
#define NIREVO_TOOLS_SAORI_HOST_H_

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace saori {

// How a host looks up the entry points: most try "load" and then "_load";
// some look only for the plain names.
enum class Names { kPlainThenUnderscored, kPlainOnly };

class Module {
 public:
  // Loads the DLL at `path`; check ok() and error() afterwards.
  explicit Module(const std::string& path, Names names = Names::kPlainThenUnderscored);
  ~Module();  // calls unload if load was called, then frees the DLL
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;

  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }

  // The DLL's directory with its final backslash, as hosts pass it to load.
  const std::string& directory() const { return directory_; }

  // Calls load with `directory`; answers its result.
  int Load(std::string_view directory);
  // Sends `text` and answers the response, or nothing when the module
  // answered a null block. `extra_zero` allocates one byte more than the
  // length passed, holding a zero, as some hosts do.
  std::optional<std::string> Request(std::string_view text, bool extra_zero = false);
  // Hands `block` over with `length`, as a host with a text of its own
  // making does, and answers as Request does.
  std::optional<std::string> RequestBlock(HGLOBAL block, long length);
  int Unload();
  // The length the module gave with its last answer.
  long last_length() const { return last_length_; }

  // False once the module answered a block that is not a fixed one (whose
  // handle is not its address): a host that reads the handle as an address,
  // as SAORI hosts do, would read garbage.
  bool answers_were_fixed_blocks() const { return answers_were_fixed_blocks_; }

  HMODULE library() const { return library_; }

  // Every block handed to load and request, in order: the module owns and
  // frees each one.
  const std::vector<HGLOBAL>& blocks_handed_over() const { return blocks_handed_over_; }

 private:
  HGLOBAL HandOver(HGLOBAL block) {
    blocks_handed_over_.push_back(block);
    return block;
  }

  using LoadFn = BOOL(__cdecl*)(HGLOBAL, long);
  using RequestFn = HGLOBAL(__cdecl*)(HGLOBAL, long*);
  using UnloadFn = BOOL(__cdecl*)();

  HMODULE library_ = nullptr;
  LoadFn load_ = nullptr;
  RequestFn request_ = nullptr;
  UnloadFn unload_ = nullptr;
  bool loaded_ = false;
  bool answers_were_fixed_blocks_ = true;
  long last_length_ = 0;
  std::vector<HGLOBAL> blocks_handed_over_;
  std::string directory_;
  std::string error_;
};

// "EXECUTE SAORI/1.0" with the usual headers and Argument0, Argument1, …
std::string ExecuteRequest(const std::string* arguments, std::size_t count,
                           std::string_view security_level = "Local",
                           std::string_view sender = "saori-call");

// The status code of a response ("SAORI/1.0 204 No Content" gives 204), or 0.
int StatusOf(std::string_view response);

}  // namespace saori

#endif  // NIREVO_TOOLS_SAORI_HOST_H_
