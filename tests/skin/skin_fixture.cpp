#include "skin_fixture.h"

#include <QApplication>
#include <QString>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>

namespace kovrel::skin::test {

namespace {

// One QApplication for the whole test program, made before the first test and gone after the
// last.
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "kovrel_skin_tests";
        static char* argv[] = {name, nullptr};
        // Widget tests never need a display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        m_app = new QApplication(argc, argv);
    }
    void TearDown() override {
        delete m_app;
        m_app = nullptr;
    }

private:
    QApplication* m_app = nullptr;
};

[[maybe_unused]] const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace

TempSkin::TempSkin() {
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    do {
        m_root = base / ("kovrel-skin-" + std::to_string(random()));
    } while (std::filesystem::exists(m_root));
    std::filesystem::create_directories(Skins());
}

TempSkin::~TempSkin() {
    std::error_code ignored;
    std::filesystem::remove_all(m_root, ignored);
}

std::filesystem::path TempSkin::WriteText(std::string_view name, std::string_view text) const {
    const std::filesystem::path path = File(name);
    std::ofstream out(path, std::ios::binary);
    out << text;
    return path;
}

std::filesystem::path TempSkin::SavePicture(std::string_view name, const QImage& picture) const {
    const std::filesystem::path path = File(name);
    const bool saved = picture.save(QString::fromStdString(path.string()));
    EXPECT_TRUE(saved) << path;
    return path;
}

QImage SolidPicture(int width, int height, const QColor& color) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(color);
    return picture;
}

} // namespace kovrel::skin::test
