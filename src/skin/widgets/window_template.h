#pragma once
// A window's template: the table of control ids from which the window creates its controls
// (each with its kind and its initial visibility), and the dispatch of commands by id. Buttons
// send their id as a command when clicked, colour buttons when their colour is chosen; menus and
// other senders dispatch ids the same way.

#include <QPointer>

#include <functional>
#include <map>
#include <span>

class QWidget;

namespace kovrel::skin {

enum class ControlKind {
    ImageButton, // CPngButton
    ColorButton, // CSkinColorBtn
    PushButton,  // a plain framework button
    CheckBox,
    Label,   // a static text
    Picture, // a static picture frame
    Edit,
    ComboBox,
    List,
    Slider,
    Custom, // made by the entry's factory (controls of the control library)
};

using ControlFactory = QWidget* (*)(QWidget* parent);

// The factory of a Custom entry: `&CreateControl<controls::CHyperLink>`.
template <class Widget>
QWidget* CreateControl(QWidget* parent) {
    return new Widget(parent);
}

struct ControlTemplate {
    int id = 0;
    ControlKind kind = ControlKind::Label;
    bool visible = true;
    ControlFactory factory = nullptr; // Custom only
};

class WindowTemplate {
public:
    using CommandHandler = std::function<void()>;

    explicit WindowTemplate(QWidget* window) : m_window(window) {}
    // The controls' connections refer to this object.
    WindowTemplate(const WindowTemplate&) = delete;
    WindowTemplate& operator=(const WindowTemplate&) = delete;

    // Creates the controls of `controls` as children of the window, each hidden or shown as the
    // table says, and connects their commands. Controls that exist already are not created again:
    // they get their initial visibility back, as on every opening of a window.
    void Create(std::span<const ControlTemplate> controls);

    // The control with this id, or null.
    QWidget* Control(int id) const;
    template <class Widget>
    Widget* ControlAs(int id) const {
        return qobject_cast<Widget*>(Control(id));
    }

    // The id a control was created with, or 0.
    static int ControlId(const QWidget* control);

    // Binds a handler to a command id (replacing an earlier one).
    void OnCommand(int id, CommandHandler handler);

    // Runs the handler of `id`; false when none is bound.
    bool Dispatch(int id) const;

private:
    QWidget* Make(const ControlTemplate& entry);
    void Connect(QWidget* control, int id);

    QWidget* m_window;
    std::map<int, QPointer<QWidget>> m_controls;
    std::map<int, CommandHandler> m_handlers;
};

} // namespace kovrel::skin
