#pragma once

// A real main dialog over a private folder of built pictures, started with no stored
// settings but "Recent Path" pointing at that folder.

#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QListWidget>

#include <memory>
#include <string>
#include <vector>

#include "core/settings_store.h"
#include "support/exif_builder.h"
#include "support/temp_folder.h"
#include "ui/control_id.h"
#include "ui/tiselk_dlg.h"
#include "ui/tiselk_gui.h"

namespace corvelle::testing {

// 1/125 s at F5.6 and ISO 100 with a model, a date and the picture's size; no embedded
// thumbnail, so the decoded picture serves as one.
inline std::vector<uint8_t> ExifPicture(int width, int height, const std::string& model) {
    TiffDirectory exif;
    exif.rationals(0x829A, {{1, 125}})
        .rationals(0x829D, {{56, 10}})
        .shorts(0x8827, {100})
        .ascii(0x9003, "2004:03:15 14:25:30")
        .bytes(0x9000, kUndefined, {'0', '2', '2', '0'})
        .rationals(0x920A, {{50, 1}})
        .shorts(0x9207, {5})
        .longs(0xA002, {uint32_t(width)})
        .longs(0xA003, {uint32_t(height)});
    TiffDirectory ifd0;
    ifd0.ascii(0x010F, "Maker").ascii(0x0110, model).subDirectory(0x8769, exif);
    return InsertAfterSoi(EncodeTestJpeg(width, height),
                          {ExifSegment(BuildTiff(ifd0, kLittle))});
}

inline void ClearSettings() {
    QFile::remove(QString::fromStdString(SettingsStore(kTiselkSettings).filePath()));
}

class DialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InitTiselkResources();
        ClearSettings();
        SettingsStore(kTiselkSettings).writeString("Config", "Recent Path", folder.path().string());
    }
    void TearDown() override {
        dialog.reset();
        ClearSettings();
    }

    CTiselkDlg& Start() {
        dialog = std::make_unique<CTiselkDlg>();
        dialog->m_fnShowJpegMessage = [this](const std::string& message) {
            jpegMessages.push_back(message);
        };
        return *dialog;
    }
    QListWidget* List() const { return FindControl<QListWidget>(dialog.get(), 1005); }
    QString Value(int id) const { return FindControl<QLabel>(dialog.get(), id)->text(); }
    void Select(const QString& name) {
        const auto found = List()->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        List()->setCurrentItem(found.first());
        dialog->WaitForPicture();
    }
    void Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        WriteFileBytes(folder.file(name), bytes);
    }

    TempFolder folder;
    std::unique_ptr<CTiselkDlg> dialog;
    std::vector<std::string> jpegMessages;
};

}  // namespace corvelle::testing
