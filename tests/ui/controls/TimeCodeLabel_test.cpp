#include "Render.h"
#include "TimeCodeLabel.h"

#include <QFont>
#include <gtest/gtest.h>

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
        timeCode.setAlignment(alignment);
        plain.setAlignment(alignment);
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
    timeCode.setFont(larger);
    plain.setFont(larger);
    EXPECT_EQ(differences(QStringLiteral("10:00:00:00")), 0) << "characters laid out for the old font";
    timeCode.setStyleSheet(QStringLiteral("QLabel { font-size: 18px; color: #2D9CFF; }"));
    plain.setStyleSheet(timeCode.styleSheet());
    EXPECT_EQ(differences(QStringLiteral("10:00:00:00")), 0) << "a style sheet's font and colour";
    EXPECT_EQ(differences(QStringLiteral("时间码 10:00")), 0);
    EXPECT_EQ(differences(QString()), 0);
    timeCode.setIndent(12);
    plain.setIndent(12);
    EXPECT_EQ(differences(QStringLiteral("10:00:00:00")), 0) << "indented";
    timeCode.setIndent(-1);
    plain.setIndent(-1);
    timeCode.setFrameStyle(QFrame::Box | QFrame::Plain);
    plain.setFrameStyle(QFrame::Box | QFrame::Plain);
    EXPECT_EQ(differences(QStringLiteral("10:00:00:00")), 0) << "framed";
    timeCode.setEnabled(false);
    plain.setEnabled(false);
    EXPECT_EQ(differences(QStringLiteral("10:00:00:01")), 0) << "disabled";
}

} // namespace
