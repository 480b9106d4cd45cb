#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

// What a control paints, on a transparent image of its size.
inline QImage renderControl(QWidget &widget)
{
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

inline QColor rgbAt(const QImage &image, int x, int y)
{
    return QColor(image.pixel(x, y));
}

// How many pixels of a row, from x0 up to but not including x1, have exactly
// that colour.
inline int countInRow(const QImage &image, int y, int x0, int x1, const QColor &color)
{
    int count = 0;
    for (int x = x0; x < x1; ++x) {
        if (image.pixel(x, y) == color.rgba())
            ++count;
    }
    return count;
}

// How many pixels are painted at all (not fully transparent).
inline int paintedCount(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) != 0;
    }
    return count;
}
