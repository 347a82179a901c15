// Noise removal from the Tools menu: the even-spreading dialog, its preview and what OK
// and Cancel do to the photo.

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTimer>

#include <cstring>
#include <functional>

#include "core/noise_filter.h"
#include "ui/even_spread_dlg.h"
#include "ui/resource_ids.h"
#include "ui/spread_preview.h"
#include "ui_test_support.h"

namespace corvelle::testing {
namespace {

// A photo with colour noise: a smooth ramp with every third pixel pushed up.
PackedDib NoisyPhoto(int width, int height) {
    PackedDib dib = MakeTestPhoto(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = (y % 3); x < width; x += 3) {
            uint8_t* at = dib.pictureRow(y) + 3 * x;
            at[0] = uint8_t(at[0] + 9);
            at[2] = uint8_t(at[2] + 6);
        }
    }
    return dib;
}

PackedDib Filtered(PackedDib dib, int threshold, int region) {
    ApplyNoiseFilter({threshold, region}, dib);
    return dib;
}

void Release(QSlider* slider, int value) {
    slider->setValue(value);
    emit slider->sliderReleased();
}

void WhenDialogOpens(std::function<void(CEvenSpreadDlg*)> handler, bool* opened = nullptr) {
    WhenModalOpens<CEvenSpreadDlg>(std::move(handler), opened);
}

// The buffer's rows must equal the picture's region at the origin.
bool BufferShows(const PackedDib& buffer, const PackedDib& picture, QPoint origin, int columns,
                 int rows) {
    for (int y = 0; y < rows; ++y) {
        if (std::memcmp(buffer.pictureRow(y), picture.pictureRow(origin.y() + y) + 3 * origin.x(),
                        size_t(columns) * 3) != 0) {
            return false;
        }
    }
    return true;
}

TEST_F(MainFrameTest, CancelLeavesThePhotoUntouched) {
    CMorvaneDoc* document = OpenPhoto(NoisyPhoto(300, 200));
    const std::vector<uint8_t> before = document->m_hPhoto->bytes();
    bool opened = false;
    WhenDialogOpens(
        [](CEvenSpreadDlg* dialog) {
            Release(dialog->ThresholdSlider(), 90);
            Release(dialog->RegionSlider(), 25);
            dialog->reject();
        },
        &opened);
    frame->ExecuteCommand(ID_TOOLS_DENOISE);
    EXPECT_TRUE(opened);
    EXPECT_EQ(document->m_hPhoto->bytes(), before);
    EXPECT_EQ(frame->ProgressBar(), nullptr);
}

TEST_F(MainFrameTest, OkFiltersThePhotoWithTheReleasedValues) {
    CMorvaneDoc* document = OpenPhoto(NoisyPhoto(300, 200));
    frame->ExecuteCommand(ID_GRAY_1786);
    const std::vector<uint8_t> rendering = document->m_hGray1786->bytes();
    const PackedDib expected = Filtered(*document->m_hPhoto, 60, 5);

    WhenDialogOpens([](CEvenSpreadDlg* dialog) {
        EXPECT_EQ(dialog->ThresholdSlider()->value(), 20);
        EXPECT_EQ(dialog->RegionSlider()->value(), 9);
        Release(dialog->ThresholdSlider(), 60);
        Release(dialog->RegionSlider(), 5);
        // A keyboard move sends no release: the value in force stays the released one.
        dialog->RegionSlider()->setValue(17);
        EXPECT_EQ(dialog->ThresholdEdit()->text(), "60");
        EXPECT_EQ(dialog->RegionEdit()->text(), "5");
        dialog->accept();
    });
    frame->ExecuteCommand(ID_TOOLS_DENOISE);
    EXPECT_EQ(document->m_hPhoto->bytes(), expected.bytes());
    EXPECT_EQ(document->m_hGray1786->bytes(), rendering) << "an earlier rendering stays";
    EXPECT_FALSE(document->IsModified());
    EXPECT_EQ(frame->MessageText(), "준비");

    // The next run starts from the defaults again.
    const PackedDib again = Filtered(*document->m_hPhoto, 20, 9);
    WhenDialogOpens([](CEvenSpreadDlg* dialog) { dialog->accept(); });
    frame->ExecuteCommand(ID_TOOLS_DENOISE);
    EXPECT_EQ(document->m_hPhoto->bytes(), again.bytes());
}

TEST_F(MainFrameTest, GrayscalePhotoIsNotOfferedTheFilter) {
    CMorvaneDoc* document = OpenPhoto(*PackedDib::create(60, 40, 8));
    const std::vector<uint8_t> before = document->m_hPhoto->bytes();
    bool opened = false;
    WhenDialogOpens([](CEvenSpreadDlg* dialog) { dialog->reject(); }, &opened);
    frame->ExecuteCommand(ID_TOOLS_DENOISE);
    QApplication::processEvents();
    EXPECT_FALSE(opened);
    EXPECT_EQ(document->m_hPhoto->bytes(), before);
}

TEST(SpreadPreview, StartsWithTheUnfilteredMiddleAndFiltersOnRelease) {
    const PackedDib photo = NoisyPhoto(1000, 700);
    CEvenSpreadDlg dialog(nullptr, &photo, {}, nullptr);
    CSpreadPreview* preview = dialog.Preview();
    const PackedDib& buffer = *preview->Buffer();
    const QSize client = preview->contentsRect().size();
    EXPECT_EQ(buffer.width(), 2 * client.width());
    EXPECT_EQ(buffer.height(), 2 * client.height());
    const QPoint origin((1000 - buffer.width()) / 2, (700 - buffer.height()) / 2);
    EXPECT_EQ(preview->Origin(), origin);
    EXPECT_TRUE(BufferShows(buffer, photo, origin, buffer.width(), buffer.height()));

    Release(dialog.ThresholdSlider(), 40);
    EXPECT_FALSE(BufferShows(buffer, photo, origin, buffer.width(), buffer.height()));
    // Filtering the cut-out is not filtering the whole photo at its edges, so compare inside.
    PackedDib region = *CropDib(photo, DibRect{origin.x(), origin.y(), origin.x() + buffer.width(),
                                               origin.y() + buffer.height()});
    ApplyNoiseFilter({40, 9}, region);
    EXPECT_EQ(std::vector<uint8_t>(buffer.pixels(), buffer.pixels() + buffer.pixelBytes()),
              std::vector<uint8_t>(region.pixels(), region.pixels() + region.pixelBytes()));

    Release(dialog.ZoomSlider(), 250);
    EXPECT_EQ(preview->Zoom(), 250);
    EXPECT_EQ(dialog.ZoomLabel()->text(), "250%");
}

TEST(SpreadPreview, SlidersActWhenTheMouseLetsGoAndNotOnKeys) {
    const PackedDib photo = NoisyPhoto(400, 300);
    CEvenSpreadDlg dialog(nullptr, &photo, {}, nullptr);
    dialog.show();
    QApplication::processEvents();

    // A click on the groove right of the handle pages the slider without holding the handle.
    QSlider* region = dialog.RegionSlider();
    const QPoint groove(region->width() - 3, region->height() / 2);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(
            type, QPointF(groove), region->mapToGlobal(QPointF(groove)), Qt::LeftButton,
            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(region, &event);
    }
    ASSERT_NE(region->value(), 9);
    EXPECT_EQ(dialog.Settings().regionSize, region->value());
    EXPECT_EQ(dialog.RegionEdit()->text(), QString::number(region->value()));

    // The keyboard moves a slider but sends no release: the value in use stays.
    QSlider* threshold = dialog.ThresholdSlider();
    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(threshold, &right);
    EXPECT_EQ(threshold->value(), 21);
    EXPECT_EQ(dialog.Settings().threshold, 20);
    EXPECT_EQ(dialog.ThresholdEdit()->text(), "20");
}

TEST(SpreadPreview, DragPansUnfilteredAndRefiltersOnRelease) {
    const PackedDib photo = NoisyPhoto(1000, 700);
    CEvenSpreadDlg dialog(nullptr, &photo, {}, nullptr);
    CSpreadPreview* preview = dialog.Preview();
    const QPoint origin = preview->Origin();
    const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button,
                          Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(at), preview->mapToGlobal(QPointF(at)), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(preview, &event);
    };
    send(QEvent::MouseButtonPress, QPoint(100, 100), Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, QPoint(130, 90), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(preview->Origin(), origin + QPoint(-30, 10)) << "the picture follows the mouse";
    EXPECT_TRUE(preview->ShowsSource());
    send(QEvent::MouseMove, QPoint(5000, -5000), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(preview->Origin(), QPoint(0, 700 - preview->Buffer()->height()));
    send(QEvent::MouseButtonRelease, QPoint(5000, -5000), Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(preview->ShowsSource());
    PackedDib region =
        *CropDib(photo, DibRect{0, preview->Origin().y(), preview->Buffer()->width(), 700});
    ApplyNoiseFilter({20, 9}, region);
    const PackedDib& buffer = *preview->Buffer();
    EXPECT_EQ(std::vector<uint8_t>(buffer.pixels(), buffer.pixels() + buffer.pixelBytes()),
              std::vector<uint8_t>(region.pixels(), region.pixels() + region.pixelBytes()));
}

TEST(SpreadPreview, SmallPhotoIsCopiedWhereItOverlaps) {
    const PackedDib photo = NoisyPhoto(120, 90);
    CEvenSpreadDlg dialog(nullptr, &photo, {}, nullptr);
    CSpreadPreview* preview = dialog.Preview();
    EXPECT_EQ(preview->Origin(), QPoint(0, 0));
    EXPECT_TRUE(BufferShows(*preview->Buffer(), photo, QPoint(0, 0), 120, 90));
    Release(dialog.RegionSlider(), 25);
    EXPECT_EQ(preview->Origin(), QPoint(0, 0));
    // The photo's own right and bottom edges are the filter's edges: the empty rest of the
    // buffer is neither averaged in nor coloured.
    const PackedDib expected = Filtered(photo, 20, 25);
    EXPECT_TRUE(BufferShows(*preview->Buffer(), expected, QPoint(0, 0), 120, 90));
    const uint8_t* outside = preview->Buffer()->pictureRow(0) + 3 * 120;
    EXPECT_EQ(std::vector<uint8_t>(outside, outside + 6), std::vector<uint8_t>(6, 0));
    preview->grab();  // painting stays inside both pictures
}

}  // namespace
}  // namespace corvelle::testing
