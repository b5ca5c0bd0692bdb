// main() for the protocol tests: no windowing platform; private temporary files and home.

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char **argv) {
    QTemporaryDir temporary;
    for (const char *variable : {"TMPDIR", "HOME", "XDG_CONFIG_HOME"})
        qputenv(variable, (temporary.path() + "/" + variable).toUtf8());
    QDir(temporary.path()).mkpath("TMPDIR");
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
