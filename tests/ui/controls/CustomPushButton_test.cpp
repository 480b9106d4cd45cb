#include "CustomPushButton.h"
#include "Render.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QRgb red = qRgb(255, 0, 0);
const QRgb blue = qRgb(0, 0, 255);

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

    QTemporaryDir dir;
    CustomPushButton button;
};

TEST_F(CustomPushButtonTest, IconsOfTheRectangleSizeAreDrawnAsTheyAreOthersScaledKeepingProportions)
{
    button.setCustomBtIcon(picture("exact.png", 20, 10), 5, 7, 20, 10);
    QImage image = renderControl(button);
    // Every pixel of the file at its place: scaling would blend the halves.
    for (int y = 7; y < 17; ++y) {
        EXPECT_EQ(countInRow(image, y, 5, 15, QColor(red)), 10) << y;
        EXPECT_EQ(countInRow(image, y, 15, 25, QColor(blue)), 10) << y;
    }
    EXPECT_NE(image.pixel(5, 17), red);

    // 40 x 20 into 20 x 20: 20 x 10, centred in the rectangle.
    button.setCustomBtIcon(picture("wide.png", 40, 20), 10, 10, 20, 20);
    image = renderControl(button);
    EXPECT_EQ(image.pixel(11, 16), red);
    EXPECT_EQ(image.pixel(28, 23), blue);
    EXPECT_NE(image.pixel(11, 13), red);
    EXPECT_NE(image.pixel(28, 26), blue);

    // An unreadable file or an empty rectangle keeps the icon shown.
    testing::internal::CaptureStdout();
    button.setCustomBtIcon(dir.filePath("missing.png"), 50, 50, 20, 10);
    button.setCustomBtIcon(picture("other.png", 20, 10), 50, 50, 0, 10);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("[ WARNING ]: icon"), std::string::npos);
    EXPECT_EQ(renderControl(button).pixel(11, 16), red);
}

TEST_F(CustomPushButtonTest, TextIsDrawnLeftInItsRectangleAndVerticallyCentred)
{
    const QColor green(0, 255, 0);
    button.setCustomBtText("MENU", 30, 20, 80, 40, 24, QFont::Bold, green);
    const QImage image = renderControl(button);
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == green.rgba())
                ink |= QRect(x, y, 1, 1);
        }
    }
    ASSERT_FALSE(ink.isNull()) << "no text painted";
    EXPECT_TRUE(QRect(30, 20, 80, 40).contains(ink));
    EXPECT_LE(ink.left(), 34);
    EXPECT_LE(std::abs(ink.center().y() - 40), 3);
}

TEST_F(CustomPushButtonTest, StatePicturesCoverTheButtonAtTheirOpacity)
{
    button.setCustomBtIcon(picture("exact.png", 20, 10), 5, 7, 20, 10);
    button.setCustomNormal(true);
    const QRgb plain = renderControl(button).pixel(60, 40);
    EXPECT_NE(renderControl(button).pixel(6, 8), red) << "a normal button has no icon";
    button.setCustomNormal(false);

    button.setCustomBtMultyStatePixmap(CustomPushButton::CUSTOM_BT_NORMAL, picture("red.png", 2, 1), 1.0);
    button.setCustomBtMultyStatePixmap(CustomPushButton::CUSTOM_BT_PRESSED, picture("blue.png", 1, 1), 0.5);
    button.enableCustomBtMultyState(true, CustomPushButton::CUSTOM_BT_NORMAL);
    QImage image = renderControl(button);
    EXPECT_EQ(image.pixel(1, 1), red);
    EXPECT_EQ(image.pixel(118, 78), blue);
    EXPECT_EQ(image.pixel(20, 10), red) << "no icon over the state picture";

    button.setCustomBtMultyState(CustomPushButton::CUSTOM_BT_PRESSED);
    const QColor half(renderControl(button).pixel(60, 40));
    EXPECT_NEAR(half.blue(), (255 + qBlue(plain)) / 2, 2);
    EXPECT_NEAR(half.red(), qRed(plain) / 2, 2);
    button.setCustomBtMultyState(static_cast<CustomPushButton::CustomBtState>(6));
    EXPECT_EQ(button.customBtMultyState(), CustomPushButton::CUSTOM_BT_PRESSED);
    button.setCustomBtMultyState(CustomPushButton::CUSTOM_BT_DISABLED);
    EXPECT_EQ(renderControl(button).pixel(60, 40), plain) << "a state without picture";

    button.enableCustomBtMultyState(false, -1);
    EXPECT_EQ(renderControl(button).pixel(6, 8), red) << "the icon is back";
}

TEST_F(CustomPushButtonTest, ClicksInEveryModeThePressIsRememberedInNormalMode)
{
    button.show();
    QSignalSpy clicks(&button, &QPushButton::clicked);
    QTest::mouseClick(&button, Qt::LeftButton, Qt::NoModifier, QPoint(33, 44));
    EXPECT_EQ(button.pressPosition(), QPoint());
    button.setCustomNormal(true);
    QTest::mouseClick(&button, Qt::LeftButton, Qt::NoModifier, QPoint(33, 44));
    EXPECT_EQ(button.pressPosition(), QPoint(33, 44));
    EXPECT_EQ(clicks.count(), 2);
}

} // namespace
