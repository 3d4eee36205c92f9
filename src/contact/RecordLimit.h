#pragma once

#include "platform/IMessageBox.h"

#include <cstdint>

namespace addrix {

// Number of contacts a source wrote; negative when the export failed. Wide
// enough for any backup file once the record limit is raised.
using RecordCount = std::int32_t;

// The Ivro reader's limit: reached when the count equals MaxDeviceRecords,
// so a limit that is no whole number of 0 or more never applies.
inline bool IvroLimitReached(RecordCount written, double maxRecords) {
    return static_cast<double>(written) == maxRecords;
}

// The download's limit: reached once a record is written and the count is
// MaxDeviceRecords or more.
inline bool GalderLimitReached(RecordCount written, double maxRecords) {
    return written > 0 && written >= maxRecords;
}

// True when a source's limit leaves some of `count` contacts out: the
// limit is tested before each contact, with the ones before it written.
inline bool OverRecordLimit(RecordCount count, double maxRecords, bool galder) {
    if (count <= 0)
        return false;
    if (galder)
        return GalderLimitReached(count - 1, maxRecords);
    // Only a whole number from 0 to count - 1 is ever equalled.
    return maxRecords >= 0 && maxRecords < count &&
           maxRecords == static_cast<double>(static_cast<RecordCount>(maxRecords));
}

// Told once when a source reaches MaxDeviceRecords with contacts still to come.
inline void ShowRecordLimitNotice(IMessageBox& messages) {
    messages.show(kAppTitle,
                  "You have exceeded the maximum number of records allowed by the device.\r\n"
                  "Additional records will not be exported.",
                  MsgButtons::Ok, MsgIcon::None);
}

} // namespace addrix
