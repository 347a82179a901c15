// Quenset's undo journal read back from hostile text: the parse, and the line counting that
// decides where an undo appends its marks.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/undo_journal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    corvelle::JournalRecord record;
    std::string why;
    if (corvelle::ParseJournal(text, record, why) == corvelle::JournalRead::Ok) {
        for (size_t i = 0; i < record.files.size(); ++i)
            (void)record.files[i].modifiedAfterRun(record.done[i].value_or(false));
    }
    (void)corvelle::CompleteLinesLength(text);
    return 0;
}
