// The inspection frame's defect camera and the store of its pictures, as the station's settings
// name them: a defect touched asks for a picture and gets a ticket, the picture follows and is
// written under its defect's name, into the photo folder or, while the database is away, into
// the journal's folder until the replay has sent the rolls. No widget: the defect panel asks and
// shows the answer on the row, the roll's save and delete take the store.
#pragma once

#include "camera/CameraSource.h"
#include "stations/inspection/DefectPhotos.h"

#include <QObject>

#include <memory>

class Connection;
struct InspectionSettings;

class DefectCamera : public QObject {
    Q_OBJECT
public:
    explicit DefectCamera(QObject* parent = nullptr);
    ~DefectCamera() override;

    /// The camera and the folders of the settings (at load, and after the settings panel saved);
    /// returns the status line's note when the camera setting is not understood.
    QString configure(const InspectionSettings& settings);
    bool hasCamera() const { return m_source != nullptr; }
    /// Whether the database keeps picture rows; on the station's connection at load and when the
    /// database is reached again (a database that cannot be asked leaves it as it was).
    void prepare(Connection& conn);

    /// Asks for the picture of a defect touched now; its ticket, 0 without a camera.
    int request();
    /// Writes the picture of owner: into the photo folder, or into the journal's folder while
    /// rolls wait there (or the photo folder cannot be written). Its name, or "" with error set.
    QString write(const QByteArray& jpeg, const DefectPhotos::Owner& owner, QString* error);
    /// The status line's note for a picture that did not come: the first failure after a
    /// picture came (or since the start) is said, the ones after it are not ("" then).
    QString noteOf(const CameraShot& shot);

    /// The store a roll is saved with: online the photo folder, offline the journal's folder.
    const DefectPhotos* store(bool offline = false) const { return offline ? &m_kept : &m_photos; }
    /// Where a picture named file is now (the photo folder, or still in the journal's folder).
    QString pathOf(const QString& file) const;
    /// The pictures kept while the database was away go to the photo folder (after a replay).
    void moveKept();

signals:
    /// A picture or the reason there is none, for the ticket request() gave.
    void taken(const CameraShot& shot);

private:
    std::unique_ptr<CameraSource> m_source;
    DefectPhotos m_photos;
    DefectPhotos m_kept; // the journal's folder
    int m_base = 0;   // the tickets of earlier sources
    int m_issued = 0; // the last ticket given
    bool m_failing = false;
    bool m_swept = false; // the old pictures removed at this start
};
