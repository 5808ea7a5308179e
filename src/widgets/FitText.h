// Data lines whose length depends on the mill's data (customer, card line, totals, a worker's
// name): their type shrinks, and wraps onto a second line where the label is tall enough, until
// the whole text shows; a due date at the end of a line is never cut off.
#pragma once

class QLabel;

namespace FitText {

/// Gives label the largest type from points down to minPoints (in half points) at which its whole
/// text shows inside it: on one line, or wrapped when the label is tall enough for more lines.
/// Returns false when not even minPoints shows it all; the label then keeps minPoints, wrapped.
bool fit(QLabel* label, double points, double minPoints);

} // namespace FitText
