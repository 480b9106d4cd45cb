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

bool TimeCodeLabel::place(const QString &shown, QGlyphRun &run, QPointF &origin)
{
    if (shown.isEmpty() || textFormat() == Qt::RichText || wordWrap() || indent() > 0 ||
        frameShape() != QFrame::NoFrame || frameWidth() > 0)
        return false;
    const qreal width = layOut(shown, run);
    if (width < 0)
        return false;
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
    origin = QPointF(x, y + rawFont.ascent());
    return true;
}

void TimeCodeLabel::paintEvent(QPaintEvent *event)
{
    QGlyphRun run;
    QPointF origin;
    if (!place(text(), run, origin)) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setPen(palette().color(isEnabled() ? QPalette::Normal : QPalette::Disabled, foregroundRole()));
    painter.drawGlyphRun(origin, run);
}

void TimeCodeLabel::setTimeCode(const QString &code)
{
    const QString before = text();
    if (code == before)
        return;
    QGlyphRun now;
    QPointF origin;
    if (!isVisible() || !updatesEnabled() || code.size() != before.size() || !place(code, now, origin)) {
        setText(code);
        return;
    }
    // The characters that differ, and the ink of their glyphs before and
    // after. Each old glyph must have been drawn this way and be as wide as
    // its new one, so that all others keep their places.
    const QVector<quint32> nowGlyphs = now.glyphIndexes();
    const QVector<QPointF> places = now.positions();
    QRectF changed;
    for (int i = 0; i < code.size(); ++i) {
        if (code[i] == before[i])
            continue;
        const char16_t was = before[i].unicode();
        const Glyph *old = was >= firstCharacter && was <= lastCharacter ? &glyphs[was - firstCharacter] : nullptr;
        if (old == nullptr || old->index == 0 || old->advance != glyphs[code[i].unicode() - firstCharacter].advance) {
            setText(code);
            return;
        }
        changed |= rawFont.boundingRect(old->index).translated(origin + places[i]);
        changed |= rawFont.boundingRect(nowGlyphs[i]).translated(origin + places[i]);
    }
    // A label repaints all of itself when its text is set, and offers no
    // other way to change the text the rest of the system reads from it:
    // that repaint is held back here, and only the changed glyphs' ink is
    // repainted, a pixel wider on each side, as hinting may move an edge
    // that far past the outline's box.
    setAttribute(Qt::WA_UpdatesDisabled, true);
    setText(code);
    setAttribute(Qt::WA_UpdatesDisabled, false);
    update(changed.toAlignedRect().adjusted(-1, -1, 1, 1) & rect());
}

void TimeCodeLabel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        glyphs = {};
        rawFont = QRawFont();
    }
    QLabel::changeEvent(event);
}
