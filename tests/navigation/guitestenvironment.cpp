// The QApplication every navigation widget test runs in, made once before the first test.
#include <QApplication>

#include <gtest/gtest.h>

namespace {

class GuiEnvironment : public testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test_navigation";
        static char *argv[] = {name, nullptr};
        m_app = new QApplication(argc, argv);
    }
    void TearDown() override {
        delete m_app;
        m_app = nullptr;
    }

private:
    QApplication *m_app = nullptr;
};

[[maybe_unused]] testing::Environment *const environment =
    testing::AddGlobalTestEnvironment(new GuiEnvironment);

} // namespace
