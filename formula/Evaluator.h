// The formula interpreter: scans a formula text and computes its value over the
// line in an EvalContext, in one pass, without a compiled form. Failures are the
// value ERROR_VALUE with one message in the sink, never exceptions.
//
// Grammar, loosest binding first:
//   boolean    -> {"!"} comparison { ("&" | "|") {"!"} comparison }
//   comparison -> sum [ relation sum ]
//   sum        -> product { ("+" | "-") product }
//   product    -> primary { ("*" | "/" | "^" | "%") primary }
//   primary    -> number | quoted | "(" boolean ")" | C primary | V primary [":" primary]
//               | F primary | X | L | N | S | function
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "formula/EvalContext.h"
#include "formula/Values.h"

namespace zentrik {

// Nesting deeper than this (parentheses, function arguments, column operands) gives
// ERROR_VALUE with "Formula too complex" instead of exhausting the stack.
inline constexpr int kMaxFormulaNesting = 200;

// Evaluates text from pos at the boolean level and leaves pos behind the last
// character consumed. Clears the missing mark at entry; the mark stays set at exit
// unless the result is ERROR_VALUE. holder is where AVG() keeps its block (null
// where AVG() is not allowed). On ERROR_VALUE the message is in message.
double evaluate(std::string_view text, std::size_t& pos, EvalContext& context,
                std::string& message, AvgState* holder);

}  // namespace zentrik
