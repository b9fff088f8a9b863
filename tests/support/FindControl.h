#pragma once

#include <QObject>
#include <QString>
#include <gtest/gtest.h>
#include <stdexcept>

// A control of the window under test, found by its objectName as a user's screen reader finds it. A missing
// control fails the test at once.
template <typename Control>
Control* FindControl(const QObject& window, const char* name)
{
    auto* control = window.findChild<Control*>(QString::fromLatin1(name));
    if (!control) {
        ADD_FAILURE() << "no control named " << name;
        throw std::runtime_error(name);
    }
    return control;
}
