#pragma once
// The tool tip an image button owns: one tool (the button's client rectangle) with one text,
// and delays derived from one automatic delay as the classic tool tip does: the tip shows after
// the automatic delay of rest, stays for ten times that, and reappears after a fifth of it
// when the mouse moves on to it again. The button can also ask it to show at once.

#include <QObject>
#include <QRect>
#include <QString>
#include <QTimer>

class QWidget;
class QEvent;

namespace kovrel::skin {

class CSkinToolTip : public QObject {
    Q_OBJECT
public:
    explicit CSkinToolTip(QWidget* owner);
    ~CSkinToolTip() override;

    bool HasTool() const { return m_hasTool; }
    void AddTool(const QRect& rect);
    void SetText(const QString& text) { m_text = text; }
    const QString& Text() const { return m_text; }

    void SetAutomaticDelay(int milliseconds);
    int InitialDelay() const { return m_initialDelay; }
    int AutoPopDelay() const { return m_autoPopDelay; }
    int ReshowDelay() const { return m_reshowDelay; }

    void Activate(bool active);
    bool IsActive() const { return m_active; }

    // Shows the tip at the mouse now (when active and it has a text).
    void Popup();
    void Hide();
    bool IsShown() const { return m_shown; }

    // A mouse event of the owner: a move over the tool arms the initial delay, a button press
    // or leaving the tool hides the tip.
    void RelayEvent(const QEvent* event);

private:
    QWidget* m_owner;
    QRect m_tool;
    bool m_hasTool = false;
    QString m_text;
    bool m_active = true;
    bool m_shown = false;
    int m_initialDelay = 500;
    int m_autoPopDelay = 5000;
    int m_reshowDelay = 100;
    QTimer m_initialTimer;
    QTimer m_autoPopTimer;
};

} // namespace kovrel::skin
