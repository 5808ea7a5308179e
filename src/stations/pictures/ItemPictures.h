// The item pictures on disk: the stored picture written into the item's folder, the picture
// files of a folder, and the thumbnail drawn of each.
#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

class QFontMetrics;

namespace ItemPictures {

/// The item's picture folder: <program folder>/pic/<id>.
QString itemFolder(qint64 id);

/// Writes the item's stored picture into its folder as <id>.<picName>, replacing an older file,
/// and returns that path. Without a stored picture (or when the database or the disk refuses)
/// returns the folder with a trailing separator; the folder itself is made when missing.
QString exportItemPicture(qint64 id);

/// A folder or file as this machine names it: a Windows drive path the mill's settings hold
/// ("C:\\", "c:\\orvex.bmp") through the program folder's stand-in for the drive, any other path
/// as it is.
QString localPath(const QString& path);

/// The folder part of a path, up to and including its last separator ("" when it has none).
QString folderOf(const QString& path);

/// The patterns of the picture files the strip shows.
QStringList pictureFilters();
/// Names of the picture files in folder, sorted by name as the file list shows them.
QStringList pictureFiles(const QString& folder);

/// A thumbnail box of the given size cleared to face: a picture larger than the box less 2 in
/// either direction is scaled down by the smaller ratio, keeping its proportions, a smaller one
/// keeps its size; centred, with a border line.
QImage thumbnail(const QImage& picture, QSize box, const QColor& face);

/// The text shown under a thumbnail: the file name, or its start with "..." when it is wider
/// than width pixels in the font's metrics.
QString shortName(const QString& name, const QFontMetrics& metrics, int width);

} // namespace ItemPictures
