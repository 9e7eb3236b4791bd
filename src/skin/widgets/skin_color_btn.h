#pragma once
// CSkinColorBtn: the colour button of the lighting panel. It keeps a colour (or "automatic"),
// opens a palette of colour swatches when clicked, optionally with an "other" button for the
// system colour dialog, and tells its window when the user picked a colour. It draws itself as
// a swatch on the left and a grey drop-down box with a black arrow on the right.

#include <QAbstractButton>
#include <QPointer>
#include <QString>

#include <vector>

#include "skin/widgets/color_palette_popup.h"
#include "skin/widgets/color_ref.h"

namespace kovrel::skin {

class CSkinColorBtn : public QAbstractButton {
    Q_OBJECT
public:
    // The colour value that means "automatic".
    static constexpr ColorRef kAutomatic = 0xFFFFFFFF;
    // The drop-down box's grey (red 0x94, green 0x92, blue 0x8B).
    static constexpr ColorRef kDropDownGrey = 0x8B9294;

    explicit CSkinColorBtn(QWidget* parent = nullptr);

    // The colour without telling the window (as a program change, not a user's choice).
    void SetColor(ColorRef color);
    ColorRef GetColor() const { return m_color; }
    void SetAutomaticColor(ColorRef color);
    ColorRef GetAutomaticColor() const { return m_automatic; }
    // The colour drawn: the current one, or the automatic one while the current is automatic.
    ColorRef ShownColor() const { return m_color == kAutomatic ? m_automatic : m_color; }

    void SetColumnsNumber(int columns) { m_columns = columns; }
    int ColumnsNumber() const { return m_columns; }
    // Adds a button with this label to the palette that opens the system colour dialog.
    void EnableOtherButton(const QString& label) { m_otherLabel = label; }
    void SetPaletteColors(std::vector<ColorRef> colors) { m_paletteColors = std::move(colors); }
    const std::vector<ColorRef>& PaletteColors() const { return m_paletteColors; }
    // Replaces the system colour dialog (tests).
    void SetOtherColorChooser(OtherColorChooser chooser) { m_chooser = std::move(chooser); }

    // Opens the palette under the button; the open palette, or null.
    void ShowPopup();
    ColorPalettePopup* Popup() const { return m_popup; }

    bool IsHover() const { return m_hover; }

signals:
    // The user chose a colour from the palette or the colour dialog.
    void colorChanged(kovrel::skin::ColorRef color);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void OnColorChosen(ColorRef color);

    ColorRef m_color = kAutomatic;
    ColorRef m_automatic = 0;
    int m_columns = 10;
    QString m_otherLabel;
    std::vector<ColorRef> m_paletteColors;
    OtherColorChooser m_chooser;
    QPointer<ColorPalettePopup> m_popup;
    bool m_hover = false;
};

} // namespace kovrel::skin
