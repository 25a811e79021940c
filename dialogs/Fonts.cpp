#include "dialogs/Fonts.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
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

// A bold font whose face has no bold of its own and cannot be emboldened smoothly: Qt then
// draws its regular strike.
bool lacksBoldStrike(const QFont& font) {
    if (!font.bold())
        return false;
    const QFontInfo info(font);
    return !QFontDatabase::isSmoothlyScalable(info.family(), info.styleName()) &&
           !QFontDatabase::styles(info.family()).contains(QStringLiteral("Bold"));
}

// Strikes the text of a bitmap face without a bold strike a second time, one pixel to the
// right; the font's letter spacing has already made each advance one pixel wider.
class DoubleStrikeStyle final : public QProxyStyle {
public:
    void drawItemText(QPainter* painter, const QRect& rect, int flags, const QPalette& palette,
                      bool enabled, const QString& text,
                      QPalette::ColorRole textRole) const override {
        QProxyStyle::drawItemText(painter, rect, flags, palette, enabled, text, textRole);
        if (lacksBoldStrike(painter->font()))
            QProxyStyle::drawItemText(painter, rect.translated(1, 0), flags, palette, enabled, text,
                                      textRole);
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        QProxyStyle::drawControl(element, option, painter, widget);
        const auto* item = qstyleoption_cast<const QStyleOptionViewItem*>(option);
        if (element != CE_ItemViewItem || !item || !lacksBoldStrike(item->font))
            return;
        // The item again, one pixel to the right but only over its text: the background under
        // the text is a plain fill, so only the glyphs change.
        const QRect text = subElementRect(SE_ItemViewItemText, option, widget);
        painter->save();
        painter->setClipRect(text.translated(1, 0), Qt::IntersectClip);
        painter->translate(1, 0);
        QProxyStyle::drawControl(element, option, painter, widget);
        painter->restore();
    }
};

} // namespace

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
