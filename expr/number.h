#pragma once
// Number literals of the expression language: exactly the value and the characters strtod takes.

namespace ovra {

// Reads the literal at `at` (a digit or '.'). Returns the first unread character: `at` itself when nothing
// forms a number.
const char* ReadNumber(const char* at, double& value);

}  // namespace ovra
