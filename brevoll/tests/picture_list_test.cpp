// Which pictures a run takes, in what order, and where each one goes.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "core/picture_list.h"
#include "support/temp_folder.h"

namespace corvelle {
namespace {

using testing::TempFolder;
namespace fs = std::filesystem;

void touch(const fs::path& path) {
    fs::create_directories(path.parent_path());
    testing::WriteFileBytes(path.string(), {0xFF, 0xD8});
}

TEST(DestinationPathFor, RepeatsTheSubFoldersAndFramesTheName) {
    RunSettings s;
    s.sourceFolder = "/A";
    s.destinationFolder = "/B";
    s.prefix = "r_";
    s.postfix = "_s";
    EXPECT_EQ(DestinationPathFor(s, "/A/s/t/p.jpg"), "/B/s/t/r_p_s.jpg");
    // Case kept; without naming the path is only moved.
    s.prefix = s.postfix = "";
    EXPECT_EQ(DestinationPathFor(s, "/A/S/P.JPG"), "/B/S/P.JPG");
    // Trailing separators on either folder neither double nor drop a separator.
    s.sourceFolder = "/A/";
    s.destinationFolder = "/B//";
    EXPECT_EQ(DestinationPathFor(s, "/A/s/p.jpg"), "/B/s/p.jpg");
    s.sourceFolder = "/";
    EXPECT_EQ(DestinationPathFor(s, "/x/p.jpg"), "/B/x/p.jpg");
    // The extension is the part after the file name's last dot, not a folder's.
    s.sourceFolder = "/A";
    s.postfix = "_s";
    EXPECT_EQ(DestinationPathFor(s, "/A/d.jpg/name"), "/B/d.jpg/name_s");
    EXPECT_EQ(DestinationPathFor(s, "/A/a.b.jpg"), "/B/a.b_s.jpg");
}

TEST(MakeFolderChain, CreatesEveryMissingFolder) {
    TempFolder temp;
    RunSettings s;
    s.sourceFolder = temp.file("A");
    s.destinationFolder = temp.file("B");
    s.prefix = "r_";
    s.postfix = "_s";
    const std::string destination = DestinationPathFor(s, temp.file("A/s/t/p.jpg"));
    EXPECT_EQ(destination, temp.file("B/s/t/r_p_s.jpg"));
    EXPECT_TRUE(MakeFolderChain(destination));
    EXPECT_TRUE(fs::is_directory(temp.file("B/s/t")));
    // A file where a folder should be stops the chain.
    touch(temp.path() / "C");
    EXPECT_FALSE(MakeFolderChain(temp.file("C/d/p.jpg")));
}

TEST(CollectPictures, TakesAFoldersOwnPicturesBeforeItsSubFolders) {
    TempFolder temp;
    const fs::path root = temp.path() / "src";
    touch(root / "b.jpg");
    touch(root / "x.JPG");
    touch(root / "x.jpeg");
    touch(root / "notes.txt");
    touch(root / "a" / "in_a.jpg");
    touch(root / "a" / "deeper" / "deep.jpg");
    touch(root / "c" / "in_c.jpg");
    touch(root / "y.jpg" / "inside.jpg");
    const std::string src = root.string();

    EXPECT_EQ(CollectPictures(src, true),
              (std::vector<std::string>{src + "/b.jpg", src + "/x.JPG", src + "/a/in_a.jpg",
                                        src + "/a/deeper/deep.jpg", src + "/c/in_c.jpg",
                                        src + "/y.jpg/inside.jpg"}));
    // Not recursive: a folder whose name looks like a picture is taken as one.
    EXPECT_EQ(CollectPictures(src + "/", false),
              (std::vector<std::string>{src + "/b.jpg", src + "/x.JPG", src + "/y.jpg"}));
    EXPECT_TRUE(CollectPictures("", true).empty());
    EXPECT_TRUE(CollectPictures(temp.file("missing"), true).empty());
}

TEST(CollectPictures, EndsOnAFolderLinkedBackUp) {
    TempFolder temp;
    const fs::path root = temp.path() / "src";
    touch(root / "p.jpg");
    fs::create_directory_symlink(root, root / "loop");
    size_t announced = 0;
    const auto pictures = CollectPictures(root.string(), true, [&](size_t n) { announced = n; });
    EXPECT_EQ(pictures.size(), 1u);
    EXPECT_EQ(announced, 1u);
}

TEST(CollectPictures, LeavesOutPipesSocketsAndADestinationInsideTheSource) {
    TempFolder temp;
    const fs::path root = temp.path() / "src";
    touch(root / "p.jpg");
    touch(root / "small" / "p.jpg");  // the output of an earlier run
    touch(root / "sub" / "q.jpg");
    ASSERT_EQ(mkfifo((root / "pipe.jpg").c_str(), 0600), 0);
    fs::create_symlink(root / "pipe.jpg", root / "link-to-pipe.jpg");
    const std::string src = root.string();
    EXPECT_EQ(CollectPictures(src, true, {}, src + "/small"),
              (std::vector<std::string>{src + "/p.jpg", src + "/sub/q.jpg"}));
    EXPECT_EQ(CollectPictures(src, false, {}, src + "/small"),
              (std::vector<std::string>{src + "/p.jpg"}));
    // The same folder as source and destination is still walked.
    EXPECT_EQ(CollectPictures(src, true, {}, src).size(), 3u);
}

TEST(SourceFolderProblem, NamesWhyAFolderGivesNothing) {
    TempFolder temp;
    touch(temp.path() / "file.jpg");
    EXPECT_EQ(SourceFolderProblem(temp.path().string()), "");
    EXPECT_EQ(SourceFolderProblem(temp.file("missing")), "not found");
    EXPECT_EQ(SourceFolderProblem(temp.file("file.jpg")), "not found");
    EXPECT_EQ(SourceFolderProblem(""), "not found");
}

TEST(IsSameFolder, ComparesTextAndTheFileSystem) {
    TempFolder temp;
    fs::create_directory(temp.path() / "a");
    fs::create_directory_symlink(temp.path() / "a", temp.path() / "link");
    EXPECT_TRUE(IsSameFolder(temp.file("a"), temp.file("a") + "/"));
    EXPECT_TRUE(IsSameFolder(temp.file("a"), temp.file("link")));
    EXPECT_FALSE(IsSameFolder(temp.file("a"), temp.file("b")));
}

}  // namespace
}  // namespace corvelle
