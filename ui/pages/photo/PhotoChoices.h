#pragma once

#include <QColor>
#include <QIcon>
#include <initializer_list>
#include <string>

class QAbstractButton;
class QButtonGroup;

// What the photo pages share: the overlay colours offered as swatches, the
// three line widths, and exclusive groups of choice buttons.
namespace photo {

// The stored colour choices, 1 to 7; anything else stands for the first.
constexpr int firstColour = 1;
constexpr int lastColour = 7;

// The colour the overlay draws for a choice (the frame-line and safe-area
// palette); any other index gives the first colour.
QColor overlayColour(int index);
// A round swatch of a colour, for a choice button's icon.
QIcon swatchIcon(const QColor &colour);
// A stored colour choice held to 1-7.
int colourIndex(int stored);

// The line widths by stored name, ids 0-2 in this order.
extern const char *const lineNames[3];
// The id of a line name; 1 ("middle") for an unknown name.
int lineId(const std::string &name);
// Icons drawn at the three widths.
QIcon lineIcon(int id);

// Puts buttons into an exclusive group with consecutive ids from firstId.
void addChoices(QButtonGroup &group, std::initializer_list<QAbstractButton *> buttons, int firstId);
// Checks the button of an id without a click.
void checkChoice(const QButtonGroup &group, int id);

} // namespace photo
