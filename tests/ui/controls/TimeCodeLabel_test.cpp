#include "Render.h"
#include "TimeCodeLabel.h"

#include <QCoreApplication>
#include <QFont>
#include <QPaintEvent>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

namespace {

// The status bar's time code against a plain label of the same font, size
// and alignment: what the operator sees must not change with the faster paint.
class TimeCodeLabelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QFont font(QStringLiteral("WenQuanYi Micro Hei"));
        font.setPixelSize(28);
        font.setBold(true);
        for (QLabel *label : {static_cast<QLabel *>(&timeCode), &plain}) {
            label->setFont(font);
            label->resize(220, 44);
            label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        }
    }

    // A setting made on both labels.
    template <typename Set>
    void both(const Set &set)
    {
        set(timeCode);
        set(plain);
    }

    // The pixels where the two paints differ.
    int differences(const QString &text)
    {
        timeCode.setText(text);
        plain.setText(text);
        const QImage fast = renderControl(timeCode);
        const QImage reference = renderControl(plain);
        int count = 0;
        for (int y = 0; y < reference.height(); ++y) {
            for (int x = 0; x < reference.width(); ++x)
                count += fast.pixel(x, y) != reference.pixel(x, y);
        }
        return count;
    }

    TimeCodeLabel timeCode;
    QLabel plain;
};

TEST_F(TimeCodeLabelTest, PaintsEveryAlignmentAsAPlainLabelDoes)
{
    const Qt::Alignment alignments[] = {Qt::AlignLeft | Qt::AlignVCenter, Qt::AlignRight | Qt::AlignVCenter, Qt::AlignLeft | Qt::AlignBottom,
                                        Qt::AlignCenter, Qt::AlignLeft | Qt::AlignTop};
    for (Qt::Alignment alignment : alignments) {
        both([alignment](auto &label) { label.setAlignment(alignment); });
        for (const char *text : {"00:00:00:00", "12:34:56;29", "23:59:59:59", "01:10:11:11"})
            EXPECT_EQ(differences(QString::fromLatin1(text)), 0) << text << " alignment " << alignment;
    }
    // There was something to compare.
    timeCode.setText(QStringLiteral("88:88:88:88"));
    EXPECT_GT(paintedCount(renderControl(timeCode)), 300);
}

TEST_F(TimeCodeLabelTest, FollowsAFontChangeAndFallsBackForOtherText)
{
    EXPECT_EQ(differences(QStringLiteral("10:00:00:00")), 0);
    QFont larger = timeCode.font();
    larger.setPixelSize(40);
    both([&larger](auto &label) { label.setFont(larger); });
    EXPECT_EQ(differences(QStringLiteral("10:00:00:00")), 0) << "characters laid out for the old font";
    both([](auto &label) { label.setStyleSheet(QStringLiteral("QLabel { font-size: 18px; color: #2D9CFF; }")); });
    EXPECT_EQ(differences(QStringLiteral("10:00:00:00")), 0) << "a style sheet's font and colour";
    EXPECT_EQ(differences(QStringLiteral("时间码 10:00")), 0);
    EXPECT_EQ(differences(QString()), 0);
    both([](auto &label) { label.setIndent(12); });
    EXPECT_EQ(differences(QStringLiteral("10:00:00:00")), 0) << "indented";
    both([](auto &label) {
        label.setIndent(-1);
        label.setFrameStyle(QFrame::Box | QFrame::Plain);
    });
    EXPECT_EQ(differences(QStringLiteral("10:00:00:00")), 0) << "framed";
    both([](auto &label) { label.setEnabled(false); });
    EXPECT_EQ(differences(QStringLiteral("10:00:00:01")), 0) << "disabled";
}

// The label on a bar of its own as the status bar has it, shown, with what
// reached the window read back from its backing store and the rectangles it
// was asked to paint.
class TimeCodeOnScreenTest : public ::testing::Test, public QObject
{
protected:
    void SetUp() override
    {
        window.resize(360, 80);
        window.setStyleSheet(QStringLiteral("QWidget { background-color: rgb(20, 30, 40); color: rgb(250, 250, 250); }"));
        timeCode = new TimeCodeLabel(&window);
        QFont font(QStringLiteral("WenQuanYi Micro Hei"));
        font.setPixelSize(28);
        font.setBold(true);
        timeCode->setFont(font);
        timeCode->setGeometry(20, 16, 260, 44);
        timeCode->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        timeCode->setText(QStringLiteral("10:00:00:00"));
        timeCode->installEventFilter(this);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted.push_back(static_cast<QPaintEvent *>(event)->rect());
        return false;
    }

    QImage onScreen()
    {
        QCoreApplication::processEvents();
        return window.screen()->grabWindow(window.winId()).toImage();
    }

    QWidget window;
    TimeCodeLabel *timeCode = nullptr;
    std::vector<QRect> painted;
};

} // namespace

TEST_F(TimeCodeOnScreenTest, ANewFrameRepaintsItsDigitsAloneAndLeavesWhatAWholePaintShows)
{
    onScreen();
    const char *const codes[] = {"10:00:00:01", "10:00:00:02", "10:00:00:11", "10:00:00:20", "10:00:00:29",
                                 "10:00:01:00", "10:00:59:29", "10:01:00:00", "19:59:59:29", "20:00:00:00",
                                 "23:59:59:59", "00:00:00:00", "00:00:00;01"};
    for (const char *code : codes) {
        painted.clear();
        timeCode->setTimeCode(QString::fromLatin1(code));
        EXPECT_EQ(timeCode->text(), QString::fromLatin1(code));
        const QImage shown = onScreen();
        ASSERT_FALSE(painted.empty()) << code << ": nothing repainted";
        timeCode->repaint();
        EXPECT_EQ(shown, onScreen()) << code << ": the screen differs from a whole paint";
    }

    // One frame on: the last digit's column, not the whole code.
    timeCode->setTimeCode(QStringLiteral("00:00:00;02"));
    painted.clear();
    timeCode->setTimeCode(QStringLiteral("00:00:00;03"));
    onScreen();
    ASSERT_EQ(painted.size(), 1u);
    EXPECT_LT(painted.front().width(), timeCode->width() / 6) << "repainted " << painted.front().width() << " px";
    EXPECT_LT(painted.front().height(), timeCode->height()) << "repainted " << painted.front().height() << " rows";

    // A text that moves the others is repainted whole.
    painted.clear();
    timeCode->setTimeCode(QStringLiteral("1:00:00:00"));
    onScreen();
    ASSERT_EQ(painted.size(), 1u);
    EXPECT_EQ(painted.front(), timeCode->rect());
}
