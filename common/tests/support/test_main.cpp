// One main for every suite: window suites run on the offscreen platform, and every
// settings, state and data folder points into a private temporary folder so that no test
// reads or writes the settings of the person running it. Built twice: with
// CORVELLE_TEST_WIDGETS for the window suites, without it (no Qt Widgets) for the others.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#ifdef CORVELLE_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    const QByteArray root = home.path().toUtf8();
    qputenv("XDG_CONFIG_HOME", root + "/config");
    qputenv("XDG_STATE_HOME", root + "/state");
    qputenv("XDG_DATA_HOME", root + "/data");
    qputenv("XDG_RUNTIME_DIR", root + "/runtime");
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
