#pragma once

#include "MenuPage.h"

#include <QString>
#include <cstdint>

class Ui_FunctionWidget;
class KeyCtl;

// The function bound to one front key (F1, F2 or F3), chosen from the list of
// assignable functions. At start every key gets its stored function; choosing
// one binds it to the key being edited at once and stores it.
class FunctionWidget : public MenuPage
{
    Q_OBJECT

public:
    // One row of the choice list: the name as UTF-8 text and the code.
    struct FunctionEntry {
        char name[100];
        int32_t value;
    };
    static constexpr int functionCount = 25;
    static constexpr int keyCount = 3;
    static const FunctionEntry funTable[functionCount];

    explicit FunctionWidget(QWidget *parent = nullptr);
    ~FunctionWidget() override;

    void configInit() override;
    void translateUi() override;

    // The key (0 F1, 1 F2, 2 F3) whose function the page edits; others are
    // ignored.
    void setKey(int key);
    int key() const { return editedKey; }

    // The settings key of a front key ("functionF1" ...).
    static const char *settingKey(int key);
    // A stored code as the keys take it: anything not in the list is off.
    static int validCode(int code);
    // The shown name of a code; that of "off" for a code not in the list.
    static QString functionName(int code);

signals:
    void signalFunctionSelect(int key, int code);

private slots:
    void slotFunctionSelect(int code);

private:
    void showKey();

    Ui_FunctionWidget *ui;
    KeyCtl *keyCtl;
    int codes[keyCount] = {0, 0, 0};
    int editedKey = 0;
};
