#include "data/download/Download.h"

#include <system_error>
#include <thread>

#include "data/download/Transfer.h"

namespace zentrik {
namespace {

constexpr int kPollMilliseconds = 200;

bool starts_without_case(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

// The progress window's contents, passed on to the Ui only when they change.
class ProgressView {
 public:
  ProgressView(Ui& ui, const std::string& display_name)
      : ui_(ui), downloading_("\nDownloading \n" + display_name) {}

  void show(long long now, long long total) {
    std::string text = downloading_;
    bool done = false;
    double fraction = 0;
    std::string kilobytes;
    if (total > 0) {
      fraction = static_cast<double>(now) / static_cast<double>(total);
      kilobytes = std::to_string(total / 1000) + "K";
      done = fraction >= 0.999;
      if (done) text = "\nDownloaded " + kilobytes;
    }
    if (text != text_) ui_.progressSetText(text_ = text);
    if (done && fraction_ > 0) ui_.progressSetFraction(fraction_ = 0);  // no bar beside "Downloaded"
    if (total <= 0 || done) return;
    if (kilobytes != size_text_) ui_.progressSetSizeText(size_text_ = kilobytes);
    if (fraction != fraction_) ui_.progressSetFraction(fraction_ = fraction);
  }

 private:
  Ui& ui_;
  const std::string downloading_;
  std::string text_;
  std::string size_text_;
  double fraction_ = -1;
};

// The worker thread; leaving the scope early (a throwing Ui) stops and joins it.
class Worker {
 public:
  explicit Worker(DownloadRequest& request) : request_(request) {
    request.running.store(true);
    try {
      thread_ = std::thread(run_transfer, std::ref(request));
    } catch (const std::system_error&) {
      request.error_text = "Error downloading " + request.display_name +
                           ":  system error, can not instantiate object";
      request.running.store(false);
    }
  }
  Worker(const Worker&) = delete;
  Worker& operator=(const Worker&) = delete;
  ~Worker() {
    if (!thread_.joinable()) return;
    request_.cancel.store(true);
    thread_.join();
  }

  void join() {
    if (thread_.joinable()) thread_.join();
  }

 private:
  DownloadRequest& request_;
  std::thread thread_;
};

// Runs the transfer while the Ui stays responsive; true when Cancel was pressed.
bool watch_transfer(DownloadRequest& request, Ui& ui) {
  ProgressView view(ui, request.display_name);
  bool cancelled = false;
  Worker worker(request);
  while (request.running.load()) {
    if (ui.progressCancelled() && !cancelled) {
      cancelled = true;
      request.cancel.store(true);
      ui.progressEnableCancel(false);
    }
    view.show(request.bytes_now.load(), request.bytes_total.load());
    ui.waitDispatching(kPollMilliseconds);
  }
  view.show(request.bytes_now.load(), request.bytes_total.load());
  worker.join();
  return cancelled;
}

}  // namespace

bool is_url(std::string_view path) {
  return starts_without_case(path, "http://") || starts_without_case(path, "https://");
}

std::string download_display_name(std::string_view url) {
  std::size_t separator = url.rfind('/');
  if (separator == std::string_view::npos) separator = url.rfind('\\');
  std::string_view name = separator == std::string_view::npos ? url : url.substr(separator + 1);
  return std::string(name.substr(0, name.find('?')));
}

DownloadSettings& download_settings() {
  static DownloadSettings settings;
  return settings;
}

bool download(DataFile& data, std::string& path, Ui& ui) {
  ui.progressShow("\nDownloading...", true);
  DownloadRequest request;
  request.url = path;
  request.display_name = download_display_name(path);
  request.settings = download_settings();
  data.download_cancelled = false;

  bool cancelled = watch_transfer(request, ui);
  data.download_cancelled = cancelled;
  ui.progressHide();
  if (cancelled) return false;
  if (!request.succeeded) {
    ui.message(request.error_text, "File Not Downloaded!", Buttons::Ok);
    return false;
  }
  path = request.local_path;
  return true;
}

}  // namespace zentrik
