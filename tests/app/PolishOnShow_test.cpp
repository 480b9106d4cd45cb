#include "PolishOnShow.h"
#include "Render.h"
#include "SetUpForm.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A form as the designer's are: its labels are built on the owner.
struct LabelForm {
    QLabel *label = nullptr;
    void setupUi(QWidget *owner)
    {
        label = new QLabel(QStringLiteral("hidden until opened"), owner);
        label->setGeometry(0, 0, 300, 60);
    }
};

// A window with a label in sight and a page not yet opened, built as the
// monitor builds its pages, under a style sheet that colours every label.
class PolishOnShowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qApp->setStyleSheet(QStringLiteral("QLabel { color: rgb(255, 0, 0); font-size: 40px; }"));
        qApp->installEventFilter(&filter);
        window.resize(640, 480);
        shown = new QLabel(QStringLiteral("in sight"), &window);
        page = new QFrame(&window);
        page->setGeometry(0, 100, 400, 200);
        page->hide();
        setUpForm(&form, page);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();
    }

    void TearDown() override
    {
        qApp->removeEventFilter(&filter);
        qApp->setStyleSheet(QString());
    }

    static QColor textColour(const QLabel &label) { return label.palette().color(QPalette::WindowText); }

    PolishOnShow filter;
    QWidget window;
    QLabel *shown = nullptr;
    QFrame *page = nullptr;
    LabelForm form;
};

} // namespace

TEST_F(PolishOnShowTest, WhatIsInSightIsStyledAtOnceAHiddenPageWhenFirstOpened)
{
    EXPECT_TRUE(shown->testAttribute(Qt::WA_WState_Polished));
    EXPECT_EQ(textColour(*shown), QColor(255, 0, 0));
    EXPECT_FALSE(form.label->testAttribute(Qt::WA_WState_Polished)) << "the page's label was polished unseen";

    page->show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(form.label->testAttribute(Qt::WA_WState_Polished));
    EXPECT_EQ(textColour(*form.label), QColor(255, 0, 0));
    EXPECT_EQ(form.label->font().pixelSize(), 40);
    // What is painted is the style sheet's colour, as for the label in sight.
    const QImage painted = renderControl(*form.label);
    int red = 0;
    for (int y = 0; y < painted.height(); ++y) {
        for (int x = 0; x < painted.width(); ++x) {
            const QRgb pixel = painted.pixel(x, y);
            red += qAlpha(pixel) == 255 && qRed(pixel) > 200 && qGreen(pixel) < 60;
        }
    }
    EXPECT_GT(red, 50);
}
