#include "datastore/numbers.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "datastore/failure.h"

namespace bv::num {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isExponentMark(char c) {
    return c == 'e' || c == 'E' || c == 'd' || c == 'D';
}

// A decimal number gathered into the form strtod reads the same in every
// locale and C library: digits only, then "e" and a signed exponent that
// takes the point's place. No point (its character is the locale's), no
// blanks, no "0x", "inf" or "nan" ever reach strtod. The sign is kept apart.
struct Gathered {
    bool negative = false;
    std::string digits;
    bool hasDigits = false;
    // Digits after the point, taken off the exponent.
    long long fractionDigits = 0;
    long long exponent = 0;
};

// Beyond any exponent a double can carry, yet far from overflowing when the
// fraction's digits are taken off.
constexpr long long kExponentCap = 1'000'000'000'000'000;

// Walks the text the way both conversions see a number. Characters in
// `ignored` are skipped wherever they stand; `end` receives the position of
// the first character that cannot continue the number.
Gathered gather(std::string_view text, std::string_view ignored, std::size_t& end) {
    Gathered g;
    std::size_t i = 0;
    const auto skip = [&] {
        while (i < text.size() && ignored.find(text[i]) != std::string_view::npos)
            ++i;
    };
    skip();
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        g.negative = text[i] == '-';
        ++i;
    }
    bool seenPoint = false;
    for (skip(); i < text.size(); skip()) {
        char c = text[i];
        if (isDigit(c)) {
            g.hasDigits = true;
            g.digits.push_back(c);
            if (seenPoint)
                ++g.fractionDigits;
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
        ++i;
    }
    end = i;
    if (!g.hasDigits || i >= text.size() || !isExponentMark(text[i]))
        return g;
    // The exponent counts only when a digit follows: "1e" is 1.
    std::size_t save = i;
    ++i;
    skip();
    bool negativeExponent = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negativeExponent = text[i] == '-';
        ++i;
        skip();
    }
    if (i >= text.size() || !isDigit(text[i])) {
        end = save;
        return g;
    }
    for (; i < text.size() && isDigit(text[i]); skip()) {
        if (g.exponent < kExponentCap)
            g.exponent = g.exponent * 10 + (text[i] - '0');
        ++i;
    }
    if (negativeExponent)
        g.exponent = -g.exponent;
    end = i;
    return g;
}

// Converts a gathered number, giving infinity on overflow and zero (or the
// nearest subnormal) on underflow. strtod and strtof round correctly in both
// C libraries and cost a static program far less code than from_chars.
template <typename T>
T convert(const Gathered& g) {
    T value = 0;
    if (g.hasDigits) {
        const std::string body = g.digits + 'e' + std::to_string(g.exponent - g.fractionDigits);
        const char* first = body.c_str();
        char* end = nullptr;
        if constexpr (sizeof(T) == sizeof(float))
            value = std::strtof(first, &end);
        else
            value = std::strtod(first, &end);
        if (end != first + body.size())
            value = 0;
    }
    return g.negative ? -value : value;
}

}  // namespace

double leadingNumber(std::string_view text) {
    std::size_t end = 0;
    return convert<double>(gather(text, " \t\n", end));
}

std::int32_t roundHalfEven(double value) {
    if (!std::isfinite(value))
        throw Failure("Overflow");
    double whole = std::floor(value);
    double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    if (whole < -2147483648.0 || whole > 2147483647.0)
        throw Failure("Overflow");
    return static_cast<std::int32_t>(whole);
}

float toSingle(std::string_view text) {
    // Only blanks and tabs may surround the number.
    std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        throw Failure("Type mismatch");
    std::size_t end = 0;
    Gathered g = gather(text.substr(first), "", end);
    if (!g.hasDigits || text.substr(first + end).find_first_not_of(" \t") != std::string_view::npos)
        throw Failure("Type mismatch");
    float value = convert<float>(g);
    if (std::isinf(value))
        throw Failure("Overflow");
    return value;
}

std::string decimal(std::int32_t value) {
    return std::to_string(value);
}

}  // namespace bv::num
