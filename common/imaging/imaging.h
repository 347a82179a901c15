#pragma once

namespace corvelle {

// Starts the imaging library once per process (safe to call again, from any thread).
// Pictures are opened once each and some are rewritten in place, so the library's
// operation cache is turned off: it would only hold memory and could hand back the old
// content of a replaced file. Every picture is hostile, so the operations the library
// itself does not trust with such input (ImageMagick, PDF, SVG and the like) are blocked
// for good. The library's warnings (one per damaged tile, a colour profile passed over)
// are for its developers: the programs say in their own words what went wrong.
bool StartImaging(const char* programName);

}  // namespace corvelle
