#pragma once

#include <QString>
#include <QUrl>
#include <vector>

class QWidget;

namespace brisko::help {

// The manual's first page, with the list of every page.
QUrl contentsUrl();

// The page of a help topic, with the anchor of its section; the contents page for 0 or any
// other number the manual does not know.
QUrl topicUrl(int topic);

// Every topic number that has a page.
std::vector<int> knownTopics();

// The topic of a control of a window, both named by their object names; an empty control name
// asks for the window's own topic. 0 when there is none.
int controlTopic(const QString& window, const QString& control);

// The topic of a widget: its own, or that of the nearest parent inside its window that has one,
// or the window's own; 0 when none of them has a topic. A page's tab stands for the page shown.
int widgetTopic(const QWidget& widget);

} // namespace brisko::help
