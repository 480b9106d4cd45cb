#pragma once

#include "MenuPage.h"

#include <string>

class QAbstractButton;
class Ui_SDIFormat;
class VideoOption;

// How the SDI receiver takes a 3G signal: from the stream itself ("Auto") or
// as one of the eight 3G level A / B, 4:2:2 / 4:4:4, 10 / 12-bit formats.
class SDIFormat : public MenuPage
{
    Q_OBJECT

public:
    static constexpr int formatCount = 9;
    // The settings texts in list order, "Auto" first.
    static const char *const formatTexts[formatCount];

    explicit SDIFormat(QWidget *parent = nullptr);
    ~SDIFormat() override;

    void configInit() override;
    void translateUi() override;

    // The stored format text, "Auto" for one the list does not hold.
    static std::string storedFormat();

signals:
    void signalSDIFormat(int index);

private slots:
    void slotButtonGroup(int index);

private:
    QAbstractButton *formatButton(int index) const;

    Ui_SDIFormat *ui;
    VideoOption *videoOption;
};
