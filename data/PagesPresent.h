// Making the pages of a large new block of memory present in one call: taking a page
// fault for every 4 KB of a few hundred megabytes costs more than filling them. Used
// for the line texts, the line table and the point columns.
#pragma once

#include <cstddef>

namespace zentrik {

// Where the system cannot do it, the pages come one by one as before.
void make_pages_present(void* start, std::size_t bytes);

}  // namespace zentrik
