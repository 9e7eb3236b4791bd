#pragma once
// CPngButton: the image button of every skinned window. It paints itself by copying its face
// out of one of the window's rendered state pictures (skin_pictures.h), one pixel up and to the
// left of its face origin. It doubles as a key cap (colour mode, coloured frame) and as a label
// with an optional rotated caption.

#include <QAbstractButton>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QTimer>

#include <functional>

#include "skin/widgets/caption_layout.h"
#include "skin/widgets/color_ref.h"

namespace kovrel::skin {

class CSkinToolTip;

class CPngButton : public QAbstractButton {
    Q_OBJECT
public:
    // Called after every paint with the button and whether it showed its normal face.
    using PaintCallback = std::function<void(CPngButton* button, bool normalFace)>;

    enum class Face { Normal, Hover, Pressed, Disabled, Checked, ColorA, ColorB };

    // The automatic delay of the button's tool tip.
    static constexpr int kToolTipDelay = 2000;
    // Rest time after which the mouse counts as hovering.
    static constexpr int kHoverTime = 1;
    // A frame amount is kept at this at most while the frame mode is on.
    static constexpr int kMaxFrameAmount = 100;

    explicit CPngButton(QWidget* parent = nullptr);
    ~CPngButton() override;

    // Face origin and the five faces (not owned; null copies nothing). Clears hover, pressed and
    // tracking and repaints.
    void SetSkinImages(int x, int y, const QImage* normal, const QImage* hover,
                       const QImage* pressed, const QImage* disabled, const QImage* checked);
    // The same without touching the origin.
    void SetStateImages(const QImage* normal, const QImage* hover, const QImage* pressed,
                        const QImage* disabled, const QImage* checked);
    // The colour-mode faces: while `on`, picture B (selector 1) or A replaces every state face.
    void SetColorModeImages(const QImage* pictureA, const QImage* pictureB, bool on,
                            bool selectorB);
    void SetChecked(bool checked, bool repaintNow);
    void SetCaptionFont(bool shown, int size, const QString& fontName, ColorRef color,
                        unsigned format = caption_format::kDefault);
    void SetCaptionMargins(int left, int right, int top, int bottom);
    // Escapement in tenths of a degree, counter-clockwise; `rotated` uses the rotated placement
    // and the heavy weight.
    void SetCaptionAngle(int escapement, bool rotated);
    void SetFrameMode(ColorRef color, int amount, bool on);
    void SetPaintCallback(PaintCallback callback);
    // An empty text changes nothing.
    void SetTooltipText(const QString& text, bool active);
    // Paints the button now.
    void Repaint();

    // The face the button shows in its present state.
    Face ChosenFace() const;
    QPoint FaceOrigin() const { return m_origin; }
    bool IsHover() const { return m_hover; }
    bool IsTracking() const { return m_tracking; }
    bool IsChecked() const { return m_checked; }
    bool IsFrameMode() const { return m_frameOn; }
    int FrameAmount() const { return m_frameAmount; }
    CSkinToolTip* ToolTip() const { return m_toolTip; }

    // What the caption drawing uses.
    QFont CaptionFont() const;
    CaptionRect CaptionTextRect() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    const QImage* FaceImage(Face face) const;
    void ClearMouseState();
    void OnMouseHover();
    void PaintSurface(Face face);
    void DrawCaption(QPainter& painter);

    const QImage* m_faces[5] = {};
    const QImage* m_colorA = nullptr;
    const QImage* m_colorB = nullptr;
    bool m_colorMode = false;
    bool m_colorSelectorB = false;
    QPoint m_origin;
    bool m_hover = false;
    bool m_tracking = false;
    bool m_checked = false;

    bool m_captionShown = false;
    int m_captionSize = 8;
    QString m_captionFontName = QStringLiteral("Tahoma");
    ColorRef m_captionColor = 0;
    unsigned m_captionFormat = caption_format::kDefault;
    int m_marginLeft = 0;
    int m_marginRight = 0;
    int m_marginTop = 0;
    int m_marginBottom = 0;
    int m_escapement = 0;
    bool m_rotated = false;

    bool m_frameOn = false;
    ColorRef m_frameColor = 0;
    int m_frameAmount = 0;

    PaintCallback m_paintCallback;
    QString m_toolTipText;
    CSkinToolTip* m_toolTip = nullptr;
    QTimer m_hoverTimer;

    // What the button showed last: a face that copies nothing, or a frame, leaves the rest of
    // it as it was.
    QImage m_surface;
};

} // namespace kovrel::skin
