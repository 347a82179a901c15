#pragma once

#include <cstdint>

namespace corvelle {

// The name of a tag that today's cameras and phones write but the report has no row for
// (lens, time zone, ISO, rating and the like); null for any other tag.
const char* TodaysTagName(uint16_t tag);

}  // namespace corvelle
