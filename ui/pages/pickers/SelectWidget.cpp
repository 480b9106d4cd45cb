#include "SelectWidget.h"

#include "CustomIcon.h"
#include "DeviceUSB.h"
#include "FrameCtl.h"
#include "FrameOption.h"
#include "LutConfig.h"
#include "LutCtl.h"
#include "LutImport.h"
#include "SetUpForm.h"
#include "ui_SelectWidget.h"

#include <QHideEvent>
#include <QIcon>
#include <QScroller>
#include <QShowEvent>
#include <algorithm>

namespace {

constexpr const char *cubeSuffix = ".cube";
constexpr const char *const frameSuffixes[] = {".fm", ".bmp", ".tiff", ".png"};
constexpr const char *fileIcon = ":/png/common/fileIcon.png";
constexpr int rowHeight = 88;
constexpr int iconSize = 48;
// The LUT list's slots: presets and user LUTs.
constexpr int presetSlot = 0;
constexpr int userSlot = 1;

bool choosesLut(int mode)
{
    return mode == SelectWidget::SELECT_PRESET || mode == SelectWidget::SELECT_USER;
}

bool takesSeveral(int mode)
{
    return mode == SelectWidget::SELECT_IMPORT || mode == SelectWidget::SELECT_ERASE;
}

} // namespace

SelectWidget::SelectWidget(QWidget *parent)
    : MenuPage(parent), ui(new Ui_SelectWidget), lutConfig(LutConfig::getInstance()), lutCtl(LutCtl::getInstance()),
      frameCtl(FrameCtl::getInstance()), frameOption(FrameOption::getInstance())
{
    setUpForm(ui, this);
    ui->selectList->setIconSize(QSize(iconSize, iconSize));
    ui->selectList->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Finger-driven: the list follows a drag and coasts on; a tap reaches the
    // row at once.
    QScroller::grabGesture(ui->selectList->viewport(), QScroller::LeftMouseButtonGesture);
    QScroller *scroller = QScroller::scroller(ui->selectList->viewport());
    QScrollerProperties properties = scroller->scrollerProperties();
    properties.setScrollMetric(QScrollerProperties::MousePressEventDelay, 0);
    scroller->setScrollerProperties(properties);
    translateUi();
    connect(ui->selectList, &QListWidget::itemClicked, this, &SelectWidget::slotItemClicked);
    connect(ui->selectConfirm, &QPushButton::clicked, this, &SelectWidget::slotConfirm);
    connect(ui->selectBack, &QPushButton::clicked, this, &SelectWidget::slotBack);
    connect(frameOption, &FrameOption::frameCompleted, this, &SelectWidget::slotFrameCompleted,
            Qt::QueuedConnection);
    setMode(SELECT_PRESET);
}

SelectWidget::~SelectWidget()
{
    delete ui;
}

void SelectWidget::translateUi()
{
    static const char *const titles[] = {QT_TR_NOOP("LUT预设选择"), QT_TR_NOOP("LUT自定义"), QT_TR_NOOP("导入"),
                                         QT_TR_NOOP("删除"), QT_TR_NOOP("从USB选择截图")};
    const bool known = selectMode >= SELECT_PRESET && selectMode <= SELECT_FRAME;
    ui->selectTitle->setText(known ? tr(titles[selectMode]) : QString());
    ui->selectConfirm->setText(selectMode == SELECT_ERASE ? tr("删除") : tr("导入"));
    ui->selectBack->setText(tr("返回"));
}

void SelectWidget::setMode(int mode, bool enableLut)
{
    selectMode = mode;
    enableOnLoad = enableLut;
    ui->selectList->setSelectionMode(takesSeveral(mode) ? QAbstractItemView::MultiSelection
                                                        : QAbstractItemView::SingleSelection);
    ui->selectConfirm->setVisible(takesSeveral(mode));
    translateUi();
    refresh();
}

void SelectWidget::showEvent(QShowEvent *event)
{
    // The stick's contents may have changed while the picker was closed.
    refresh();
    MenuPage::showEvent(event);
}

void SelectWidget::hideEvent(QHideEvent *event)
{
    if (lutChosen) {
        lutConfig->save();
        lutChosen = false;
    }
    MenuPage::hideEvent(event);
}

bool SelectWidget::folder(std::string &dir) const
{
    switch (selectMode) {
    case SELECT_PRESET:
        return DeviceUSB::getPreLutDir(dir);
    case SELECT_USER:
    case SELECT_ERASE:
        return DeviceUSB::getLocalLutDir(dir);
    case SELECT_IMPORT:
        return DeviceUSB::getUSBLutDir(dir);
    case SELECT_FRAME:
        return DeviceUSB::getFrameSaveDir(dir);
    default:
        return false;
    }
}

void SelectWidget::refresh()
{
    ui->selectList->clear();
    showHint(QString());
    std::string dir;
    if (!folder(dir)) {
        if (selectMode == SELECT_IMPORT || selectMode == SELECT_FRAME)
            showHint(tr("请插入USB设备"));
        return;
    }
    std::vector<std::string> names;
    if (selectMode == SELECT_FRAME) {
        for (const char *suffix : frameSuffixes) {
            std::vector<std::string> some;
            DeviceUSB::getDirectoryFile(dir, suffix, some);
            names.insert(names.end(), some.begin(), some.end());
        }
        std::sort(names.begin(), names.end());
    } else {
        DeviceUSB::getDirectoryFile(dir, cubeSuffix, names);
    }
    if (names.empty()) {
        showHint(tr("没有文件"));
        return;
    }
    // The LUT in force is shown chosen.
    const std::string chosen = choosesLut(selectMode)
                                   ? lutConfig->getLutFile(selectMode == SELECT_PRESET ? presetSlot : userSlot)
                                   : std::string();
    const QIcon icon(CustomIcon::read(QString::fromLatin1(fileIcon)));
    for (const std::string &name : names) {
        auto *item = new QListWidgetItem(icon, QString::fromStdString(name), ui->selectList);
        item->setSizeHint(QSize(0, rowHeight));
        item->setSelected(dir + name == chosen);
    }
}

void SelectWidget::slotItemClicked(QListWidgetItem *item)
{
    if (item == nullptr || takesSeveral(selectMode))
        return;
    const std::string name = item->text().toStdString();
    if (choosesLut(selectMode))
        loadLut(name);
    else if (selectMode == SELECT_FRAME)
        loadFrame(name);
}

void SelectWidget::loadLut(const std::string &name)
{
    std::string dir;
    folder(dir);
    const std::string path = dir + name;
    // A file that does not load leaves the LUT in force as it was.
    if (!lutCtl->loadFile(path)) {
        showHint(tr("LUT文件载入失败"));
        return;
    }
    lutConfig->modify(selectMode == SELECT_PRESET ? presetSlot : userSlot, path);
    lutChosen = true;
    if (enableOnLoad)
        lutCtl->lutEnable(true);
    showHint(QString());
}

void SelectWidget::loadFrame(const std::string &name)
{
    std::string dir;
    if (!folder(dir)) {
        showHint(tr("请插入USB设备"));
        return;
    }
    framePending = true;
    showHint(QString());
    frameOption->loadFrameOp(dir + name, static_cast<int *>(frameCtl->loadAddress()), FrameOption::memoryStride);
}

void SelectWidget::slotFrameCompleted(int code)
{
    if (!framePending || code == FrameOption::SAVE_DONE)
        return;
    framePending = false;
    if (code != FrameOption::LOAD_DONE) {
        showHint(tr("截图载入失败"));
        return;
    }
    if (readBool("frameCompareEnable", false))
        frameCtl->frameOverlay(true);
}

void SelectWidget::slotConfirm()
{
    if (selectMode == SELECT_IMPORT)
        importSelected();
    else if (selectMode == SELECT_ERASE)
        eraseSelected();
}

std::vector<std::string> SelectWidget::selectedNames() const
{
    std::vector<std::string> names;
    for (int row = 0; row < ui->selectList->count(); ++row) {
        const QListWidgetItem *item = ui->selectList->item(row);
        if (item->isSelected())
            names.push_back(item->text().toStdString());
    }
    return names;
}

void SelectWidget::importSelected()
{
    const std::vector<std::string> names = selectedNames();
    std::string from;
    std::string to;
    if (names.empty())
        return;
    if (!folder(from)) {
        emit signalImportLutFailed();
        refresh();
        return;
    }
    DeviceUSB::getLocalLutDir(to);
    if (LutImport::importFiles(from, names, to))
        emit signalImportLutSuccess();
    else
        emit signalImportLutFailed();
    ui->selectList->clearSelection();
}

void SelectWidget::eraseSelected()
{
    std::string dir;
    if (!folder(dir))
        return;
    bool erased = false;
    bool failed = false;
    for (int row = ui->selectList->count() - 1; row >= 0; --row) {
        QListWidgetItem *item = ui->selectList->item(row);
        if (!item->isSelected())
            continue;
        if (DeviceUSB::removeFile(dir + item->text().toStdString())) {
            delete item;
            erased = true;
        } else {
            failed = true;
        }
    }
    if (failed)
        showHint(tr("删除失败"));
    else if (erased)
        emit signalEraseLutSuccess();
}

void SelectWidget::slotBack()
{
    emit signalBack(selectMode);
}

void SelectWidget::showHint(const QString &text)
{
    ui->selectHint->setText(text);
}
