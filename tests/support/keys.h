#pragma once
// Keys pressed and released on a widget, as the keyboard would send them.
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

// Types a text key by key, as the user would: one key per character (code point).
inline void TypeKeys(QWidget* widget, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        SendKey(widget, 0, Qt::NoModifier, text.mid(i, length));
        i += length - 1;
    }
}

}  // namespace metopt::testsupport
