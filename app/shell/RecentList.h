// The main window's recent lists (data files, plot objects, URLs): names newest
// first, at most ten. The lists themselves live in the configuration (file_mru,
// obj_mru, url_mru); the main window's menus show them and add to them.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace zentrik {

inline constexpr std::size_t kMaxRecent = 10;
// The one greyed item of a recent list that holds nothing.
inline constexpr const char* kRecentEmptyLabel = "Empty";

// Puts name at the head of list, removes every other entry equal to it and cuts
// the list to its ten newest entries (a list read from a hand-edited configuration
// may hold more). An empty name leaves the list as it is.
void add_recent(std::vector<std::string>& list, const std::string& name);

}  // namespace zentrik
