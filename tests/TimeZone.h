// Runs a test in another local time zone and restores the one before.
#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace zentrik::testing {

class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) old_ = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ScopedTimeZone() {
    if (old_)
      setenv("TZ", old_->c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }

 private:
  std::optional<std::string> old_;
};

}  // namespace zentrik::testing
