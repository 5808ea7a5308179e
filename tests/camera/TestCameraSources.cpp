// The defect cameras: a snapshot server inside the test (a picture, too slow, failing, no
// picture, behind a password, not there), a folder of pictures with set times, the panel camera.
#include "camera/CameraSource.h"
#include "camera/PanelCamera.h"
#include "support/SnapshotServer.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The one answer of a request, which never comes inside request() itself.
CameraShot shotOf(CameraSource& source, const QDateTime& touched)
{
    QSignalSpy spy(&source, &CameraSource::taken);
    const int ticket = source.request(touched);
    const bool late = spy.isEmpty() && spy.wait(4000);
    return late && spy.at(0).at(0).value<CameraShot>().ticket == ticket ? spy.at(0).at(0).value<CameraShot>() : CameraShot{0, {}, u"?"_s};
}

QSize sizeOf(const CameraShot& shot)
{
    return shot.jpeg.startsWith("\xFF\xD8\xFF") ? QImage::fromData(shot.jpeg).size() : QSize();
}

} // namespace

class TestCameraSources : public QObject {
    Q_OBJECT

private slots:
    void settingNotUnderstood()
    {
        QString why;
        QVERIFY(!CameraSource::create(u" "_s, 3, &why) && why.isEmpty());
        QVERIFY(!CameraSource::create(u"ftp://10.0.0.9/a.jpg"_s, 3, &why));
        QCOMPARE(why, u"摄像头设置看不懂：ftp://10.0.0.9/a.jpg"_s);
    }

    void http_data()
    {
        QTest::addColumn<QString>("address"); // {} = the server's host and port
        QTest::addColumn<QString>("failure");
        QTest::newRow("too slow") << "http://{}/slow.jpg" << "摄像头2秒内没有回答";
        QTest::newRow("no picture") << "http://{}/page.html" << "摄像头送来的不是图片";
        QTest::newRow("no password") << "http://{}/locked.jpg" << "摄像头的用户名或密码不对";
        QTest::newRow("wrong password") << "http://admin:4321@{}/locked.jpg" << "摄像头的用户名或密码不对";
        QTest::newRow("password") << "http://admin:1234@{}/locked.jpg" << "";
        QTest::newRow("not there") << "http://127.0.0.1:1/snapshot.jpg" << "摄像头连不上：Connection refused";
    }
    void http()
    {
        QFETCH(QString, address);
        QFETCH(QString, failure);
        const SnapshotServer server;
        const auto source = CameraSource::create(server.address(address), 3);
        const CameraShot shot = shotOf(*source, {}); // a snapshot address takes no time of touch
        QCOMPARE(shot.failure, failure);
        QCOMPARE(sizeOf(shot), failure.isEmpty() ? QSize(64, 48) : QSize());
    }

    // Pictures 10 s before the touch, 1, 2 and 5 s after it (each as wide as 70 + those seconds),
    // a newer text file: the newest picture within the window, a PNG stored as JPEG; a touch just
    // now waits for its window to pass.
    void folder_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<int>("ago");
        QTest::addColumn<int>("width"); // 0: none
        QTest::newRow("3 s: the newest inside") << 3 << 100 << 72;
        QTest::newRow("10 s: the newest of all") << 10 << 100 << 75;
        QTest::newRow("0 s: none") << 0 << 100 << 0;
        QTest::newRow("just now: written while waiting") << 1 << 0 << 71;
    }
    void folder()
    {
        QFETCH(int, window);
        QFETCH(int, ago);
        QFETCH(int, width);
        QTemporaryDir dir;
        const QDateTime touched = QDateTime::currentDateTime().addSecs(-ago);
        const auto source = CameraSource::create(u"folder:"_s + dir.path(), window);
        QSignalSpy spy(source.get(), &CameraSource::taken);
        source->request(touched);
        if (ago == 0)
            QTest::qWait(300); // the camera writes a moment after the touch
        for (const auto& [name, at] : {std::pair{"1.jpg", 1}, {"-10.jpg", -10}, {"2.png", 2}, {"5.jpg", 5}, {"4.txt", 4}}) {
            QFile f(dir.filePath(QString::fromUtf8(name)));
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(testPicture(QByteArray(name).endsWith("png") ? "PNG" : "JPEG", 70 + at)) && f.flush());
            QVERIFY(f.setFileTime(touched.addSecs(at), QFileDevice::FileModificationTime));
            if (ago == 0)
                break; // the others would be written after the window
        }
        QVERIFY(spy.wait(3000));
        const CameraShot shot = spy.at(0).at(0).value<CameraShot>();
        QCOMPARE(sizeOf(shot), width ? QSize(width, 48) : QSize());
        QCOMPARE(shot.failure.startsWith(u"文件夹里没有这时拍的照片"_s), width == 0);
    }

    // A device that is missing answers at once; /dev/video0 gives a picture where it exists.
    void panelCamera()
    {
        QCOMPARE(shotOf(*CameraSource::create(u"v4l2:/dev/none"_s, 3), {}).failure, u"没有摄像头 /dev/none"_s);
        if (!PanelCamera::present(u"/dev/video0"_s))
            QSKIP("no camera at /dev/video0 on this machine: the panel camera's picture is not tested");
        QVERIFY(sizeOf(shotOf(*CameraSource::create(u"v4l2:/dev/video0"_s, 3), {})).isValid());
    }
};

QTEST_MAIN(TestCameraSources)
#include "TestCameraSources.moc"
