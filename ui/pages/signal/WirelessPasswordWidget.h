#pragma once

#include "MenuPage.h"

#include <string>

class QLabel;
class Ui_WirelessPasswordWidget;
class WHDIPassword;

// The wireless link's encryption and its six-digit password, typed on an
// on-screen keypad. The MCU switches the receiver's encryption, the logic
// gets the same switch and password; the page follows the mode the MCU
// reports.
class WirelessPasswordWidget : public MenuPage
{
    Q_OBJECT

public:
    static constexpr int digitCount = 6;

    explicit WirelessPasswordWidget(QWidget *parent = nullptr);
    ~WirelessPasswordWidget() override;

    void configInit() override;
    void translateUi() override;

public slots:
    void slotEncryption(bool on);

private slots:
    void slotButton0() { appendDigit('0'); }
    void slotButton1() { appendDigit('1'); }
    void slotButton2() { appendDigit('2'); }
    void slotButton3() { appendDigit('3'); }
    void slotButton4() { appendDigit('4'); }
    void slotButton5() { appendDigit('5'); }
    void slotButton6() { appendDigit('6'); }
    void slotButton7() { appendDigit('7'); }
    void slotButton8() { appendDigit('8'); }
    void slotButton9() { appendDigit('9'); }
    void slotButtonBack();
    void slotButtonX();
    void slotisView(bool on);
    void slotEncryptionEnable(bool on);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void appendDigit(char digit);
    void restoreDigits();
    void showPassword();
    // Six digits to the logic: the saved ones, or zeros without a password.
    void sendPassword();

    Ui_WirelessPasswordWidget *ui;
    WHDIPassword *password;
    QLabel *digitLabels[digitCount];
    // Typed so far (0 to 6 digits), and the last confirmed password (none or six).
    std::string entered;
    std::string saved;
    bool view = false;
    bool encryption = false;
};
