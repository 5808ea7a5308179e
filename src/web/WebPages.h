// The pages of the web view, drawn from the same JSON the API answers with.
#pragma once

#include <QJsonObject>
#include <QString>

namespace WebPages {

/// One row per station, red when its beat is late.
QString stations(const QJsonObject& data);
/// The stock board; it reloads its rows from /api/board at the board's interval.
QString board(const QJsonObject& data);
/// The quality overview: filter form, figures, the three charts as SVG, machines and inspectors.
QString quality(const QJsonObject& data);

/// The offline mark of data, or "" while the database answers.
QString offlineMark(const QJsonObject& data);

} // namespace WebPages
