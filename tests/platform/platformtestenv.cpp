// Test environment of the platform tests: one QGuiApplication for the whole run.
#include <QGuiApplication>

#include <gtest/gtest.h>

namespace {

class GuiApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test_platform";
        static char *argv[] = {name, nullptr};
        m_app = new QGuiApplication(argc, argv);
    }
    void TearDown() override {
        delete m_app;
        m_app = nullptr;
    }

private:
    QGuiApplication *m_app = nullptr;
};

[[maybe_unused]] ::testing::Environment *const environment =
    ::testing::AddGlobalTestEnvironment(new GuiApplicationEnvironment);

} // namespace
