#include "data/LineReader.h"

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
  std::size_t kept = available();
  std::memmove(buffer_.data(), begin_, kept);
  begin_ = buffer_.data();
  end_ = begin_ + kept;
  while (!at_eof_ && available() < want) {
    ssize_t n = read(fd_, buffer_.data() + available(), buffer_.size() - available());
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
