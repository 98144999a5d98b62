#include "data/LazyLibrary.h"

#include <dlfcn.h>

#include <utility>

namespace zentrik {

LazyLibrary::LazyLibrary(std::string file_name) : file_name_(std::move(file_name)) {}

bool LazyLibrary::open_file() {
  handle_ = ::dlopen(file_name_.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_) return true;
  const char* reason = ::dlerror();
  error_ = file_name_ + " could not be loaded: " + (reason ? reason : "unknown reason");
  return false;
}

void* LazyLibrary::address(const char* symbol) {
  void* found = handle_ ? ::dlsym(handle_, symbol) : nullptr;
  if (!found && error_.empty()) error_ = file_name_ + " could not be loaded: it has no function " + symbol;
  return found;
}

}  // namespace zentrik
