#pragma once

#include "BoardTest.h"
#include "KeyCtl.h"
#include "PLFunction.h"

#include <QPushButton>
#include <QString>
#include <QWidget>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QAbstractSlider;

// A fresh board with the working directory a first start finds (the seeded
// runtime files, an optional config.ini) and the settings store initialised:
// what a menu page needs to be built and driven on its own.
class PageTest : public BoardTest
{
protected:
    // Seeds the working directory, writes settings (INI text) as config.ini
    // when given, and initialises the store from it.
    void startStore(const std::string &settings = std::string());

    // The store back to its compiled-in defaults, then settings (INI text),
    // when given, written as config.ini and read over them.
    void restartStore(const std::string &settings = std::string());

    // A key's value as config.ini on disk holds it; empty when absent.
    QString savedValue(const char *key) const;

    // Hides a page, which is when it saves its settings, and checks that
    // config.ini then holds each key with its value.
    void expectSavedOnHide(QWidget &page, std::initializer_list<std::pair<const char *, const char *>> values) const;

    // Shows a page (or any widget) and waits until it is on screen.
    static void showPage(QWidget &page);

    // A finger's tap on the centre of a widget, through the application's
    // event delivery.
    static void click(QWidget *widget);

    // A slider moved to a value as a drag leaves it.
    static void slide(QAbstractSlider *slider, int value);

    // A front key (0 F1, 1 F2, 2 F3) pressed and released on the board; waits
    // until the logic has delivered the click and re-armed the key's line.
    void clickKey(int key);

    // A front key bound to a function, then clicked as clickKey does.
    void pressKey(KeyCtl::KeyType key, KeyCtl::KeyValue function)
    {
        KeyCtl::getInstance()->registerFunction(key, function);
        clickKey(key);
    }

    // The values the MCU received for a command, oldest first.
    std::vector<std::vector<uint8_t>> mcuValues(uint8_t command);

    // A register field as the logic sees it.
    uint32_t field(FunctionTypeIndex identifier, int high, int low)
    {
        return board().pl().field(identifier, high, low);
    }

    // A child by object name; fails the test when there is none.
    template <typename T>
    static T *child(const QWidget &parent, const char *name)
    {
        T *found = parent.findChild<T *>(QString::fromLatin1(name));
        if (found == nullptr)
            ADD_FAILURE() << "no child named " << name;
        return found;
    }
};

// A test of one page, built on its own over a fresh store and shown. The page
// goes before the board does: what it started may still use the board's
// devices until it is gone.
template <typename Page, typename Base = PageTest>
class OnePageTest : public Base
{
protected:
    void TearDown() override
    {
        page.reset();
        Base::TearDown();
    }

    void build(const std::string &settings = std::string())
    {
        this->startStore(settings);
        page = std::make_unique<Page>();
        Base::showPage(*page);
    }

    // The page dropped and built again over the store restarted with settings.
    void rebuild(const std::string &settings = std::string())
    {
        page.reset();
        this->restartStore(settings);
        page = std::make_unique<Page>();
        Base::showPage(*page);
    }

    QPushButton *button(const char *name) { return Base::template child<QPushButton>(*page, name); }

    std::unique_ptr<Page> page;
};
