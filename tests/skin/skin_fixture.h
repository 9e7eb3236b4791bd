#pragma once
// A small skin that the tests draw themselves: a temporary program folder with a Skins folder,
// INI files written from text and pictures saved from QImage.

#include <QColor>
#include <QImage>

#include <filesystem>
#include <string>
#include <string_view>

namespace kovrel::skin::test {

class TempSkin {
public:
    TempSkin();
    ~TempSkin();
    TempSkin(const TempSkin&) = delete;
    TempSkin& operator=(const TempSkin&) = delete;

    const std::filesystem::path& ProgramFolder() const { return m_root; }
    std::filesystem::path Skins() const { return m_root / "Skins"; }
    std::filesystem::path File(std::string_view name) const { return Skins() / name; }

    // Writes a file of the Skins folder and returns its path.
    std::filesystem::path WriteText(std::string_view name, std::string_view text) const;
    // Saves a picture into the Skins folder (the format follows the extension).
    std::filesystem::path SavePicture(std::string_view name, const QImage& picture) const;

private:
    std::filesystem::path m_root;
};

// A picture of one colour.
QImage SolidPicture(int width, int height, const QColor& color);

} // namespace kovrel::skin::test
