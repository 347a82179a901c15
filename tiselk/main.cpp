// Tiselk's entry point. The headless modes print what the dialog would show for each file
// and never create an application object.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_info.h"
#include "core/info_output.h"

namespace {

constexpr const char* kUsage =
    "Usage: tiselk --info FILE...   the basic information, summary and tag report\n"
    "       tiselk --json FILE...   the same as a JSON array, one object per file\n";

void Write(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string_view mode = argv[1];
    if (mode == "--help" || mode == "-h") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (mode != "--info" && mode != "--json") {
        std::fprintf(stderr, "tiselk: unknown option %s\n%s", argv[1], kUsage);
        return 2;
    }
    if (argc < 3) {
        std::fprintf(stderr, "tiselk: %s needs at least one FILE\n%s", argv[1], kUsage);
        return 2;
    }

    std::vector<corvelle::FileInfo> infos;
    for (int i = 2; i < argc; ++i) {
        corvelle::FileInfo info = corvelle::ReadFileInfo(argv[i]);
        if (mode == "--info") {
            if (i > 2) Write(corvelle::kInfoSeparator);
            Write(corvelle::FormatInfoText(info));
        } else {
            infos.push_back(std::move(info));
        }
    }
    if (mode == "--json") Write(corvelle::FormatInfoJson(infos));
    return 0;
}
