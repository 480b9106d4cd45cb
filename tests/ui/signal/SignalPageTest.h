#pragma once

#include "McuLink.h"
#include "PageTest.h"

#include <QColor>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <vector>

// A page of the signal menu on a board whose MCU link works, so that what the
// page sends reaches the MCU at once. The page goes before the board does: its
// scan thread uses the board's devices until it is gone.
template <typename Page>
class SignalPageTest : public OnePageTest<Page>
{
protected:
    void build(const std::string &settings = std::string(), bool link = true)
    {
        this->startStore(settings);
        if (link) {
            ASSERT_TRUE(startLink(this->board()));
        }
        this->page = std::make_unique<Page>();
        this->showPage(*this->page);
    }

    // Waits until the MCU received so many values of the command.
    bool waitForValues(uint8_t command, size_t count)
    {
        return waitUntil([&] { return this->mcuValues(command).size() >= count; }, std::chrono::seconds(5));
    }

    // Lets queued signals arrive for a while.
    static void settle(int ms = 100) { QTest::qWait(ms); }
};
