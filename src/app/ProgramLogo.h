#pragma once

#include <QPixmap>

namespace brisko::app {

// The program's picture at a given side length: the application's icon when it has one,
// otherwise a drawn sign of two folders kept in step.
QPixmap programLogo(int side);

} // namespace brisko::app
