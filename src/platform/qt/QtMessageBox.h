#pragma once

#include "platform/IMessageBox.h"

class QWidget;

namespace addrix {

// Modal QMessageBox owned by `parent` (may be null).
class QtMessageBox final : public IMessageBox {
public:
    explicit QtMessageBox(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }
    MsgAnswer show(const std::string& caption, const std::string& text, MsgButtons buttons,
                   MsgIcon icon) override;

private:
    QWidget* m_parent;
};

} // namespace addrix
