#include <QGuiApplication>

#include <gtest/gtest.h>

namespace {

/** The store's models and image decoding want a GUI application object. */
class QtEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "store_tests";
        static char *argv[] = {name, nullptr};
        m_app = std::make_unique<QGuiApplication>(argc, argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<QGuiApplication> m_app;
};

const auto *environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace
