#include "app/cli/ConsoleMessageBox.h"

namespace addrix {

MsgAnswer ConsoleMessageBox::show(const std::string& caption, const std::string& text,
                                  MsgButtons buttons, MsgIcon /*icon*/) {
    std::string body;
    body.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            body.push_back('\n');
            ++i;
        } else {
            body.push_back(text[i]);
        }
    }
    m_err << caption << ": " << body << '\n' << std::flush;
    return buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Ok;
}

} // namespace addrix
