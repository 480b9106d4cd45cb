#include "MarkWidget.h"

#include "CustomIcon.h"
#include "KeyCtl.h"
#include "PhotoChoices.h"
#include "SetUpForm.h"
#include "ui_MarkWidget.h"

namespace {

struct FrameRate {
    const char *name; // as the overlay and "photoMarkRate" know it
    const char *key;  // its on/off setting
};

const FrameRate frameRates[] = {{"1:1", "photoMarkRate11"},     {"4:3", "photoMarkRate43"},
                                {"5:3", "photoMarkRate53"},     {"16:9", "photoMarkRate169"},
                                {"2.35:1", "photoMarkRate2351"}, {"2.40:1", "photoMarkRate2401"},
                                {"9:16", "photoMarkRate916"},   {"custom", "photoMarkRateCustomEn"}};
constexpr int rateCount = sizeof(frameRates) / sizeof(frameRates[0]);
constexpr int customRate = rateCount - 1;

// An entry holds at most this many characters.
constexpr int entryLength = 5;

// A stored ratio entry as the pad could have typed it, else the fallback.
QString entryText(const std::string &stored, const char *fallback)
{
    const QString text = QString::fromStdString(stored);
    if (text.isEmpty() || text.size() > entryLength)
        return QString::fromLatin1(fallback);
    for (const QChar c : text)
        if (!c.isDigit() && c != QLatin1Char('.'))
            return QString::fromLatin1(fallback);
    return text;
}

// A text that is no number counts as 0.
float entryNumber(const QString &text)
{
    bool ok = false;
    const float value = text.toFloat(&ok);
    return ok ? value : 0.0f;
}

} // namespace

MarkWidget::MarkWidget(QWidget *parent) : MenuPage(parent), ui(new Ui_MarkWidget)
{
    setUpForm(ui, this);
    photo::addChoices(colourGroup,
                      {ui->markColor1, ui->markColor2, ui->markColor3, ui->markColor4, ui->markColor5, ui->markColor6,
                       ui->markColor7},
                      photo::firstColour);
    for (int i = photo::firstColour; i <= photo::lastColour; ++i)
        colourGroup.button(i)->setIcon(photo::swatchIcon(photo::overlayColour(i)));
    photo::addChoices(lineGroup, {ui->markLineSmall, ui->markLineMiddle, ui->markLineLarge}, 0);
    for (int id = 0; id < 3; ++id)
        lineGroup.button(id)->setIcon(photo::lineIcon(id));
    rateGroup.setExclusive(false);
    QAbstractButton *const rateButtons[rateCount] = {ui->markRate11,  ui->markRate43,   ui->markRate53,
                                                     ui->markRate169, ui->markRate2351, ui->markRate2401,
                                                     ui->markRate916, ui->markRateCustom};
    for (int id = 0; id < rateCount; ++id)
        rateGroup.addButton(rateButtons[id], id);
    photo::addChoices(ratioGroup, {ui->markRatioWidth, ui->markRatioHeight}, 0);
    ui->markKeyBackspace->setIcon(QIcon(CustomIcon::read(QStringLiteral(":/png/photo/backspace.png"))));
    ui->markKeyBackspace->setIconSize(QSize(56, 40));
    translateUi();
    configInit();
    connect(ui->markEnable, &QPushButton::clicked, this, &MarkWidget::slotIsEnable);
    connect(&colourGroup, qOverload<QAbstractButton *>(&QButtonGroup::buttonClicked), this,
            &MarkWidget::slotColorGroup);
    connect(&lineGroup, qOverload<QAbstractButton *>(&QButtonGroup::buttonClicked), this,
            &MarkWidget::slotLineGroup);
    connect(&rateGroup, qOverload<QAbstractButton *>(&QButtonGroup::buttonClicked), this,
            &MarkWidget::slotRateGroup);
    connect(&ratioGroup, qOverload<QAbstractButton *>(&QButtonGroup::buttonClicked), this,
            &MarkWidget::slotRatioGroup);
    connect(ui->markKey0, &QPushButton::clicked, this, &MarkWidget::slotKey0);
    connect(ui->markKey1, &QPushButton::clicked, this, &MarkWidget::slotKey1);
    connect(ui->markKey2, &QPushButton::clicked, this, &MarkWidget::slotKey2);
    connect(ui->markKey3, &QPushButton::clicked, this, &MarkWidget::slotKey3);
    connect(ui->markKey4, &QPushButton::clicked, this, &MarkWidget::slotKey4);
    connect(ui->markKey5, &QPushButton::clicked, this, &MarkWidget::slotKey5);
    connect(ui->markKey6, &QPushButton::clicked, this, &MarkWidget::slotKey6);
    connect(ui->markKey7, &QPushButton::clicked, this, &MarkWidget::slotKey7);
    connect(ui->markKey8, &QPushButton::clicked, this, &MarkWidget::slotKey8);
    connect(ui->markKey9, &QPushButton::clicked, this, &MarkWidget::slotKey9);
    connect(ui->markKeyDot, &QPushButton::clicked, this, &MarkWidget::slotKeyDot);
    connect(ui->markKeyBackspace, &QPushButton::clicked, this, &MarkWidget::slotKeyBackspace);
    connect(ui->markKeyClean, &QPushButton::clicked, this, &MarkWidget::slotKeyClean);
    connect(ui->markKeyEnter, &QPushButton::clicked, this, &MarkWidget::slotKeyEnter);
    connectFunctionKey();
}

MarkWidget::~MarkWidget()
{
    delete ui;
}

// The overlay reads the same keys itself; the page only shows them.
void MarkWidget::configInit()
{
    ui->markEnable->setChecked(readBool("photoMarkEnable", false));
    photo::checkChoice(colourGroup,
                       photo::colourIndex(readInt("photoMarkColor", photo::firstColour, 0, photo::lastColour + 1)));
    photo::checkChoice(lineGroup, photo::lineId(readChoice("photoMarkLine", "middle", {"small", "middle", "large"})));
    for (int id = 0; id < rateCount; ++id)
        rateGroup.button(id)->setChecked(readBool(frameRates[id].key, false));
    std::string stored;
    appConfig->findValue("photoMarkRatioWidth", stored);
    enteredWidth = widthText = entryText(stored, "16");
    stored.clear();
    appConfig->findValue("photoMarkRatioHeight", stored);
    enteredHeight = heightText = entryText(stored, "9");
    selectEntry(false);
    showEntries();
}

void MarkWidget::translateUi()
{
    ui->markTitle->setText(tr("标记"));
    ui->markColorTitle->setText(tr("标记颜色"));
    ui->markLineTitle->setText(tr("标记线宽"));
    ui->markRateTitle->setText(tr("标记比例"));
    ui->markRateCustom->setText(tr("自定义"));
    ui->markKeyClean->setText(tr("清除"));
    ui->markKeyEnter->setText(tr("确定"));
}

void MarkWidget::slotFunctionClicked(int code)
{
    if (code != KeyCtl::FUNC_MARKER)
        return;
    ui->markEnable->toggle();
    slotIsEnable();
}

void MarkWidget::slotIsEnable()
{
    const bool on = ui->markEnable->isChecked();
    store("photoMarkEnable", on);
    emit signalMarkEnable(on);
}

void MarkWidget::slotColorGroup(QAbstractButton *button)
{
    const int colour = colourGroup.id(button);
    store("photoMarkColor", colour);
    emit signalMarkColor(colour);
}

void MarkWidget::slotLineGroup(QAbstractButton *button)
{
    const std::string line = photo::lineNames[lineGroup.id(button)];
    store("photoMarkLine", line);
    emit signalMarkLine(line);
}

void MarkWidget::slotRateGroup(QAbstractButton *button)
{
    const int id = rateGroup.id(button);
    const bool on = button->isChecked();
    store(frameRates[id].key, on);
    store("photoMarkRate", std::string(frameRates[id].name));
    // The overlay may hold an older custom ratio than the one entered while
    // the custom lines were off.
    if (id == customRate && on)
        emitUserRate();
    emit signalMarkRate(frameRates[id].name, on);
}

void MarkWidget::slotRatioGroup(QAbstractButton *button)
{
    selectEntry(ratioGroup.id(button) == 1);
}

void MarkWidget::slotKey0()
{
    appendKey('0');
}

void MarkWidget::slotKey1()
{
    appendKey('1');
}

void MarkWidget::slotKey2()
{
    appendKey('2');
}

void MarkWidget::slotKey3()
{
    appendKey('3');
}

void MarkWidget::slotKey4()
{
    appendKey('4');
}

void MarkWidget::slotKey5()
{
    appendKey('5');
}

void MarkWidget::slotKey6()
{
    appendKey('6');
}

void MarkWidget::slotKey7()
{
    appendKey('7');
}

void MarkWidget::slotKey8()
{
    appendKey('8');
}

void MarkWidget::slotKey9()
{
    appendKey('9');
}

void MarkWidget::slotKeyDot()
{
    appendKey('.');
}


void MarkWidget::slotKeyBackspace()
{
    editedText().chop(1);
    showEntries();
}

void MarkWidget::slotKeyClean()
{
    widthText.clear();
    heightText.clear();
    selectEntry(false);
    showEntries();
}

void MarkWidget::slotKeyEnter()
{
    if (widthText.isEmpty()) {
        selectEntry(false);
        return;
    }
    if (heightText.isEmpty()) {
        selectEntry(true);
        return;
    }
    enteredWidth = widthText;
    enteredHeight = heightText;
    store("photoMarkRatioWidth", widthText.toStdString());
    store("photoMarkRatioHeight", heightText.toStdString());
    if (rateGroup.button(customRate)->isChecked()) {
        emitUserRate();
        emit signalMarkRate(frameRates[customRate].name, true);
    }
}

void MarkWidget::appendKey(char key)
{
    QString &text = editedText();
    if (text.size() < entryLength)
        text.append(QLatin1Char(key));
    showEntries();
}

void MarkWidget::selectEntry(bool height)
{
    editingHeight = height;
    photo::checkChoice(ratioGroup, height ? 1 : 0);
}

void MarkWidget::showEntries()
{
    ui->markRatioWidth->setText(widthText);
    ui->markRatioHeight->setText(heightText);
}

QString &MarkWidget::editedText()
{
    return editingHeight ? heightText : widthText;
}

void MarkWidget::emitUserRate()
{
    emit signalMarkUserRate(entryNumber(enteredWidth), entryNumber(enteredHeight));
}
