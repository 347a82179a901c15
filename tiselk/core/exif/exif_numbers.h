#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvelle {

// numerator / denominator (signed 32-bit each) rounded exactly to `decimals` places, halves
// away from zero, then trailing zeros of the fraction trimmed down to one digit after the
// point ("5.0", "5.8", "0.333"). Empty text when the denominator is 0.
std::string FormatDecimal(int32_t numerator, int32_t denominator, int decimals);

// "2.0 sec", "1/30 sec", "1/333 sec"; empty when either number is 0.
std::string ShutterFromExposureTime(int32_t numerator, int32_t denominator);

// An APEX shutter speed Tv: "1/32 sec", "1/121 sec", "1 sec"; empty when the value cannot
// be formed (zero denominator, or a speed past 2^30 either way).
std::string ShutterFromApex(int32_t numerator, int32_t denominator);

// The exposure time in seconds of an APEX shutter speed; none as for ShutterFromApex.
std::optional<double> ExposureSecondsFromApex(int32_t numerator, int32_t denominator);

// An APEX aperture value Av as an F-number text: Av 5 gives "5.6", Av 4 "4.0"; empty when
// the value cannot be formed.
std::string ApertureFromApex(int32_t numerator, int32_t denominator);

// The light value of an exposure normalised to ISO 100: 1/125 s at F5.6 and ISO 100 gives
// 11, at ISO 400 gives 9. `isoText` starts with the ISO number; none or 0 counts as 100.
int ComputeLightValue(double exposureSeconds, double fNumber, std::string_view isoText);

}  // namespace corvelle
