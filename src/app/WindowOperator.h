#pragma once

#include "ports/Operator.h"

class QWidget;

namespace brisko::app {

// Puts the core's questions to the operator in modal dialogs over the main window.
class WindowOperator final : public Operator {
public:
    explicit WindowOperator(QWidget* window) : window_(window) {}

    DialogAnswer ask(const Question& question) override;
    void notify(const std::string& text) override;
    bool confirm(const std::string& text) override;

private:
    QWidget* window_;
};

} // namespace brisko::app
