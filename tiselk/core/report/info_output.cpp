#include "core/report/info_output.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "core/exif/gps_report.h"
#include "core/text.h"

namespace corvelle {

namespace {

// What JSON text cannot hold as it is: control characters, DEL, the quote and the backslash.
constexpr std::array<bool, 256> kNeedsEscape = [] {
    std::array<bool, 256> table{};
    for (int c = 0; c < 0x20; ++c) table[c] = true;
    table[0x7F] = table['"'] = table['\\'] = true;
    return table;
}();

// The first position at or after `from` whose byte must be escaped, or the text's size.
size_t PlainRunEnd(const std::string& text, size_t from) {
    size_t at = from;
    while (at < text.size() && !kNeedsEscape[static_cast<unsigned char>(text[at])]) ++at;
    return at;
}

void AppendJsonString(std::string& out, const std::string& text) {
    out += '"';
    for (size_t i = 0; i < text.size();) {
        // Most of a report is plain text: copy it a run at a time.
        const size_t plain = PlainRunEnd(text, i);
        out.append(text, i, plain - i);
        if (plain == text.size()) break;
        const auto c = static_cast<unsigned char>(text[plain]);
        i = plain + 1;
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
        }
    }
    out += '"';
}

}  // namespace

std::string JsonString(const std::string& text) {
    std::string out;
    AppendJsonString(out, text);
    return out;
}

namespace {

std::string TerminalLines(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    return out;
}

std::string JsonNumber(double number) {
    if (!std::isfinite(number)) return "0";
    char digits[64];
    auto result = std::to_chars(digits, digits + sizeof digits, number);
    return std::string(digits, result.ptr);
}

std::string GpsJson(const std::optional<GpsPosition>& gps) {
    if (!gps) return "null";
    char altitude[32] = "null";
    // Zero metres below sea level prints as 0.0, not -0.0.
    if (gps->altitude) std::snprintf(altitude, sizeof altitude, "%.1f", *gps->altitude + 0.0);
    return "{\"latitude\": " + FormatDegrees(gps->latitude) +
           ", \"longitude\": " + FormatDegrees(gps->longitude) + ", \"altitude\": " + altitude +
           "}";
}

void AppendFile(std::string& out, const FileInfo& info) {
    const ExifSummary& s = info.summary;
    auto key = [&](const char* name) {
        out += "    \"";
        out += name;
        out += "\": ";
    };
    auto text = [&](const char* name, const std::string& value) {
        key(name);
        AppendJsonString(out, value);
        out += ",\n";
    };
    auto number = [&](const char* name, const std::string& value) {
        key(name);
        out += value;
        out += ",\n";
    };
    out += "  {\n";
    text("path", FileTextToUtf8(info.path));
    number("fileSize", std::to_string(s.fileSize));
    text("model", s.model);
    text("dateTime", s.dateTime);
    text("focalLength", s.focalLength);
    text("flash", s.flash);
    text("iso", s.iso);
    text("shutter", s.shutter);
    text("exposureBias", s.exposureBias);
    text("aperture", s.aperture);
    text("exifVersion", s.exifVersion);
    text("metering", s.metering);
    text("lightValue", s.lightValue);
    number("width", std::to_string(s.width));
    number("height", std::to_string(s.height));
    number("exposureSeconds", JsonNumber(s.exposureSeconds));
    number("fNumber", JsonNumber(s.fNumber));
    number("gps", GpsJson(s.gps));
    text("fileSizeText", info.fileSizeText);
    text("summaryText", info.summaryText);
    key("report");
    out += '[';
    for (size_t i = 0; i < s.reportLines.size(); ++i) {
        out += i == 0 ? "\n      " : ",\n      ";
        AppendJsonString(out, s.reportLines[i]);
    }
    out += s.reportLines.empty() ? "],\n" : "\n    ],\n";
    key("thumbnail");
    if (s.thumbnailPosition != 0 && s.thumbnailLength != 0) {
        out += "{\"offset\": " + std::to_string(s.thumbnailPosition) +
               ", \"length\": " + std::to_string(s.thumbnailLength) + "}";
    } else {
        out += "null";
    }
    out += "\n  }";
}

}  // namespace

std::string FormatInfoText(const FileInfo& info) {
    std::string out;
    for (const PanelField& field : PanelFields(info)) {
        out += field.label;
        out += ": ";
        out += field.value;
        out += '\n';
    }
    if (const auto& gps = info.summary.gps) {
        out += "Location: " + FormatDegrees(gps->latitude) + ", " + FormatDegrees(gps->longitude);
        out += '\n';
    }
    out += '\n';
    out += TerminalLines(info.summaryText);
    out += "\n\n";
    out += TerminalLines(ReportBoxText(info));
    if (out.back() != '\n') out += '\n';
    return out;
}

void InfoJsonWriter::add(const FileInfo& info) {
    m_text.assign(m_first ? "[\n" : ",\n");
    m_first = false;
    AppendFile(m_text, info);
    m_write(m_text);
}

void InfoJsonWriter::finish() { m_write(m_first ? "]\n" : "\n]\n"); }

std::string FormatInfoJson(const std::vector<FileInfo>& infos) {
    std::string out;
    InfoJsonWriter writer([&](const std::string& text) { out += text; });
    for (const FileInfo& info : infos) writer.add(info);
    writer.finish();
    return out;
}

}  // namespace corvelle
