#pragma once

#include <QString>

namespace brisko::app {

// Gives a control its object name and, when there is one, its hint: shown as its tool tip and
// in the window's hint line.
template <typename W> W* named(W* widget, const char* name, const QString& hint = QString()) {
    widget->setObjectName(QString::fromLatin1(name));
    if (!hint.isEmpty()) {
        widget->setToolTip(hint);
        widget->setStatusTip(hint);
    }
    return widget;
}

} // namespace brisko::app
