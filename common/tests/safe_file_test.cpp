// Writing files whole through a temporary file in the same folder.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

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

// A killed writer's temporary file goes at the next run; a live writer's, and files of
// any other naming, stay.
TEST(AtomicFileWriter, TempFilesOfEndedWritersAreRemovedAndNoOthers) {
    testing::TempFolder temp;
    const pid_t child = fork();
    if (child == 0) _exit(0);
    ASSERT_GT(child, 0);
    waitpid(child, nullptr, 0);  // its process id now names no live process
    const std::string ended = ".corvelle-" + std::to_string(child) + "-a1B2c3";
    const std::string live = ".corvelle-" + std::to_string(getpid()) + "-a1B2c3";
    const char* others[] = {".corvelle-a1B2c3", ".corvelle-1-", "photo.jpg", ".corvelle-x-a1B2c3"};
    for (const std::string& name : {ended, live}) testing::WriteFileBytes(temp.file(name), {1});
    for (const char* name : others) testing::WriteFileBytes(temp.file(name), {1});
    std::filesystem::create_directory(temp.file(".corvelle-" + std::to_string(child) + "-folder"));

    EXPECT_EQ(RemoveAbandonedTempFiles(temp.path().string()), 1);
    EXPECT_FALSE(std::filesystem::exists(temp.file(ended)));
    EXPECT_TRUE(std::filesystem::exists(temp.file(live)));
    for (const char* name : others) EXPECT_TRUE(std::filesystem::exists(temp.file(name))) << name;

    // A writer's own temporary file carries its process id.
    AtomicFileWriter writer(temp.file("new.jpg"));
    ASSERT_TRUE(writer.open());
    EXPECT_EQ(std::filesystem::path(writer.tempPath()).filename().string().rfind(
                  ".corvelle-" + std::to_string(getpid()) + "-", 0),
              0u);
}

}  // namespace
}  // namespace corvelle
