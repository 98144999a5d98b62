#include "data/LineReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace zentrik {
namespace {

constexpr std::size_t kBlockSize = 1 << 20;
// A line of the limit may be followed by CR LF: that much must be in view to decide.
constexpr std::size_t kWindow = kMaxStoredLine + 2;

}  // namespace

LineReader::LineReader(int fd) : fd_(fd), buffer_(kBlockSize) {
  begin_ = end_ = buffer_.data();
}

LineReader::LineReader(std::string_view text) : text_(text) {
  begin_ = text.data();
  end_ = text.data() + text.size();
  at_eof_ = true;
}

bool LineReader::rewind() {
  consumed_ = 0;
  complete_ = 0;
  fingerprint_ = Fingerprint();
  fingerprinted_ = 0;
  read_error_ = 0;
  if (fd_ < 0) {
    begin_ = text_.data();
    end_ = text_.data() + text_.size();
    return true;
  }
  begin_ = end_ = buffer_.data();
  at_eof_ = false;
  return lseek(fd_, 0, SEEK_SET) == 0;
}

void LineReader::fill(std::size_t want) {
  if (at_eof_ || available() >= want) return;
  const char* keep = begin_;
  if (fingerprinting_) {
    // The bytes consumed since the last fill go into the fingerprint up to the end of
    // the last complete line; the start of a line not ended yet stays in view, so that
    // the fingerprint can still end there, unless it would fill half the buffer.
    const uint64_t upto =
        complete_ >= fingerprinted_ && consumed_ - complete_ <= buffer_.size() / 2 ? complete_ : consumed_;
    fingerprint_.add(begin_ - (consumed_ - fingerprinted_), upto - fingerprinted_);
    fingerprinted_ = upto;
    keep = begin_ - (consumed_ - upto);
  }
  const auto offset = static_cast<std::size_t>(begin_ - keep);
  const auto kept = static_cast<std::size_t>(end_ - keep);
  std::memmove(buffer_.data(), keep, kept);
  begin_ = buffer_.data() + offset;
  end_ = buffer_.data() + kept;
  while (!at_eof_ && available() < want) {
    const auto filled = static_cast<std::size_t>(end_ - buffer_.data());
    ssize_t n = read(fd_, buffer_.data() + filled, buffer_.size() - filled);
    if (n > 0) {
      end_ += n;
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      at_eof_ = true;
      if (n < 0) read_error_ = errno;
    }
  }
}

bool LineReader::fingerprint(uint64_t& value) const {
  if (!fingerprinting_ || complete_ < fingerprinted_) return false;
  Fingerprint whole = fingerprint_;
  whole.add(begin_ - (consumed_ - fingerprinted_), complete_ - fingerprinted_);
  value = whole.value();
  return true;
}

bool LineReader::pass_over(uint64_t bytes) {
  while (consumed_ < bytes) {
    fill(1);
    if (available() == 0) return false;
    std::size_t step = static_cast<std::size_t>(std::min<uint64_t>(available(), bytes - consumed_));
    begin_ += step;
    consumed_ += step;
    complete_ = consumed_;  // bytes passed over are not kept in view
  }
  return !read_failed() && (bytes == 0 || begin_[-1] == '\n');
}

std::string LineReader::read_error() const { return std::strerror(read_error_); }

bool LineReader::next(std::string_view& line) {
  fill(kWindow);
  std::size_t in_view = std::min(available(), kWindow);
  if (in_view == 0) return false;
  const void* found = std::memchr(begin_, '\n', in_view);
  std::size_t length, consumed;
  if (found) {
    std::size_t feed = static_cast<std::size_t>(static_cast<const char*>(found) - begin_);
    length = feed > 0 && begin_[feed - 1] == '\r' ? feed - 1 : feed;
    consumed = feed + 1;
    if (length > kMaxStoredLine) length = consumed = kMaxStoredLine;
    if (consumed == feed + 1) complete_ = consumed_ + consumed;
  } else {
    // no line feed in view: the rest of the input, or the first piece of a long line;
    // a carriage return at the very end of the input is a character of its own
    length = consumed = std::min(in_view, kMaxStoredLine);
  }
  line = std::string_view(begin_, length);
  begin_ += consumed;
  consumed_ += consumed;
  return true;
}

}  // namespace zentrik
