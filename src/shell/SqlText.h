// Pasting operator texts into SQL statements: single quotes are doubled so that a remark such as
// "O'Brien" is stored as typed, and numbers are written with "." and no exponent.
#pragma once

#include "db/SqlText.h"
#include "text/Vb.h"

#include <QString>

/// The text with every single quote doubled, for use between quotes in a statement.
inline QString sqlText(const QString& text) { return SqlText::escape(text); }

/// A number for a statement.
inline QString sqlNum(double value) { return vb::sqlNumber(value); }
