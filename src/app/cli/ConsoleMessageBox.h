#pragma once

#include "platform/IMessageBox.h"

#include <ostream>
#include <string>

namespace addrix {

// `text` fit for the terminal: every control byte (DEL too) becomes "?", so
// that what was typed or stored can neither break a line nor steer the
// terminal; with `lineBreaks`, CR LF becomes a line break first.
std::string TerminalText(const std::string& text, bool lineBreaks = false);

// Message boxes of a run without windows: "caption: text" on the error
// stream, a CR LF inside the text printed as a line break, other control
// bytes as "?". Questions are
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
