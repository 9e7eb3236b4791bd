#include "skin_texts.h"

#include <QStringList>

namespace kovrel::skingen {
namespace {

QString RectValue(const QRect& r) {
    return QStringLiteral("%1,%2,%3,%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// Captions of the lighting panel's labels: key, Chinese, English.
struct Caption {
    const char* key;
    const char16_t* chinese;
    const char* english;
};
constexpr Caption kCaptions[] = {
    {"Usb", u"USB回报率", "Report rate"},
    {"Deng", u"灯光效果", "Lighting"},
    {"Light", u"亮度", "Brightness"},
    {"FX", u"方向", "Direction"},
    {"Speed", u"速度", "Speed"},
    {"Color", u"颜色", "Color"},
    {"JColor", u"底色", "Base color"},
    {"DC", u"多彩", "Multicolor"},
    {"Tool", u"工具", "Tool"},
};

// Names of the lighting effects 1 to 20, Chinese and English.
struct EffectName {
    const char16_t* chinese;
    const char* english;
};
constexpr EffectName kEffects[20] = {
    {u"彩虹波浪", "Wave"},     {u"流光", "Flow"},         {u"环绕", "Orbit"},
    {u"光谱循环", "Spectrum"}, {u"呼吸", "Breathing"},    {u"常亮", "Static"},
    {u"触发", "Reactive"},     {u"涟漪", "Ripple"},       {u"绽放", "Burst"},
    {u"繁星", "Starlight"},    {u"彩虹", "Rainbow"},      {u"瀑布", "Waterfall"},
    {u"交错波", "Crosswave"},  {u"灯光秀", "Light show"}, {u"雨滴", "Rain"},
    {u"潮汐", "Tide"},         {u"单色", "Solid color"},  {u"漩涡", "Vortex"},
    {u"关闭", "Off"},          {u"自定义", "Custom"},
};

} // namespace

QString MainIniText(const Layout& layout) {
    QStringList lines;
    lines << QStringLiteral("; Main window of Kovrel: background, control rectangles (x,y,w,h in "
                            "pixels of the window),")
          << QStringLiteral("; profile arrow faces, lighting panel captions and effect names.")
          << QStringLiteral("; Generated together with the pictures of this folder; edit both "
                            "together.")
          << QString();
    lines << QStringLiteral("[SCREEN]") << QStringLiteral("Main=%1").arg(kBackgroundFile)
          << QStringLiteral("Mask=%1").arg(kMaskFile)
          << QStringLiteral("Link=https://www.halvorex.com/") << QString();

    lines << QStringLiteral("[BUTTONINFO]");
    for (const Control& control : layout.controls) {
        lines << QStringLiteral("%1=%2").arg(QString::fromStdString(control.key),
                                             RectValue(control.rect));
    }
    lines << QString();

    // The program cuts an arrow face from one pixel above and left of the origin it reads.
    lines << QStringLiteral("[BUTTONINFO2]");
    for (const ArrowFace& face : layout.arrowFaces) {
        lines << QStringLiteral("%1=%2").arg(QString::fromStdString(face.key),
                                             RectValue(face.rect.translated(1, 1)));
    }
    lines << QString();

    lines << QStringLiteral("[Control_Name]");
    for (const Caption& c : kCaptions) {
        lines << QStringLiteral("%1=%2").arg(QString::fromLatin1(c.key),
                                             QString::fromUtf16(c.chinese));
    }
    lines << QString() << QStringLiteral("[Control_Name1]");
    for (const Caption& c : kCaptions) {
        lines << QStringLiteral("%1=%2").arg(QString::fromLatin1(c.key),
                                             QString::fromLatin1(c.english));
    }
    lines << QString() << QStringLiteral("[Mode]");
    for (int n = 1; n <= 20; ++n) {
        lines << QStringLiteral("%1=%2").arg(n).arg(QString::fromUtf16(kEffects[n - 1].chinese));
    }
    lines << QString() << QStringLiteral("[Mode1]");
    for (int n = 1; n <= 20; ++n) {
        lines << QStringLiteral("%1=%2").arg(n).arg(QString::fromLatin1(kEffects[n - 1].english));
    }
    return lines.join('\n') + '\n';
}

} // namespace kovrel::skingen
