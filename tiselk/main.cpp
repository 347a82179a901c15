// Tiselk's entry point, kept small so that a script pays only for what it asks: it answers
// --help and --version, reports bad usage and prints --info and --json itself, loading
// neither Qt nor the picture library. Decoding (--decode, --histogram) runs in
// tiselk-headless and the window in tiselk-window, each started in its place.
#include <cstdio>
#include <string>
#include <vector>

#include "core/command_line.h"
#include "core/command_line_usage.h"
#include "core/report/file_info.h"
#include "core/report/info_output.h"
#include "core/private_program.h"

namespace {

void Write(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

// Each file's information is written as soon as it is read, so memory stays flat however
// many files are given.
int RunInfo(bool asJson, const std::vector<std::string>& files) {
    corvelle::InfoJsonWriter json(Write);
    for (size_t i = 0; i < files.size(); ++i) {
        // The texts name a thumbnail's place but never show it: its bytes are not even read.
        const corvelle::FileInfo info =
            corvelle::ReadFileInfo(files[i], corvelle::ThumbnailBytes::Leave);
        if (asJson) {
            json.add(info);
        } else {
            if (i > 0) Write(corvelle::kInfoSeparator);
            Write(corvelle::FormatInfoText(info));
        }
    }
    if (asJson) json.finish();
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    using Mode = corvelle::TiselkCommandLine::Mode;
    if (const auto answered = corvelle::AnswerHelpOrVersion(argc, argv, "tiselk", "1.4 (build 25)",
                                                            corvelle::kTiselkUsage))
        return *answered;
    const corvelle::TiselkCommandLine command =
        corvelle::ParseTiselkArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!command.error.empty())
        return corvelle::ReportUsageError("tiselk", command.error, corvelle::kTiselkUsage);
    switch (command.mode) {
        case Mode::Info:
        case Mode::Json:
            return RunInfo(command.mode == Mode::Json, command.files);
        case Mode::Histogram:
        case Mode::Decode:
            return corvelle::RunPrivateProgram("tiselk", "tiselk-headless", argv);
        case Mode::Window:
            break;
    }
    return corvelle::RunPrivateProgram("tiselk", "tiselk-window", argv);
}
