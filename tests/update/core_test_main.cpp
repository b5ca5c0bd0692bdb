// main() for the protocol tests: no windowing platform at all, and a private
// temporary folder so that tests can see every temporary file the code makes;
// settings go to a private home.

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char **argv) {
    QTemporaryDir temporary;
    qputenv("TMPDIR", (temporary.path() + "/tmp").toUtf8());
    qputenv("HOME", (temporary.path() + "/home").toUtf8());
    qputenv("XDG_CONFIG_HOME", (temporary.path() + "/home/config").toUtf8());
    QDir(temporary.path()).mkpath("tmp");
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
