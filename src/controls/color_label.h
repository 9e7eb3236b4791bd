#pragma once
// CColorLabel: a text drawn in a given colour on a transparent background, so that it sits on
// a skin's picture.

#include <QColor>
#include <QString>
#include <QWidget>

namespace kovrel::controls {

class CColorLabel : public QWidget {
    Q_OBJECT
public:
    explicit CColorLabel(QWidget* parent = nullptr);

    void SetWindowText(const QString& text);
    const QString& Text() const { return m_text; }
    void SetTextColor(const QColor& color);
    const QColor& TextColor() const { return m_color; }
    // Qt alignment flags; left and vertically centred by default.
    void SetAlignment(Qt::Alignment alignment);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    QColor m_color = Qt::black;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

} // namespace kovrel::controls
