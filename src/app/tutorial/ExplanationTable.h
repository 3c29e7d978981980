#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace brisko::tutorial {

// What the Tutorial page tells about one key of a script (or about keys that share a text).
struct Explanation {
    QStringList keys;  // in upper case
    QString allValues; // the key's possible values; empty when it has none of its own
    QStringList lines; // the explanation, one memo line each
};

// Every explanation, in the order of a script's usual lines.
const std::vector<Explanation>& explanations();

// The explanation of a key, whatever its case; null for a key without one.
const Explanation* explanationFor(const QString& key);

} // namespace brisko::tutorial
