#include "app/NumberText.h"

#include <QLocale>

namespace brisko::app {

QString groupedDigits(const QString& text) {
    const bool signed_ = text.startsWith(u'+') || text.startsWith(u'-');
    const QString digits = signed_ ? text.mid(1) : text;
    bool number = !digits.isEmpty();
    for (const QChar c : digits)
        number = number && c.isDigit() && c.unicode() < 0x80;
    if (!number)
        return text;
    QLocale locale = QLocale::system();
    if (locale.language() == QLocale::C || locale.groupSeparator().isEmpty())
        locale = QLocale(QLocale::English, QLocale::UnitedStates);
    locale.setNumberOptions(QLocale::DefaultNumberOptions);
    return (signed_ ? text.left(1) : QString()) + locale.toString(digits.toULongLong());
}

} // namespace brisko::app
