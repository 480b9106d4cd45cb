#pragma once

#include <QGlyphRun>
#include <QLabel>
#include <QRawFont>
#include <array>

// The running time code of the status bar. Its text changes with every frame
// of the source, and a plain label shapes the whole text anew for each paint;
// this one keeps the glyph and advance of each character it has drawn for its
// font and sets them side by side in one run. An empty or rich text, a wrapped
// one, one with a character outside printable ASCII, or a label with an
// indent or a frame is painted as a plain label paints it.
class TimeCodeLabel : public QLabel
{
    Q_OBJECT

public:
    explicit TimeCodeLabel(QWidget *parent = nullptr);

    // Sets the text as setText does, but repaints only the characters that
    // changed when the others keep their places: from one frame to the next
    // that is the last digit or two, not the whole code.
    void setTimeCode(const QString &code);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct Glyph {
        quint32 index = 0; // 0 until the character has been looked up
        qreal advance = 0;
    };
    static constexpr char16_t firstCharacter = 0x20;
    static constexpr char16_t lastCharacter = 0x7e;

    // Fills the run with the text's glyphs from the left edge of the
    // baseline and returns their width, or a negative width when a
    // character cannot be set this way.
    qreal layOut(const QString &shown, QGlyphRun &run);
    // The run of a text and where its baseline starts in the label; false
    // when the text is painted as a plain label paints it.
    bool place(const QString &shown, QGlyphRun &run, QPointF &origin);

    QRawFont rawFont;
    std::array<Glyph, lastCharacter - firstCharacter + 1> glyphs{};
};
