// The GPS directory's report lines and the position they give.
#include "core/exif/gps_report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/report/report_format.h"
#include "core/report/report_rows.h"
#include "core/text.h"

namespace corvelle {

namespace {

enum class GpsValue {
    Version,            // four bytes: "2.2.0.0"
    Text,               // a reference letter, a datum, a date: the text as it is
    Coordinate,         // degrees, minutes, seconds and the reference letter before it
    AltitudeReference,  // above or below sea level
    Altitude,           // metres
    Time,               // hours, minutes, seconds of UTC
    Decimal,            // a number with up to two decimals
    CodedText,          // an 8-byte character code, then the text
    Other,              // the unknown-tag rule's value part
};

struct GpsRow {
    uint16_t tag;
    const char* name;
    GpsValue value;
};

// Indexed by tag.
constexpr GpsRow kGpsRows[] = {
    {0x0000, "GPSVersionID", GpsValue::Version},
    {0x0001, "GPSLatitudeRef", GpsValue::Text},
    {0x0002, "GPSLatitude", GpsValue::Coordinate},
    {0x0003, "GPSLongitudeRef", GpsValue::Text},
    {0x0004, "GPSLongitude", GpsValue::Coordinate},
    {0x0005, "GPSAltitudeRef", GpsValue::AltitudeReference},
    {0x0006, "GPSAltitude", GpsValue::Altitude},
    {0x0007, "GPSTimeStamp", GpsValue::Time},
    {0x0008, "GPSSatellites", GpsValue::Text},
    {0x0009, "GPSStatus", GpsValue::Text},
    {0x000A, "GPSMeasureMode", GpsValue::Text},
    {0x000B, "GPSDOP", GpsValue::Decimal},
    {0x000C, "GPSSpeedRef", GpsValue::Text},
    {0x000D, "GPSSpeed", GpsValue::Decimal},
    {0x000E, "GPSTrackRef", GpsValue::Text},
    {0x000F, "GPSTrack", GpsValue::Decimal},
    {0x0010, "GPSImgDirectionRef", GpsValue::Text},
    {0x0011, "GPSImgDirection", GpsValue::Decimal},
    {0x0012, "GPSMapDatum", GpsValue::Text},
    {0x0013, "GPSDestLatitudeRef", GpsValue::Text},
    {0x0014, "GPSDestLatitude", GpsValue::Coordinate},
    {0x0015, "GPSDestLongitudeRef", GpsValue::Text},
    {0x0016, "GPSDestLongitude", GpsValue::Coordinate},
    {0x0017, "GPSDestBearingRef", GpsValue::Text},
    {0x0018, "GPSDestBearing", GpsValue::Decimal},
    {0x0019, "GPSDestDistanceRef", GpsValue::Text},
    {0x001A, "GPSDestDistance", GpsValue::Decimal},
    {0x001B, "GPSProcessingMethod", GpsValue::CodedText},
    {0x001C, "GPSAreaInformation", GpsValue::CodedText},
    {0x001D, "GPSDateStamp", GpsValue::Text},
    {0x001E, "GPSDifferential", GpsValue::Other},
    {0x001F, "GPSHPositioningError", GpsValue::Decimal},
};

constexpr bool IndexedByTag() {
    for (size_t i = 0; i < std::size(kGpsRows); ++i)
        if (kGpsRows[i].tag != i) return false;
    return true;
}
static_assert(IndexedByTag());

constexpr uint16_t kLatitude = 0x0002;
constexpr uint16_t kLongitude = 0x0004;
constexpr uint16_t kAltitude = 0x0006;

bool IsRational(const ExifEntry& entry) {
    return entry.type == kExifRational || entry.type == kExifSRational;
}

// The k-th rational of the entry as a number; none when it is missing or divides by zero.
std::optional<double> RationalAt(const ExifBlockReader& reader, const ExifEntry& entry, int k) {
    if (!IsRational(entry) || k < 0 || uint32_t(k) >= entry.count) return std::nullopt;
    const auto numerator = EntryItem(reader, entry, 2 * k);
    const auto denominator = EntryItem(reader, entry, 2 * k + 1);
    if (!numerator || !denominator || *denominator == 0) return std::nullopt;
    return double(*numerator) / double(*denominator);
}

// Degrees, minutes and seconds as decimal degrees. Writers that keep the minutes as a
// fraction leave the seconds out or at zero; a missing minutes or seconds part counts 0.
std::optional<double> Degrees(const ExifBlockReader& reader, const ExifEntry& entry) {
    if (!IsRational(entry) || entry.count == 0) return std::nullopt;
    double degrees = 0;
    const double scale[] = {1, 60, 3600};
    for (int k = 0; k < 3 && uint32_t(k) < entry.count; ++k) {
        const auto part = RationalAt(reader, entry, k);
        if (!part) return std::nullopt;
        degrees += *part / scale[k];
    }
    return degrees;
}

std::string Printed(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Up to `decimals` places, trailing zeros and a trailing point left out.
std::string TrimmedDecimal(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string out = text;
    if (out.find('.') != std::string::npos) {
        while (out.back() == '0') out.pop_back();
        if (out.back() == '.') out.pop_back();
    }
    return out == "-0" ? "0" : out;
}

// Hundredths of a second or of an arc second, split into three fields.
struct Sexagesimal {
    long long whole;       // degrees or hours
    long long minutes;     // 0..59
    long long hundredths;  // of the seconds, 0..5999
};

std::optional<Sexagesimal> Split(double units) {
    if (!std::isfinite(units) || units < 0 || units > 1e9) return std::nullopt;
    const long long total = std::llround(units * 360000);
    return Sexagesimal{total / 360000, total / 6000 % 60, total % 6000};
}

std::optional<std::string> CoordinateText(double degrees, char letter) {
    const auto parts = Split(degrees);
    if (!parts) return std::nullopt;
    char text[96];
    std::snprintf(text, sizeof text, "%lld\xC2\xB0 %lld' %lld.%02lld\"", parts->whole,
                  parts->minutes, parts->hundredths / 100, parts->hundredths % 100);
    std::string out = text;
    if (letter >= 'A' && letter <= 'Z') (out += ' ') += letter;
    return out;
}

std::optional<std::string> TimeText(const ExifBlockReader& reader, const ExifEntry& entry) {
    if (entry.count < 3) return std::nullopt;
    const auto hours = RationalAt(reader, entry, 0);
    const auto minutes = RationalAt(reader, entry, 1);
    const auto seconds = RationalAt(reader, entry, 2);
    if (!hours || !minutes || !seconds) return std::nullopt;
    const auto parts = Split(*hours + *minutes / 60 + *seconds / 3600);
    if (!parts) return std::nullopt;
    char text[64];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", parts->whole, parts->minutes,
                  parts->hundredths / 100);
    std::string out = text;
    if (parts->hundredths % 100 != 0) {
        std::snprintf(text, sizeof text, ".%02lld", parts->hundredths % 100);
        out += text;
        if (out.back() == '0') out.pop_back();
    }
    return out + " UTC";
}

std::optional<std::string> VersionText(const ExifBlockReader& reader, const ExifEntry& entry) {
    if (entry.type != kExifByte || entry.count != 4) return std::nullopt;
    std::string out;
    for (int k = 0; k < 4; ++k) {
        const auto item = EntryItem(reader, entry, k);
        if (!item) return std::nullopt;
        if (k > 0) out += '.';
        out += std::to_string(*item);
    }
    return out;
}

std::optional<std::string> PlainText(const ExifBlockReader& reader, const ExifEntry& entry) {
    if (entry.type != kExifAscii) return std::nullopt;
    auto text = EntryText(reader, entry);
    if (!text) return std::nullopt;
    return FileTextToUtf8(*text);
}

// The text after the 8-byte character code ("ASCII\0\0\0" and the like).
std::optional<std::string> CodedText(const ExifBlockReader& reader, const ExifEntry& entry) {
    constexpr int64_t kCodeLength = 8;
    if (entry.type != kExifUndefined || entry.count <= kCodeLength) return std::nullopt;
    auto text = reader.textAt(entry.dataPosition() + kCodeLength,
                              std::min<int64_t>(entry.count - kCodeLength, kTextLimit));
    if (!text) return std::nullopt;
    return FileTextToUtf8(*text);
}

}  // namespace

std::optional<std::string> GpsReading::take(const ExifBlockReader& reader, const ExifEntry& entry) {
    const GpsRow* row = entry.tag < std::size(kGpsRows) ? &kGpsRows[entry.tag] : nullptr;
    if (!row) {
        std::string name = "GPS(0x";
        AppendReportHex(name, entry.tag, 4, false);
        return FormatNamedValue(name + ')', reader, entry);
    }
    std::optional<std::string> value;
    switch (row->value) {
        case GpsValue::Version:
            value = VersionText(reader, entry);
            break;
        case GpsValue::Text:
            value = PlainText(reader, entry);
            if (value && !value->empty()) m_letters[entry.tag] = (*value)[0];
            break;
        case GpsValue::Coordinate: {
            const auto degrees = Degrees(reader, entry);
            if (entry.tag == kLatitude) m_latitude = degrees;
            if (entry.tag == kLongitude) m_longitude = degrees;
            // The reference letter's tag comes right before the coordinate's.
            if (degrees) value = CoordinateText(*degrees, m_letters[entry.tag - 1]);
            break;
        }
        case GpsValue::AltitudeReference: {
            const auto below = EntryItem(reader, entry, 0);
            if (!below || *below > 1 || entry.type != kExifByte) break;
            m_belowSeaLevel = *below == 1;
            value = *below == 1 ? "below sea level" : "above sea level";
            break;
        }
        case GpsValue::Altitude: {
            const auto metres = RationalAt(reader, entry, 0);
            if (entry.tag == kAltitude) m_altitude = metres;
            if (metres) value = Printed("%.1f", *metres) + " m";
            break;
        }
        case GpsValue::Time:
            value = TimeText(reader, entry);
            break;
        case GpsValue::Decimal:
            if (const auto number = RationalAt(reader, entry, 0))
                value = TrimmedDecimal(*number, 2);
            break;
        case GpsValue::CodedText:
            value = CodedText(reader, entry);
            break;
        case GpsValue::Other:
            break;
    }
    if (!value) return FormatNamedValue(row->name, reader, entry);
    return std::string(row->name) + " = " + *value + "\r\n";
}

std::optional<GpsPosition> GpsReading::position() const {
    // A position off the globe is a damaged one.
    if (!m_latitude || !m_longitude || std::fabs(*m_latitude) > 90 || std::fabs(*m_longitude) > 180)
        return std::nullopt;
    GpsPosition position;
    position.latitude = m_letters[kLatitude - 1] == 'S' ? -*m_latitude : *m_latitude;
    position.longitude = m_letters[kLongitude - 1] == 'W' ? -*m_longitude : *m_longitude;
    if (m_altitude) position.altitude = m_belowSeaLevel ? -*m_altitude : *m_altitude;
    return position;
}

std::string FormatDegrees(double degrees) {
    const std::string text = Printed("%.6f", degrees);
    return text == "-0.000000" ? "0.000000" : text;
}

std::string MapUrl(const GpsPosition& position) {
    const std::string latitude = FormatDegrees(position.latitude);
    const std::string longitude = FormatDegrees(position.longitude);
    return "https://www.openstreetmap.org/?mlat=" + latitude + "&mlon=" + longitude + "#map=16/" +
           latitude + "/" + longitude;
}

}  // namespace corvelle
