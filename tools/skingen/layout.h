#pragma once
// The layout of the main window's default skin: where every control of the main window sits, what
// kind of picture it needs and which words or icon it carries. Everything the generator draws and
// every rectangle it writes into Main.ini comes from this one description, so pictures and
// rectangles always agree.

#include <QRect>
#include <QSize>
#include <QString>

#include <string>
#include <vector>

namespace kovrel::skingen {

// How the program shows a control, which decides what the state pictures must hold for it.
enum class ControlKind {
    KeyCap,      // key, G and Fn buttons: image buttons that also use the two colour-mode pictures
    Button,      // other image buttons: faces cut from the four state pictures
    ArrowButton, // the two profile arrows: all faces cut from Arrow.jpg
    Placed,      // placed without pictures (labels, lists, sliders, edit fields, picture frames)
};

// What the generator draws for a control.
enum class Look {
    None,         // nothing: the program draws the control itself over the plain background
    KeyCap,       // key cap with its legend
    GKey,         // G key: small "G n" tag, the centre left free for the program's bank label
    Caption,      // plain button: the program draws its caption (language text) centred on it
    ProfileTab,   // caption button that shows "selected" in its checked face
    ProfilesMenu, // caption button with a list icon at its left end
    SwitchMode,   // caption button with a two-colour icon at its left end
    ReportRate,   // segment with its polling rate printed on it; checked = selected
    TitleHelp,    // title bar icons
    TitleMenu,
    TitleMinimize,
    TitleClose,
    Brand,         // the brand word mark, a link
    Version,       // the version tag; the program may print the version text over it
    LockLed,       // lock indicator: a lamp and its name; lit in the checked face
    BankLed,       // G bank indicator: bank A lit in the normal picture, bank B in the hover one
    FlipIndicator, // the F-row layout indicator between its two switch buttons
    FlipLeft,      // the two buttons that toggle the F-row layout
    FlipRight,
    ArrowLeft, // profile arrows (drawn into Arrow.jpg only)
    ArrowRight,
};

struct Control {
    std::string key; // key of section BUTTONINFO
    QRect rect;      // client coordinates of the main window
    ControlKind kind = ControlKind::Placed;
    Look look = Look::None;
    QString legend;  // main legend (key caps, report rates, lock names)
    QString legend2; // second legend: the shifted symbol of a key cap, a numeric-pad function
    bool smallLegend = false; // word legends that need the small font
};

// A face of the profile arrows inside Arrow.jpg: the BUTTONINFO2 key and the face's rectangle in
// that picture.
struct ArrowFace {
    std::string key;
    QRect rect;
    Look arrow = Look::ArrowLeft;
    bool pressed = false;
    bool dimmed = false;
};

struct Layout {
    QSize window;
    int cornerRadius = 14;
    QRect titleBar;
    QRect toolbar;
    QRect keyboardCase;
    QRect keyboardBezel; // top strip of the case that holds the lamps and the word mark
    QRect panel;
    QRect panelHeader;
    QRect panelEffectArea;
    QRect panelColourRow;
    QRect panelReportArea;
    QRect bottomBar;
    std::vector<Control> controls;
    QSize arrowPicture;
    std::vector<ArrowFace> arrowFaces;

    const Control* Find(std::string_view key) const;
    const Control& Get(std::string_view key) const; // throws std::out_of_range when missing
};

// The whole main window: chrome, keyboard, lighting panel. Key buttons come from the program's
// key table (control ids, key ids and skin keys), so a key missing there is missing here too.
Layout BuildMainLayout();

} // namespace kovrel::skingen
