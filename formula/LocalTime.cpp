#include "formula/LocalTime.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace zentrik {
namespace {

// Each thread remembers the stretch of local times that one offset of the zone alone
// reaches, found around the library's last answer: inside it a local time is that
// offset away from UTC. Outside it the library is asked, and its answer replaces the
// stretch. The library (glibc) places a repeated time by the offset of its previous
// answer, which is thereby always the remembered offset: repeated times come out as
// they would had every time been asked.
// Zones are taken not to change their offset and back within a day.
constexpr std::int64_t kDay = 86400;
constexpr std::int64_t kReach = 64 * kDay;       // how far a search for the next change goes
constexpr std::int64_t kWidestShift = 2 * kDay;  // more than any two offsets differ (-12 h .. +14 h)
constexpr std::int64_t kNoOffset = INT64_MIN;

struct Stretch {
  bool zone_set = false;  // TZ when it was found
  std::string zone;
  std::int64_t from = 0, to = 0;  // local seconds, to excluded
  std::int64_t offset = 0;

  bool holds(const char* tz, std::int64_t local) const {
    return local >= from && local < to && zone_set == (tz != nullptr) && (!tz || zone == tz);
  }
};

// Days from 1970-01-01 to the first of month (1 .. 12) of year in the Gregorian calendar.
std::int64_t days_to_month(std::int64_t year, int month) {
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const std::int64_t year_of_era = year - era * 400;
  const std::int64_t day_of_year = (153 * ((month + 9) % 12) + 2) / 5;  // counted from March
  const std::int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

std::int64_t offset_at(std::int64_t seconds) {
  const std::time_t t = static_cast<std::time_t>(seconds);
  std::tm local{};
  return localtime_r(&t, &local) ? local.tm_gmtoff : kNoOffset;
}

// The local-time end (direction +1) or start (-1) of what offset alone accounts for
// around the instant `seconds`: up to the zone's next change of offset, short of the
// local times the neighbouring offset also reaches.
std::int64_t stretch_edge(std::int64_t seconds, std::int64_t offset, int direction) {
  const std::int64_t step = direction * kDay;
  for (std::int64_t inside = seconds; (inside - seconds) * direction < kReach; inside += step) {
    std::int64_t outside = inside + step;
    if (offset_at(outside) == offset) continue;
    while ((outside - inside) * direction > 1) {
      const std::int64_t middle = inside + (outside - inside) / 2;
      (offset_at(middle) == offset ? inside : outside) = middle;
    }
    const std::int64_t neighbour = offset_at(outside);
    return direction > 0 ? outside + std::min(offset, neighbour) : inside + std::max(offset, neighbour);
  }
  // no change within reach: stay clear of whatever offset lies beyond it
  return seconds + direction * (kReach - kWidestShift) + offset;
}

// After the library placed `local` at `seconds`: the stretch around it, or none when
// the library moved a skipped time: its next guess is then not known.
Stretch stretch_around(const char* tz, std::int64_t local, std::int64_t seconds) {
  Stretch found;
  const std::int64_t offset = offset_at(seconds);
  if (local - seconds != offset) return found;
  found.from = stretch_edge(seconds, offset, -1);
  found.to = stretch_edge(seconds, offset, +1);
  found.offset = offset;
  found.zone_set = tz != nullptr;
  if (tz) found.zone = tz;
  return found;
}

}  // namespace

std::time_t local_to_seconds(int year, int month, int day, int hour, int minute, int second) {
  thread_local Stretch known;
  const std::int64_t local = (days_to_month(year, month) + day - 1) * kDay + std::int64_t{hour} * 3600 +
                            std::int64_t{minute} * 60 + second;
  const char* tz = std::getenv("TZ");
  if (known.holds(tz, local)) return static_cast<std::time_t>(local - known.offset);
  std::tm fields{};
  fields.tm_year = year - 1900;
  fields.tm_mon = month - 1;
  fields.tm_mday = day;
  fields.tm_hour = hour;
  fields.tm_min = minute;
  fields.tm_sec = second;
  fields.tm_isdst = -1;
  const std::time_t seconds = std::mktime(&fields);
  known = stretch_around(tz, local, seconds);
  return seconds;
}

}  // namespace zentrik
