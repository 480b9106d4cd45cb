#pragma once

#include <QPixmap>
#include <QRect>
#include <QString>

class QPainter;

// The icon of a custom control: a picture file shown in a rectangle of the
// control. A file of another size than the rectangle is scaled to fit it,
// keeping its proportions, and centred in it.
class CustomIcon
{
public:
    // False, with a warning, when the file cannot be read or the rectangle is
    // empty; the icon shown before stays.
    bool load(const QString &path, int x, int y, int w, int h);
    void paint(QPainter &painter) const;

    // A picture compiled into the application (or any file), read by the
    // decoder its name's suffix names. A plain QPixmap(path) first asks every
    // image plugin installed whether it reads that format, which loads them
    // all: at start that cost more than all the icons together. A file read
    // before and unchanged since is not decoded again: the messages and pages
    // share their icons. Null when the file cannot be read.
    static QPixmap read(const QString &path);

    bool isOn() const { return on; }
    const QPixmap &pixmap() const { return picture; }

private:
    QPixmap picture;
    QRect rect;
    bool on = false;
};
