// Where the pictures of a roll's defects are kept: one JPEG per defect under the photo folder,
// named by month, station, roll and defect, and a row in checkDetailPhoto that ties the file to
// the defect row. The rows are written in the caller's transaction (the roll's save); a mill
// database without the table keeps the pictures as files only.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class Connection;

class DefectPhotos {
public:
    /// Whose picture it is: the station number, the roll (its card and its number) and the
    /// defect's number on the roll.
    struct Owner {
        QString station;
        QString card;
        QString roll;
        int defect = 0;
    };

    /// folder: the photo folder ("" = 照片 in the program folder); keepDays: how long the files
    /// of deleted defects stay.
    explicit DefectPhotos(const QString& folder = QString(), int keepDays = 30);
    const QString& folder() const { return m_folder; }
    /// The same store on another folder (the journal's, for pictures taken while the database
    /// is away): it keeps rows when this one does.
    DefectPhotos inFolder(const QString& folder) const;

    /// "YYMM/<station>-<card>-<roll>-<defect>.jpg" relative to the folder (2612/007-SC2611001-
    /// 005-3.jpg), the n-th picture of the defect with "_n" (n > 1); characters a file name
    /// cannot carry become "_".
    static QString fileName(const Owner& owner, const QDate& day, int n);
    /// The picture written under the first name with n from 1 that is not taken yet (a picture
    /// taken again never overwrites the first); its name relative to the folder, or "" with
    /// error set.
    QString write(const QByteArray& jpeg, const Owner& owner, const QDate& day,
                  QString* error = nullptr) const;

    /// Whether the database keeps the rows: the embedded database gets the table when it is
    /// missing; on the mill's database (through ODBC) a missing table means files only, said
    /// once in the log. Throws DbError.
    bool prepare(Connection& conn);
    bool keepsRows() const { return m_rows; }

    static QString insertRow(const QString& detailId, const QString& file, const QDateTime& taken);
    static QString deleteOfRoll(qint64 rollId);
    /// The row of a picture, on conn inside the caller's transaction; nothing when the database
    /// keeps no rows. Throws DbError.
    void addRow(Connection& conn, qint64 detailId, const QString& file, const QDateTime& taken) const;

    /// Column Column of a saved roll's defect rows (read in the order they were recorded): the
    /// picture each defect has, so that saving the roll again keeps it. Throws DbError.
    void fillRows(Connection& conn, qint64 rollId, QList<QStringList>& rows) const;

    /// The column of a saved defect row (after the grid's seven) that names its picture.
    static constexpr int Column = 7;
    /// When the picture was taken: its file's time, or now when it is not in the folder.
    QDateTime takenAt(const QString& file) const;
    /// Moves the pictures kept in `offline` (the journal's folder, written while this folder
    /// could not be reached) into this folder under the same names, once their rows have gone
    /// with the replay. Returns how many are left (a file that cannot be moved yet).
    int moveKept(const DefectPhotos& offline) const;

    /// Removes the files older than keepDays that no row names (pictures of deleted rolls and
    /// defects); nothing when the database keeps no rows. Returns how many. Throws DbError.
    int sweep(Connection& conn, const QDateTime& now) const;

private:
    QString m_folder;
    int m_keepDays;
    bool m_rows = false;
};
