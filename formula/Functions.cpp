#include "formula/Functions.h"

#include <cmath>

#include "formula/Values.h"

namespace zentrik {
namespace {

// Degrees to radians with the constant the language has always used, not 180/pi.
constexpr double kDegreesPerRadian = 57.2957796;

double abs_of(double x, const char**) { return std::fabs(x); }
double cos_of(double x, const char**) { return std::cos(x / kDegreesPerRadian); }
double sin_of(double x, const char**) { return std::sin(x / kDegreesPerRadian); }
double tan_of(double x, const char**) { return std::tan(x / kDegreesPerRadian); }
double int_of(double x, const char**) { return to_int32(x); }

double log_of(double x, const char** error) {
  if (x <= 0) {
    *error = "Log of number <= 0";
    return ERROR_VALUE;
  }
  return std::log10(x);
}

double nlg_of(double x, const char** error) {
  if (x <= 0) {
    *error = "Natural log of a number <= 0";
    return ERROR_VALUE;
  }
  return std::log(x);
}

constexpr BuiltinFunction kFunctions[] = {
    {"ABS", ArgumentForm::OnePrimary, abs_of},
    {"AVG", ArgumentForm::AvgPair, nullptr},
    {"COS", ArgumentForm::OnePrimary, cos_of},
    {"INT", ArgumentForm::OnePrimary, int_of},
    {"LOG", ArgumentForm::OnePrimary, log_of},
    {"NLG", ArgumentForm::OnePrimary, nlg_of},
    {"SIN", ArgumentForm::OnePrimary, sin_of},
    {"TAN", ArgumentForm::OnePrimary, tan_of},
    {"TD", ArgumentForm::TimeDate, nullptr},
};

}  // namespace

std::span<const BuiltinFunction> builtin_functions() { return kFunctions; }

const BuiltinFunction* find_builtin(char first, char second) {
  if (second < 'A' || second > 'Z') return nullptr;  // the common case: C2, L+1
  for (const BuiltinFunction& f : kFunctions)
    if (f.name[0] == first && f.name[1] == second) return &f;
  return nullptr;
}

bool only_functions_begin_with(char first) { return first == 'A' || first == 'I' || first == 'T'; }

}  // namespace zentrik
