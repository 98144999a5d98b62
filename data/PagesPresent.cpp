#include "data/PagesPresent.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace zentrik {

void make_pages_present(void* start, std::size_t bytes) {
#ifdef MADV_POPULATE_WRITE
  const auto page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
  const auto first = (reinterpret_cast<uintptr_t>(start) + page - 1) & ~(page - 1);
  const auto last = (reinterpret_cast<uintptr_t>(start) + bytes) & ~(page - 1);
  if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE);
#else
  (void)start;
  (void)bytes;
#endif
}

}  // namespace zentrik
