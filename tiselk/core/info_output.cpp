#include "core/info_output.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "core/text.h"

namespace corvelle {

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
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
                if (c < 0x20 || c == 0x7F) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out += escaped;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
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

void AppendFile(std::string& out, const FileInfo& info) {
    const ExifSummary& s = info.summary;
    auto field = [&](const char* key, const std::string& value, bool last = false) {
        out += "    ";
        out += JsonString(key);
        out += ": ";
        out += value;
        out += last ? "\n" : ",\n";
    };
    out += "  {\n";
    field("path", JsonString(FileTextToUtf8(info.path)));
    field("fileSize", std::to_string(s.fileSize));
    field("model", JsonString(s.model));
    field("dateTime", JsonString(s.dateTime));
    field("focalLength", JsonString(s.focalLength));
    field("flash", JsonString(s.flash));
    field("iso", JsonString(s.iso));
    field("shutter", JsonString(s.shutter));
    field("exposureBias", JsonString(s.exposureBias));
    field("aperture", JsonString(s.aperture));
    field("exifVersion", JsonString(s.exifVersion));
    field("metering", JsonString(s.metering));
    field("lightValue", JsonString(s.lightValue));
    field("width", std::to_string(s.width));
    field("height", std::to_string(s.height));
    field("exposureSeconds", JsonNumber(s.exposureSeconds));
    field("fNumber", JsonNumber(s.fNumber));
    field("fileSizeText", JsonString(info.fileSizeText));
    field("summaryText", JsonString(info.summaryText));
    std::string report = "[";
    for (size_t i = 0; i < s.reportLines.size(); ++i) {
        report += i == 0 ? "\n      " : ",\n      ";
        report += JsonString(s.reportLines[i]);
    }
    report += s.reportLines.empty() ? "]" : "\n    ]";
    field("report", report);
    std::string thumbnail = "null";
    if (s.thumbnailPosition != 0 && s.thumbnailLength != 0) {
        thumbnail = "{\"offset\": " + std::to_string(s.thumbnailPosition) +
                    ", \"length\": " + std::to_string(s.thumbnailLength) + "}";
    }
    field("thumbnail", thumbnail, true);
    out += "  }";
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
    out += '\n';
    out += TerminalLines(info.summaryText);
    out += "\n\n";
    out += TerminalLines(ReportBoxText(info));
    if (out.back() != '\n') out += '\n';
    return out;
}

std::string FormatInfoJson(const std::vector<FileInfo>& infos) {
    std::string out = "[";
    for (size_t i = 0; i < infos.size(); ++i) {
        out += i == 0 ? "\n" : ",\n";
        AppendFile(out, infos[i]);
    }
    out += infos.empty() ? "]\n" : "\n]\n";
    return out;
}

}  // namespace corvelle
