#pragma once

#include <QColor>
#include <QLabel>

// A swatch of the colour under the light-meter probe, shown through the
// panel's own colour response.
class ColorLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ColorLabel(QWidget *parent = nullptr);

    // 8-bit components; numbers outside 0 to 255 are taken as the nearest end.
    void setColor(int r, int g, int b);
    const QColor &displayedColor() const { return displayed; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int red = 0;
    int green = 0;
    int blue = 0;
    QColor displayed{0, 0, 0, 255};
};
