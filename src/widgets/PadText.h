// What the keys of the on-screen keypads do to a text: the rules shared by the number pads.
#pragma once

#include <QString>

class QLineEdit;

namespace pad {

/// Key tags with a meaning of their own; every other tag is the text the key types.
inline constexpr char16_t BackspaceTag[] = u"Backspace";
inline constexpr char16_t ClearTag[] = u"Clear";
inline constexpr char16_t EnterTag[] = u"Enter";

/// The caption an operator reads on a key: "退格", "清除", "确定" for the special tags, the tag
/// itself otherwise.
QString captionOf(const QString& tag);

/// The bound-text-box keypad: "Backspace" drops the last character, "Clear" empties the box,
/// any other tag is appended with the caret moved to the end, or replaces the whole text when
/// some of it is selected. "Enter" is not handled here.
void typeKey(QLineEdit* box, const QString& tag);

/// The number-entry pad: returns the entry after a key. "Backspace"/"Clear" as above; with a
/// selection the tag replaces the entry; "." is appended as it is; a digit is appended and the
/// result normalised to Str(Val(entry & digit)), so " 0" and "5" give " 5".
QString entryKey(const QString& entry, bool selected, const QString& tag);

/// Counter text after an up/down arrow: Str(Val(counter) + delta).
QString counterStep(const QString& counter, int delta);

} // namespace pad
