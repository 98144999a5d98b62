#include "app/shell/RecentList.h"

#include <algorithm>
#include <utility>

namespace zentrik {

void add_recent(std::vector<std::string>& list, const std::string& name) {
  if (name.empty()) return;
  std::string head = name;  // name may be an entry of list itself, as when a recent item is chosen
  std::erase(list, head);
  list.insert(list.begin(), std::move(head));
  if (list.size() > kMaxRecent) list.resize(kMaxRecent);
}

}  // namespace zentrik
