#include "CustomIcon.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Whether an image plugin's library is mapped into this process.
bool imagePluginLoaded()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read /proc/self/maps";
        return false;
    }
    return maps.readAll().contains("/imageformats/");
}

bool imagePluginInstalled()
{
    for (const QString &path : QCoreApplication::libraryPaths()) {
        if (!QDir(path + QStringLiteral("/imageformats")).entryList({QStringLiteral("*.so")}, QDir::Files).isEmpty())
            return true;
    }
    return false;
}

} // namespace

TEST(CustomIconTest, CompiledInIconsAreReadByTheirOwnDecoderAlone)
{
    if (!imagePluginInstalled())
        GTEST_SKIP() << "no image plugin installed: nothing to keep from loading";
    const QPixmap logo = CustomIcon::read(QStringLiteral(":/png/top/logo.png"));
    ASSERT_FALSE(logo.isNull());
    EXPECT_EQ(logo.size(), QSize(120, 40));
    EXPECT_FALSE(imagePluginLoaded()) << "reading an icon loaded the image plugins";

    // The plain way asks every plugin first: the check above sees it.
    EXPECT_FALSE(QPixmap(QStringLiteral(":/png/top/lutIcon.png")).isNull());
    EXPECT_TRUE(imagePluginLoaded());
}

TEST(CustomIconTest, AMissingOrBrokenFileReadsAsNothingAGoodOneIsDecodedOnceUntilItChanges)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile broken(dir.filePath(QStringLiteral("broken.png")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a picture at all");
    broken.close();
    EXPECT_TRUE(CustomIcon::read(broken.fileName()).isNull());
    EXPECT_TRUE(CustomIcon::read(dir.filePath(QStringLiteral("missing.png"))).isNull());
    EXPECT_TRUE(CustomIcon::read(dir.filePath(QStringLiteral("no-suffix"))).isNull());

    // A file read again is decoded once until it changes.
    const QString path = dir.filePath(QStringLiteral("icon.png"));
    QImage picture(4, 2, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(path));
    const QPixmap first = CustomIcon::read(path);
    ASSERT_EQ(first.size(), QSize(4, 2));
    EXPECT_EQ(CustomIcon::read(path).cacheKey(), first.cacheKey()) << "decoded again";

    // Rewritten with another size: the new picture, not the old one.
    QFile::remove(path);
    ASSERT_TRUE(QImage(6, 3, QImage::Format_RGB32).save(path));
    EXPECT_EQ(CustomIcon::read(path).size(), QSize(6, 3));
}
