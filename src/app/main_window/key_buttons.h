#pragma once
// The keyboard picture of the main window: the 104 key buttons, the nine G buttons and Fn,
// placed from Main.ini, showing the working store's assignments of the active profile (assigned
// look and a tool tip describing the assignment), the colour-keys marks, and the G-key bank on
// G1 to G5 ("A1".."A5" or "B1".."B5") and on the LOCK_AB lamp.

#include "model/configuration_store.h"
#include "skin/widgets/skin_placing.h"

#include <QImage>
#include <QString>

#include <filesystem>

namespace kovrel::skin {
class CPngButton;
class WindowTemplate;
} // namespace kovrel::skin

namespace kovrel::app {

// Captions of G1 to G5 in a bank: "A1".."A5" in bank 0, "B1".."B5" in bank 1.
QString BankCaption(int bank, int gNumber);

// The record a button's colour-keys mark lives in, within the active profile's area: key
// button n uses record n, G button slot g (0-8) record g, plus 9 in G-key bank 1. -1 for a
// control that is no key or G button.
int MarkRecordOfControl(int controlId, int gBank);

// The record behind a button's assignment: the key's index for a key button, 256 + slot (+ 9 in
// bank 1) for a G button. -1 for any other control.
int KeyIndexOfControl(int controlId, int gBank);

class KeyButtons {
public:
    struct Pictures {
        skin::SkinFaces faces;
        const QImage* colourA = nullptr; // main_color0.jpg: an unmarked key in colour-keys mode
        const QImage* colourB = nullptr; // main_color1.jpg: a marked key
    };

    explicit KeyButtons(skin::WindowTemplate& controls) : controls_(controls) {}

    // Places the 114 buttons from "BUTTONINFO" of the skin file, G1-G5 with their bank caption.
    void Place(const std::filesystem::path& skinFile, const Pictures& pictures, int gBank);

    // RefreshKeyButtons for the active profile's area: assigned look and tool tips of every key
    // and G button (G buttons from the records of `gBank`). The caller holds the store's lock.
    void Refresh(const Configuration& configuration, int area, int gBank);

    // The G buttons from the records of `gBank`, with their bank captions.
    void RefreshGButtons(const Configuration& configuration, int area, int gBank);

    // Shows (or stops showing) the colour-keys marks of the active area on all 113 key and G
    // buttons.
    void ShowMarks(const Configuration& configuration, int area, int gBank, bool colourMode);
    // One button's mark.
    void ShowMark(int controlId, bool marked, bool colourMode);

    skin::CPngButton* Button(int controlId) const;

private:
    skin::WindowTemplate& controls_;
    Pictures pictures_;
};

} // namespace kovrel::app
