// Test helpers for the label engine: a small mill database with rolls, a box and an item; text
// read back out of the PDF files Qt writes; a Code 128 reader for rendered barcodes.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

namespace LabelFixture {

/// Creates a SQLite database file at path with the tables the labels read (checkinfo,
/// billdetail, bill, company, item, printpool, billFiles) and demo rows: item 1, card line 1,
/// rolls 1..rolls (roll 1 has roll number "007", quantity 98.5, grade "一等品"), all packed into
/// box "261205001". Roll 1 has defects at 12.3 (3 points), 12.8 (2), 40.5 (4), 60 to 72 (2) and
/// a section alert row at 70 (0). Returns the connection string.
QString createDatabase(const QString& path, int rolls = 3);

/// Runs raw SQLite statements on the file (fixture changes behind the engine's back).
void exec(const QString& path, const QString& sql);

/// The text runs of every page of a PDF written by Qt, in drawing order (one run per text
/// positioning; whitespace glyphs read as blanks). Empty when the file cannot be read.
QStringList pdfTextRuns(const QString& path);
/// Number of pages of the PDF.
int pdfPageCount(const QString& path);

/// Reads the Code 128 symbol crossed by row y of the image (dark < 128) between x = left and
/// right (-1: the whole row); the decoded text, or a null QString when the row holds no valid
/// symbol (bad pattern or check character).
QString decodeCode128(const QImage& image, int y, int left = 0, int right = -1);

/// The module matrix sampled from the dark area of a rendered 2D symbol inside region:
/// columns × rows modules, true = dark.
QList<QList<bool>> sampleMatrix(const QImage& image, const QRect& region, int columns, int rows);

} // namespace LabelFixture
