#include "core/exif/exif_numbers.h"

#include <cmath>
#include <cstdlib>

namespace corvelle {

namespace {

// Past this APEX magnitude a shutter time or aperture no longer fits a 32-bit number.
constexpr int kLargestApexPower = 30;

int64_t PowerOfTen(int exponent) {
    int64_t result = 1;
    for (int i = 0; i < exponent; ++i) result *= 10;
    return result;
}

struct ApexPower {
    double x;  // the APEX number
    int m;     // |x| truncated toward zero
    double p;  // 2 to the m
};

std::optional<ApexPower> SplitApex(int32_t numerator, int32_t denominator) {
    if (numerator == 0) return ApexPower{0.0, 0, 1.0};
    if (denominator == 0) return std::nullopt;
    const double x = static_cast<double>(numerator) / denominator;
    const double magnitude = std::trunc(std::fabs(x));
    if (magnitude > kLargestApexPower) return std::nullopt;
    const int m = static_cast<int>(magnitude);
    return ApexPower{x, m, std::ldexp(1.0, m)};
}

}  // namespace

std::string FormatDecimal(int32_t numerator, int32_t denominator, int decimals) {
    if (denominator == 0) return {};
    if (decimals < 0) decimals = 0;
    if (decimals > 9) decimals = 9;
    const bool negative = (numerator < 0) != (denominator < 0) && numerator != 0;
    const int64_t n = std::llabs(int64_t{numerator});
    const int64_t d = std::llabs(int64_t{denominator});
    const int64_t scale = PowerOfTen(decimals);
    // Exact rounding of n/d * scale, halves away from zero: (2·n·scale + d) / (2·d).
    const int64_t scaled = (2 * n * scale + d) / (2 * d);
    std::string text = std::to_string(scaled / scale);
    if (decimals > 0) {
        std::string fraction = std::to_string(scaled % scale);
        text += '.';
        text.append(static_cast<size_t>(decimals) - fraction.size(), '0');
        text += fraction;
        int trimmed = 0;
        while (trimmed < decimals && text.back() == '0') {
            text.pop_back();
            ++trimmed;
        }
        if (text.back() == '.') text += '0';
    }
    return negative ? "-" + text : text;
}

std::string ShutterFromExposureTime(int32_t numerator, int32_t denominator) {
    if (numerator == 0 || denominator == 0) return {};
    if (numerator >= denominator) return FormatDecimal(numerator, denominator, 1) + " sec";
    const int64_t n = numerator;
    const int64_t d = denominator;
    if (d % n == 0) return "1/" + std::to_string(static_cast<int32_t>(d / n)) + " sec";
    return "1/" + FormatDecimal(denominator, numerator, 0) + " sec";
}

std::string ShutterFromApex(int32_t numerator, int32_t denominator) {
    auto apex = SplitApex(numerator, denominator);
    if (!apex) return {};
    const double fraction = std::trunc((std::fabs(apex->x) - apex->m) * apex->p);
    const auto n = static_cast<int64_t>(apex->p + fraction);
    const std::string number = std::to_string(n);
    return apex->x > 0 ? "1/" + number + " sec" : number + " sec";
}

std::optional<double> ExposureSecondsFromApex(int32_t numerator, int32_t denominator) {
    auto apex = SplitApex(numerator, denominator);
    if (!apex) return std::nullopt;
    const double t = apex->p + (std::fabs(apex->x) - apex->m) * apex->p;
    return apex->x > 0 ? 1.0 / t : t;
}

std::string ApertureFromApex(int32_t numerator, int32_t denominator) {
    auto apex = SplitApex(numerator, denominator);
    if (!apex) return {};
    const double v = apex->p + std::trunc((apex->x - apex->m) * apex->p);
    // A negative Av (below F1) leaves nothing under the square root.
    if (!(v >= 0)) return {};
    const double f = std::trunc(std::sqrt(v) * 10.0);
    return FormatDecimal(static_cast<int32_t>(f), 10, 1);
}

int ComputeLightValue(double exposureSeconds, double fNumber, std::string_view isoText) {
    int64_t iso = 0;
    size_t i = 0;
    while (i < isoText.size() && isoText[i] == ' ') ++i;
    while (i < isoText.size() && isoText[i] >= '0' && isoText[i] <= '9' && iso < 1'000'000'000) {
        iso = iso * 10 + (isoText[i] - '0');
        ++i;
    }
    if (iso <= 0) iso = 100;

    double d = exposureSeconds * static_cast<double>(iso) / 100.0;
    if (!(d > 0) || !std::isfinite(d) || !std::isfinite(fNumber)) return 0;

    double f = std::trunc(fNumber * fNumber + 0.5);
    int result = 0;
    while (f > 1) {
        f = std::floor(f / 2);
        ++result;
    }
    if (d > 1) {
        while (d > 1) {
            d /= 2;
            --result;
        }
    } else {
        while (d < 1) {
            d *= 2;
            ++result;
        }
    }
    return result;
}

}  // namespace corvelle
