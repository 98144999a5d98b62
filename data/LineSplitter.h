// Cuts file bytes into the lines that a data set stores: a stored line is at most
// 4095 characters (a longer physical line becomes several), its line feed and a
// carriage return before it removed. Fed in pieces of any size, so the loader can
// read files in large blocks.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zentrik {

inline constexpr std::size_t kMaxStoredLine = 4095;

class LineSplitter {
 public:
  // Calls emit(std::string_view line) for every line completed by data.
  template <typename Emit>
  void feed(std::string_view data, Emit&& emit);
  // Emits the last line when the data did not end with a line feed.
  template <typename Emit>
  void finish(Emit&& emit);

 private:
  template <typename Emit>
  void append(char c, Emit& emit);
  template <typename Emit>
  void end_line(Emit& emit);

  std::string pending_;
  bool pending_cr_ = false;  // a carriage return whose successor is not yet known
  bool full_ = false;        // pending_ reached the limit: the next character starts a line
};

template <typename Emit>
void LineSplitter::feed(std::string_view data, Emit&& emit) {
  for (char c : data) {
    if (pending_cr_) {
      pending_cr_ = false;
      if (c == '\n') {  // CR LF ends the line like LF alone
        end_line(emit);
        continue;
      }
      append('\r', emit);
    }
    if (c == '\n')
      end_line(emit);
    else if (c == '\r')
      pending_cr_ = true;
    else
      append(c, emit);
  }
}

template <typename Emit>
void LineSplitter::finish(Emit&& emit) {
  if (pending_cr_) append('\r', emit);
  pending_cr_ = false;
  if (!pending_.empty()) emit(std::string_view(pending_));
  pending_.clear();
  full_ = false;
}

template <typename Emit>
void LineSplitter::append(char c, Emit& emit) {
  if (full_) end_line(emit);
  pending_ += c;
  full_ = pending_.size() >= kMaxStoredLine;
}

// A line of exactly the limit ends at its own line feed, which makes no empty line.
template <typename Emit>
void LineSplitter::end_line(Emit& emit) {
  emit(std::string_view(pending_));
  pending_.clear();
  full_ = false;
}

}  // namespace zentrik
