// A small window for looking at the shared folder tree and folder dialog on the real
// system: folder_tree_demo [--variant quenset|brevoll|tiselk] [--dialog] [path]
#include <QApplication>
#include <QCommandLineParser>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>

#include "core/settings_store.h"
#include "ui/folder_pick_dlg.h"
#include "ui/shell_tree_ctrl.h"

namespace {

constexpr corvelle::SettingsLocation kDemoSettings{"Corvelle", "FolderTreeDemo"};

ShellTreeOptions OptionsFor(const QString& variant) {
    if (variant == QLatin1String("brevoll")) return ShellTreeOptions::Brevoll();
    if (variant == QLatin1String("tiselk")) return ShellTreeOptions::Tiselk();
    return ShellTreeOptions::Quenset();
}

int RunDialog(const QString& variant, const QString& path) {
    corvelle::SettingsStore store(kDemoSettings);
    const bool brevoll = variant == QLatin1String("brevoll");
    const std::string section(brevoll ? kBrevollFolderSection : kQuensetFolderSection);
    const std::string value(brevoll ? kBrevollSourceFolderValue : kQuensetFolderValue);
    if (!path.isEmpty()) store.writeString(section, value, path.toStdString());
    CFolderPickDlg dialog(brevoll ? FolderPickStyle::Brevoll() : FolderPickStyle::Quenset(), store,
                          section, value);
    const int result = dialog.exec();
    std::printf("%s: \"%s\"\n", result == QDialog::Accepted ? "OK" : "Cancel",
                store.readString(section, value, "").c_str());
    return 0;
}

int RunTree(const QString& variant, const QString& path) {
    QWidget window;
    window.setWindowTitle(QStringLiteral("Folder tree (%1)").arg(variant));
    auto* layout = new QVBoxLayout(&window);
    auto* tree = new CShellTreeCtrl(
        OptionsFor(variant), corvelle::FolderNamespace(corvelle::SystemNamespaceRoots()), &window);
    auto* selected = new QLabel(&window);
    layout->addWidget(tree);
    layout->addWidget(selected);
    QObject::connect(tree, &QTreeWidget::itemSelectionChanged, [tree, selected] {
        const ShellFolderItem* record = tree->SelectedFolder();
        selected->setText(record ? QString::fromStdString(record->folder.path) : QString());
    });
    tree->FillRoot();
    if (!path.isEmpty()) tree->SelectFolderPath(path.toStdString());
    window.resize(420, 600);
    window.show();
    return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Shows the shared folder tree."));
    parser.addHelpOption();
    const QCommandLineOption variantOption(QStringLiteral("variant"),
                                           QStringLiteral("quenset, brevoll or tiselk"),
                                           QStringLiteral("name"), QStringLiteral("tiselk"));
    const QCommandLineOption dialogOption(QStringLiteral("dialog"),
                                          QStringLiteral("Open the folder dialog."));
    parser.addOption(variantOption);
    parser.addOption(dialogOption);
    parser.addPositionalArgument(QStringLiteral("path"), QStringLiteral("Folder to select."));
    parser.process(app);
    const QString variant = parser.value(variantOption);
    const QString path = parser.positionalArguments().value(0);
    return parser.isSet(dialogOption) ? RunDialog(variant, path) : RunTree(variant, path);
}
