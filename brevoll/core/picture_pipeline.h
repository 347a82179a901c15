#pragma once

#include <string>

#include <vips/vips8>

#include "core/run_settings.h"
#include "core/step_marker.h"

namespace corvelle {

struct ConvertResult {
    bool saved = false;
    std::string error;    // why the picture was not saved
    bool endsEarly = false;  // a JPEG cut short: saved with its missing part filled in
    vips::VImage canvas;  // the finished canvas in memory, when asked for (for a preview)
};

// Turns one source picture into one output picture: load, size, border, date stamp, EXIF
// and save in the source's format. Each step is announced to reportStep before it starts.
// replaceExisting says whether a file already at the destination may be replaced (the
// user agreed to overwrite it). keepCanvas keeps the finished canvas in memory for a
// preview. Never throws.
ConvertResult ConvertPicture(const RunSettings& settings, const std::string& sourcePath,
                             const std::string& destinationPath, const StepReporter& reportStep,
                             bool replaceExisting = true, bool keepCanvas = false);

}  // namespace corvelle
