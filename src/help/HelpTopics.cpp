#include "help/HelpTopics.h"

#include <QTabBar>
#include <QTabWidget>
#include <QWidget>
#include <array>
#include <string_view>

namespace brisko::help {

namespace {

constexpr char kManualRoot[] = "qrc:/help/";
constexpr char kContentsPage[] = "index.html";

struct TopicPage {
    int topic;
    const char* page; // relative to the manual's root, with the section's anchor
};

// Where each topic is explained. The dialogs that have no number of their own get one from 380.
constexpr std::array kTopicPages = {
    TopicPage{10, "execute-page.html"},           TopicPage{20, "script-page.html#grid"},
    TopicPage{30, "history-page.html#actions"},   TopicPage{40, "history-page.html#messages"},
    TopicPage{50, "history-page.html#pause"},     TopicPage{60, "tutorial-page.html#level"},
    TopicPage{70, "tutorial-page.html#sample"},   TopicPage{90, "tutorial-page.html#explanation"},
    TopicPage{100, "script-page.html#edit"},      TopicPage{110, "script-page.html#reload"},
    TopicPage{120, "tutorial-page.html#values"},  TopicPage{140, "execute-page.html#folders"},
    TopicPage{150, "execute-page.html#counters"}, TopicPage{160, "execute-page.html#arrow"},
    TopicPage{170, "buttons.html#close"},         TopicPage{180, "buttons.html#about"},
    TopicPage{190, "buttons.html#load"},          TopicPage{200, "buttons.html#execute"},
    TopicPage{220, "dialog-free-space.html"},     TopicPage{230, "dialog-file-error.html"},
    TopicPage{240, "dialog-missing.html"},        TopicPage{250, "dialog-missing.html#create"},
    TopicPage{260, "dialog-missing.html#skip"},   TopicPage{270, "dialog-missing.html#delete"},
    TopicPage{280, "dialog-missing.html#abort"},  TopicPage{290, "dialog-future.html"},
    TopicPage{300, "dialog-zero-length.html"},    TopicPage{310, "dialog-same-stamp.html"},
    TopicPage{320, "dialog-drive.html"},          TopicPage{330, "script-page.html"},
    TopicPage{340, "history-page.html"},          TopicPage{350, "history-page.html#verify"},
    TopicPage{360, "history-page.html#options"},  TopicPage{370, "tutorial-page.html"},
    TopicPage{380, "dialog-empty-master.html"},   TopicPage{390, "dialog-message.html"},
    TopicPage{400, "dialog-closing.html"},
};

struct ControlTopic {
    std::string_view window;
    std::string_view control; // empty: the window itself
    int topic;
};

// The main window's controls and the dialogs, by object name.
constexpr std::array kControlTopics = {
    ControlTopic{"TBriskoForm", "Execute", 10},
    ControlTopic{"TBriskoForm", "ScriptGrid", 20},
    ControlTopic{"TBriskoForm", "HistGrid", 30},
    ControlTopic{"TBriskoForm", "MessageGrid", 40},
    ControlTopic{"TBriskoForm", "ScanCopyBox", 50},
    ControlTopic{"TBriskoForm", "LevelBar", 60},
    ControlTopic{"TBriskoForm", "SampleGrid", 70},
    ControlTopic{"TBriskoForm", "Explain", 90},
    ControlTopic{"TBriskoForm", "bEditScript", 100},
    ControlTopic{"TBriskoForm", "bReload", 110},
    ControlTopic{"TBriskoForm", "OptionPanel", 120},
    ControlTopic{"TBriskoForm", "FolderLeft", 140},
    ControlTopic{"TBriskoForm", "FolderRight", 140},
    ControlTopic{"TBriskoForm", "LeftDrive", 140},
    ControlTopic{"TBriskoForm", "RightDrive", 140},
    ControlTopic{"TBriskoForm", "FilesCountPanel", 150},
    ControlTopic{"TBriskoForm", "ArrowAvi", 160},
    ControlTopic{"TBriskoForm", "BClose", 170},
    ControlTopic{"TBriskoForm", "BAbout", 180},
    ControlTopic{"TBriskoForm", "BLoad", 190},
    ControlTopic{"TBriskoForm", "BCancExec", 200},
    ControlTopic{"TBriskoForm", "bContinue", 200},
    ControlTopic{"TBriskoForm", "bAbortAll", 200},
    ControlTopic{"TBriskoForm", "Script", 330},
    ControlTopic{"TBriskoForm", "ErrBox", 330},
    ControlTopic{"TBriskoForm", "History", 340},
    ControlTopic{"TBriskoForm", "BinaryCompareBox", 350},
    ControlTopic{"TBriskoForm", "Panel7", 360},
    ControlTopic{"TBriskoForm", "Sample", 370},
    ControlTopic{"TFreeSpaceDialog", "", 220},
    ControlTopic{"FileError", "", 230},
    ControlTopic{"MissingItem", "", 240},
    ControlTopic{"MissingItem", "BitBtn1", 250},
    ControlTopic{"MissingItem", "bskip", 260},
    ControlTopic{"MissingItem", "BitBtn3", 270},
    ControlTopic{"MissingItem", "BitBtn4", 280},
    ControlTopic{"FutureStamp", "", 290},
    ControlTopic{"ZeroLength", "", 300},
    ControlTopic{"SameStamp", "", 310},
    ControlTopic{"InvalidDrive", "", 320},
    ControlTopic{"EmptyMaster", "", 380},
    ControlTopic{"TStandardDialog", "", 390},
    ControlTopic{"Closing", "", 400},
};

QUrl manualUrl(const char* page) {
    return QUrl(QString::fromLatin1(kManualRoot) + QString::fromLatin1(page));
}

// The tab bar of a page control is not inside any page: it stands for the page it shows.
const QWidget* standIn(const QWidget* widget) {
    if (qobject_cast<const QTabBar*>(widget) != nullptr) {
        if (const auto* pages = qobject_cast<const QTabWidget*>(widget->parentWidget());
            pages != nullptr && pages->currentWidget() != nullptr)
            return pages->currentWidget();
    }
    return widget;
}

} // namespace

QUrl contentsUrl() {
    return manualUrl(kContentsPage);
}

QUrl topicUrl(int topic) {
    for (const TopicPage& entry : kTopicPages) {
        if (entry.topic == topic)
            return manualUrl(entry.page);
    }
    return contentsUrl();
}

std::vector<int> knownTopics() {
    std::vector<int> topics;
    for (const TopicPage& entry : kTopicPages)
        topics.push_back(entry.topic);
    return topics;
}

int controlTopic(const QString& window, const QString& control) {
    for (const ControlTopic& entry : kControlTopics) {
        if (window == QLatin1String(entry.window.data(), qsizetype(entry.window.size())) &&
            control == QLatin1String(entry.control.data(), qsizetype(entry.control.size())))
            return entry.topic;
    }
    return 0;
}

int widgetTopic(const QWidget& widget) {
    const QWidget* window = widget.window();
    const QString windowName = window->objectName();
    for (const QWidget* w = standIn(&widget); w != nullptr && w != window; w = w->parentWidget()) {
        if (w->objectName().isEmpty())
            continue;
        if (const int topic = controlTopic(windowName, w->objectName()); topic != 0)
            return topic;
    }
    return controlTopic(windowName, QString());
}

} // namespace brisko::help
