// A shared library opened the first time it is needed rather than when the program
// starts, and its functions looked up by name. The download holds one for libcurl and
// the error sound one for libpulse-simple: a run that neither downloads nor plays the
// sound never maps them and the dozens of libraries they pull in.
#pragma once

#include <mutex>
#include <string>

namespace zentrik {

class LazyLibrary {
 public:
  // Nothing is opened here; file_name is what the dynamic loader searches for
  // ("libcurl.so.4").
  explicit LazyLibrary(std::string file_name);
  LazyLibrary(const LazyLibrary&) = delete;
  LazyLibrary& operator=(const LazyLibrary&) = delete;
  // The library stays open until the program ends: its functions may be running on
  // threads that outlive whatever owns this object.
  ~LazyLibrary() = default;

  // The first call, from whichever thread, opens the library and has look_up(*this)
  // point the caller's function pointers at its functions with find(); every later
  // call only answers. False when the library could not be opened or lacks one of
  // the functions, error() saying why.
  template <class LookUp>
  bool open(LookUp&& look_up) {
    std::call_once(once_, [&] {
      if (open_file()) look_up(*this);
    });
    return error_.empty();
  }

  // Points function, typed as the library's header declares it
  // (decltype(&curl_easy_init)), at the function called symbol; a missing one makes
  // open() fail. Only from within open()'s look_up.
  template <class Function>
  void find(const char* symbol, Function& function) {
    function = reinterpret_cast<Function>(address(symbol));
  }

  // "libcurl.so.4 could not be loaded: <the loader's reason>"; empty when open() succeeded.
  const std::string& error() const { return error_; }

 private:
  bool open_file();
  void* address(const char* symbol);

  const std::string file_name_;
  std::once_flag once_;
  void* handle_ = nullptr;
  std::string error_;  // written only under once_
};

}  // namespace zentrik
