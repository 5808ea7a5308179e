// The frame of every page of the web view: one style for a 1920×1080 TV across the hall and a
// phone in the hand, the menu, and the short pages of refusals. Nothing is fetched from outside
// the server: a mill's network has no internet.
#pragma once

#include <QString>

namespace WebPage {

/// The text with &, <, >, " and ' written as entities.
QString esc(const QString& text);

/// A whole page: title, the menu (active: "/board", "/quality", "/stations"; empty for none),
/// the body and, when given, a script at the end.
QString page(const QString& title, const QString& active, const QString& body,
             const QString& script = QString());

/// The login page; failed: the token given was wrong.
QString login(const QString& next, bool failed);

/// The short page of a refusal: "401 …", "400 …", "404 …" with a line of why.
QString refusal(int status, const QString& why);

} // namespace WebPage
