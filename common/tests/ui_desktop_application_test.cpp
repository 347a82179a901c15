// Qt's own dialogs and buttons speak Korean, as the programs' own texts do, whatever the
// system locale; and command lines name what they do not understand.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTranslator>

#include <string_view>

#include "core/command_line_usage.h"
#include "corvelle/build_info.h"
#include "ui/desktop_application.h"

namespace corvelle {
namespace {

TEST(DesktopApplication, StandardButtonsReadInKorean) {
    QTranslator* korean = LoadKoreanQtTranslation(*qApp);
    ASSERT_NE(korean, nullptr) << "qt6-translations-l10n provides qtbase_ko";
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), "취소");
    QCoreApplication::removeTranslator(korean);
    delete korean;
}

TEST(CommandLineUsage, FindsTheFirstOptionNotKnown) {
    constexpr std::string_view known[] = {"--info", "--json", "-o"};
    const auto first = [&](std::initializer_list<const char*> arguments) {
        std::vector<char*> argv{const_cast<char*>("prog")};
        for (const char* argument : arguments) argv.push_back(const_cast<char*>(argument));
        return FirstUnknownOption(int(argv.size()), argv.data(), known);
    };
    EXPECT_EQ(first({"--info", "a.jpg", "-o", "x"}), std::nullopt);
    EXPECT_EQ(first({"a.jpg", "--bogus", "--also"}), "--bogus");
    EXPECT_EQ(first({"--info=1", "-x"}), "-x") << "a value after = is not the name";
    EXPECT_EQ(first({"-", "--", "--bogus"}), std::nullopt) << "file names";
    EXPECT_EQ(first({"-o", "-39,0", "--version"}), std::nullopt)
        << "a negative number is a value, --version every program's";
}

TEST(CommandLineUsage, NumbersAreKeptInTheirRangeWithOneWarning) {
    EXPECT_EQ(KeepInRange("--ratio", 500, 1, 100).value, 100);
    EXPECT_EQ(KeepInRange("--ratio", 500, 1, 100).warning,
              "--ratio 500 is outside 1..100; 100 is used");
    EXPECT_EQ(KeepInRange("--margin", -3, 0, 50).value, 0);
    const RangedNumber inside = KeepInRange("--margin", 50, 0, 50);
    EXPECT_EQ(inside.value, 50);
    EXPECT_TRUE(inside.warning.empty());
}

TEST(CommandLineUsage, VersionNamesProgramPackageLicenceAndContact) {
    const std::string text = VersionText("tiselk", "1.4 (build 25)");
    EXPECT_EQ(text.substr(0, text.find('\n')), "tiselk 1.4 (build 25)");
    EXPECT_NE(text.find("GPL-3.0-or-later"), std::string::npos);
    EXPECT_NE(text.find(kContactEmail), std::string::npos);
}

}  // namespace
}  // namespace corvelle
