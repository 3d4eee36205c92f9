#pragma once

#include "platform/IMessageBox.h"

#include <ostream>

namespace addrix {

// Message boxes of a run without windows: "caption: text" on the error
// stream, a CR LF inside the text printed as a line break. Questions are
// answered No, as nobody is there to answer them.
class ConsoleMessageBox final : public IMessageBox {
public:
    explicit ConsoleMessageBox(std::ostream& err) : m_err(err) {}
    MsgAnswer show(const std::string& caption, const std::string& text, MsgButtons buttons,
                   MsgIcon icon) override;

private:
    std::ostream& m_err;
};

} // namespace addrix
