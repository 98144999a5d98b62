// Sets (or unsets) an environment variable for one test or benchmark and puts the old
// value back when it ends. Used by the tests of the configuration's location, the
// installer and the local time zone.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace zentrik::testing {

class ScopedEnv {
 public:
  // A value of nullopt removes the variable for the scope.
  ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    set(value);
  }
  ~ScopedEnv() { set(old_); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  void set(const std::optional<std::string>& value) {
    if (value)
      ::setenv(name_.c_str(), value->c_str(), 1);
    else
      ::unsetenv(name_.c_str());
  }

  std::string name_;
  std::optional<std::string> old_;
};

}  // namespace zentrik::testing
