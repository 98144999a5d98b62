// The computed points of one formula, indexed by line position (1 .. the data set's
// loaded count) and stored column by column: the values, the X values, and one bit
// each for validity (the point exists and is plotted) and the in-range flag (set by
// scaling). A Y formula without an X expression of its own reads the X formula's
// values as its X values, so they are stored once.
// Written by the computation, scaling and the box passes; read by drawing, the
// statistics, the histogram and the output.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace zentrik {

class PointColumns {
 public:
  // The columns behind raw pointers, taken once before a loop over many points. Valid
  // while the columns live and keep their size.
  struct View {
    const double* values;
    const double* xs;
    const uint64_t* valid_bits;
    const uint64_t* in_range_bits;

    double value(std::size_t i) const { return values[i]; }
    double x(std::size_t i) const { return xs[i]; }
    bool valid(std::size_t i) const { return bit(valid_bits, i); }
    bool in_range(std::size_t i) const { return bit(in_range_bits, i); }
  };

  // `size` points, all 0, invalid and off the plot; the X values are the values
  // themselves (as for the X formula) until read_x_from or keep_own_x.
  explicit PointColumns(std::size_t size);
  // A copy owns its values, flags and own X values; X values read from another
  // formula stay shared with it.
  PointColumns(const PointColumns& other);
  PointColumns& operator=(const PointColumns&) = delete;

  std::size_t size() const { return size_; }
  View view() const { return {values_->data(), x_->data(), valid_.data(), in_range_.data()}; }

  double value(std::size_t i) const { return (*values_)[i]; }
  double x(std::size_t i) const { return (*x_)[i]; }
  bool valid(std::size_t i) const { return bit(valid_.data(), i); }
  bool in_range(std::size_t i) const { return bit(in_range_.data(), i); }

  void set_value(std::size_t i, double value) { (*values_)[i] = value; }
  void set_x(std::size_t i, double x) { (*own_x_)[i] = x; }  // only with X values of its own
  void set_valid(std::size_t i, bool on) { set_bit(valid_.data(), i, on); }
  void set_in_range(std::size_t i, bool on) { set_bit(in_range_.data(), i, on); }

  // After lines were appended to the data set: the points before position `from` are
  // kept, those from it on cleared, `size` in all. Columns are made with an eighth
  // more room than their points, so a few appends do not move them.
  void grow(std::size_t size, std::size_t from);

  // X values of its own, all 0, written with set_x (a formula with an X expression).
  void keep_own_x();
  bool has_own_x() const { return own_x_ != nullptr; }
  // Reads the X formula's values as its X values, seeing every later change of them.
  void read_x_from(const PointColumns& x_formula);
  bool reads_x_from(const PointColumns& x_formula) const { return x_ == x_formula.values_; }

 private:
  static bool bit(const uint64_t* words, std::size_t i) { return (words[i >> 6] >> (i & 63)) & 1; }
  static void set_bit(uint64_t* words, std::size_t i, bool on) {
    const uint64_t mask = uint64_t{1} << (i & 63);
    words[i >> 6] = (words[i >> 6] & ~mask) | (on ? mask : 0);
  }

  std::size_t size_;
  std::shared_ptr<std::vector<double>> values_;      // never shared writable: others only read them
  std::shared_ptr<std::vector<double>> own_x_;       // null unless the formula has an X expression
  std::shared_ptr<const std::vector<double>> x_;     // what x(i) reads: own_x_, values_ or the X formula's
  std::vector<uint64_t> valid_, in_range_;          // one bit per point
};

}  // namespace zentrik
