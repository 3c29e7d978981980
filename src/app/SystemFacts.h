#pragma once

#include <QString>
#include <optional>

namespace brisko::app {

// Facts about the computer, read from the system each time they are asked for.
QString operatingSystemName();
QString operatingSystemVersion();
// The processor's model name, or its architecture when the model cannot be read.
QString processorName();
// The physical memory in kilobytes, from /proc/meminfo.
std::optional<qint64> physicalMemoryKb();
// "%d MB": kilobytes divided by 1024, rounded.
QString memoryText(qint64 kilobytes);
// The free space and the size of the disk that holds a path.
QString diskText(const QString& path);
// The editor that Edit Script starts, with its arguments; how to set one when there is none.
QString scriptEditorText();

} // namespace brisko::app
