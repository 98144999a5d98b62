// One download's shared state and the worker that fetches it with libcurl. The
// user-interface thread fills a DownloadRequest, starts run_transfer on a thread and
// watches the atomics; the worker never touches the Ui.
#pragma once

#include <atomic>
#include <string>

#include "data/download/Download.h"

namespace zentrik {

struct DownloadRequest {
  // Set before the worker starts, read-only for it.
  std::string url;
  std::string display_name;
  DownloadSettings settings;

  // Written by the worker, read by the user-interface thread after the join.
  bool succeeded = false;
  std::string local_path;
  std::string error_text;

  // Shared while the worker runs.
  std::atomic<bool> running{false};  // cleared by the worker as its very last action
  std::atomic<bool> cancel{false};
  std::atomic<long long> bytes_now{0};
  std::atomic<long long> bytes_total{0};  // 0 while unknown
};

// Fetches request.url into its local copy, replacing an earlier one; on failure
// leaves no file behind and sets the error text. Clears request.running at the end.
void run_transfer(DownloadRequest& request);

}  // namespace zentrik
