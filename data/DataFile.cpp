#include "data/DataFile.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "data/LineReader.h"
#include "data/PagesPresent.h"

namespace zentrik {

std::string file_name_of(std::string_view path) {
  std::size_t slash = path.find_last_of("/\\");
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

DataFile::DataFile(std::string path) : path_(std::move(path)) {}

DataFile::DataFile(std::string path, LoadEnvironment& env) : path_(path) {
  load_data_file(*this, std::move(path), env);
}

DataFile::~DataFile() {
  update_thread_.reset();  // asks the thread to stop and waits until it has
}

void DataFile::subscribe(DataFileObserver& observer) {
  std::lock_guard lock(observers_mutex_);
  observers_.push_back(&observer);
}

void DataFile::unsubscribe(DataFileObserver& observer) {
  std::lock_guard lock(observers_mutex_);
  std::erase(observers_, &observer);
}

void DataFile::set_update_interval(double seconds, Ui& ui) {
  update_interval_ = seconds;
  if (update_thread_ && !update_thread_->alive()) update_thread_.reset();  // it ended by itself
  if (update_thread_)
    update_thread_->pulse();
  else if (seconds != 0 && !std::isnan(seconds))
    update_thread_ = std::make_unique<UpdateThread>(*this, ui);
}

const DataLine* DataFile::first_included() const {
  for (const DataLine& line : store_.lines)
    if (line.included()) return &line;
  return nullptr;
}

const DataLine* DataFile::next_included(const DataLine* after) const {
  const DataLine* end = store_.lines.data() + store_.lines.size();
  for (const DataLine* line = after + 1; line < end; ++line)
    if (line->included()) return line;
  return nullptr;
}

void DataFile::reserve_lines(std::size_t count, std::size_t present) {
  store_.lines.reserve(count);
  const std::size_t size = store_.lines.size();
  if (present > size) make_pages_present(store_.lines.data() + size, (std::min(present, count) - size) * sizeof(DataLine));
}

bool LineStore::append(std::string_view text, bool include) {
  do {
    if (lines.size() >= static_cast<std::size_t>(INT32_MAX)) return false;
    std::string_view piece = text.substr(0, kMaxStoredLine);
    text.remove_prefix(piece.size());
    std::string_view stored = texts.store(piece);
    int32_t position = static_cast<int32_t>(lines.size() + 1);
    lines.push_back({stored.data(), include ? position : -position});
    if (include) ++included;
  } while (!text.empty());
  return true;
}

bool DataFile::store_line(std::string_view text) {
  ++changes_;
  return store_.append(text, true);
}

void DataFile::append_lines(int32_t keep, const LineStore& added) {
  const uint64_t before = changes_;
  truncate_lines(keep);
  for (const DataLine& line : added.lines) store_.append(line.text(), line.included());
  changes_ = before + 1;
  last_append_ = {before, changes_, keep + 1};
}

bool DataFile::appended_since(uint64_t seen, int32_t& from) const {
  if (last_append_.after != changes_ || last_append_.before != seen) return false;
  from = last_append_.from;
  return true;
}

void DataFile::store_text(std::string_view text) {
  LineReader reader(text);
  for (std::string_view line; reader.next(line);) store_line(line);
}

void DataFile::set_included(int32_t position, bool included) {
  DataLine& line = store_.lines[static_cast<std::size_t>(position - 1)];
  if (line.included() == included) return;
  line.number = -line.number;
  store_.included += included ? 1 : -1;
}

std::string_view DataFile::join_line(int32_t position, std::string_view joint, std::string_view added) {
  DataLine& line = store_.lines[static_cast<std::size_t>(position - 1)];
  std::string_view old = line.text();
  std::string joined;
  joined.reserve(old.size() + joint.size() + added.size());
  joined.append(old).append(joint).append(added);
  std::string_view stored = store_.texts.store(joined);
  ++changes_;
  line.chars = stored.data();
  return old;
}

void DataFile::restore_line_text(int32_t position, std::string_view old_text) {
  ++changes_;
  DataLine& line = store_.lines[static_cast<std::size_t>(position - 1)];
  line.chars = old_text.data();  // a text of the arena, ended there
}

void DataFile::truncate_lines(int32_t count) {
  ++changes_;
  while (loaded_count() > count) {
    if (store_.lines.back().included()) --store_.included;
    store_.lines.pop_back();
  }
}

void DataFile::include_all() {
  for (DataLine& line : store_.lines)
    if (!line.included()) line.number = -line.number;
  store_.included = loaded_count();
}

void DataFile::clear_lines() {
  ++changes_;
  store_.lines.clear();
  store_.lines.shrink_to_fit();
  store_.texts.clear();
  store_.included = 0;
}

DataSource& DataFile::add_source(std::string path, int32_t how_added) {
  auto source = std::make_unique<DataSource>();
  source->name = file_name_of(path);
  source->path = std::move(path);
  source->how_added = how_added;
  sources_.push_back(std::move(source));
  return *sources_.back();
}

DataSource* DataFile::source(int i) {
  return i >= 1 && i <= source_count() ? sources_[static_cast<std::size_t>(i - 1)].get() : nullptr;
}

const DataSource* DataFile::source(int i) const { return const_cast<DataFile*>(this)->source(i); }

}  // namespace zentrik
