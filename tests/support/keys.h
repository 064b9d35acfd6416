#pragma once
// A key pressed and released on a widget, as the keyboard would send it.
#include <QCoreApplication>
#include <QKeyEvent>
#include <QString>
#include <QWidget>

namespace metopt::testsupport {

inline void SendKey(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                    const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(widget, &release);
}

}  // namespace metopt::testsupport
