// Texts of the meter correction ("Check3"): the operator types the winding machine's own counter
// beside the screen's reading, and later lengths are scaled by their ratio.
#pragma once

#include <QString>

namespace devices {

/// Caption of the correction check box.
QString meterCorrectionCaption();

/// The Yes/No question (question icon) asked before the correction; two lines.
QString meterCorrectionQuestion();

} // namespace devices
