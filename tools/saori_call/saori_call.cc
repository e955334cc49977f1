// saori-call: a SAORI/1.0 host on the command line. It loads a module DLL,
// calls its load with the DLL's directory, sends one request, prints the
// response and calls unload.
//
//   saori-call [options] MODULE.dll [ARGUMENT0 [ARGUMENT1 ...]]
//
//   --security LEVEL  the SecurityLevel header (default Local; "" leaves it out)
//   --raw FILE        send FILE's bytes as the request ("-" reads standard input)
//   --version         send "GET Version SAORI/1.0" instead of EXECUTE
//   --echo            print the request before the response
//   --quiet           print nothing; only the exit status tells
//
// Exit status: 0 for a 2xx response, 1 for any other response, 2 when the
// module cannot be used or the command line is wrong.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "saori_host.h"

namespace {

int Usage() {
  std::fputs("usage: saori-call [--security LEVEL] [--raw FILE|-] [--version] [--echo] [--quiet]"
             " MODULE.dll [ARGUMENT0 [ARGUMENT1 ...]]\n",
             stderr);
  return 2;
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

bool ReadAll(std::FILE* file, std::string* text) {
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) != 0;) {
    text->append(buffer, got);
  }
  return std::ferror(file) == 0;
}

bool ReadAll(const std::string& name, std::string* text) {
  if (name == "-") {
    _setmode(_fileno(stdin), _O_BINARY);
    return ReadAll(stdin, text);
  }
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(name.c_str(), "rb"));
  return file != nullptr && ReadAll(file.get(), text);
}

std::string GetVersionRequest(const std::string& security) {
  std::string text = "GET Version SAORI/1.0\r\nCharset: Shift_JIS\r\nSender: saori-call\r\n";
  if (!security.empty()) text += "SecurityLevel: " + security + "\r\n";
  return text + "\r\n";
}

}  // namespace

int main(int argc, char** argv) {
  std::string security = "Local";
  std::string raw_file;
  bool version = false;
  bool quiet = false;
  bool echo = false;
  int i = 1;
  for (; i < argc; ++i) {
    std::string option = argv[i];
    if (option == "--security" && i + 1 < argc) {
      security = argv[++i];
    } else if (option == "--raw" && i + 1 < argc) {
      raw_file = argv[++i];
    } else if (option == "--version") {
      version = true;
    } else if (option == "--echo") {
      echo = true;
    } else if (option == "--quiet") {
      quiet = true;
    } else if (option.rfind("--", 0) == 0) {
      return Usage();
    } else {
      break;
    }
  }
  if (i >= argc) return Usage();
  const std::string module_path = argv[i++];
  std::vector<std::string> arguments(argv + i, argv + argc);

  std::string text;
  if (!raw_file.empty()) {
    if (!ReadAll(raw_file, &text)) {
      std::fprintf(stderr, "saori-call: cannot read %s\n", raw_file.c_str());
      return 2;
    }
  } else if (version || arguments.empty()) {
    text = GetVersionRequest(security);
  } else if (security.empty()) {
    text = saori::ExecuteRequest(arguments.data(), arguments.size(), "", "saori-call");
    text.erase(text.find("SecurityLevel: \r\n"), 17);
  } else {
    text = saori::ExecuteRequest(arguments.data(), arguments.size(), security);
  }

  saori::Module module(module_path);
  if (!module.ok()) {
    std::fprintf(stderr, "saori-call: %s\n", module.error().c_str());
    return 2;
  }
  module.Load(module.directory());
  std::optional<std::string> response = module.Request(text);
  if (!response) {
    std::fputs("saori-call: the module answered no block\n", stderr);
    return 2;
  }
  if (!quiet) {
    _setmode(_fileno(stdout), _O_BINARY);
    if (echo) std::fwrite(text.data(), 1, text.size(), stdout);
    std::fwrite(response->data(), 1, response->size(), stdout);
    std::fflush(stdout);
  }
  const int status = saori::StatusOf(*response);
  return status >= 200 && status < 300 ? 0 : 1;
}
