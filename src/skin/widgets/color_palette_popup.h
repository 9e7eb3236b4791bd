#pragma once
// The palette that drops down from a colour button: a grid of colour swatches in a given number
// of columns and, when enabled, a button that opens the system colour dialog. A choice closes
// the palette.

#include <QColor>
#include <QFrame>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

#include "skin/widgets/color_ref.h"

namespace kovrel::skin {

// Asks the user for a colour starting from `initial`; nothing when the user cancels.
using OtherColorChooser =
    std::function<std::optional<QColor>(const QColor& initial, QWidget* parent)>;

// The system colour dialog.
std::optional<QColor> ChooseColorWithDialog(const QColor& initial, QWidget* parent);

class ColorPalettePopup : public QFrame {
    Q_OBJECT
public:
    struct Options {
        std::vector<ColorRef> colors;
        int columns = 10;
        QString otherLabel; // empty: no "other" button
        OtherColorChooser chooser;
        ColorRef current = 0;
    };

    ColorPalettePopup(const Options& options, QWidget* owner);

    // Chooses the swatch at `index`, or runs the "other" button (what a click does).
    void ChooseSwatch(int index);
    void ChooseOther();
    int SwatchCount() const { return static_cast<int>(m_colors.size()); }
    int Columns() const { return m_columns; }
    bool HasOtherButton() const { return m_otherButton != nullptr; }

signals:
    void colorChosen(kovrel::skin::ColorRef color);

private:
    std::vector<ColorRef> m_colors;
    int m_columns;
    OtherColorChooser m_chooser;
    ColorRef m_current;
    QWidget* m_otherButton = nullptr;
};

} // namespace kovrel::skin
