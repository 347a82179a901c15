// The photo window: renderings, the trimming mask and its dragging, the pixel readout, the
// copy and the save, on a real frame.

#include <QClipboard>
#include <QComboBox>
#include <QDropEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMessageBox>
#include <QMimeData>
#include <QPixmap>
#include <QUrl>

#include "core/jpeg_file.h"
#include "core/trim_frame.h"
#include "support/temp_folder.h"
#include "ui/combo_toolbar.h"
#include "ui/resource_ids.h"
#include "ui_test_support.h"

namespace corvelle::testing {
namespace {

QRgb PhotoColour(const PackedDib& dib, int x, int y) {
    const uint8_t* at = dib.pictureRow(y) + 3 * x;
    return qRgb(at[2], at[1], at[0]);
}

QRgb GrabbedAt(QWidget* widget, QPoint point) { return widget->grab().toImage().pixel(point); }

QPoint Centre(const QRect& rect) {
    return QPoint(rect.left() + rect.width() / 2, rect.top() + rect.height() / 2);
}

TEST_F(MainFrameTest, GrayRenderingIsMadeOnceAndCached) {
    CMorvaneDoc* document = OpenPhoto(MakeTestPhoto(64, 48));
    frame->ExecuteCommand(ID_GRAY_1786);
    ASSERT_TRUE(document->m_hGray1786.has_value());
    EXPECT_EQ(document->GetDisplayImage(), &*document->m_hGray1786);
    // Mark the rendering: if it were made again the mark would be gone.
    document->m_hGray1786->pictureRow(0)[0] = 77;
    const PackedDib* rendering = &*document->m_hGray1786;
    frame->ExecuteCommand(ID_TRUE_COLOR);
    EXPECT_EQ(document->GetDisplayImage(), &*document->m_hPhoto);
    frame->ExecuteCommand(ID_GRAY_1786);
    EXPECT_EQ(document->GetDisplayImage(), rendering);
    EXPECT_EQ(document->m_hGray1786->pictureRow(0)[0], 77);
    EXPECT_FALSE(document->m_hGray4336.has_value());
    EXPECT_FALSE(document->IsModified());
    frame->OnUpdateCommandUi();
    EXPECT_TRUE(frame->CommandAction(ID_GRAY_1786)->isChecked());
    EXPECT_FALSE(frame->CommandAction(ID_TRUE_COLOR)->isChecked());
}

TEST_F(MainFrameTest, GrayscalePhotoOnlyMovesTheCheckMark) {
    CMorvaneDoc* document = OpenPhoto(*PackedDib::create(40, 30, 8));
    frame->ExecuteCommand(ID_GRAY_4336);
    EXPECT_EQ(document->m_nViewMode, 2);
    EXPECT_EQ(document->GetDisplayImage(), &*document->m_hPhoto);
    frame->OnUpdateCommandUi();
    EXPECT_TRUE(frame->CommandAction(ID_GRAY_4336)->isChecked());
}

// 600 x 200 with 4" x 6": the frame keeps the full height and 296 columns, 152 masked
// on each side.
TEST_F(MainFrameTest, TrimmingMaskCoversTheStripsOutsideTheFrame) {
    const PackedDib photo = MakeTestPhoto(600, 200);
    CMorvaneDoc* document = OpenPhoto(photo);
    frame->ExecuteCommand(ID_TRIM_NONE + 2);
    EXPECT_EQ(document->TrimFrame(), (DibRect{152, 0, 448, 200}));

    CMorvaneView* view = View();
    const PicturePlacement placement = view->Placement();
    const QRect frameRect = view->TrimFrameInView();
    const QList<QRect> strips = view->MaskStrips();
    ASSERT_EQ(strips.size(), 2) << "only left and right strips on a wide picture";
    EXPECT_EQ(strips[0].left(), placement.rect.left());
    EXPECT_EQ(strips[0].height(), placement.rect.height());
    EXPECT_NEAR(strips[0].width(), strips[1].width(), 1);
    EXPECT_NEAR(double(frameRect.width()) / frameRect.height(), 18180.0 / 12280, 0.02);

    QWidget* surface = view->viewport();
    EXPECT_EQ(GrabbedAt(surface, Centre(strips[0])), view->MaskColor().rgb());
    EXPECT_EQ(GrabbedAt(surface, Centre(strips[1])), view->MaskColor().rgb());
    const QPoint kept = Centre(frameRect);
    const auto pixel = ViewToPicture(placement, kept, 600, 200);
    ASSERT_TRUE(pixel.has_value());
    EXPECT_EQ(GrabbedAt(surface, kept), PhotoColour(photo, pixel->x(), pixel->y()));

    frame->ExecuteCommand(ID_TRIM_NONE);
    EXPECT_TRUE(view->MaskStrips().isEmpty());
    EXPECT_EQ(GrabbedAt(surface, Centre(strips[0])),
              PhotoColour(photo, ViewToPicture(placement, Centre(strips[0]), 600, 200)->x(),
                          ViewToPicture(placement, Centre(strips[0]), 600, 200)->y()));
}

TEST_F(MainFrameTest, ZoomedPictureIsDrawnUprightAtItsScale) {
    const PackedDib photo = MakeTestPhoto(300, 200);
    frame->ExecuteCommand(ID_VIEW_FIT_SCREEN);
    frame->ExecuteCommand(ID_VIEW_ZOOM_30 + 4);  // 200 %
    OpenPhoto(photo);
    QWidget* surface = View()->viewport();
    EXPECT_EQ(GrabbedAt(surface, QPoint(1, 1)), PhotoColour(photo, 0, 0));
    EXPECT_EQ(GrabbedAt(surface, QPoint(21, 61)), PhotoColour(photo, 10, 30));
    EXPECT_EQ(GrabbedAt(surface, QPoint(100, 300)), PhotoColour(photo, 50, 150));
}

TEST_F(MainFrameTest, DraggedFrameStopsAtThePictureEdge) {
    CMorvaneDoc* document = OpenPhoto(MakeTestPhoto(600, 200));
    frame->ExecuteCommand(ID_TRIM_NONE + 2);
    const QPoint start = Centre(View()->TrimFrameInView());
    Drag(start, start + QPoint(40, 0));
    EXPECT_GT(document->m_nTrimOffsetX, 0);
    EXPECT_EQ(document->m_nTrimOffsetY, 0) << "the frame fills the height";
    Drag(start, start + QPoint(5000, 300));
    EXPECT_EQ(document->TrimFrame(), (DibRect{304, 0, 600, 200}));
    Drag(start, start - QPoint(9000, 0));
    EXPECT_EQ(document->TrimFrame(), (DibRect{0, 0, 296, 200}));
    // The mask follows the frame: nothing masked at the left edge any more.
    EXPECT_EQ(View()->MaskStrips().size(), 1);
    EXPECT_EQ(View()->TrimFrameInView().left(), View()->Placement().rect.left());

    frame->ExecuteCommand(ID_TRIM_NONE);
    const int keptX = document->m_nTrimOffsetX;
    Drag(start, start + QPoint(50, 0));
    EXPECT_EQ(document->m_nTrimOffsetX, keptX) << "without a frame a drag does nothing";
}

TEST_F(MainFrameTest, ClickInTheViewFirstTakesTheFocusBackFromACombo) {
    CMorvaneDoc* document = OpenPhoto(MakeTestPhoto(600, 200));
    frame->ExecuteCommand(ID_TRIM_NONE + 2);
    frame->activateWindow();
    QComboBox* compress = frame->ToolBar()->CompressCombo();
    compress->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(frame->ToolBar()->ComboHasFocus());
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(compress->lineEdit(), &tab);
    EXPECT_TRUE(frame->ToolBar()->TrimCombo()->hasFocus()) << "Tab goes to the next combo";

    const QPoint start = Centre(View()->TrimFrameInView());
    Drag(start, start + QPoint(60, 0));
    EXPECT_EQ(document->m_nTrimOffsetX, 0) << "the first click only returns the focus";
    EXPECT_FALSE(frame->ToolBar()->ComboHasFocus());
    Drag(start, start + QPoint(60, 0));
    EXPECT_GT(document->m_nTrimOffsetX, 0);

    // A real click hands the focus to the view before the click itself arrives; that click
    // still only takes the focus back.
    const int movedX = document->m_nTrimOffsetX;
    compress->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(frame->ToolBar()->ComboHasFocus());
    View()->setFocus(Qt::MouseFocusReason);
    Drag(start, start - QPoint(30, 0));
    EXPECT_EQ(document->m_nTrimOffsetX, movedX) << "the click that took the focus";
    Drag(start, start - QPoint(30, 0));
    EXPECT_LT(document->m_nTrimOffsetX, movedX);
}

TEST_F(MainFrameTest, CursorShowsWhichWayTheFrameMoves) {
    OpenPhoto(MakeTestPhoto(600, 200));
    QWidget* surface = View()->viewport();
    EXPECT_FALSE(surface->testAttribute(Qt::WA_SetCursor));
    frame->ExecuteCommand(ID_TRIM_NONE + 2);
    EXPECT_EQ(surface->cursor().shape(), Qt::SizeHorCursor);
    OpenPhoto(MakeTestPhoto(200, 600));
    EXPECT_EQ(View()->viewport()->cursor().shape(), Qt::SizeVerCursor);
    // A picture of the print's own proportions leaves the frame nowhere to go.
    OpenPhoto(*PackedDib::create(1818, 1228, 8));
    EXPECT_EQ(View()->viewport()->cursor().shape(), Qt::ArrowCursor);
    frame->ExecuteCommand(ID_TRIM_NONE);
    EXPECT_FALSE(View()->viewport()->testAttribute(Qt::WA_SetCursor));
}

TEST_F(MainFrameTest, ReadoutShowsThePixelUnderTheMouse) {
    const PackedDib photo = MakeTestPhoto(600, 200);
    OpenPhoto(photo);
    const PicturePlacement placement = View()->Placement();
    const QPoint point = placement.rect.topLeft() + QPoint(30, 20);
    Mouse(QEvent::MouseMove, point, Qt::NoButton, Qt::NoButton);
    const QPoint at = *ViewToPicture(placement, point, 600, 200);
    const QRgb colour = PhotoColour(photo, at.x(), at.y());
    EXPECT_EQ(frame->MessageText(),
              QString::asprintf("%3i, %3i, %3i", qRed(colour), qGreen(colour), qBlue(colour)));
    Mouse(QEvent::MouseMove, QPoint(placement.rect.left() + 5, placement.rect.top() - 3),
          Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(frame->MessageText(), "  0,   0,   0");

    PackedDib gray = *PackedDib::create(50, 50, 8);
    for (int y = 0; y < 50; ++y) std::fill_n(gray.pictureRow(y), 50, uint8_t(123));
    OpenPhoto(std::move(gray));
    Mouse(QEvent::MouseMove, Centre(View()->Placement().rect), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(frame->MessageText(), "123, 123, 123");
}

TEST_F(MainFrameTest, CopyPutsTheFramedPictureOnTheClipboard) {
    CMorvaneDoc* document = OpenPhoto(MakeTestPhoto(600, 200));
    frame->ExecuteCommand(ID_GRAY_4336);
    frame->ExecuteCommand(ID_TRIM_NONE + 2);
    document->SetTrimOffset({100, 0});
    ASSERT_TRUE(frame->ExecuteCommand(ID_EDIT_COPY));
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    const QImage image = qvariant_cast<QImage>(data->imageData());
    EXPECT_EQ(image.size(), QSize(296, 200));
    const QByteArray bmp = data->data("image/bmp");
    const auto copied = PackedDibFromBmpBytes(
        std::span(reinterpret_cast<const uint8_t*>(bmp.constData()), size_t(bmp.size())));
    ASSERT_TRUE(copied.has_value());
    const auto expected = CropDib(*document->m_hGray4336, DibRect{252, 0, 548, 200});
    EXPECT_EQ(copied->bytes(), expected->bytes());
    EXPECT_EQ(image.pixel(0, 0), PhotoColour(*document->m_hGray4336, 252, 0));

    frame->ExecuteCommand(ID_TRIM_NONE);
    frame->ExecuteCommand(ID_EDIT_COPY);
    EXPECT_EQ(qvariant_cast<QImage>(QGuiApplication::clipboard()->mimeData()->imageData()).size(),
              QSize(600, 200));
}

TEST_F(MainFrameTest, OpeningAndSavingGoThroughJpegFiles) {
    TempFolder folder;
    const std::string path = folder.file("photo.jpg");
    ASSERT_TRUE(SaveJpegFile(path, MakeTestPhoto(600, 200), 95));
    WriteFileBytes(folder.file("fake.jpg"), {'n', 'o', 't', ' ', 'j', 'p', 'e', 'g'});

    const auto dismissRefusal = [] {
        WhenModalOpens<QMessageBox>([](QMessageBox* box) { box->accept(); });
    };
    dismissRefusal();
    EXPECT_EQ(frame->OpenDocumentFile(QString::fromStdString(folder.file("fake.jpg"))), nullptr);
    EXPECT_TRUE(frame->ChildFrames().isEmpty()) << "a file that does not load keeps no window";

    CMorvaneDoc* document = frame->OpenDocumentFile(QString::fromStdString(path));
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->GetTitle(), "photo.jpg");
    EXPECT_EQ(frame->OpenDocumentFile(QString::fromStdString(path)), document)
        << "a file already open is activated";
    EXPECT_EQ(frame->RecentFiles().value(0), QString::fromStdString(path));

    // Files dropped on the window open like the open command.
    const std::string second = folder.file("second.jpg");
    ASSERT_TRUE(SaveJpegFile(second, MakeTestPhoto(80, 60), 90));
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(QString::fromStdString(second)),
                     QUrl::fromLocalFile(QString::fromStdString(folder.file("fake.jpg")))});
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &dropped, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(frame.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    dismissRefusal();
    QApplication::sendEvent(frame.get(), &drop);
    EXPECT_EQ(frame->ChildFrames().size(), 2);
    EXPECT_EQ(frame->GetActiveDocument()->GetTitle(), "second.jpg");
    frame->MdiArea()->setActiveSubWindow(frame->ChildFrames().last());
    ASSERT_EQ(frame->GetActiveDocument(), document);

    // "저장" in 1786-level mode with 4" x 6" replaces the file with the gray, trimmed picture.
    frame->ExecuteCommand(ID_GRAY_1786);
    frame->ExecuteCommand(ID_TRIM_NONE + 2);
    EXPECT_TRUE(document->IsModified());
    frame->ExecuteCommand(ID_FILE_SAVE);
    EXPECT_FALSE(document->IsModified());
    const auto saved = LoadJpegFile(path);
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->width(), 296);
    EXPECT_EQ(saved->height(), 200);
    const uint8_t* pixel = saved->pictureRow(100) + 3 * 100;
    EXPECT_LE(std::abs(pixel[0] - pixel[2]), 12) << "a gray picture";
}

}  // namespace
}  // namespace corvelle::testing
