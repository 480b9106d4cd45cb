#include "CustomPushButton.h"
#include "Render.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QRgb red = QColor(255, 0, 0).rgba();
const QRgb blue = QColor(0, 0, 255).rgba();

class CustomPushButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        button.resize(120, 80);
    }

    // A picture file, its left half red and its right half blue.
    QString picture(const char *name, int w, int h)
    {
        QImage image(w, h, QImage::Format_ARGB32);
        image.fill(blue);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w / 2; ++x)
                image.setPixel(x, y, red);
        }
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path));
        return path;
    }

    QString solid(const char *name, QRgb color)
    {
        QImage image(10, 10, QImage::Format_ARGB32);
        image.fill(color);
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path));
        return path;
    }

    QTemporaryDir dir;
    CustomPushButton button;
};

TEST_F(CustomPushButtonTest, AnIconOfTheRectangleSizeIsDrawnAsItIs)
{
    button.setCustomBtIcon(picture("exact.png", 20, 10), 5, 7, 20, 10);
    const QImage image = renderControl(button);
    // Every pixel of the file at its place: a scaled copy would blend the
    // two halves at the seam.
    for (int y = 7; y < 17; ++y) {
        EXPECT_EQ(countInRow(image, y, 5, 15, QColor(red)), 10) << y;
        EXPECT_EQ(countInRow(image, y, 15, 25, QColor(blue)), 10) << y;
    }
    EXPECT_NE(image.pixel(5, 6), red);
    EXPECT_NE(image.pixel(5, 17), red);
    EXPECT_NE(image.pixel(4, 10), red);
    EXPECT_NE(image.pixel(25, 10), blue);
}

TEST_F(CustomPushButtonTest, AnIconOfAnotherSizeIsScaledKeepingItsProportions)
{
    // 40 x 20 into 20 x 20: 20 x 10, centred in the rectangle.
    button.setCustomBtIcon(picture("wide.png", 40, 20), 10, 10, 20, 20);
    const QImage image = renderControl(button);
    EXPECT_EQ(image.pixel(11, 16), red);
    EXPECT_EQ(image.pixel(28, 23), blue);
    EXPECT_NE(image.pixel(11, 13), red);
    EXPECT_NE(image.pixel(28, 26), blue);
}

TEST_F(CustomPushButtonTest, AnUnreadableIconKeepsTheOneBefore)
{
    button.setCustomBtIcon(picture("exact.png", 20, 10), 5, 7, 20, 10);
    testing::internal::CaptureStdout();
    button.setCustomBtIcon(dir.filePath("missing.png"), 50, 50, 20, 10);
    button.setCustomBtIcon(picture("other.png", 20, 10), 50, 50, 0, 10);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("[ WARNING ]: icon"), std::string::npos) << out;
    const QImage image = renderControl(button);
    EXPECT_EQ(image.pixel(6, 8), red);
    EXPECT_NE(image.pixel(51, 51), red);
}

TEST_F(CustomPushButtonTest, TextIsDrawnInItsRectangleColourAndVerticallyCentred)
{
    const QColor green(0, 255, 0);
    button.setCustomBtText("MENU", 30, 20, 80, 40, 24, QFont::Bold, green);
    const QImage image = renderControl(button);
    int top = image.height(), bottom = -1, left = image.width();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != green.rgba())
                continue;
            top = qMin(top, y);
            bottom = qMax(bottom, y);
            left = qMin(left, x);
        }
    }
    ASSERT_GE(bottom, 0) << "no text painted";
    EXPECT_GE(top, 20);
    EXPECT_LT(bottom, 60);
    EXPECT_GE(left, 30);
    EXPECT_LE(left, 34) << "left aligned";
    EXPECT_LE(std::abs((top + bottom) / 2 - 40), 3) << "centred between rows 20 and 59";
}

TEST_F(CustomPushButtonTest, StatePicturesCoverTheButtonAtTheirOpacity)
{
    button.setCustomBtIcon(picture("exact.png", 20, 10), 5, 7, 20, 10);
    button.setCustomNormal(true);
    const QRgb plain = renderControl(button).pixel(60, 40);
    button.setCustomNormal(false);

    button.setCustomBtMultyStatePixmap(CustomPushButton::CUSTOM_BT_NORMAL, solid("red.png", red), 1.0);
    button.setCustomBtMultyStatePixmap(CustomPushButton::CUSTOM_BT_PRESSED, solid("blue.png", blue), 0.5);
    button.enableCustomBtMultyState(true, CustomPushButton::CUSTOM_BT_NORMAL);
    QImage image = renderControl(button);
    EXPECT_EQ(image.pixel(60, 40), red);
    EXPECT_EQ(image.pixel(1, 1), red);
    EXPECT_EQ(image.pixel(10, 10), red) << "no icon over the state picture";

    button.setCustomBtMultyState(CustomPushButton::CUSTOM_BT_PRESSED);
    image = renderControl(button);
    const QColor half(image.pixel(60, 40));
    EXPECT_NEAR(half.blue(), (255 + qBlue(plain)) / 2, 2);
    EXPECT_NEAR(half.red(), qRed(plain) / 2, 2);

    // An unknown state changes nothing.
    button.setCustomBtMultyState(static_cast<CustomPushButton::CustomBtState>(6));
    EXPECT_EQ(button.customBtMultyState(), CustomPushButton::CUSTOM_BT_PRESSED);

    // Without its picture a state shows the plain button.
    button.setCustomBtMultyState(CustomPushButton::CUSTOM_BT_DISABLED);
    EXPECT_EQ(renderControl(button).pixel(60, 40), plain);

    button.enableCustomBtMultyState(false, -1);
    image = renderControl(button);
    EXPECT_EQ(image.pixel(6, 8), red) << "the icon is back";
    EXPECT_EQ(image.pixel(60, 40), plain);
}

TEST_F(CustomPushButtonTest, NormalModePaintsThePlainButtonAndRemembersThePress)
{
    button.setCustomBtIcon(picture("exact.png", 20, 10), 5, 7, 20, 10);
    button.show();
    QSignalSpy clicks(&button, &QPushButton::clicked);

    QTest::mouseClick(&button, Qt::LeftButton, Qt::NoModifier, QPoint(33, 44));
    EXPECT_EQ(button.pressPosition(), QPoint()) << "remembered in normal mode only";

    button.setCustomNormal(true);
    EXPECT_NE(renderControl(button).pixel(6, 8), red);
    QTest::mouseClick(&button, Qt::LeftButton, Qt::NoModifier, QPoint(33, 44));
    EXPECT_EQ(button.pressPosition(), QPoint(33, 44));
    EXPECT_EQ(clicks.count(), 2) << "the button clicks in every mode";
}

} // namespace
