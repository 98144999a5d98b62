#include "data/download/Transfer.h"

#include <curl/curl.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>

#include "data/LazyLibrary.h"
#include "data/download/LocalCopy.h"

namespace zentrik {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kCanNotLoad = "can not load data";
constexpr const char* kNoObject = "system error, can not instantiate object";
constexpr const char* kTimeout = "connection timeout";

std::string_view http_status_reason(long status) {
  if (status == 401 || status == 407) return "authentication required";
  if (status == 403) return "security problem";
  if (status == 404 || status == 410) return "URL not found or server not responding";
  if (status >= 500) return "data not available";
  return "invalid request";
}

std::string_view curl_reason(CURLcode code) {
  switch (code) {
    case CURLE_URL_MALFORMAT:
      return "invalid URL";
    case CURLE_FAILED_INIT:
      return "no session";
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_NOT_BUILT_IN:
      return "unknown protocol";
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_INTERFACE_FAILED:
    case CURLE_PROXY:
    case CURLE_QUIC_CONNECT_ERROR:
      return "could not connect";
    case CURLE_REMOTE_FILE_NOT_FOUND:
      return "object not found";
    case CURLE_OPERATION_TIMEDOUT:
      return kTimeout;
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM:
    case CURLE_HTTP3:
    case CURLE_UNRECOVERABLE_POLL:
      return "connection failure (is the computer offline?)";
    case CURLE_LOGIN_DENIED:
    case CURLE_AUTH_ERROR:
      return "authentication required";
    case CURLE_BAD_CONTENT_ENCODING:
      return "no valid media";
    case CURLE_TOO_MANY_REDIRECTS:
    case CURLE_RANGE_ERROR:
    case CURLE_BAD_DOWNLOAD_RESUME:
    case CURLE_SEND_FAIL_REWIND:
      return "invalid request";
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_ENGINE_NOTFOUND:
    case CURLE_SSL_ENGINE_SETFAILED:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_USE_SSL_FAILED:
    case CURLE_SSL_ENGINE_INITFAILED:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_SHUTDOWN_FAILED:
    case CURLE_SSL_CRL_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
    case CURLE_SSL_CLIENTCERT:
      return "security problem";
    case CURLE_WRITE_ERROR:
      return kCanNotLoad;
    case CURLE_OUT_OF_MEMORY:
      return kNoObject;
    default:
      return "Unknown error";
  }
}

// The libcurl functions a download calls, called through these pointers: libcurl is
// loaded when the first download starts, so a run that downloads nothing never maps it.
struct CurlFunctions {
  decltype(&curl_global_init) global_init = nullptr;
  decltype(&curl_easy_init) easy_init = nullptr;
  decltype(&curl_easy_setopt) easy_setopt = nullptr;
  decltype(&curl_easy_perform) easy_perform = nullptr;
  decltype(&curl_easy_getinfo) easy_getinfo = nullptr;
  decltype(&curl_easy_cleanup) easy_cleanup = nullptr;

  void look_up(LazyLibrary& library) {
    library.find("curl_global_init", global_init);
    library.find("curl_easy_init", easy_init);
    library.find("curl_easy_setopt", easy_setopt);
    library.find("curl_easy_perform", easy_perform);
    library.find("curl_easy_getinfo", easy_getinfo);
    library.find("curl_easy_cleanup", easy_cleanup);
  }
};
CurlFunctions libcurl;

// Empty once libcurl is loaded and set up for the whole program, which the first
// call does; otherwise why no download can start.
const std::string& curl_unavailable() {
  static const std::string reason = [] {
    static LazyLibrary library("libcurl.so.4");
    if (!library.open([](LazyLibrary& opened) { libcurl.look_up(opened); })) return library.error();
    return libcurl.global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK ? std::string() : std::string("no session");
  }();
  return reason;
}

struct CurlCleanup {
  void operator()(CURL* curl) const { libcurl.easy_cleanup(curl); }
};
using CurlHandle = std::unique_ptr<CURL, CurlCleanup>;

// The body being received, in a file of its own next to the local copy. Until it is
// committed the file is removed again, so a failed download leaves nothing behind.
class PartialFile {
 public:
  PartialFile() = default;
  PartialFile(const PartialFile&) = delete;
  PartialFile& operator=(const PartialFile&) = delete;
  ~PartialFile() {
    close();
    if (!path_.empty()) ::unlink(path_.c_str());
  }

  bool open(const fs::path& folder) {
    std::string name = (folder / ".part-XXXXXX").string();
    int fd = ::mkstemp(name.data());
    if (fd < 0) return false;
    path_ = name;
    file_ = ::fdopen(fd, "wb");
    if (!file_) ::close(fd);
    return file_ != nullptr;
  }

  std::FILE* file() const { return file_; }

  bool close() {
    if (!file_) return true;
    bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    return closed;
  }

  bool commit(const fs::path& target) {
    if (!close() || std::rename(path_.c_str(), target.c_str()) != 0) return false;
    path_.clear();
    return true;
  }

 private:
  std::string path_;
  std::FILE* file_ = nullptr;
};

struct BodySink {
  enum class Refusal { None, TooBig, Unwritable };
  std::FILE* file = nullptr;
  long long written = 0;
  long long max_bytes = 0;
  Refusal refusal = Refusal::None;
};

// The size limit is checked here as well: a body without Content-Length gives libcurl
// nothing to check beforehand.
size_t write_body(char* data, size_t size, size_t count, void* user) {
  auto* sink = static_cast<BodySink*>(user);
  size_t bytes = size * count;
  if (static_cast<long long>(bytes) > sink->max_bytes - sink->written) {
    sink->refusal = BodySink::Refusal::TooBig;
    return 0;
  }
  if (std::fwrite(data, 1, bytes, sink->file) != bytes) {
    sink->refusal = BodySink::Refusal::Unwritable;
    return 0;
  }
  sink->written += static_cast<long long>(bytes);
  return bytes;
}

// The transfer as its progress callback sees it, about once a second even while
// nothing arrives. It passes the progress on to the request and applies the stall
// rule to consecutive stretches of stall_seconds: the average over a whole stretch
// counts, so short bursts between long pauses do not keep a crawling server alive.
class TransferWatch {
 public:
  explicit TransferWatch(DownloadRequest& request)
      : request_(request),
        started_(Clock::now()),
        stretch_start_(started_),
        stretch_(std::chrono::seconds(request.settings.stall_seconds)),
        stretch_bytes_needed_(static_cast<long long>(request.settings.min_bytes_per_second) *
                              request.settings.stall_seconds) {}

  // False stops the transfer: Cancel was pressed, or the transfer stalled.
  bool progress(long long now, long long total) {
    request_.bytes_now.store(now);
    request_.bytes_total.store(total);
    if (request_.cancel.load()) return false;
    Clock::time_point time = Clock::now();
    if (time - stretch_start_ < stretch_) return true;
    if (now - stretch_start_bytes_ < stretch_bytes_needed_) {
      stalled_ = true;
      return false;
    }
    stretch_start_ = time;
    stretch_start_bytes_ = now;
    return true;
  }

  bool stalled() const { return stalled_; }
  // Since just before the transfer began.
  double seconds() const { return std::chrono::duration<double>(Clock::now() - started_).count(); }

 private:
  DownloadRequest& request_;
  const Clock::time_point started_;
  Clock::time_point stretch_start_;
  const Clock::duration stretch_;
  const long long stretch_bytes_needed_;
  long long stretch_start_bytes_ = 0;
  bool stalled_ = false;
};

int record_progress(void* user, curl_off_t total, curl_off_t now, curl_off_t, curl_off_t) {
  return static_cast<TransferWatch*>(user)->progress(now, total) ? 0 : 1;
}

CURLcode configure(CURL* curl, DownloadRequest& request, BodySink& sink, TransferWatch& watch) {
  const DownloadSettings& settings = request.settings;
  CURLcode code = CURLE_OK;
  auto set = [&](CURLoption option, auto value) {
    if (code == CURLE_OK) code = libcurl.easy_setopt(curl, option, value);
  };
  set(CURLOPT_URL, request.url.c_str());
  // a redirect may not leave http and https either
  set(CURLOPT_PROTOCOLS_STR, "http,https");
  set(CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  set(CURLOPT_FOLLOWLOCATION, 1L);
  set(CURLOPT_MAXREDIRS, 10L);
  set(CURLOPT_CONNECTTIMEOUT, settings.connect_timeout_seconds);
  set(CURLOPT_TIMEOUT, settings.total_seconds);
  set(CURLOPT_NOSIGNAL, 1L);
  set(CURLOPT_FAILONERROR, 1L);
  set(CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(settings.max_bytes));
  set(CURLOPT_USERAGENT, "Zentrik");
  set(CURLOPT_WRITEFUNCTION, write_body);
  set(CURLOPT_WRITEDATA, static_cast<void*>(&sink));
  set(CURLOPT_NOPROGRESS, 0L);
  set(CURLOPT_XFERINFOFUNCTION, record_progress);
  set(CURLOPT_XFERINFODATA, static_cast<void*>(&watch));
  return code;
}

void fail(DownloadRequest& request, std::string_view reason) {
  request.error_text = "Error downloading " + request.display_name + ":  " + std::string(reason);
}

// "4 GB", "1.5 MB", "256 KB": in the largest binary unit the size reaches.
std::string size_text(long long bytes) {
  static constexpr std::pair<long long, const char*> units[] = {
      {1LL << 30, "GB"}, {1LL << 20, "MB"}, {1LL << 10, "KB"}};
  for (auto [unit, name] : units) {
    if (bytes < unit) continue;
    char number[32];
    std::snprintf(number, sizeof number, "%.1f", static_cast<double>(bytes) / static_cast<double>(unit));
    std::string text = number;
    if (text.ends_with(".0")) text.resize(text.size() - 2);
    return text + " " + name;
  }
  return std::to_string(bytes) + " bytes";
}

std::string seconds_text(long seconds) { return std::to_string(seconds) + (seconds == 1 ? " second" : " seconds"); }

std::string failure_reason(CURLcode code, long status, const BodySink& sink, const TransferWatch& watch,
                           const DownloadSettings& settings) {
  if (sink.refusal == BodySink::Refusal::TooBig || code == CURLE_FILESIZE_EXCEEDED)
    return "the download exceeds " + size_text(settings.max_bytes);
  if (sink.refusal == BodySink::Refusal::Unwritable) return kCanNotLoad;
  if (watch.stalled()) return kTimeout;
  // libcurl gives one code for the connect timeout and the whole download's limit:
  // the limit is the one that ran out when its time has passed. libcurl counts in
  // whole milliseconds and may end a millisecond before the limit.
  constexpr double kClockSlack = 0.05;
  if (code == CURLE_OPERATION_TIMEDOUT && settings.total_seconds > 0 &&
      watch.seconds() + kClockSlack >= static_cast<double>(settings.total_seconds))
    return "the download took longer than " + seconds_text(settings.total_seconds);
  if (code == CURLE_HTTP_RETURNED_ERROR || status >= 400) return std::string(http_status_reason(status));
  return std::string(curl_reason(code));
}

// Once the body is complete its size is the total, also when the server never said.
void record_completion(DownloadRequest& request, const BodySink& sink) {
  request.bytes_now.store(sink.written);
  request.bytes_total.store(sink.written);
}

void fetch(DownloadRequest& request) {
  fs::path local = local_copy_path(download_cache_folder(request.settings), request.url,
                                   request.display_name);
  // an earlier copy stays until the new one replaces it: a failed download in a
  // reload leaves the copy the reload then reads
  std::error_code error;
  fs::create_directories(local.parent_path(), error);
  PartialFile part;
  if (error || !part.open(local.parent_path())) return fail(request, kCanNotLoad);
  if (const std::string& reason = curl_unavailable(); !reason.empty()) return fail(request, reason);
  CurlHandle curl(libcurl.easy_init());
  if (!curl) return fail(request, kNoObject);

  BodySink sink{part.file(), 0, request.settings.max_bytes};
  TransferWatch watch(request);
  CURLcode code = configure(curl.get(), request, sink, watch);
  if (code == CURLE_OK) code = libcurl.easy_perform(curl.get());
  long status = 0;
  libcurl.easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &status);
  if (code != CURLE_OK || status >= 400)
    return fail(request, failure_reason(code, status, sink, watch, request.settings));
  if (request.cancel.load()) return;  // pressed too late to stop libcurl: still no file
  if (!part.commit(local)) return fail(request, kCanNotLoad);
  record_completion(request, sink);
  request.local_path = local.string();
  request.succeeded = true;
}

}  // namespace

void run_transfer(DownloadRequest& request) {
  try {
    fetch(request);
  } catch (...) {  // out of memory or a failing file system call
    request.succeeded = false;
    fail(request, kNoObject);
  }
  request.running.store(false);
}

}  // namespace zentrik
