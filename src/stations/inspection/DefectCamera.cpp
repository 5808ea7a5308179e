#include "stations/inspection/DefectCamera.h"

#include "db/Connection.h"
#include "journal/JournalStore.h"
#include "shell/Database.h"
#include "shell/Journal.h"
#include "stations/inspection/InspectionSettings.h"
#include "time/Clock.h"

#include <QDebug>
#include <QFileInfo>

using namespace Qt::StringLiterals;

DefectCamera::DefectCamera(QObject* parent) : QObject(parent)
{
    // The database back: the table may be there now; the rolls kept offline have been sent with
    // their picture rows, so their files go where the rows say.
    connect(Journal::status(), &Journal::Status::reached, this, [this] {
        prepare(Database::conn());
        moveKept();
    });
    connect(Journal::status(), &Journal::Status::replayed, this, &DefectCamera::moveKept);
}

DefectCamera::~DefectCamera() = default;

QString DefectCamera::configure(const InspectionSettings& settings)
{
    QString error;
    m_source = CameraSource::create(settings.camera, settings.cameraWindow, &error);
    // A new source counts its tickets from 1 again: they go on from the old source's.
    m_base = m_issued;
    if (m_source)
        connect(m_source.get(), &CameraSource::taken, this, [this, base = m_base](CameraShot shot) {
            shot.ticket += base;
            emit taken(shot);
        });
    m_photos = DefectPhotos(settings.photoFolder, settings.photoKeepDays);
    m_kept = m_photos.inFolder(QFileInfo(JournalStore::defaultPath()).absolutePath() + u"/离线照片"_s);
    m_failing = false;
    return error;
}

void DefectCamera::prepare(Connection& conn)
{
    if (!conn.isOpen())
        return; // the station came up without its database: asked again when it is reached
    try {
        m_photos.prepare(conn);
        m_kept = m_photos.inFolder(m_kept.folder());
        // Pictures of deleted rolls and defects go after PhotoKeepDays, swept once a start.
        if (!m_swept && m_photos.keepsRows()) {
            m_swept = true;
            m_photos.sweep(conn, Clock::now());
        }
    } catch (const DbError& e) {
        qWarning().noquote() << "checkDetailPhoto:" << e.message();
    }
}

int DefectCamera::request()
{
    if (!m_source)
        return 0;
    m_issued = m_base + m_source->request(Clock::now());
    return m_issued;
}

QString DefectCamera::write(const QByteArray& jpeg, const DefectPhotos::Owner& owner, QString* error)
{
    const QDate day = Clock::today();
    QString file = Journal::queued() ? QString() : m_photos.write(jpeg, owner, day, error);
    return file.isEmpty() ? m_kept.write(jpeg, owner, day, error) : file;
}

QString DefectCamera::noteOf(const CameraShot& shot)
{
    const bool said = std::exchange(m_failing, !shot.ok());
    return shot.ok() || said ? QString() : u"疵点无图："_s + shot.failure;
}

QString DefectCamera::pathOf(const QString& file) const
{
    const QString kept = m_kept.folder() + u'/' + file;
    return QFileInfo::exists(kept) ? kept : m_photos.folder() + u'/' + file;
}

void DefectCamera::moveKept()
{
    if (QFileInfo::exists(m_kept.folder()))
        m_photos.moveKept(m_kept);
}
