#pragma once

#include <QString>

namespace brisko::app {

// A whole number, signed or not ("10000000", "+500", "-20"), written with the digit grouping of
// the user's locale (a comma where the locale has none); any other text as it stands.
QString groupedDigits(const QString& text);

} // namespace brisko::app
