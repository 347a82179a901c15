// Writing files whole through a temporary file in the same folder.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "core/safe_file.h"
#include "support/temp_folder.h"

namespace corvelle {
namespace {

TEST(AtomicFileWriter, WritesFilesWhoseNamesUseTheWholeNameLimit) {
    testing::TempFolder temp;
    for (size_t length : {248u, 255u}) {
        const std::string target = temp.file(std::string(length - 4, 'n') + ".jpg");
        AtomicFileWriter writer(target);
        ASSERT_TRUE(writer.open()) << length;
        EXPECT_LT(std::filesystem::path(writer.tempPath()).filename().string().size(), 32u);
        ASSERT_GE(std::fputs("x", writer.stream()), 0);
        EXPECT_TRUE(writer.commit(false));
        EXPECT_EQ(testing::ReadFileBytes(target), std::vector<uint8_t>{'x'});
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.path()),
                            std::filesystem::directory_iterator()),
              2);  // no temporary file left behind
}

// The writer keeps why it failed, so that a caller can tell a name taken meanwhile from a
// folder that is gone; a writer that has not failed says 0.
TEST(AtomicFileWriter, KeepsTheReasonOfItsFailure) {
    testing::TempFolder temp;
    const std::vector<uint8_t> bytes = {'n', 'e', 'w'};
    testing::WriteFileBytes(temp.file("taken.jpg"), {'o', 'l', 'd'});

    AtomicFileWriter taken(temp.file("taken.jpg"));
    ASSERT_TRUE(taken.open());
    EXPECT_EQ(taken.error(), 0);
    ASSERT_TRUE(taken.write(bytes));
    EXPECT_FALSE(taken.commit(/*replaceExisting=*/false));
    EXPECT_EQ(taken.error(), EEXIST);
    EXPECT_EQ(testing::ReadFileBytes(temp.file("taken.jpg")),
              (std::vector<uint8_t>{'o', 'l', 'd'}));

    AtomicFileWriter gone(temp.file("missing/a.jpg"));
    EXPECT_FALSE(gone.open());
    EXPECT_EQ(gone.error(), ENOENT);
    EXPECT_FALSE(gone.write(bytes));
    EXPECT_FALSE(gone.commit());
    EXPECT_EQ(gone.error(), EBADF);  // writing without a file is the caller's fault

    AtomicFileWriter fine(temp.file("new.jpg"));
    ASSERT_TRUE(fine.open() && fine.write(bytes) && fine.commit(false));
    EXPECT_EQ(fine.error(), 0);
    EXPECT_EQ(testing::ReadFileBytes(temp.file("new.jpg")), bytes);
}

}  // namespace
}  // namespace corvelle
