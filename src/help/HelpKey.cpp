#include "help/HelpKey.h"

#include "help/HelpTopics.h"
#include "help/HelpWindow.h"

#include <QApplication>
#include <QKeyEvent>

namespace brisko::help {

HelpKey::HelpKey(QApplication& application) {
    application.installEventFilter(this);
}

HelpKey::~HelpKey() = default;

THelpWindow& HelpKey::window() {
    if (window_ == nullptr)
        window_ = std::make_unique<THelpWindow>();
    return *window_;
}

bool HelpKey::eventFilter(QObject* watched, QEvent* event) {
    // Key events reach the window system's window object first and then the widget with the
    // focus (or the window itself); only widgets are looked at.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || (window_ != nullptr && widget->window() == window_.get()))
        return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier)
            return false;
        openTopicOf(*widget);
        return true;
    }
    case QEvent::QueryWhatsThis:
        event->accept();
        return true;
    case QEvent::WhatsThis:
        openTopicOf(*widget);
        return true;
    default:
        return false;
    }
}

void HelpKey::openTopicOf(const QWidget& widget) {
    window().showPage(topicUrl(widgetTopic(widget)));
}

} // namespace brisko::help
