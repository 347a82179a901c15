// The picture controls' pixels: the histogram's zone scale, the shape of the counts and the
// marker, and the thumbnail.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>

#include "core/histogram/histogram_plot.h"
#include "support/exif_builder.h"
#include "support/temp_folder.h"
#include "ui/histogram_ctrl.h"
#include "ui/picture_decoder.h"
#include "ui/thumbnail_ctrl.h"

namespace corvelle::testing {
namespace {

PictureHandle SolidPicture(uint8_t blue, uint8_t green, uint8_t red, int width = 20,
                           int height = 10) {
    PackedDib dib = *PackedDib::create(width, height, 24);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* at = dib.pictureRow(y) + 3 * x;
            at[0] = blue;
            at[1] = green;
            at[2] = red;
        }
    }
    return std::make_shared<const PackedDib>(std::move(dib));
}

class HistogramTest : public ::testing::Test {
  protected:
    void SetUp() override { control.resize(270, 180); }
    QImage Pixels() { return control.grab().toImage(); }
    // The drawing's reference lines inside the frame.
    int L() const { return control.contentsRect().left(); }
    int T() const { return control.contentsRect().top(); }
    int B() const { return control.contentsRect().bottom() + 1; }

    CHistogramCtrl control;
};

TEST_F(HistogramTest, WithoutPictureOnlyTheBarAndTheZonePatches) {
    const QImage pixels = Pixels();
    for (int zone = 0; zone < 11; ++zone) {
        const int grey = ZoneGrey(zone);
        EXPECT_EQ(pixels.pixel(L() + ZoneLeft(zone) + 10, T() + 40), qRgb(grey, grey, grey))
            << "zone " << zone;
    }
    EXPECT_EQ(ZoneGrey(10), 255);
    EXPECT_EQ(ZoneLeft(10) + ZoneWidth(10), 256);
    EXPECT_EQ(pixels.pixel(L(), T() + 5), qRgb(0, 0, 0));
    EXPECT_EQ(pixels.pixel(L() + 255, T() + 5), qRgb(254, 254, 254));
    // No marker strip without a picture: the bottom keeps the widget's background.
    EXPECT_NE(pixels.pixel(L() + 128, B() - 10), qRgb(255, 255, 255));
}

TEST_F(HistogramTest, AllRedPictureGivesOneSpikeAndTheMarkersOfRedAndMono) {
    control.SetPicture(SolidPicture(0, 0, 255));
    control.SetChannel(1);
    QImage pixels = Pixels();
    const QRgb red = qRgb(255, 0, 0);
    // The spike at the right edge reaches the top of the plot area; level 128 has nothing.
    const int plotTop = T() + 22;
    const auto drawn = [&](int x, int y) {
        const QRgb pixel = pixels.pixel(x, y);
        return pixel == red || pixel == qRgb(0, 0, 0);
    };
    for (int y : {plotTop, plotTop + 20, B() - 40}) EXPECT_TRUE(drawn(L() + 255, y)) << y;
    EXPECT_FALSE(drawn(L() + 128, plotTop + 20));
    EXPECT_FALSE(drawn(L() + 240, plotTop + 20));
    EXPECT_EQ(pixels.pixel(L() + 255, B() - 10), red) << "marker under 255";
    EXPECT_NE(pixels.pixel(L() + 76, B() - 10), red);

    control.SetChannel(0);
    pixels = Pixels();
    EXPECT_EQ(pixels.pixel(L() + 76, B() - 10), qRgb(255, 255, 255)) << "mono marker under 76";
    EXPECT_EQ(HistogramMean(control.Counts().tables[0]), 76);
    const std::vector<PlotPoint> shape =
        HistogramPolygon(control.Counts().tables[1], L(), T(), B());
    ASSERT_EQ(shape.size(), 258u);
    EXPECT_EQ(shape[255], (PlotPoint{L() + 255, plotTop}));
    EXPECT_EQ(shape[254], (PlotPoint{L() + 254, B() - 30}));
}

TEST_F(HistogramTest, GrayJpegGivesAFlatShapeAndTheMarkerAtZero) {
    TempFolder folder;
    TestJpegOptions gray;
    gray.components = 1;
    WriteFileBytes(folder.file("gray.jpg"), EncodeTestJpeg(16, 16, gray));
    const DecodedPicture decoded =
        DecodePictureFile(QString::fromStdString(folder.file("gray.jpg")));
    ASSERT_TRUE(decoded.picture);
    control.SetPicture(decoded.picture, decoded.counts);
    const QImage pixels = Pixels();
    // Above the baseline the zone patches show through; the marker stands at 0.
    EXPECT_EQ(pixels.pixel(L() + 100, B() - 32), qRgb(ZoneGrey(4), ZoneGrey(4), ZoneGrey(4)));
    EXPECT_EQ(pixels.pixel(L(), B() - 10), qRgb(255, 255, 255));
    EXPECT_NE(pixels.pixel(L() + 20, B() - 10), qRgb(255, 255, 255));
}

// The scale is the smaller of sum / 26 and the largest count: a single peak is cut at the
// top and the rest is scaled to the sum.
TEST(HistogramPlotTest, PeakIsCutAndTheRestScaledBySum) {
    HistogramTable table;
    table.fill(10);
    table[10] = 1000;
    EXPECT_EQ(HistogramScale(table), (1000 + 255 * 10) / 26);
    const std::vector<PlotPoint> shape = HistogramPolygon(table, 0, 0, 152);
    // h = 100: the peak reaches the top, every other level MulDiv(10, 100, 136) = 7.
    EXPECT_EQ(shape[10].y, 22);
    EXPECT_EQ(shape[0].y, 122 - 7);
    EXPECT_EQ(shape[256], (PlotPoint{256, 122}));
    EXPECT_EQ(shape[257], (PlotPoint{0, 122}));
}

// The thumbnail: white around the picture, scaled down to fit and centred, and a click asks
// for the photo view only while a path is set.
TEST(ThumbnailTest, PictureScaledIntoWhiteAndClickOpensTheView) {
    CThumbnailCtrl control;
    control.resize(100, 100);
    int requests = 0;
    QObject::connect(&control, &CThumbnailCtrl::ViewRequested, [&] { ++requests; });
    const auto click = [&] {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(50, 50), QPointF(50, 50),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&control, &press);
    };
    click();
    EXPECT_EQ(requests, 0);
    EXPECT_EQ(control.grab().toImage().pixel(50, 50), qRgb(255, 255, 255));

    control.SetPicture(SolidPicture(0, 0, 255, 200, 100), QStringLiteral("/photos/red.jpg"));
    EXPECT_EQ(control.PictureRect(), QRect(0, 25, 100, 50));
    const QImage pixels = control.grab().toImage();
    EXPECT_EQ(pixels.pixel(50, 50), qRgb(255, 0, 0));
    EXPECT_EQ(pixels.pixel(50, 10), qRgb(255, 255, 255));
    EXPECT_EQ(control.cursor().shape(), Qt::PointingHandCursor);
    click();
    EXPECT_EQ(requests, 1);

    control.SetPicture(nullptr, QString());
    EXPECT_EQ(control.cursor().shape(), Qt::ArrowCursor);
}

}  // namespace
}  // namespace corvelle::testing
