#pragma once
// The main window as the skin layer draws it, with nothing behind it: the skinned dialog from
// Main.ini of a Skins folder and one image button for every control the skin places, each cut
// from the window's rendered state pictures. The buttons carry the captions the program would
// show in English, and the first profile and the fastest report rate show as selected, so the
// picture looks like the window at rest.

#include <QStringList>

#include <filesystem>

#include "skin/widgets/base_dialog.h"

namespace kovrel::skinshot {

class ShotWindow : public skin::CBaseDialog {
    Q_OBJECT
public:
    explicit ShotWindow(const std::filesystem::path& skinsFolder);

    // Why the window does not look as the skin means it to (missing pictures, no controls);
    // empty when it does.
    const QStringList& Problems() const { return m_problems; }
    int ButtonCount() const { return m_buttonCount; }

protected:
    bool OnInitDialog() override;

private:
    const QImage* StatePicture(const char16_t* name);
    void PlaceButtons();

    QStringList m_problems;
    int m_buttonCount = 0;
};

} // namespace kovrel::skinshot
