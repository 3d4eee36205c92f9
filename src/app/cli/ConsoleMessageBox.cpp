#include "app/cli/ConsoleMessageBox.h"

namespace addrix {

std::string TerminalText(const std::string& text, bool lineBreaks) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (lineBreaks && c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out.push_back('\n');
            ++i;
        } else {
            out.push_back(c < 0x20 || c == 0x7F ? '?' : text[i]);
        }
    }
    return out;
}

MsgAnswer ConsoleMessageBox::show(const std::string& caption, const std::string& text,
                                  MsgButtons buttons, MsgIcon /*icon*/) {
    m_err << TerminalText(caption) << ": " << TerminalText(text, true) << '\n' << std::flush;
    return buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Ok;
}

} // namespace addrix
