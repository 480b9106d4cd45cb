#pragma once

#include "MenuPage.h"

#include <QButtonGroup>
#include <string>

class Ui_SafeWidget;
class QAbstractButton;

// The safe-area rectangle the overlay draws: a share of the picture, its
// colour and line width.
class SafeWidget : public MenuPage
{
    Q_OBJECT

public:
    explicit SafeWidget(QWidget *parent = nullptr);
    ~SafeWidget() override;

    void configInit() override;
    void translateUi() override;

signals:
    void signalSafeMarkEnable(bool on);
    void signalSafeColor(int colour);
    void signalSafeLine(const std::string &line);
    void signalSafeMarkPercent(int percent);

public slots:
    void slotFunctionClicked(int code) override;

private slots:
    void slotIsEnable();
    void slotColorGroup(QAbstractButton *button);
    void slotLineGroup(QAbstractButton *button);
    void slotRateGroup(QAbstractButton *button);

private:
    Ui_SafeWidget *ui;
    QButtonGroup colourGroup;
    QButtonGroup lineGroup;
    QButtonGroup rateGroup;
};
