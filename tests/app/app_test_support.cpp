#include "app_test_support.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>

namespace kovrel::app::test {

namespace {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "kovrel_app_tests";
        static char* argv[] = {name, nullptr};
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        app_ = new QApplication(argc, argv);
        QApplication::setApplicationDisplayName("Kovrel Test");
    }
    void TearDown() override {
        delete app_;
        app_ = nullptr;
    }

private:
    QApplication* app_ = nullptr;
};

[[maybe_unused]] const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace

TemporaryRuntimeFolder::TemporaryRuntimeFolder() {
    char pattern[] = "/tmp/kovrel-app-test-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    root_ = pattern;
    if (const char* old = std::getenv("XDG_RUNTIME_DIR")) {
        previous_ = old;
    }
    ::setenv("XDG_RUNTIME_DIR", root_.c_str(), 1);
}

TemporaryRuntimeFolder::~TemporaryRuntimeFolder() {
    if (previous_) {
        ::setenv("XDG_RUNTIME_DIR", previous_->c_str(), 1);
    } else {
        ::unsetenv("XDG_RUNTIME_DIR");
    }
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

} // namespace kovrel::app::test
