#include "SignalPageTest.h"
#include "WHDIPassword.h"
#include "WirelessPasswordWidget.h"

#include <QLabel>

namespace {

class WirelessPasswordTest : public SignalPageTest<WirelessPasswordWidget>
{
protected:
    QString shown()
    {
        QString text;
        for (int i = 0; i < 6; ++i) {
            const QString digit = child<QLabel>(*page, QStringLiteral("passwordDigit%1").arg(i).toLatin1().constData())->text();
            text += digit.isEmpty() ? QStringLiteral("_") : digit;
        }
        return text;
    }

    void type(const char *keys)
    {
        for (const char *key = keys; *key != '\0'; ++key) {
            if (*key == '<')
                click(button("passwordKeyBack"));
            else
                click(button(QStringLiteral("passwordKey%1").arg(QLatin1Char(*key)).toLatin1().constData()));
        }
    }

    uint32_t encrypted() { return field(WHDI_ENCRYP_CTRL, 0, 0); }
    uint32_t frameCount() { return field(WHDI_ENCRYP_CTRL, 7, 1); }
    // The six digits in the logic, first digit first.
    std::string digits()
    {
        std::string text;
        for (int i = 0; i < 6; ++i)
            text += static_cast<char>('0' + field(WHDI_ENCRYP_CTRL, 11 + 4 * i, 8 + 4 * i));
        return text;
    }
};

} // namespace

TEST_F(WirelessPasswordTest, SixDigitsAreTypedConfirmedAndWrittenBesideTheSwitchAndFrameCount)
{
    build();
    WHDIPassword::getInstance()->setErrorFrameCount(50);
    click(button("passwordEncryption"));
    ASSERT_TRUE(waitForValues(0x15, 1));
    EXPECT_EQ(mcuValues(0x15).back(), std::vector<uint8_t>{1});
    EXPECT_EQ(encrypted(), 1u);
    EXPECT_TRUE(child<QFrame>(*page, "passwordKeypad")->isVisible());
    // The saved password stands, hidden; a seventh digit is ignored.
    EXPECT_EQ(shown(), "******");
    type("9");
    EXPECT_EQ(shown(), "******");

    type("<<<<<<<12345");
    EXPECT_EQ(shown(), "*****_");
    EXPECT_FALSE(button("passwordKeyConfirm")->isEnabled());
    QTest::mouseClick(button("passwordKeyConfirm"), Qt::LeftButton);
    EXPECT_EQ(digits(), "502713");
    expectSavedOnHide(*page, {{"inputPassword", "502713"}});

    page->show();
    type("<<<<<<123456");
    EXPECT_TRUE(button("passwordKeyConfirm")->isEnabled());
    type("7");
    EXPECT_EQ(shown(), "******");
    click(button("passwordKeyConfirm"));
    EXPECT_EQ(digits(), "123456");
    EXPECT_EQ(encrypted(), 1u);
    EXPECT_EQ(frameCount(), 50u);
    expectSavedOnHide(*page, {{"inputPassword", "123456"}});

    page->show();
    click(button("passwordView"));
    EXPECT_EQ(shown(), "123456");
    type("<<9");
    EXPECT_EQ(shown(), "12349_");
    expectSavedOnHide(*page, {{"inputPassView", "true"}});
    // Digits typed but not confirmed are gone when the page comes back.
    page->show();
    EXPECT_EQ(shown(), "123456");
    EXPECT_EQ(digits(), "123456");
}

TEST_F(WirelessPasswordTest, SwitchingEncryptionOffClearsOnlyTheSwitchAndKeepsThePassword)
{
    build("[AppConfig]\ninputPassword=864209\n");
    WHDIPassword::getInstance()->setErrorFrameCount(24);
    click(button("passwordEncryption"));
    ASSERT_TRUE(waitForValues(0x15, 1));
    const uint32_t before = board().pl().get(WHDI_ENCRYP_CTRL);
    EXPECT_EQ(before & 1u, 1u);
    click(button("passwordEncryption"));
    ASSERT_TRUE(waitForValues(0x15, 2));
    EXPECT_EQ(mcuValues(0x15).back(), std::vector<uint8_t>{0});
    EXPECT_EQ(board().pl().get(WHDI_ENCRYP_CTRL), before & ~1u);
    EXPECT_EQ(digits(), "864209");
    EXPECT_FALSE(child<QFrame>(*page, "passwordKeypad")->isVisible());
    expectSavedOnHide(*page, {{"inputPassword", "864209"}});
}

TEST_F(WirelessPasswordTest, AtStartEncryptionIsOffAndThePageFollowsTheModeTheMcuReports)
{
    build();
    EXPECT_EQ(encrypted(), 0u);
    EXPECT_EQ(digits(), "502713") << "the stored password is in the logic";
    EXPECT_FALSE(button("passwordEncryption")->isChecked());
    EXPECT_FALSE(child<QFrame>(*page, "passwordKeypad")->isVisible());
    EXPECT_FALSE(child<QFrame>(*page, "passwordDigits")->isVisible());
    EXPECT_FALSE(button("passwordView")->isVisible());

    board().mcu().send(0x15, {1});
    ASSERT_TRUE(waitUntil([&] { return button("passwordEncryption")->isChecked(); }));
    EXPECT_EQ(encrypted(), 1u);
    EXPECT_TRUE(child<QFrame>(*page, "passwordKeypad")->isVisible());
    board().mcu().send(0x15, {0});
    ASSERT_TRUE(waitUntil([&] { return !button("passwordEncryption")->isChecked(); }));
    EXPECT_EQ(encrypted(), 0u);
    EXPECT_EQ(digits(), "502713");
    // Following the MCU sends it nothing back.
    settle(200);
    EXPECT_TRUE(mcuValues(0x15).empty());
}

TEST_F(WirelessPasswordTest, StoredPasswordsThatAreNotSixDigitsLeaveNoPassword)
{
    const struct {
        const char *stored;
        const char *logic;
        const char *shown;
    } cases[] = {
        {"12ab56", "000000", "______"},
        {"123", "000000", "______"},
        {"", "000000", "______"},
        {"1234567", "123456", "123456"},
    };
    build("[AppConfig]\ninputPassView=true\n");
    for (const auto &c : cases) {
        AppConfig::getInstance()->setValue("inputPassword", std::string(c.stored));
        page->configInit();
        EXPECT_EQ(digits(), c.logic) << c.stored;
        click(button("passwordEncryption"));
        EXPECT_EQ(shown().toStdString(), c.shown) << c.stored;
        EXPECT_EQ(button("passwordKeyConfirm")->isEnabled(), std::string(c.shown) != "______");
    }
}
