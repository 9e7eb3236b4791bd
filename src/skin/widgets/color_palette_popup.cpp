#include "skin/widgets/color_palette_popup.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QPushButton>
#include <QToolButton>

namespace kovrel::skin {

namespace {

constexpr int kSwatchSize = 16;

} // namespace

std::optional<QColor> ChooseColorWithDialog(const QColor& initial, QWidget* parent) {
    const QColor chosen = QColorDialog::getColor(initial, parent);
    if (!chosen.isValid()) {
        return std::nullopt;
    }
    return chosen;
}

ColorPalettePopup::ColorPalettePopup(const Options& options, QWidget* owner)
    : QFrame(owner, Qt::Popup), m_colors(options.colors), m_columns(std::max(1, options.columns)),
      m_chooser(options.chooser ? options.chooser : OtherColorChooser(&ChooseColorWithDialog)),
      m_current(options.current) {
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameShape(QFrame::Box);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(3, 3, 3, 3);
    grid->setSpacing(2);
    for (int i = 0; i < SwatchCount(); ++i) {
        auto* swatch = new QToolButton(this);
        swatch->setFixedSize(kSwatchSize, kSwatchSize);
        swatch->setAutoRaise(true);
        const QColor color = ToQColor(m_colors[i]);
        swatch->setToolTip(color.name());
        swatch->setStyleSheet(
            QStringLiteral("QToolButton { background: %1; border: 1px solid %2; }")
                .arg(color.name(), m_colors[i] == m_current ? QStringLiteral("#000000")
                                                            : QStringLiteral("#808080")));
        connect(swatch, &QToolButton::clicked, this, [this, i] { ChooseSwatch(i); });
        grid->addWidget(swatch, i / m_columns, i % m_columns);
    }
    if (!options.otherLabel.isEmpty()) {
        auto* other = new QPushButton(options.otherLabel, this);
        connect(other, &QPushButton::clicked, this, &ColorPalettePopup::ChooseOther);
        const int row = (SwatchCount() + m_columns - 1) / m_columns;
        grid->addWidget(other, row, 0, 1, m_columns);
        m_otherButton = other;
    }
}

void ColorPalettePopup::ChooseSwatch(int index) {
    if (index < 0 || index >= SwatchCount()) {
        return;
    }
    const ColorRef color = m_colors[index];
    close();
    emit colorChosen(color);
}

void ColorPalettePopup::ChooseOther() {
    // The palette goes away first: the colour dialog is modal and takes over the mouse.
    hide();
    const std::optional<QColor> chosen = m_chooser(ToQColor(m_current), parentWidget());
    close();
    if (chosen) {
        emit colorChosen(FromQColor(*chosen));
    }
}

} // namespace kovrel::skin
