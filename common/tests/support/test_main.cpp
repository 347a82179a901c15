// One main for every suite: widget tests run on the offscreen platform, and every settings,
// state and data folder points into a private temporary folder so that no test reads or
// writes the settings of the person running it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include <cstdlib>

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    const QByteArray root = home.path().toUtf8();
    qputenv("XDG_CONFIG_HOME", root + "/config");
    qputenv("XDG_STATE_HOME", root + "/state");
    qputenv("XDG_DATA_HOME", root + "/data");
    qputenv("XDG_RUNTIME_DIR", root + "/runtime");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
