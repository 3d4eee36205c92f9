#pragma once

#include <cstdint>

namespace addrix {

// The wizard's pages, by the numbers ChangeStage takes.
enum WizardStage : std::int16_t {
    kStageWelcome = 0,        // choice of source
    kStageFileLocation = 1,   // where the Norvik file goes
    kStageSourceSettings = 2, // port and e-mail column, or the backup file
    kStageConfirm = 3,
    kStageExport = 4, // runs the export, then moves on by itself
    kStageComplete = 5,
    kStageNotComplete = 6,
};
inline constexpr std::int16_t kStageCount = 7;

} // namespace addrix
