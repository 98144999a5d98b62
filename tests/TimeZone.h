// Runs a test (or a benchmark) in another local time zone, or with TZ unset as on a
// normal desktop, and restores the one before.
#pragma once

#include <ctime>
#include <optional>
#include <string>

#include "ScopedEnv.h"

namespace zentrik::testing {

class ScopedTimeZone {
 public:
  // nullptr leaves TZ unset: the system's own zone, /etc/localtime.
  explicit ScopedTimeZone(const char* zone)
      : variable_("TZ", zone ? std::optional<std::string>(zone) : std::nullopt) {
    tzset();
  }
 private:
  // Re-reads the zone once the variable is back: members end in reverse order.
  struct Reread {
    ~Reread() { tzset(); }
  };
  Reread reread_;
  ScopedEnv variable_;
};

}  // namespace zentrik::testing
