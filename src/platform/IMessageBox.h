#pragma once

#include <string>

namespace addrix {

enum class MsgButtons { Ok, YesNo };
enum class MsgIcon { None, Critical, Question, Warning, Information };
enum class MsgAnswer { Ok, Yes, No };

// The program's own title, used as the caption of boxes that name none.
inline constexpr const char* kAppTitle = "Addrix";

// A modal message box. Texts are the program's bytes; "\r\n" is a line break.
class IMessageBox {
public:
    virtual ~IMessageBox() = default;
    // Shows the box and returns only when the user has answered it.
    virtual MsgAnswer show(const std::string& caption, const std::string& text, MsgButtons buttons,
                           MsgIcon icon) = 0;
};

} // namespace addrix
