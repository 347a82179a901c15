#pragma once

#include <string>
#include <vector>

#include "core/run_settings.h"

namespace corvelle {

// The output name of every picture of a run, settled before the first is converted, so
// that no two pictures write one file and no output lands on another picture of the run,
// whatever the order in which they are converted.
struct OutputNames {
    std::vector<std::string> destinations;  // one for each source, in list order
    // The sources whose usual name was another picture's: each is written as
    // "<stem>.<its own extension>.jpg" ("photo.png.jpg") instead.
    std::vector<int> renamed;
};

// Names are compared without regard to letter case ("IMG_1.HEIC" and "IMG_1.JPG" both want
// IMG_1.jpg). Every source holds its own name, so an output never replaces a source other
// than its own; sources that keep their own kind of name (a JPEG's ".jpg") claim first,
// then the pictures of other types made JPEG, each in list order.
OutputNames ClaimOutputNames(const RunSettings& settings, const std::vector<std::string>& sources);

// "photo.png is written as photo.png.jpg: photo.jpg is another picture's name"
std::string DescribeRenamed(const std::string& source, const std::string& usual,
                            const std::string& destination);

}  // namespace corvelle
