// The defect pictures on the inspection window, a snapshot server in the test as the frame's
// camera: each defect touched gets its row at once and its picture after it, saved with the roll;
// a row deleted before its picture came gets none; a failing camera marks its rows 无图 and says
// so once; a reopened roll keeps its pictures when saved again; while the database is away the
// pictures wait in the journal's folder and arrive with the replay, once.
#include "CheckFixture.h"

#include "../offline/Outage.h"
#include "journal/JournalReplay.h"
#include "shell/Database.h"
#include "shell/Journal.h"
#include "stations/inspection/CheckDefectGrid.h"
#include "stations/inspection/CheckDefectPanel.h"
#include "stations/inspection/CheckRollPanel.h"
#include "stations/inspection/DefectCamera.h"
#include "support/SnapshotServer.h"
#include "widgets/EditGrid.h"

#include <QCheckBox>
#include <QDirIterator>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class TestDefectPhotoPanel : public QObject {
    Q_OBJECT

private slots:
    void walk()
    {
        const SnapshotServer camera;
        CheckFixture fx("bugs=破洞,油污\nCamera=" + camera.address(u"http://{}/snapshot.jpg"_s).toUtf8() + '\n');
        frmCheck& f = fx.open();
        CheckDefectPanel defects(&f);
        CheckControls& c = f.controls();
        fx.lookUp(u"K001"_s);
        c.TxtBox[CheckField::Quantity]->setText(u"50"_s);
        c.autoHuanJuan->setChecked(false);
        EditGrid& grid = *f.defectGrid().grid();
        const auto touch = [&](int n) {
            for (int i = 0; i < n; ++i)
                defects.bugBtn_Click(i % 2);
        };
        const auto marks = [&] {
            QStringList m;
            for (int r = 1; r < grid.rows() - 1; ++r)
                m << grid.textMatrix(r, DefectPhotos::Column);
            return m.join(u' ');
        };
        const auto files = [&](const QString& folder) {
            QStringList found;
            for (QDirIterator it(fx.home().file(folder), {u"*.jpg"_s}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
                found << it.next().section(u'/', -2);
            found.sort();
            return found;
        };
        // Picture rows / those naming a defect row / distinct defect rows.
        const auto photoRows = [&] { return fx.scalar(u"select count(*)||'/'||count(d.id)||'/'||count(distinct d.id) from checkDetailPhoto p left join checkDetail d on d.id=p.detailId"_s); };

        QSignalSpy shots(&f.defectCamera(), &DefectCamera::taken);
        touch(4);
        QCOMPARE(marks(), u"… … … …"_s); // the rows at once, their pictures after them
        grid.setRow(4);
        f.runCommand(CheckCmd::DeleteDefect); // before its picture came
        QTRY_COMPARE(shots.size(), 4);
        QCOMPARE(marks(), u"图 图 图"_s);
        emit grid.cellClicked(2, DefectPhotos::Column); // the mark touched: the picture over the window
        const QPointer<QWidget> view = f.findChild<QWidget*>(u"pictureView"_s);
        QVERIFY(view && !view->isHidden() && view->geometry() == f.rect());
        QTest::mouseClick(view, Qt::LeftButton, {}, view->rect().topLeft()); // a touch anywhere closes it
        QVERIFY(!view || view->isHidden());
        f.runCommand(CheckCmd::Save);
        const QString names = u"2603/001-K001-001-1.jpg 2603/001-K001-001-2.jpg 2603/001-K001-001-3.jpg"_s;
        QCOMPARE(files(u"照片"_s).join(u' '), names);
        QCOMPARE(fx.scalar(u"select group_concat(fileName, ' ') from (select fileName from checkDetailPhoto order by fileName)"_s), names);

        // Reopened it shows its pictures; a failing camera adds two rows without, said once; saved
        // again the roll keeps its three pictures.
        const qint64 id = c.checkId->text().toLongLong();
        f.rollPanel().newRoll();
        f.rollPanel().loadRoll(id);
        QCOMPARE(marks(), u"图 图 图"_s);
        fx.setIni(u"Camera"_s, camera.address(u"http://{}/broken.jpg"_s));
        emit f.settingsSaved();
        touch(1);
        QTRY_COMPARE(f.status(), u"疵点无图：摄像头回答 HTTP 500"_s);
        f.setStatus(QString());
        touch(1);
        QTRY_COMPARE(marks(), u"图 图 图 无图 无图"_s);
        QCOMPARE(f.status(), QString());
        f.runCommand(CheckCmd::Save);
        QCOMPARE(fx.scalar(u"select count(*) from checkDetail where checkId=%1"_s.arg(id)), u"5"_s);
        QCOMPARE(photoRows(), u"3/3/3"_s);

        // Offline: the first roll's pictures were written before the database was missed, the
        // second's go to the journal's folder; the replay sends their rows once, the files follow.
        fx.setIni(u"Camera"_s, camera.address(u"http://{}/snapshot.jpg"_s));
        emit f.settingsSaved();
        const Outage outage{fx.home().file(u"mirel.db"_s)};
        QVERIFY(outage.away());
        for (int roll = 0; roll < 2; ++roll) {
            f.rollPanel().newRoll();
            c.TxtBox[CheckField::Quantity]->setText(u"60"_s);
            touch(2);
            QTRY_COMPARE(marks(), u"图 图"_s);
            f.runCommand(CheckCmd::Save);
        }
        QCOMPARE(Journal::status()->pending(), 2);
        QCOMPARE(files(u"离线照片"_s).size(), 2);
        QVERIFY(outage.back());
        const JournalReplayResult r = JournalReplay(Journal::store(), Database::conn()).run();
        Journal::onReplayed(r, 0, 0);
        QCOMPARE(photoRows(), u"7/7/7"_s);
        QCOMPARE(files(u"离线照片"_s).size(), 0);
        QCOMPARE(files(u"照片"_s).size(), 7);
    }
};

QTEST_MAIN(TestDefectPhotoPanel)
#include "TestDefectPhotoPanel.moc"
