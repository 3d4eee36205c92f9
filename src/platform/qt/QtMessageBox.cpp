#include "platform/qt/QtMessageBox.h"

#include "platform/qt/QtServices.h"

#include <QMessageBox>

namespace addrix {

MsgAnswer QtMessageBox::show(const std::string& caption, const std::string& text,
                             MsgButtons buttons, MsgIcon icon) {
    QMessageBox::Icon qicon = QMessageBox::NoIcon;
    switch (icon) {
    case MsgIcon::None:
        break;
    case MsgIcon::Critical:
        qicon = QMessageBox::Critical;
        break;
    case MsgIcon::Question:
        qicon = QMessageBox::Question;
        break;
    case MsgIcon::Warning:
        qicon = QMessageBox::Warning;
        break;
    case MsgIcon::Information:
        qicon = QMessageBox::Information;
        break;
    }
    QMessageBox box(qicon, ToQString(caption), ToDisplayText(text),
                    buttons == MsgButtons::YesNo ? (QMessageBox::Yes | QMessageBox::No)
                                                 : QMessageBox::Ok,
                    m_parent);
    const int answer = box.exec();
    if (buttons == MsgButtons::YesNo)
        return answer == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
    return MsgAnswer::Ok;
}

} // namespace addrix
