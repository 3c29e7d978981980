#pragma once

#include <QList>
#include <QString>

namespace brisko::tutorial {

// One line of a sample script: a key and its value; a command such as Execute has no value.
struct SampleLine {
    QString key;
    QString value;
    bool isCommand() const { return value.isEmpty(); }
};

// The sample script of a tutorial level: 0 Beginner, 1, and anything above 1 Expert.
const QList<SampleLine>& sampleScript(int level);

} // namespace brisko::tutorial
