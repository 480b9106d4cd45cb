#pragma once

#include <QMetaType>
#include <QSignalSpy>
#include <string>

Q_DECLARE_METATYPE(std::string)

// Spies record the arguments of signals that carry a std::string only once
// the type is known by that name.
inline void registerStringSignals()
{
    qRegisterMetaType<std::string>("std::string");
}

// One recorded argument of a spy.
template <typename T>
T argument(const QSignalSpy &spy, int call, int index)
{
    return spy.at(call).at(index).value<T>();
}
