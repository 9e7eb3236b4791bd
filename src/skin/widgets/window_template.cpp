#include "skin/widgets/window_template.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QVariant>

#include "skin/widgets/png_button.h"
#include "skin/widgets/skin_color_btn.h"

namespace kovrel::skin {

namespace {

constexpr char kControlIdProperty[] = "kovrelControlId";

} // namespace

QWidget* WindowTemplate::Make(const ControlTemplate& entry) {
    switch (entry.kind) {
    case ControlKind::ImageButton:
        return new CPngButton(m_window);
    case ControlKind::ColorButton:
        return new CSkinColorBtn(m_window);
    case ControlKind::PushButton:
        return new QPushButton(m_window);
    case ControlKind::CheckBox:
        return new QCheckBox(m_window);
    case ControlKind::Label:
        return new QLabel(m_window);
    case ControlKind::Picture: {
        auto* picture = new QLabel(m_window);
        picture->setScaledContents(false);
        return picture;
    }
    case ControlKind::Edit:
        return new QLineEdit(m_window);
    case ControlKind::ComboBox:
        return new QComboBox(m_window);
    case ControlKind::List:
        return new QListWidget(m_window);
    case ControlKind::Slider:
        return new QSlider(Qt::Horizontal, m_window);
    case ControlKind::Custom:
        return entry.factory ? entry.factory(m_window) : nullptr;
    }
    return nullptr;
}

void WindowTemplate::Connect(QWidget* control, int id) {
    if (auto* colorButton = qobject_cast<CSkinColorBtn*>(control)) {
        QObject::connect(colorButton, &CSkinColorBtn::colorChanged, colorButton,
                         [this, id] { Dispatch(id); });
        return;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        QObject::connect(button, &QAbstractButton::clicked, button, [this, id] { Dispatch(id); });
    }
}

void WindowTemplate::Create(std::span<const ControlTemplate> controls) {
    for (const ControlTemplate& entry : controls) {
        QPointer<QWidget>& slot = m_controls[entry.id];
        if (!slot) {
            slot = Make(entry);
            if (!slot) {
                continue;
            }
            slot->setProperty(kControlIdProperty, entry.id);
            Connect(slot, entry.id);
        }
        slot->setVisible(entry.visible);
    }
}

QWidget* WindowTemplate::Control(int id) const {
    auto found = m_controls.find(id);
    return found == m_controls.end() ? nullptr : found->second.data();
}

int WindowTemplate::ControlId(const QWidget* control) {
    return control ? control->property(kControlIdProperty).toInt() : 0;
}

void WindowTemplate::OnCommand(int id, CommandHandler handler) {
    m_handlers[id] = std::move(handler);
}

bool WindowTemplate::Dispatch(int id) const {
    auto found = m_handlers.find(id);
    if (found == m_handlers.end() || !found->second) {
        return false;
    }
    // The handler may close the window that owns this template.
    CommandHandler handler = found->second;
    handler();
    return true;
}

} // namespace kovrel::skin
