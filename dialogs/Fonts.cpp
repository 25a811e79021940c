#include "dialogs/Fonts.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOption>
#include <QWidget>

namespace tess::ui {
namespace {

constexpr int kEightPointPixels = 11; // 8 pt at 96 dpi

QFont pixelFont(const QString& family, bool bold) {
    QFont font(family);
    font.setPixelSize(kEightPointPixels);
    font.setBold(bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

struct FaceTraits {
    bool bitmap = false;          // bitmap strikes only, which the toolkit cannot draw bigger
    bool lacksBoldStrike = false; // bold, yet drawn with the regular strike
};

// What drawing needs to know of a font's face, worked out once per font (on the window's thread,
// the only one that draws). A bold bitmap face lacks its bold strike when it has none and the
// font engine makes none up (Windows' GDI emboldens such a face itself, one pixel wider a
// letter; FreeType does not).
FaceTraits faceTraits(const QFont& font) {
    static QHash<QString, FaceTraits> known;
    const QString key = font.key();
    if (const auto it = known.constFind(key); it != known.constEnd())
        return *it;
    const QFontInfo info(font);
    FaceTraits traits;
    traits.bitmap = !QFontDatabase::isSmoothlyScalable(info.family(), info.styleName());
    if (traits.bitmap && font.bold() &&
        !QFontDatabase::styles(info.family()).contains(QStringLiteral("Bold"))) {
        QFont regular = font;
        regular.setBold(false);
        const QString sample = QStringLiteral("Percorso");
        traits.lacksBoldStrike = QFontMetrics(font).horizontalAdvance(sample) ==
                                 QFontMetrics(regular).horizontalAdvance(sample);
    }
    known.insert(key, traits);
    return traits;
}

bool isBitmapFace(const QFont& font) {
    return faceTraits(font).bitmap;
}

bool lacksBoldStrike(const QFont& font) {
    return faceTraits(font).lacksBoldStrike;
}

// Paints `draw` into `area` as it looks at 100 % and shows that picture as many times bigger
// as the painter's pixels are smaller, each pixel a block. A bitmap face has strikes of a few
// sizes only, and the toolkit would draw its 100 % strike at every scale, spread out to the
// scaled advances; the picture scaled up keeps the letters whole and as bold as at 100 %.
void drawAtOneToOne(QPainter* painter, const QRect& area,
                    const std::function<void(QPainter*, const QRect&)>& draw) {
    if (area.isEmpty())
        return;
    QImage layer(area.size(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter layerPainter(&layer);
        layerPainter.setFont(painter->font());
        layerPainter.setPen(painter->pen());
        draw(&layerPainter, QRect(QPoint(0, 0), area.size()));
    }
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter->drawImage(area, layer);
    painter->restore();
}

// Keeps the text of a bitmap face whole on screens scaled above 100 %, and strikes it a second
// time, one pixel to the right, where it would be drawn with its regular strike (the font's
// letter spacing has already made each advance one pixel wider).
class DoubleStrikeStyle final : public QProxyStyle {
public:
    void drawItemText(QPainter* painter, const QRect& rect, int flags, const QPalette& palette,
                      bool enabled, const QString& text,
                      QPalette::ColorRole textRole) const override {
        if (!isBitmapFace(painter->font())) {
            QProxyStyle::drawItemText(painter, rect, flags, palette, enabled, text, textRole);
            return;
        }
        // One pixel more on the right for the second strike of the last letter.
        const int strikes = lacksBoldStrike(painter->font()) ? 2 : 1;
        drawAtOneToOne(painter, rect.adjusted(0, 0, 1, 0), [&](QPainter* p, const QRect& area) {
            for (int strike = 0; strike < strikes; ++strike)
                QProxyStyle::drawItemText(p, QRect(area.topLeft() + QPoint(strike, 0), rect.size()),
                                          flags, palette, enabled, text, textRole);
        });
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        const auto* item = qstyleoption_cast<const QStyleOptionViewItem*>(option);
        if (element != CE_ItemViewItem || !item || !isBitmapFace(item->font)) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        // The item without its text (background, icon, focus frame), then the text where and
        // in the colour the style puts it, drawn as above.
        QStyleOptionViewItem bare = *item;
        bare.text.clear();
        QProxyStyle::drawControl(element, &bare, painter, widget);
        if (item->text.isEmpty())
            return;
        const int margin = pixelMetric(PM_FocusFrameHMargin, nullptr, widget) + 1;
        const QRect area =
            subElementRect(SE_ItemViewItemText, item, widget).adjusted(margin, 0, -margin - 1, 0);
        QPalette colours = item->palette;
        colours.setCurrentColorGroup(!(item->state & State_Enabled)  ? QPalette::Disabled
                                     : !(item->state & State_Active) ? QPalette::Inactive
                                                                     : QPalette::Active);
        const bool selected = item->state & State_Selected;
        painter->save();
        painter->setFont(item->font);
        const QFontMetrics metrics(item->font);
        const QString shown = elideWithDots(item->text, [&](const QString& text) {
            return metrics.horizontalAdvance(text) <= area.width();
        });
        drawItemText(painter, area, int(item->displayAlignment) | Qt::TextSingleLine, colours,
                     item->state & State_Enabled, shown,
                     selected ? QPalette::HighlightedText : QPalette::Text);
        painter->restore();
    }
};

} // namespace

QString elideWithDots(const QString& text, const std::function<bool(const QString&)>& fits) {
    if (fits(text))
        return text;
    const QString dots = QStringLiteral("...");
    QString kept = text;
    while (!kept.isEmpty() && !fits(kept + dots))
        kept.chop(1);
    return kept + dots;
}

void loadFonts() {
    static bool loaded = false;
    if (loaded)
        return;
    loaded = true;
#ifndef Q_OS_WIN
    // Windows has Tahoma and MS Sans Serif of its own; elsewhere the free faces of the same
    // names and metrics stand in for them.
    const char* files[] = {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf",
                           "/usr/share/wine/fonts/ms_sans_serif.ttf"};
    for (const char* file : files) {
        if (QFile::exists(QString::fromLatin1(file)))
            QFontDatabase::addApplicationFont(QString::fromLatin1(file));
    }
#endif
}

QFont tahoma8() {
    return pixelFont(QStringLiteral("Tahoma"), false);
}

QFont msSansSerif8Bold() {
    QFont font = pixelFont(QStringLiteral("MS Sans Serif"), true);
    if (lacksBoldStrike(font))
        font.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    return font;
}

void strikeBoldBitmapTextTwice(QWidget* window) {
    static QPointer<DoubleStrikeStyle> style;
    if (!style) {
        style = new DoubleStrikeStyle;
        style->setParent(qApp);
    }
    window->setStyle(style);
    for (QWidget* child : window->findChildren<QWidget*>())
        child->setStyle(style);
}

} // namespace tess::ui
