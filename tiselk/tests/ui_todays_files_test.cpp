// The real dialog over a folder with one file of each of today's types.
#include <QPlainTextEdit>

#include "support/todays_files.h"
#include "ui/histogram_ctrl.h"
#include "ui/resource_ids.h"
#include "ui/thumbnail_ctrl.h"
#include "ui_test_support.h"

namespace corvelle::testing {
namespace {

TEST_F(DialogTest, TodaysFilesShowPanelThumbnailAndHistogram) {
    const std::vector<TodaysFile> files = WriteTodaysFiles(folder);
    if (files.empty()) GTEST_SKIP() << "exiftool or the imaging library is missing";
    Start();
    ASSERT_EQ(List()->count(), int(files.size()));
    for (const TodaysFile& file : files) {
        SCOPED_TRACE(file.name);
        Select(QString::fromStdString(file.name));
        EXPECT_EQ(Value(IDC_MODEL).toStdString(), file.name);
        EXPECT_EQ(Value(IDC_LIGHT_VALUE), "11");
        EXPECT_NE(FindControl<QPlainTextEdit>(dialog.get(), IDC_REPORT)->toPlainText(),
                  "No Exif Informations");
        const auto* thumbnail = FindControl<CThumbnailCtrl>(dialog.get(), IDC_THUMBNAIL);
        const auto* histogram = FindControl<CHistogramCtrl>(dialog.get(), IDC_HISTOGRAM);
        ASSERT_TRUE(histogram->Picture());
        ASSERT_TRUE(thumbnail->Picture());
        EXPECT_EQ(histogram->Picture()->width(), file.width);
        // An embedded thumbnail is its own picture; otherwise the decoded one serves.
        EXPECT_EQ(thumbnail->Picture() != histogram->Picture(), file.ownThumbnail);
    }
    EXPECT_TRUE(jpegMessages.empty());
}

}  // namespace
}  // namespace corvelle::testing
