// Writing files whole through a temporary file in the same folder.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace corvelle
