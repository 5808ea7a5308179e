// A field a keyboard-wedge scanner types into: the scanner's Tab ends the code as Enter does, so
// the code is looked up instead of the focus moving on with the code unread.
#pragma once

class QLineEdit;

namespace ScanField {

/// Makes Tab in field press Enter there (returnPressed), and counts its keys as scanner keys for
/// the questions that follow a scan.
void install(QLineEdit* field);

} // namespace ScanField
