// Helpers of the app tests, and the QApplication every test of this executable shares.
#include "apptestsupport.h"

#include "app/apptranslations.h"

#include <QApplication>
#include <QFile>
#include <gtest/gtest.h>

namespace {

// One QApplication for the whole test program, with the Chinese Qt translations loaded.
class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test_app";
        static char *argv[] = {name, nullptr};
        app_ = new QApplication(argc, argv);
        installChineseTranslations(*app_);
    }
    void TearDown() override {
        delete app_;
        app_ = nullptr;
    }

private:
    QApplication *app_ = nullptr;
};

const auto *const g_environment = ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

} // namespace

void TempFolder::write(const QString &name, const QByteArray &bytes) const {
    QFile f(file(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray TempFolder::read(const QString &name) const {
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
