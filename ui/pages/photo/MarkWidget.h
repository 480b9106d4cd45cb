#pragma once

#include "MenuPage.h"

#include <QButtonGroup>
#include <QString>
#include <string>

class Ui_MarkWidget;
class QAbstractButton;

// Frame lines the overlay draws for the chosen aspect ratios, any number at
// once, with their colour and line width; a ratio of the user's own is typed
// on the page's number pad.
class MarkWidget : public MenuPage
{
    Q_OBJECT

public:
    explicit MarkWidget(QWidget *parent = nullptr);
    ~MarkWidget() override;

    void configInit() override;
    void translateUi() override;

signals:
    void signalMarkEnable(bool on);
    void signalMarkColor(int colour);
    void signalMarkLine(const std::string &line);
    void signalMarkRate(const std::string &ratio, bool on);
    void signalMarkUserRate(float width, float height);

public slots:
    void slotFunctionClicked(int code) override;

    // The number pad of the custom ratio.
    void slotKey0();
    void slotKey1();
    void slotKey2();
    void slotKey3();
    void slotKey4();
    void slotKey5();
    void slotKey6();
    void slotKey7();
    void slotKey8();
    void slotKey9();
    void slotKeyDot();
    void slotKeyBackspace();
    void slotKeyClean();
    void slotKeyEnter();

private slots:
    void slotIsEnable();
    void slotColorGroup(QAbstractButton *button);
    void slotLineGroup(QAbstractButton *button);
    void slotRateGroup(QAbstractButton *button);
    void slotRatioGroup(QAbstractButton *button);

private:
    void appendKey(char key);
    void selectEntry(bool height);
    void showEntries();
    QString &editedText();
    // The stored custom ratio, as the overlay reads it.
    void emitUserRate();

    Ui_MarkWidget *ui;
    QButtonGroup colourGroup;
    QButtonGroup lineGroup;
    // Not exclusive: several frame lines may be shown together.
    QButtonGroup rateGroup;
    // The width and height entries of the custom ratio; one is edited.
    QButtonGroup ratioGroup;
    QString widthText;
    QString heightText;
    bool editingHeight = false;
    // The last entered custom ratio (what the store holds).
    QString enteredWidth;
    QString enteredHeight;
};
