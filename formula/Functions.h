// The table of built-in functions: name, how its arguments are written, and for the
// one-argument functions the computation. The evaluator recognises names through it.
#pragma once

#include <span>
#include <string_view>

namespace zentrik {

enum class ArgumentForm {
  OnePrimary,  // NAME x: one primary, parentheses optional (LOG 100, LOG(100), LOGC2)
  AvgPair,     // AVG(x, n): two full expressions in parentheses
  TimeDate,    // TD(start, code), TDF(start, code), TD('text', code)
};

struct BuiltinFunction {
  std::string_view name;  // two or three capital letters
  ArgumentForm form;
  // OnePrimary only: the value of the function at x, or null with *error set
  double (*apply)(double x, const char** error);
};

// Every built-in function, in alphabetical order.
std::span<const BuiltinFunction> builtin_functions();

// The function whose name begins with the letters first and second, or null.
const BuiltinFunction* find_builtin(char first, char second);

// Whether a primary that begins with this letter can only be a function name
// (A, I and T begin no other construct).
bool only_functions_begin_with(char first);

}  // namespace zentrik
