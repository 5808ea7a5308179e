// The stations' controls are laid out in twips of a 1024 x 768 panel; these helpers place them,
// remember the design place and scale it onto the window's real size. A control's Tag property
// carries the layout group of the old forms.
#pragma once

#include <QRect>
#include <QString>

class QLabel;
class QLineEdit;
class QObject;
class QWidget;

/// The old controls' Tag and ToolTipText, kept as properties of the widget.
QString tagOf(const QObject* w);
void setTag(QObject* w, const QString& tag);

/// Places a control at a position in design twips and remembers it, so that the window can
/// re-place it when it is resized.
void placeTwips(QWidget* w, const QRect& twips);
QRect designRect(const QWidget* w);
/// A field caption, right-aligned, placed in design twips.
QLabel* placeCaption(QWidget* parent, const QString& name, const QString& text, const QRect& twips);
/// A text box placed in design twips, with label as its caption (buddy and accessible name).
QLineEdit* placeTextBox(QWidget* parent, const QString& name, QLabel* label, const QRect& twips);
/// Re-places every remembered control below root for root's current window size.
void relayoutTwips(QWidget* root);
/// Remembers the current pixel geometry of every placed control below root as its design rect
/// (after a stored layout was applied in pixels).
void rememberGeometry(QWidget* root);
