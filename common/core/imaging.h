#pragma once

namespace corvelle {

// Starts the imaging library once per process (safe to call again). Pictures are opened
// once each and some are rewritten in place, so the library's operation cache is turned
// off: it would only hold memory and could hand back the old content of a replaced file.
bool StartImaging(const char* programName);

}  // namespace corvelle
