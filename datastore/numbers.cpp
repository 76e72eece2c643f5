#include "datastore/numbers.h"

#include <charconv>
#include <cmath>
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

// A decimal number gathered into the form from_chars reads: digits, at most
// one point, then "e" with an optional sign and digits. The sign is kept apart
// because from_chars refuses a leading "+".
struct Gathered {
    bool negative = false;
    std::string body;
    bool hasDigits = false;
    // Roughly the power of ten of the leading digit, to tell an overflow
    // from an underflow when from_chars finds the value out of range.
    long long magnitude = 0;
};

// Walks the text the way both conversions see a number. Characters in
// `ignored` are skipped wherever they stand; `end` receives the position of
// the first character that cannot continue the number.
Gathered gather(std::string_view text, std::string_view ignored, std::size_t& end) {
    Gathered g;
    std::size_t i = 0;
    const auto skip = [&] {
        while (i < text.size() && ignored.find(text[i]) != std::string_view::npos) {
            ++i;
        }
    };
    skip();
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        g.negative = text[i] == '-';
        ++i;
    }
    bool seenPoint = false;
    bool seenNonZero = false;
    long long digitsBeforePoint = 0;
    long long zerosAfterPoint = 0;
    for (skip(); i < text.size(); skip()) {
        char c = text[i];
        if (isDigit(c)) {
            g.hasDigits = true;
            if (c != '0') {
                seenNonZero = true;
            }
            if (!seenPoint && seenNonZero) {
                ++digitsBeforePoint;
            } else if (seenPoint && !seenNonZero) {
                ++zerosAfterPoint;
            }
            g.body.push_back(c);
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
            g.body.push_back(c);
        } else {
            break;
        }
        ++i;
    }
    g.magnitude = digitsBeforePoint > 0 ? digitsBeforePoint - 1 : -zerosAfterPoint - 1;
    end = i;
    if (!g.hasDigits || i >= text.size() || !isExponentMark(text[i])) {
        return g;
    }
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
    g.body.push_back('e');
    if (negativeExponent) {
        g.body.push_back('-');
    }
    long long exponent = 0;
    for (; i < text.size() && isDigit(text[i]); skip()) {
        g.body.push_back(text[i]);
        if (exponent < 1'000'000'000) {
            exponent = exponent * 10 + (text[i] - '0');
        }
        ++i;
    }
    g.magnitude += negativeExponent ? -exponent : exponent;
    end = i;
    return g;
}

// Converts a gathered number, giving infinity on overflow and zero on underflow.
template <typename T>
T convert(const Gathered& g) {
    T value = 0;
    if (g.hasDigits) {
        const char* first = g.body.data();
        auto [ptr, ec] = std::from_chars(first, first + g.body.size(), value);
        if (ec == std::errc::result_out_of_range) {
            value = g.magnitude > 0 ? std::numeric_limits<T>::infinity() : T(0);
        } else if (ec != std::errc() || ptr != first + g.body.size()) {
            value = 0;
        }
    }
    return g.negative ? -value : value;
}

}  // namespace

double leadingNumber(std::string_view text) {
    std::size_t end = 0;
    return convert<double>(gather(text, " \t\n", end));
}

std::int32_t roundHalfEven(double value) {
    if (!std::isfinite(value)) {
        throw Failure("Overflow");
    }
    double whole = std::floor(value);
    double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) {
        whole += 1.0;
    }
    if (whole < -2147483648.0 || whole > 2147483647.0) {
        throw Failure("Overflow");
    }
    return static_cast<std::int32_t>(whole);
}

float toSingle(std::string_view text) {
    // Only blanks and tabs may surround the number.
    std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        throw Failure("Type mismatch");
    }
    std::size_t end = 0;
    Gathered g = gather(text.substr(first), "", end);
    if (!g.hasDigits ||
        text.substr(first + end).find_first_not_of(" \t") != std::string_view::npos) {
        throw Failure("Type mismatch");
    }
    float value = convert<float>(g);
    if (std::isinf(value)) {
        throw Failure("Overflow");
    }
    return value;
}

std::string decimal(std::int32_t value) {
    return std::to_string(value);
}

}  // namespace bv::num
