#pragma once

#include <string>
#include <vector>

#include <vips/vips8>

#include "core/memory_budget.h"
#include "core/run_settings.h"
#include "core/step_marker.h"

namespace corvelle {

struct ConvertResult {
    bool saved = false;
    std::string error;       // why the picture was not saved
    bool endsEarly = false;  // a JPEG cut short: saved with its missing part filled in
    std::vector<std::string> warnings;  // what was left out of a saved picture
    // The finished canvas scaled to fit kPreviewSide, in memory, when asked for.
    vips::VImage preview;
};

// The longest side of a preview: enough for the window's preview area on any screen.
inline constexpr int kPreviewSide = 1024;

// Turns one source picture into one output picture: load, size, border, date stamp, EXIF
// and save in the source's format (JPEG for the other picture types). Each step is
// announced to reportStep before it starts, and its work is done within it: the source is
// decoded in "Read JPEG", sized and drawn in "Resize DIB", encoded and written in "Save
// JPEG". A picture declaring more than settings.maxPixels pixels is refused before it is
// decoded. replaceExisting says whether a file already at the destination may be replaced
// (the user agreed to overwrite it). keepPreview asks for a small copy of the finished
// canvas. The picture's memory (decoded pixels and canvas) is counted against
// settings.maxMemoryMb: more than that is refused, and with a shared budget the picture
// waits until the others leave it room. Never throws.
ConvertResult ConvertPicture(const RunSettings& settings, const std::string& sourcePath,
                             const std::string& destinationPath, const StepReporter& reportStep,
                             bool replaceExisting = true, bool keepPreview = false,
                             MemoryBudget* memory = nullptr);

// Why a picture of that declared size is refused ("too large (W x H)"), or empty.
std::string PixelLimitProblem(const RunSettings& settings, int width, int height);

}  // namespace corvelle
