// The main dialog as a user meets it: its start state, the enabling rules, the separator
// popup, the sample under a fixed clock, and what "변경" and "정보 보기" open.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <filesystem>
#include <memory>

#include "core/rename_session.h"
#include "core/settings_store.h"
#include "test_pictures.h"
#include "ui/about_dlg.h"
#include "ui/control_id.h"
#include "ui/quenset_dlg.h"
#include "ui/resource_ids.h"

// Qt's own way of putting a key through the shortcut map, as a typed key goes.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k,
                                               Qt::KeyboardModifiers mods, const QString& text,
                                               bool autorep, ushort count);

namespace corvelle {
namespace {

using namespace corvelle::testing;
using namespace quenset;
namespace fs = std::filesystem;

class QuensetDlgTest : public ::testing::Test {
  protected:
    FixedTimeZone zone{"KST-9"};
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<CQuensetDlg> dialog;

    void SetUp() override {
        QFile::remove(QString::fromStdString(SettingsStore(kQuensetSettings).filePath()));
        store = std::make_unique<SettingsStore>(kQuensetSettings);
    }
    void Start(const std::string& startFolder = {}) {
        const std::time_t now = LocalTime(2004, 3, 15, 14, 25, 30);
        dialog = std::make_unique<CQuensetDlg>(*store, startFolder, [now] { return now; });
    }

    template <typename Widget>
    Widget* Get(int id) const {
        Widget* widget = FindControl<Widget>(dialog.get(), id);
        EXPECT_NE(widget, nullptr) << id;
        return widget;
    }
    QString Sample() const { return Get<QLineEdit>(IDC_SAMPLE_EDIT)->text(); }
    QString Caption(int id) const { return Get<QPushButton>(id)->text(); }
    int Stored(std::string_view name) const { return store->readInt(kConfigSection, name, -1); }
    void Settle() {
        while (dialog->IsBusy()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QApplication::processEvents();
    }
    bool Enabled(int id) const { return Get<QWidget>(id)->isEnabled(); }

    // The popup answers `command` (0: dismissed) and tells where it was put.
    QPoint ChooseSeparator(int buttonId, int command, QStringList* items = nullptr) {
        QPoint anchor;
        dialog->SetTrackPopup([&](QMenu& menu, const QPoint& at) {
            anchor = at;
            if (items != nullptr) {
                for (QAction* action : menu.actions())
                    *items << QStringLiteral("%1=%2").arg(action->text()).arg(action->data().toInt());
            }
            return command;
        });
        Get<QPushButton>(buttonId)->click();
        return anchor;
    }
};

TEST_F(QuensetDlgTest, StartsFromDefaultsWithoutWritingAnything) {
    Start();
    EXPECT_EQ(dialog->windowTitle(), "Quenset 1.13 Corvelle");
    EXPECT_EQ(Get<QLineEdit>(IDC_FOLDER_EDIT)->text(), QDir::homePath());
    EXPECT_EQ(Get<QComboBox>(IDC_FILE_TYPE)->currentText(), "*.jpg");
    EXPECT_EQ(Get<QComboBox>(IDC_YEAR)->currentText(), "yyyy");
    EXPECT_EQ(Get<QComboBox>(IDC_MONTH)->currentText(), "mm");
    EXPECT_EQ(Get<QComboBox>(IDC_DAY)->currentText(), "dd");
    EXPECT_EQ(Caption(IDC_FIRST_SEPARATOR), " ");
    EXPECT_EQ(Caption(IDC_SECOND_SEPARATOR), " ");
    EXPECT_EQ(Caption(IDC_LAST_SEPARATOR), "-");
    EXPECT_EQ(Get<QComboBox>(IDC_SERIAL_DIGITS)->currentText(), "3자리");
    EXPECT_TRUE(Get<QRadioButton>(IDC_DATE_MODE)->isChecked());
    EXPECT_TRUE(Enabled(IDC_YEAR) && Enabled(IDC_LAST_SEPARATOR));
    EXPECT_FALSE(Enabled(IDC_SERIAL_DIGITS));
    EXPECT_TRUE(Get<QCheckBox>(IDC_USE_EXIF)->isChecked());
    EXPECT_TRUE(Get<QCheckBox>(IDC_MOD_FILE_DATE)->isChecked());
    EXPECT_TRUE(Enabled(IDC_MOD_FILE_DATE));
    EXPECT_EQ(Sample(), "20040315-142530.jpg");
    EXPECT_TRUE(Get<QLineEdit>(IDC_SAMPLE_EDIT)->isReadOnly());
    EXPECT_TRUE(Get<QPushButton>(IDOK)->isDefault());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(store->filePath())));
}

TEST_F(QuensetDlgTest, StartsFromStoredValues) {
    store->writeString(kConfigSection, kRecentPathValue, "/pictures/2004");
    store->writeInt(kConfigSection, kExtensionIndexValue, 1);
    store->writeString(kConfigSection, kPrefixValue, "IMG_");
    store->writeString(kConfigSection, kPostfixValue, "_a");
    store->writeInt(kConfigSection, kNameTypeValue, 1);
    store->writeInt(kConfigSection, kFirstIndexValue, 3);
    store->writeInt(kConfigSection, kUseExifValue, 0);
    Start();
    EXPECT_EQ(Get<QLineEdit>(IDC_FOLDER_EDIT)->text(), "/pictures/2004");
    EXPECT_EQ(Caption(IDC_FIRST_SEPARATOR), "+");
    EXPECT_TRUE(Get<QRadioButton>(IDC_SERIAL_MODE)->isChecked());
    EXPECT_FALSE(Enabled(IDC_YEAR) || Enabled(IDC_DAY) || Enabled(IDC_SECOND_SEPARATOR));
    EXPECT_TRUE(Enabled(IDC_SERIAL_DIGITS));
    // Without EXIF dates the file-date box is off limits but keeps its check mark.
    EXPECT_FALSE(Enabled(IDC_MOD_FILE_DATE));
    EXPECT_TRUE(Get<QCheckBox>(IDC_MOD_FILE_DATE)->isChecked());
    EXPECT_EQ(Sample(), "IMG_001_a.tif");
    EXPECT_FALSE(dialog->BuildRunInputs().setFileDates);

    // A folder given at start is shown as if typed and is not stored.
    Start("/from/the/command line");
    EXPECT_EQ(Get<QLineEdit>(IDC_FOLDER_EDIT)->text(), "/from/the/command line");
    EXPECT_EQ(store->readString(kConfigSection, kRecentPathValue, ""), "/pictures/2004");
}

TEST_F(QuensetDlgTest, EachChangeIsStoredAtOnceAndFollowsTheRules) {
    Start();
    Get<QLineEdit>(IDC_PREFIX_EDIT)->setText("P%");
    EXPECT_EQ(store->readString(kConfigSection, kPrefixValue, ""), "P%");
    EXPECT_EQ(Sample(), "P%20040315-142530.jpg");
    Get<QComboBox>(IDC_FILE_TYPE)->setCurrentIndex(2);
    EXPECT_EQ(Stored(kExtensionIndexValue), 2);
    EXPECT_EQ(Sample(), "P%20040315-142530.nef");

    Get<QRadioButton>(IDC_SERIAL_MODE)->click();
    EXPECT_EQ(Stored(kNameTypeValue), 1);
    EXPECT_FALSE(Enabled(IDC_MONTH) || Enabled(IDC_FIRST_SEPARATOR));
    EXPECT_TRUE(Enabled(IDC_SERIAL_DIGITS));
    EXPECT_EQ(Sample(), "P%001.nef");
    Get<QComboBox>(IDC_SERIAL_DIGITS)->setCurrentIndex(6);
    EXPECT_EQ(Stored(kSerialIndexValue), 6);
    EXPECT_EQ(Sample(), "P%00000001.nef");
    // With no digits entry chosen the sample stays as it was.
    Get<QLineEdit>(IDC_POSTFIX_EDIT)->setText("_a");
    Get<QComboBox>(IDC_SERIAL_DIGITS)->setCurrentIndex(-1);
    Get<QLineEdit>(IDC_POSTFIX_EDIT)->setText("_b");
    EXPECT_EQ(Sample(), "P%00000001_a.nef");
    EXPECT_EQ(store->readString(kConfigSection, kPostfixValue, ""), "_b");

    Get<QRadioButton>(IDC_DATE_MODE)->click();
    EXPECT_EQ(Stored(kNameTypeValue), 0);
    EXPECT_TRUE(Enabled(IDC_DAY) && Enabled(IDC_LAST_SEPARATOR));
    EXPECT_FALSE(Enabled(IDC_SERIAL_DIGITS));

    Get<QCheckBox>(IDC_USE_EXIF)->click();
    EXPECT_EQ(Stored(kUseExifValue), 0);
    EXPECT_FALSE(Enabled(IDC_MOD_FILE_DATE));
    EXPECT_TRUE(Get<QCheckBox>(IDC_MOD_FILE_DATE)->isChecked());
    EXPECT_FALSE(dialog->BuildRunInputs().setFileDates);
    Get<QCheckBox>(IDC_USE_EXIF)->click();
    EXPECT_TRUE(Enabled(IDC_MOD_FILE_DATE));
    Get<QCheckBox>(IDC_MOD_FILE_DATE)->click();
    EXPECT_EQ(Stored(kModFileDateValue), 0);
    EXPECT_FALSE(dialog->BuildRunInputs().setFileDates);
}

TEST_F(QuensetDlgTest, SeparatorPopupChoiceAndDismissal) {
    Start();
    QStringList items;
    const QPoint anchor = ChooseSeparator(IDC_FIRST_SEPARATOR, ID_SEPARATOR_UNDERSCORE, &items);
    EXPECT_EQ(items, QStringList({"없음=32775", "-=32771", "_=32772", "+=32773", ";=32774"}));
    const QPushButton* button = Get<QPushButton>(IDC_FIRST_SEPARATOR);
    EXPECT_EQ(anchor, button->mapToGlobal(QPoint(button->width() / 2, button->height())));
    EXPECT_EQ(Caption(IDC_FIRST_SEPARATOR), "_");
    EXPECT_EQ(Stored(kFirstIndexValue), 2);
    EXPECT_EQ(Sample(), "2004_0315-142530.jpg");

    ChooseSeparator(IDC_FIRST_SEPARATOR, 0);
    EXPECT_EQ(Caption(IDC_FIRST_SEPARATOR), "_");
    EXPECT_EQ(Stored(kFirstIndexValue), 2);
    EXPECT_EQ(Stored(kSecondIndexValue), -1);  // never written
    ChooseSeparator(IDC_SECOND_SEPARATOR, 0);
    EXPECT_EQ(Stored(kSecondIndexValue), -1);

    ChooseSeparator(IDC_LAST_SEPARATOR, ID_SEPARATOR_NONE);
    EXPECT_EQ(Caption(IDC_LAST_SEPARATOR), " ");
    EXPECT_EQ(Stored(kLastIndexValue), 0);
    EXPECT_EQ(Sample(), "2004_0315142530.jpg");
}

TEST_F(QuensetDlgTest, SampleExamplesUnderAFixedClock) {
    Start();
    Get<QComboBox>(IDC_YEAR)->setCurrentIndex(2);
    ChooseSeparator(IDC_FIRST_SEPARATOR, ID_SEPARATOR_UNDERSCORE);
    ChooseSeparator(IDC_SECOND_SEPARATOR, ID_SEPARATOR_UNDERSCORE);
    ChooseSeparator(IDC_LAST_SEPARATOR, ID_SEPARATOR_PLUS);
    EXPECT_EQ(Sample(), "04_03_15+142530.jpg");
    EXPECT_EQ(Stored(kYearIndexValue), 2);
    // Separators stay when the field before them is gone; the time always stays.
    Get<QComboBox>(IDC_YEAR)->setCurrentIndex(0);
    EXPECT_EQ(Sample(), "_03_15+142530.jpg");
    Get<QComboBox>(IDC_MONTH)->setCurrentIndex(0);
    Get<QComboBox>(IDC_DAY)->setCurrentIndex(0);
    EXPECT_EQ(Sample(), "__+142530.jpg");
    EXPECT_EQ(Stored(kMonthIndexValue), 0);
    EXPECT_EQ(Stored(kDayIndexValue), 0);
}

TEST_F(QuensetDlgTest, EnterHandsTheRunToThePreview) {
    store->writeString(kConfigSection, kRecentPathValue, "/stored");
    Start();
    std::vector<RunInputs> runs;
    dialog->SetRunPreview([&](const RunInputs& inputs) { runs.push_back(inputs); });
    QLineEdit* folder = Get<QLineEdit>(IDC_FOLDER_EDIT);
    TempFolder typed;
    folder->setText(QString::fromStdString(typed.path().string()));
    Get<QLineEdit>(IDC_PREFIX_EDIT)->setText("x");
    QCheckBox* sidecars = Get<QCheckBox>(IDC_RENAME_SIDECARS);
    EXPECT_EQ(sidecars->text(), "같은 이름의 보조 파일도 함께(&S)");
    EXPECT_TRUE(sidecars->isChecked());
    sidecars->click();
    EXPECT_EQ(Stored(kRenameSidecarsValue), 0);
    dialog->show();
    folder->setFocus();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(folder, &enter);

    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].folder, typed.path().string());
    EXPECT_EQ(runs[0].pattern, "*.jpg");
    EXPECT_EQ(runs[0].nameTemplate, BuildNameTemplate(dialog->CurrentSettings()));
    EXPECT_EQ(ExpandForTime(runs[0].nameTemplate, LocalTime(2004, 3, 15, 14, 25, 30)),
              "x20040315-142530.jpg");
    EXPECT_TRUE(runs[0].useExif && runs[0].setFileDates);
    EXPECT_FALSE(runs[0].renameSidecars);
    EXPECT_TRUE(dialog->isVisible());  // the dialog stays open across runs
    EXPECT_EQ(store->readString(kConfigSection, kRecentPathValue, ""), "/stored");
}

TEST_F(QuensetDlgTest, StartFolderThatIsNotUtf8IsShownInLatin1AndRunByItsBytes) {
    Start("/pictures/caf\xe9");
    EXPECT_EQ(Get<QLineEdit>(IDC_FOLDER_EDIT)->text(), QString::fromLatin1("/pictures/caf\xe9"));
    EXPECT_EQ(dialog->FolderForRun(), "/pictures/caf\xe9");
    Get<QLineEdit>(IDC_FOLDER_EDIT)->setText("/other");
    EXPECT_EQ(dialog->FolderForRun(), "/other");
}

TEST_F(QuensetDlgTest, AboutBoxFromTheButtonAndTheContextMenu) {
    Start();
    QStringList seen;
    auto inspect = [&seen] {
        auto* about = qobject_cast<CQuensetAboutDlg*>(QApplication::activeModalWidget());
        if (about == nullptr) return;
        seen << about->windowTitle();
        QStringList labels;
        for (const QLabel* label : about->findChildren<QLabel*>()) labels << label->text();
        seen << labels.filter("Ver.");
        seen << about->HistoryEdit()->toPlainText().section('\n', 0, 0);
        seen << (about->LinuxNote()->text().contains("quenset --undo") ? "undo" : "no undo");
        seen << (about->windowIcon().isNull() ? "no icon" : "icon");
        about->accept();
    };
    QTimer::singleShot(0, inspect);
    Get<QPushButton>(IDM_ABOUTBOX)->click();
    const QStringList expected = {"Quenset 정보", "Quenset Ver. 1.13(build 25)", "1.09: bug fix",
                                  "undo", "icon"};
    EXPECT_EQ(seen, expected);

    seen.clear();
    ASSERT_EQ(dialog->contextMenuPolicy(), Qt::DefaultContextMenu);
    ASSERT_EQ(dialog->actions().size(), 2);
    EXPECT_EQ(dialog->actions()[0]->text(), "&Quenset 정보...");
    QTimer::singleShot(0, inspect);
    dialog->actions()[0]->trigger();
    EXPECT_EQ(seen, expected);

    seen.clear();
    dialog->show();
    QApplication::setActiveWindow(dialog.get());
    QTimer::singleShot(0, inspect);
    EXPECT_TRUE(qt_sendShortcutOverrideEvent(Get<QLineEdit>(IDC_FOLDER_EDIT), 0, Qt::Key_F1,
                                             Qt::NoModifier, {}, false, 1));
    EXPECT_EQ(seen, expected);
}

TEST_F(QuensetDlgTest, AFolderThatIsNotThereOrNoFolderGetsAMessage) {
    TempFolder pictures;
    WriteFileBytes(pictures.file("a.jpg"), {'x'});
    Start();
    QStringList messages;
    int runs = 0;
    dialog->SetShowMessage([&](QWidget*, const QString& text) { messages << text; });
    dialog->SetRunPreview([&](const RunInputs&) { ++runs; });
    const QString file = QString::fromStdString(pictures.file("a.jpg"));
    for (const QString& path : {QStringLiteral("/no/such/folder"), file}) {
        Get<QLineEdit>(IDC_FOLDER_EDIT)->setText(path);
        dialog->OnOK();
    }
    EXPECT_EQ(messages,
              (QStringList{"폴더가 없습니다:\n/no/such/folder", "폴더가 아닙니다:\n" + file}));
    EXPECT_EQ(runs, 0);
}

TEST_F(QuensetDlgTest, UndoFromTheContextMenuAsksAndReportsEachFileLeftAlone) {
    TempFolder pictures, empty;
    WriteFileBytes(pictures.file("a.jpg"), JpegWithDates("2004:03:15 14:25:30", ""));
    WriteFileBytes(pictures.file("b.jpg"), JpegWithDates("2005:06:07 08:09:10", ""));
    RenameSession session(RunInputsFromSettings({}, pictures.path().string()));
    ASSERT_EQ(session.rename(session.changeablePositions()).renamed, 2);

    Start(empty.path().string());
    Settle();
    QAction* undo = dialog->UndoAction();
    EXPECT_EQ(dialog->actions().indexOf(undo), 1);  // under the about entry
    EXPECT_EQ(undo->text(), "마지막 이름 변경 되돌리기...");
    EXPECT_FALSE(undo->isEnabled());
    Get<QLineEdit>(IDC_FOLDER_EDIT)->setText(QString::fromStdString(pictures.path().string()));
    Settle();
    ASSERT_TRUE(undo->isEnabled());

    QStringList questions, messages;
    bool answer = false;
    dialog->SetAskQuestion([&](QWidget*, const QString& text) {
        questions << text;
        return answer;
    });
    dialog->SetShowMessage([&](QWidget*, const QString& text) { messages << text; });
    undo->trigger();  // answered No: nothing happens
    Settle();
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_TRUE(fs::exists(pictures.file("20040315-142530.jpg")));

    answer = true;
    WriteFileBytes(pictures.file("a.jpg"), {'x'});
    undo->trigger();
    Settle();
    fs::remove(pictures.file("a.jpg"));
    undo->trigger();
    Settle();
    ASSERT_EQ(questions.size(), 3);
    EXPECT_TRUE(
        questions[0].endsWith("에 한 이름 변경을 되돌립니다.\n파일 2개가 원래 이름으로 "
                              "돌아갑니다.\n\n되돌리시겠습니까?"))
        << questions[0].toStdString();
    EXPECT_TRUE(questions[2].contains("되돌리지 못한 파일 1개를 다시 되돌립니다."));
    EXPECT_EQ(
        messages,
        (QStringList{"총 2개의 파일중 1개의 파일을 되돌릴 수 없습니다.\n\n20040315-142530.jpg "
                     "-> a.jpg: 원래 이름의 파일이 이미 있어 둘 다 그대로 두었습니다",
                     "1개의 이름을 원래대로 되돌렸습니다."}));
    EXPECT_TRUE(fs::exists(pictures.file("a.jpg")) && fs::exists(pictures.file("b.jpg")));
    EXPECT_FALSE(undo->isEnabled());
}

TEST_F(QuensetDlgTest, UndoRevertsTheRunItNamedOrAsksAgainWhenTheFolderChanged) {
    TempFolder pictures;
    const std::string folder = pictures.path().string();
    auto renameNow = [&](const std::string& name, const std::string& taken) {
        WriteFileBytes(pictures.file(name), JpegWithDates(taken, ""));
        RenameSession session(RunInputsFromSettings({}, folder));
        return session.rename(session.changeablePositions()).renamed;
    };
    ASSERT_EQ(renameNow("a.jpg", "2004:03:15 14:25:30"), 1);
    Start(folder);
    Settle();
    // A run from a terminal while the window shows the older one.
    WriteFileBytes(pictures.file("b.jpg"), JpegWithDates("2005:06:07 08:09:10", ""));
    ASSERT_EQ(renameNow("c.jpg", "2006:01:02 03:04:05"), 2);

    QStringList questions, messages;
    QList<bool> answers{true, false, true};
    dialog->SetAskQuestion([&](QWidget*, const QString& text) {
        questions << text;
        return answers.takeFirst();
    });
    dialog->SetShowMessage([&](QWidget*, const QString& text) { messages << text; });
    dialog->UndoAction()->trigger();
    Settle();
    ASSERT_EQ(questions.size(), 2);
    EXPECT_TRUE(questions[0].contains("파일 1개가"));
    EXPECT_TRUE(questions[1].startsWith("그 사이에 이 폴더의 이름 변경 기록이 바뀌었습니다.\n\n"));
    EXPECT_TRUE(questions[1].contains("파일 2개가"));
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_TRUE(fs::exists(pictures.file("20050607-080910.jpg")));

    // Asked again, the newest run is the one reverted.
    dialog->UndoAction()->trigger();
    Settle();
    EXPECT_EQ(messages, QStringList{"2개의 이름을 원래대로 되돌렸습니다."});
    EXPECT_TRUE(fs::exists(pictures.file("b.jpg")) && fs::exists(pictures.file("c.jpg")));
    EXPECT_TRUE(fs::exists(pictures.file("20040315-142530.jpg")));
}

TEST_F(QuensetDlgTest, TheMenuLooksUpTheUndoAgainAndARetryThatFailsOffersToSkip) {
    TempFolder pictures;
    Start(pictures.path().string());
    Settle();
    ASSERT_FALSE(dialog->UndoAction()->isEnabled());
    WriteFileBytes(pictures.file("a.jpg"), JpegWithDates("2004:03:15 14:25:30", ""));
    WriteFileBytes(pictures.file("b.jpg"), JpegWithDates("2005:06:07 08:09:10", ""));
    RenameSession session(RunInputsFromSettings({}, pictures.path().string()));
    ASSERT_EQ(session.rename(session.changeablePositions()).renamed, 2);

    bool enabledInMenu = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        QWidget* menu = QApplication::activePopupWidget();
        if (menu == nullptr || dialog->IsBusy()) return;  // not shown or not looked up yet
        enabledInMenu = dialog->UndoAction()->isEnabled();
        menu->close();
    });
    closer.start(10);
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
    QApplication::sendEvent(dialog.get(), &event);
    closer.stop();
    EXPECT_TRUE(enabledInMenu);

    fs::remove(pictures.file("20050607-080910.jpg"));
    QStringList messages, offers;
    dialog->SetAskQuestion([](QWidget*, const QString&) { return true; });
    dialog->SetShowMessage([&](QWidget*, const QString& text) { messages << text; });
    dialog->SetOfferSkip([&](QWidget*, const QString& text) {
        offers << text;
        return true;
    });
    dialog->UndoAction()->trigger();  // a first undo: the plain message
    Settle();
    dialog->UndoAction()->trigger();  // a retry that fails again: the skip is offered
    Settle();
    ASSERT_EQ(offers.size(), 1);
    EXPECT_TRUE(offers[0].contains("새 이름으로 된 파일이 더 이상 없습니다"));
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[1].contains("남은 파일 1개를 건너뛰었습니다."));
    EXPECT_FALSE(dialog->UndoAction()->isEnabled());
}

}  // namespace
}  // namespace corvelle
