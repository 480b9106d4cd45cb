#include "TimeCodeLabel.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QStyle>
#include <QVector>

TimeCodeLabel::TimeCodeLabel(QWidget *parent) : QLabel(parent)
{
}

qreal TimeCodeLabel::layOut(const QString &shown, QGlyphRun &run)
{
    if (!rawFont.isValid())
        rawFont = QRawFont::fromFont(font());
    QVector<quint32> indexes(shown.size());
    QVector<QPointF> positions(shown.size());
    qreal x = 0;
    for (int i = 0; i < shown.size(); ++i) {
        const char16_t character = shown[i].unicode();
        if (character < firstCharacter || character > lastCharacter)
            return -1;
        Glyph &glyph = glyphs[character - firstCharacter];
        if (glyph.index == 0) {
            const QVector<quint32> index = rawFont.glyphIndexesForString(shown.mid(i, 1));
            if (index.size() != 1 || index.front() == 0)
                return -1;
            glyph.index = index.front();
            glyph.advance = QFontMetricsF(font()).horizontalAdvance(shown[i]);
        }
        indexes[i] = glyph.index;
        positions[i] = QPointF(x, 0);
        x += glyph.advance;
    }
    run.setRawFont(rawFont);
    run.setGlyphIndexes(indexes);
    run.setPositions(positions);
    return x;
}

void TimeCodeLabel::paintEvent(QPaintEvent *event)
{
    const QString shown = text();
    const bool plain =
        shown.isEmpty() || textFormat() == Qt::RichText || wordWrap() || indent() > 0 || frameWidth() > 0;
    QGlyphRun run;
    const qreal width = plain ? -1 : layOut(shown, run);
    if (width < 0) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    drawFrame(&painter);
    const int inset = margin();
    const QRectF area = contentsRect().adjusted(inset, inset, -inset, -inset);
    const qreal height = rawFont.ascent() + rawFont.descent();
    const Qt::Alignment align = QStyle::visualAlignment(layoutDirection(), alignment());
    qreal x = area.left();
    if (align & Qt::AlignRight)
        x = area.right() - width;
    else if (align & Qt::AlignHCenter)
        x = area.left() + (area.width() - width) / 2;
    qreal y = area.top();
    if (align & Qt::AlignBottom)
        y = area.bottom() - height;
    else if (align & Qt::AlignVCenter)
        y = area.top() + (area.height() - height) / 2;
    painter.setPen(palette().color(isEnabled() ? QPalette::Normal : QPalette::Disabled, foregroundRole()));
    painter.drawGlyphRun(QPointF(x, y + rawFont.ascent()), run);
}

void TimeCodeLabel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        glyphs = {};
        rawFont = QRawFont();
    }
    QLabel::changeEvent(event);
}
