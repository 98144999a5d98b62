#include "plot/PointColumns.h"

#include <algorithm>

#include "data/PagesPresent.h"

namespace zentrik {
namespace {

std::shared_ptr<std::vector<double>> new_column(std::size_t size) {
  auto column = std::make_shared<std::vector<double>>();
  column->reserve(size + size / 8);
  if (size * sizeof(double) >= (std::size_t{1} << 20)) make_pages_present(column->data(), size * sizeof(double));
  column->resize(size);
  return column;
}

std::size_t words_for(std::size_t size) { return (size + 63) / 64; }

void grow_column(std::vector<double>& column, std::size_t kept, std::size_t size) {
  column.resize(kept);
  if (size > column.capacity()) column.reserve(size + size / 8);
  column.resize(size);
}

// Bits from `kept` on cleared, words for `size` bits.
void grow_bits(std::vector<uint64_t>& words, std::size_t kept, std::size_t size) {
  words.resize(words_for(kept));
  if (kept % 64 != 0) words.back() &= (uint64_t{1} << (kept % 64)) - 1;
  words.resize(words_for(size), 0);
}

}  // namespace

PointColumns::PointColumns(std::size_t size)
    : size_(size), values_(new_column(size)), x_(values_), valid_(words_for(size)), in_range_(words_for(size)) {}

PointColumns::PointColumns(const PointColumns& other)
    : size_(other.size_),
      values_(std::make_shared<std::vector<double>>(*other.values_)),
      valid_(other.valid_),
      in_range_(other.in_range_) {
  if (other.own_x_) {
    own_x_ = std::make_shared<std::vector<double>>(*other.own_x_);
    x_ = own_x_;
  } else if (other.x_ == other.values_) {
    x_ = values_;
  } else {
    x_ = other.x_;
  }
}

void PointColumns::grow(std::size_t size, std::size_t from) {
  const std::size_t kept = std::min({from, size_, size});
  grow_column(*values_, kept, size);
  if (own_x_) grow_column(*own_x_, kept, size);
  grow_bits(valid_, kept, size);
  grow_bits(in_range_, kept, size);
  size_ = size;
}

void PointColumns::keep_own_x() {
  own_x_ = new_column(size_);
  x_ = own_x_;
}

void PointColumns::read_x_from(const PointColumns& x_formula) {
  own_x_.reset();
  x_ = x_formula.values_;
}

}  // namespace zentrik
