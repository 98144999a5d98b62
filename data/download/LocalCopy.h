// Where downloads are kept: the cache folder and the one local copy per URL inside it.
// Used by the download worker; the loader only ever sees the resulting path.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "data/download/Download.h"

namespace zentrik {

// settings.cache_dir, else $XDG_CACHE_HOME/zentrik/downloads (an absolute
// XDG_CACHE_HOME only), else $HOME/.cache/zentrik/downloads.
std::filesystem::path download_cache_folder(const DownloadSettings& settings);

// The display name made safe as a single file name: no "/", "\", ".." or control
// characters, at most kMaxLocalName bytes, and "download" when nothing is left.
std::string local_file_name(std::string_view display_name);
inline constexpr std::size_t kMaxLocalName = 160;

// The local copy of url: <cache folder>/<hash of the URL>/<local file name>. The
// same URL always gives the same path, so a new download replaces the last one.
std::filesystem::path local_copy_path(const std::filesystem::path& cache_folder, std::string_view url,
                                      std::string_view display_name);

}  // namespace zentrik
