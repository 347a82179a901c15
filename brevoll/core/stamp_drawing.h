#pragma once

#include <string>

#include <vips/vips8>

#include "core/run_settings.h"
#include "core/target_rect.h"

namespace corvelle {

// Where the stamp's layout rectangle lies on the canvas.
struct StampLayout {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The layout rectangle for a text whose measured height is textHeight: S pixels in from
// the drawn picture's sides, 2S high (or S plus the text's height when that is taller), at
// the top of the drawn picture or ending at its bottom edge.
StampLayout ComputeStampLayout(const RunSettings& settings, const TargetRect& drawn,
                               int textHeight);

// The family a font list entry names. A family installed by more than one maker is listed
// with the maker in brackets ("Nimbus Roman [urw]"); the text layout library knows the
// family by its bare name and has no way to ask for a maker, so the tag is dropped.
std::string StampFontFamily(const std::string& entry);

// Draws the text onto the canvas as the settings ask (font, size at 96 dots per inch,
// alignment, colour, alpha), clipped to the layout rectangle. The canvas is returned
// unchanged when there is nothing to draw or the font cannot be used.
vips::VImage DrawStamp(const vips::VImage& canvas, const RunSettings& settings,
                       const TargetRect& drawn, const std::string& text);

}  // namespace corvelle
