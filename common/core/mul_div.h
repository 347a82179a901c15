#pragma once

#include <cstdint>

namespace corvelle {

// a * b / c through a 64-bit product, rounded to the nearest integer with halves away
// from zero. Like the platform call the programs were designed around, a zero divisor or
// a quotient that does not fit in 32 bits gives -1.
int MulDiv(int a, int b, int c);

}  // namespace corvelle
