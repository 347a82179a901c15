// A whole run over the camera pictures of the shared sample corpus, when it is present.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "core/rename_session.h"
#include "test_pictures.h"

namespace corvelle {
namespace {

namespace fs = std::filesystem;
using namespace corvelle::testing;

TEST(CorpusRun, CameraPicturesRenameOnceAndKeepTheirBytes) {
    const fs::path samples = fs::path(CORVELLE_SOURCE_DIR) / "../shared/corpus/exif-samples/jpg";
    if (!fs::is_directory(samples)) GTEST_SKIP() << "no sample corpus at " << samples;
    FixedTimeZone zone("UTC0");
    TempFolder folder;
    std::multiset<std::vector<uint8_t>> before;
    for (const auto& item : fs::directory_iterator(samples)) {
        if (!item.is_regular_file() || item.path().extension() != ".jpg") continue;
        const fs::path copy = folder.path() / item.path().filename();
        fs::copy_file(item.path(), copy);
        fs::permissions(copy, fs::perms::owner_write, fs::perm_options::add);
        before.insert(ReadFileBytes(copy));
    }
    ASSERT_FALSE(before.empty());

    RenameSession session(RunInputsFromSettings({}, folder.path()));
    ASSERT_EQ(session.entries().size(), before.size());
    auto newNameOf = [&session](const std::string& listed) {
        for (const RenameEntry& entry : session.entries())
            if (entry.listedName == listed) return entry.newName;
        return std::string("(not listed)");
    };
    // DateTimeOriginal where the camera wrote one; DateTime (IFD0) after an editor.
    EXPECT_EQ(newNameOf("Canon_40D.jpg"), "20080530-155601.jpg");
    EXPECT_EQ(newNameOf("Nikon_D70.jpg"), "20080315-095201.jpg");
    EXPECT_EQ(newNameOf("Canon_40D_photoshop_import.jpg"), "20080731-100549.jpg");

    const RenameOutcome outcome = session.rename(session.changeablePositions());
    EXPECT_FALSE(outcome.failed());
    EXPECT_EQ(size_t(outcome.renamed), session.changeablePositions().size());
    std::multiset<std::vector<uint8_t>> after;
    for (const auto& item : fs::directory_iterator(folder.path()))
        after.insert(ReadFileBytes(item.path()));
    EXPECT_EQ(after, before);

    RenameSession second(RunInputsFromSettings({}, folder.path()));
    EXPECT_TRUE(second.changeablePositions().empty());
}

}  // namespace
}  // namespace corvelle
