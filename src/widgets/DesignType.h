// Type that grows with the panel. A control carries its size on a 1024 x 768 panel as its
// design size; the window's type and every control's follow the window's scale, so that the
// status line and the roll number stay readable from a step away on any panel.
#pragma once

#include <QList>

class QWidget;

namespace DesignType {

/// Gives w a design size in points (and bold or not), keeping its other font settings.
void mark(QWidget* w, double points, bool bold = false);

/// The window at basePoints and each control with a design size at that size for the window's
/// scale. A control at its parent's design size inherits the parent's type and is left alone
/// (a font change re-lays out its text), unless a style sheet above it stops the inheritance.
/// Controls inside one of skip (keypads size their own keys) keep their type.
void apply(QWidget* window, double basePoints = 12, const QList<const QWidget*>& skip = {});

} // namespace DesignType
