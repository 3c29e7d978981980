#include "widgets/PathElide.h"

namespace brisko::widgets {

QString elidePath(const QString& path, const QFontMetrics& metrics, int width) {
    if (metrics.horizontalAdvance(path) <= width)
        return path;
    const qsizetype cut = path.lastIndexOf(QLatin1Char('\\'));
    const QString ellipsis(QChar(0x2026));
    const QString name = path.mid(cut + 1);
    const QString tail = ellipsis + path.mid(cut);
    if (cut <= 0 || metrics.horizontalAdvance(tail) > width)
        return metrics.elidedText(name, Qt::ElideMiddle, width);
    // The longest start of the folder that still fits before the tail.
    qsizetype low = 0;
    qsizetype high = cut;
    while (low < high) {
        const qsizetype middle = (low + high + 1) / 2;
        if (metrics.horizontalAdvance(path.left(middle) + tail) <= width)
            low = middle;
        else
            high = middle - 1;
    }
    return path.left(low) + tail;
}

} // namespace brisko::widgets
