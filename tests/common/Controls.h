// SPDX-License-Identifier: MIT
#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include <stdexcept>

// Finds a window's controls by the names the user's view of the window gives them: the object name, and
// for an element of a control array (controls that share a name) also its int property "index". A control
// that is not there, or not of the type asked for, fails the test.
template <typename T = QWidget> T* control(const QWidget& window, const char* name, int index = -1)
{
    const QString objectName = QString::fromUtf8(name);
    for (T* found : window.findChildren<T*>(objectName)) {
        const QVariant at = found->property("index");
        if (index < 0 ? !at.isValid() : (at.isValid() && at.toInt() == index))
            return found;
    }
    throw std::runtime_error(
        QStringLiteral("no control %1(%2) of that type").arg(objectName).arg(index).toStdString());
}

inline QLineEdit* edit(const QWidget& window, const char* name)
{
    return control<QLineEdit>(window, name);
}
inline QPushButton* button(const QWidget& window, const char* name)
{
    return control<QPushButton>(window, name);
}
inline QRadioButton* option(const QWidget& window, const char* name, int index = -1)
{
    return control<QRadioButton>(window, name, index);
}
