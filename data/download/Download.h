// Loading a data set named by an http or https URL: the file is fetched by a worker
// thread into the download cache while the user-interface thread shows its progress.
// Used by loading and reloading whenever a data file's name is a URL.
#pragma once

#include <string>
#include <string_view>

#include "data/DataFile.h"
#include "ui/Ui.h"

namespace zentrik {

// True when path begins with "http://" or "https://", in any case.
bool is_url(std::string_view path);

// The part of a URL after its last "/" (else its last "\"), cut at its first "?";
// empty for a URL ending in "/". "http://h/a/data.txt?day=3" gives "data.txt".
std::string download_display_name(std::string_view url);

struct DownloadSettings {
  long connect_timeout_seconds = 30;
  // The stall rule: each stretch of stall_seconds must bring at least
  // min_bytes_per_second on average, else the download fails as a timeout. 1 KB/s
  // over a minute: far below any working connection, yet a crawling server no
  // longer holds a download without end.
  long min_bytes_per_second = 1024;
  long stall_seconds = 60;
  long total_seconds = 0;  // the whole download's time limit, 0 for none (the batch mode's --timeout)
  long long max_bytes = 4LL << 30;
  std::string cache_dir;  // empty: $XDG_CACHE_HOME/zentrik/downloads, default ~/.cache/zentrik/downloads
};

// The settings every download starts with; read when a download begins.
DownloadSettings& download_settings();

// Fetches the URL in path into the download cache, showing progress with a Cancel
// button. On success path becomes the local copy's full path and true is returned.
// A failure is reported in a message and gives false; Cancel gives false without a
// message and sets data.download_cancelled. Called on the user-interface thread.
bool download(DataFile& data, std::string& path, Ui& ui);

}  // namespace zentrik
