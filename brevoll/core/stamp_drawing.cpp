#include "core/stamp_drawing.h"

#include <algorithm>

namespace corvelle {

namespace {

// The canvas resolution a new bitmap takes, which turns the point size into pixels.
constexpr int kCanvasDpi = 96;

struct PositionStyle {
    VipsAlign align;
    bool bottom;
};

// Alignment and vertical place of the seven positions ("None" first).
constexpr PositionStyle kPositions[] = {
    {VIPS_ALIGN_LOW, false},  {VIPS_ALIGN_LOW, false}, {VIPS_ALIGN_CENTRE, false},
    {VIPS_ALIGN_HIGH, false}, {VIPS_ALIGN_LOW, true},  {VIPS_ALIGN_CENTRE, true},
    {VIPS_ALIGN_HIGH, true},
};

std::string markupEscaped(const std::string& text) {
    gchar* escaped = g_markup_escape_text(text.c_str(), gssize(text.size()));
    std::string result(escaped);
    g_free(escaped);
    return result;
}

// The stamp colour's six digits are read as BBGGRR.
std::vector<double> stampInk(uint32_t value) {
    return {double(value & 0xFF), double((value >> 8) & 0xFF), double((value >> 16) & 0xFF)};
}

}  // namespace

std::string StampFontFamily(const std::string& entry) {
    const size_t open = entry.rfind(" [");
    if (open == std::string::npos || open == 0 || !entry.ends_with(']')) return entry;
    return entry.substr(0, open);
}

StampLayout ComputeStampLayout(const RunSettings& settings, const TargetRect& drawn,
                               int textHeight) {
    // A size past the picture's width leaves no room for text anyway; the bound keeps the
    // arithmetic below inside int for any stored size.
    const int s = std::clamp(settings.stampFontSize, 0, std::max(drawn.width, 0));
    const int margin = std::max(settings.borderMargin, 0);
    StampLayout layout{margin + s, margin, drawn.width - 2 * s, 2 * s};
    if (textHeight > layout.height) layout.height = s + textHeight;
    const int position = std::clamp(settings.stampPosition, 0, 6);
    if (kPositions[position].bottom) layout.y = drawn.canvasHeight() - layout.height - margin;
    return layout;
}

vips::VImage DrawStamp(const vips::VImage& canvas, const RunSettings& settings,
                       const TargetRect& drawn, const std::string& text) {
    if (settings.stampPosition <= 0 || settings.stampPosition > 6 || text.empty() ||
        settings.stampFontSize <= 0)
        return canvas;
    const PositionStyle style = kPositions[settings.stampPosition];
    const int s = settings.stampFontSize;
    // The comma ends the family name, so words such as "Roman" in "Times New Roman" are not
    // taken for style words.
    const std::string font = StampFontFamily(settings.stampFont) + ", " + std::to_string(s);
    // The layout keeps S pixels from both sides; on a picture narrower than that there is no
    // room for any text (and a font that large would only cost memory).
    if (s >= drawn.width) return canvas;
    const int layoutWidth = drawn.width - 2 * s;
    if (layoutWidth <= 0) return canvas;

    vips::VImage ink;
    try {
        ink = vips::VImage::text(markupEscaped(text).c_str(), vips::VImage::option()
                                                                  ->set("font", font.c_str())
                                                                  ->set("dpi", kCanvasDpi)
                                                                  ->set("align", style.align)
                                                                  ->set("width", layoutWidth));
    } catch (const vips::VError&) {
        // A text that cannot be laid out (only blanks, say) leaves the picture unstamped.
        return canvas;
    }

    // The ink image is cropped to the drawn glyphs; its offsets say where it lies within the
    // text's layout box, whose top is the top of the layout rectangle.
    const int inkLeft = ink.xoffset();
    const int inkTop = ink.yoffset();
    const StampLayout layout = ComputeStampLayout(settings, drawn, inkTop + ink.height());

    // Text is clipped to its layout rectangle and to the canvas.
    int left = layout.x + inkLeft;
    int top = layout.y + inkTop;
    const int clipLeft = std::max(0, layout.x);
    const int clipRight = std::min(canvas.width(), layout.x + layout.width);
    const int clipTop = std::max(0, layout.y);
    const int clipBottom = std::min(canvas.height(), layout.y + layout.height);
    const int x0 = std::max(left, clipLeft), x1 = std::min(left + ink.width(), clipRight);
    const int y0 = std::max(top, clipTop), y1 = std::min(top + ink.height(), clipBottom);
    if (x0 >= x1 || y0 >= y1) return canvas;
    ink = ink.crop(x0 - left, y0 - top, x1 - x0, y1 - y0);
    left = x0;
    top = y0;

    // The ink's coverage times the brush alpha blends the colour over the picture.
    const double alpha = settings.semiTransparent ? 128.0 : 255.0;
    vips::VImage cover = (ink * (alpha / 255.0)).cast(VIPS_FORMAT_UCHAR);
    cover = cover.embed(left, top, canvas.width(), canvas.height());

    const int colourBands = std::min(canvas.bands(), 3);
    vips::VImage colour =
        canvas.bands() > colourBands
            ? canvas.extract_band(0, vips::VImage::option()->set("n", colourBands))
            : canvas;
    std::vector<double> paint = stampInk(settings.stampColor);
    paint.resize(size_t(colourBands));
    vips::VImage stamped =
        cover.ifthenelse(paint, colour, vips::VImage::option()->set("blend", true));
    if (canvas.bands() > colourBands)
        stamped = stamped.bandjoin(canvas.extract_band(
            colourBands, vips::VImage::option()->set("n", canvas.bands() - colourBands)));
    return stamped.copy(vips::VImage::option()->set("interpretation", canvas.interpretation()));
}

}  // namespace corvelle
