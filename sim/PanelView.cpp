#include "PanelView.h"

#include "PanelPicture.h"
#include "VirtualBoard.h"

namespace sim {

namespace {

constexpr int refreshMs = 250;
constexpr int shownWidth = PanelPicture::width / 2;
constexpr int shownHeight = PanelPicture::height / 2;

} // namespace

PanelView::PanelView(VirtualBoard &board, QWidget &applicationWindow)
    : QLabel(&applicationWindow, Qt::Window), m_board(board), m_window(applicationWindow)
{
    setWindowTitle(QStringLiteral("Virtual panel"));
    setObjectName(QStringLiteral("simPanelView"));
    setMinimumSize(shownWidth / 2, shownHeight / 2);
    resize(shownWidth, shownHeight);
    setScaledContents(true);
    connect(&m_timer, &QTimer::timeout, this, &PanelView::refresh);
    m_timer.start(refreshMs);
    refresh();
}

void PanelView::refresh()
{
    const QImage panel = PanelPicture::render(m_board.pl(), m_board.picture(), m_window.grab().toImage());
    setPixmap(QPixmap::fromImage(panel.convertToFormat(QImage::Format_RGB32)));
}

} // namespace sim
