#pragma once

#include <initializer_list>
#include <string>

// The inputs a channel can show, by their settings names; the input pages
// number their choice buttons in this order.
namespace inputs {

inline constexpr const char *names[] = {"SDI", "HDMI", "WHDI"};
inline constexpr int count = 3;
inline const std::initializer_list<const char *> choices = {"SDI", "HDMI", "WHDI"};
inline const std::string wireless = "WHDI";

// The button number of a name; -1 for none.
inline int indexOf(const std::string &name)
{
    for (int i = 0; i < count; ++i) {
        if (name == names[i])
            return i;
    }
    return -1;
}

} // namespace inputs
