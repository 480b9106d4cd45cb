#include "CustomIcon.h"

#include "Console.h"

#include <QDateTime>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QPixmapCache>

QPixmap CustomIcon::read(const QString &path)
{
    const QFileInfo file(path);
    const QString key = QStringLiteral("icon:%1:%2:%3")
                            .arg(path)
                            .arg(file.lastModified().toMSecsSinceEpoch())
                            .arg(file.size());
    QPixmap picture;
    if (QPixmapCache::find(key, &picture))
        return picture;
    QImageReader reader(path, file.suffix().toLatin1());
    reader.setAutoDetectImageFormat(false);
    picture = QPixmap::fromImage(reader.read());
    if (!picture.isNull())
        QPixmapCache::insert(key, picture);
    return picture;
}

bool CustomIcon::load(const QString &path, int x, int y, int w, int h)
{
    if (w <= 0 || h <= 0) {
        console::warning("icon %s: empty rectangle %dx%d\n", path.toLocal8Bit().constData(), w, h);
        return false;
    }
    QPixmap loaded = read(path);
    if (loaded.isNull()) {
        console::warning("icon %s cannot be read\n", path.toLocal8Bit().constData());
        return false;
    }
    if (loaded.size() != QSize(w, h))
        loaded = loaded.scaled(w, h, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    picture = loaded;
    rect = QRect(x, y, w, h);
    on = true;
    return true;
}

void CustomIcon::paint(QPainter &painter) const
{
    if (!on)
        return;
    const QPoint offset((rect.width() - picture.width()) / 2, (rect.height() - picture.height()) / 2);
    painter.drawPixmap(rect.topLeft() + offset, picture);
}
