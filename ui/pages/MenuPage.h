#pragma once

#include "Config.h"

#include <QFrame>
#include <initializer_list>
#include <string>

class QHideEvent;

// What every menu page shares: it is a frame and a settings observer, it
// reads its keys with their fallbacks, stores each change at once and marks
// itself modified, saves the store once when it hides after a change, and
// takes the front keys' functions when it owns one.
class MenuPage : public QFrame, public Config
{
    Q_OBJECT

public:
    explicit MenuPage(QWidget *parent = nullptr);

public slots:
    // A front key's function code; a page acts on its own codes only.
    virtual void slotFunctionClicked(int code);

protected:
    void hideEvent(QHideEvent *event) override;

    // Connects the front-key controller's clicks to slotFunctionClicked.
    void connectFunctionKey();

    // A stored value, or the fallback when the key is missing; numbers are
    // held to [min, max], texts to the listed choices.
    bool readBool(const char *key, bool fallback) const;
    int readInt(const char *key, int fallback, int min, int max) const;
    std::string readChoice(const char *key, const std::string &fallback,
                           std::initializer_list<const char *> choices) const;

    // Stores a changed value and marks the page modified.
    template <typename T>
    void store(const char *key, const T &value)
    {
        appConfig->setValue(key, value);
        modified = true;
    }

    // The label text of a percentage.
    static QString percentText(int percent);

    // Shows or hides some of the page's widgets. Showing a widget that is
    // not hidden changes nothing, but Qt would polish it there and then,
    // which, while the page is being built at start, is work for a page
    // nobody has opened yet.
    static void setShown(std::initializer_list<QWidget *> widgets, bool on);
};
