#pragma once
// Colours and fonts of the default skin: a dark graphite keyboard with an azure accent for hover
// and selection and a warm orange for keys marked in the colour-keys mode.

#include <QColor>
#include <QFont>
#include <QString>

namespace kovrel::skingen::theme {

// Window and surfaces.
inline const QColor kWindowTop{0x17, 0x19, 0x1e};
inline const QColor kWindowBottom{0x0e, 0x0f, 0x12};
inline const QColor kWindowBorder{0x2b, 0x2f, 0x37};
inline const QColor kTitleTop{0x1d, 0x20, 0x26};
inline const QColor kTitleBottom{0x16, 0x18, 0x1c};
inline const QColor kSeparator{0x27, 0x2b, 0x32};
inline const QColor kCaseTop{0x24, 0x27, 0x2e};
inline const QColor kCaseBottom{0x18, 0x1a, 0x1f};
inline const QColor kCaseBorder{0x33, 0x37, 0x40};
inline const QColor kPlate{0x10, 0x11, 0x14};
inline const QColor kPanelTop{0x1e, 0x21, 0x27};
inline const QColor kPanelBottom{0x17, 0x19, 0x1e};

// Accents.
inline const QColor kAccent{0x30, 0xc9, 0xff};
inline const QColor kAccentDeep{0x16, 0x74, 0xa0};
inline const QColor kMark{0xff, 0x8a, 0x3d};
inline const QColor kMarkDeep{0xd9, 0x5d, 0x16};
inline const QColor kDanger{0xd9, 0x36, 0x3e};

// Text.
inline const QColor kText{0xe6, 0xe9, 0xee};
inline const QColor kTextMuted{0x8d, 0x95, 0xa3};
inline const QColor kTextDim{0x4c, 0x52, 0x5c};

// The fonts are loaded from their files before anything is drawn, so every machine draws the same
// pictures; the CJK font backs up the Latin one for any Chinese text.
bool LoadPinnedFonts(QString* error);

// A font of `pixels` height in the pinned families.
QFont Font(int pixels, QFont::Weight weight = QFont::Normal, double letterSpacing = 0);

} // namespace kovrel::skingen::theme
