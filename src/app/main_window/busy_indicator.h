#pragma once
// The busy indicator Apply shows: an image control cycling through ten frames ("jdt1.bmp" to
// "jdt10.bmp" of the Skins folder) on timer 1050 while Apply runs.

#include <QPixmap>

#include <array>
#include <filesystem>

class QLabel;

namespace kovrel::app {

class BusyIndicator {
public:
    static constexpr int kFrames = 10;

    // Loads the frames (a missing one stays empty) and places the control at CONTROL_JDTStatic.
    void Attach(QLabel* control, const std::filesystem::path& skinFolder,
                const std::filesystem::path& skinFile);

    void Show();
    void Hide();
    // The next frame, wrapping from the tenth to the first.
    void Advance();

    int Frame() const { return frame_; }
    bool Visible() const;

private:
    void ShowFrame();

    QLabel* control_ = nullptr;
    std::array<QPixmap, kFrames> frames_;
    int frame_ = 0;
};

} // namespace kovrel::app
