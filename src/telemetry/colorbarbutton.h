#pragma once
// A tool button that shows a horizontal bar instead of its caption: the bar's colour is
// the button's text colour and its thickness the pixel size of the button's font. The
// chart's colour buttons and line-width samples are of this kind, so copying a sample's
// font to a colour button, or giving a button a new text colour, changes what it shows.

#include <QToolButton>

class ColorBarButton : public QToolButton {
    Q_OBJECT
public:
    explicit ColorBarButton(QWidget* parent = nullptr);

    // The text colour of the button (palette role ButtonText), which is the bar's colour.
    QColor barColor() const;
    // Sets the text colour of the button; the bar repaints in it.
    void setBarColor(const QColor& color);
    // Bar thickness in pixels: the font's pixel size, or 3 when the font is sized in points.
    int barThickness() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};
