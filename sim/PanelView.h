#pragma once

#include <QLabel>
#include <QTimer>

namespace sim {

class VirtualBoard;

// A window beside the application's that shows what the panel shows: the
// board's picture through what the application programmed, with the
// application's window over it as the interface plane, a few times a second.
class PanelView : public QLabel
{
public:
    // A window of its own, closed with the application's window.
    PanelView(VirtualBoard &board, QWidget &applicationWindow);

private:
    void refresh();

    VirtualBoard &m_board;
    QWidget &m_window;
    QTimer m_timer;
};

} // namespace sim
