#pragma once

#include <QHash>
#include <QImage>
#include <QLineEdit>

// A text box that shows a clock: as editable as any text box, but cheap to rewrite once a second
// at any size. While the user is not editing it, it draws its characters from images made once
// per character at the scale of the screen it is on, since Qt draws large glyphs as paths on every
// repaint. A text too wide for the box shows its beginning.
class ClockBox final : public QLineEdit {
public:
    ClockBox(const QString& text, QWidget* parent);

    // Shows the text; nothing happens when it is already shown.
    void ShowText(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    struct Glyph {
        QImage image;
        QPoint offset; // of the image's top-left corner from the glyph's origin on the baseline
    };
    // The character with its origin at a fraction of a pixel, as the text layout places it, in an
    // image of so many device pixels per pixel.
    const Glyph& glyph(QChar character, QPointF fraction, qreal ratio);
    bool drawsItself() const;
    // Tells assistive technology what a tick changed: the characters that differ, removed and
    // inserted in their place.
    void tellReplaced(const QString& shown, const QString& text);

    QHash<std::pair<QChar, int>, Glyph> glyphs_; // by character and fraction in 64ths
    qreal glyphRatio_ = 0;                       // the device pixels per pixel of them all
};
