// The builder's messages as message boxes.
#pragma once

#include "builder/message_sink.h"

class QWidget;

namespace wavra::build {

class MessageBoxes : public MessageSink {
public:
    explicit MessageBoxes(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }
    void inform(const std::string& text) override;
    void fail(const std::string& text) override;

private:
    QWidget* m_parent;
};

} // namespace wavra::build
