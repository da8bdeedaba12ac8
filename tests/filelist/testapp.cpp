// One QApplication for every test of the file list.
#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

namespace {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test_filelist";
        static char *argv[] = {name, nullptr};
        QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
        if (!qApp)
            new QApplication(argc, argv);
    }
    // Destroying the application waits for listings still running on worker threads, so none
    // outlives the program's static data at exit.
    void TearDown() override { delete qApp; }
};

[[maybe_unused]] ::testing::Environment *const environment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace
