#pragma once

#include <QFontMetrics>
#include <QString>

namespace brisko::widgets {

// A path ("C:\DATA\SUB\FILE.TXT") shortened to fit a width: the file name stays whole and as
// much of the folder as fits is kept from its start, the rest of the folder given up in the
// middle ("C:\DA…\FILE.TXT"). A name too long even for that is shortened in its middle.
QString elidePath(const QString& path, const QFontMetrics& metrics, int width);

} // namespace brisko::widgets
