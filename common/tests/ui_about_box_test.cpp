// The About box every program shows, its links, and what a link does where the desktop has
// no opener.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTimer>

#include "core/desktop_links.h"
#include "support/temp_folder.h"
#include "ui/about_box.h"

namespace corvelle {
namespace {

TEST(DesktopLinks, TargetsBecomeMailFileOrWebAddresses) {
    EXPECT_EQ(LinkUrl("team@corvelle.example"), "mailto:team@corvelle.example");
    EXPECT_EQ(LinkUrl("/usr/share/common-licenses/GPL-3"),
              "file:///usr/share/common-licenses/GPL-3");
    EXPECT_EQ(LinkUrl("corvelle.example/photo"), "http://corvelle.example/photo");
    EXPECT_EQ(LinkUrl("https://corvelle.example"), "https://corvelle.example");
}

TEST(DesktopLinks, FindsOnlyExecutablesOnTheSearchPath) {
    testing::TempFolder folder;
    const std::string tool = folder.file("xdg-open");
    testing::WriteFileBytes(tool, {'#', '!'});
    EXPECT_FALSE(IsProgramOnPath("xdg-open", folder.path().string())) << "not executable";
    std::filesystem::permissions(tool, std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
    EXPECT_TRUE(IsProgramOnPath("xdg-open", "/nonexistent::" + folder.path().string()));
    EXPECT_FALSE(IsProgramOnPath("xdg-open", ""));
    EXPECT_FALSE(IsProgramOnPath("../xdg-open", folder.path().string()));
}

AboutContent Content(const QString& text, const QString& note) {
    AboutContent content;
    content.caption = QStringLiteral("Test 정보");
    content.versionLine = QStringLiteral("Test Ver 1.0");
    content.makerLine = QStringLiteral("만든이: Corvelle");
    content.text = text;
    content.note = note;
    return content;
}

TEST(AboutBox, ShowsTheProgramsTextsAndTheTwoLinks) {
    CAboutBox about(nullptr, Content(QStringLiteral("첫 줄\r\n둘째 줄"), QString()));
    EXPECT_EQ(about.windowTitle(), "Test 정보");
    ASSERT_NE(about.TextEdit(), nullptr);
    EXPECT_TRUE(about.TextEdit()->isReadOnly());
    EXPECT_EQ(about.TextEdit()->toPlainText(), "첫 줄\n둘째 줄");
    EXPECT_EQ(about.NoteLabel(), nullptr);
    QStringList labels;
    for (const QLabel* label : about.findChildren<QLabel*>()) labels << label->text();
    EXPECT_TRUE(labels.contains("Test Ver 1.0"));
    EXPECT_TRUE(labels.contains("만든이: Corvelle"));
    ASSERT_EQ(about.Links().size(), 2);
    EXPECT_TRUE(about.Links()[0]->text().contains(ContactAddress()));
    EXPECT_TRUE(about.Links()[1]->text().contains("/usr/share/common-licenses/GPL-3"));
    EXPECT_TRUE(TermsOfUseSentence().contains("GPL"));
    EXPECT_TRUE(TermsOfUseSentence().contains("버전 3 또는 그 이후 버전"));

    const CAboutBox bare(nullptr, Content(QString(), QStringLiteral("메모")));
    EXPECT_EQ(bare.TextEdit(), nullptr);
    ASSERT_NE(bare.NoteLabel(), nullptr);
    EXPECT_EQ(bare.NoteLabel()->text(), "메모");
}

TEST(AboutBox, ALinkWithoutAnOpenerNamesTheFileInAMessage) {
    const QByteArray path = qgetenv("PATH");
    testing::TempFolder empty;
    qputenv("PATH", empty.path().string().c_str());
    CAboutBox about(nullptr, Content(QString(), QString()));
    QString message;
    QTimer::singleShot(0, [&message] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            message = box->text();
            box->accept();
        }
    });
    emit about.Links()[1]->linkActivated(QStringLiteral("/usr/share/common-licenses/GPL-3"));
    qputenv("PATH", path);
    EXPECT_TRUE(message.contains("파일 위치: /usr/share/common-licenses/GPL-3"))
        << message.toStdString();
    EXPECT_TRUE(message.contains("xdg-utils")) << "says what is missing";
}

}  // namespace
}  // namespace corvelle
