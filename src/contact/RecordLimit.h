#pragma once

#include "platform/IMessageBox.h"

#include <cstdint>

namespace addrix {

// Number of contacts a source wrote; negative when the export failed. Wide
// enough for any backup file once the record limit is raised.
using RecordCount = std::int32_t;

// Told once when a source reaches MaxDeviceRecords with contacts still to come.
inline void ShowRecordLimitNotice(IMessageBox& messages) {
    messages.show(kAppTitle,
                  "You have exceeded the maximum number of records allowed by the device.\r\n"
                  "Additional records will not be exported.",
                  MsgButtons::Ok, MsgIcon::None);
}

} // namespace addrix
