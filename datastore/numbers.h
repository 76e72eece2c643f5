#pragma once
// The number rules of the note values.
#include <cstdint>
#include <string>
#include <string_view>

namespace bv::num {

// The number the text begins with: blanks, tabs and line feeds are ignored
// wherever they stand; sign, digits, decimal point and exponent are read up
// to the first character that cannot continue the number; no number gives 0.
double leadingNumber(std::string_view text);

// Rounds to the nearest integer, halves to the even neighbour.
// Throws Failure("Overflow") if the result does not fit 32 bits.
std::int32_t roundHalfEven(double value);

// The whole text as a single-precision number (surrounding blanks allowed).
// Throws Failure("Type mismatch") for anything that is not a number, and
// Failure("Overflow") when it is too large.
float toSingle(std::string_view text);

// leadingNumber, then roundHalfEven: how a speed note is read.
inline std::int32_t leadingInteger(std::string_view text) {
    return roundHalfEven(leadingNumber(text));
}

// Decimal digits with a leading "-" when negative.
std::string decimal(std::int32_t value);

}  // namespace bv::num
