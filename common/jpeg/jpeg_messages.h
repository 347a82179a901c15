#pragma once

#include <functional>
#include <string>

namespace corvelle {

// Receives the JPEG library's message texts: a fatal error (the picture or file is then
// refused) and the first warning of a picture. An empty sink drops them.
using JpegMessageSink = std::function<void(const std::string& message)>;

}  // namespace corvelle
