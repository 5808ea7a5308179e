// The item picture browser: lookup, stepping with wrap, stopped items, the picture export, the
// thumbnails of a folder with a broken file (a folder gone refused), the slide show, labels and the
// window's remembered state. The outline variant: the fabric drawn into the polygon of a 704-byte
// outline file, pixels in and out of it, the same outline redrawn when the item changes.
#include "PicturesFixture.h"

#include "config/ProgramFolder.h"
#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/MessageBox.h"
#include "shell/Profile.h"
#include "stations/pictures/ItemPictures.h"
#include "stations/pictures/PictureBox.h"
#include "stations/pictures/FabricOutline.h"
#include "stations/pictures/ThumbStrip.h"
#include "stations/pictures/frmQuick3D.h"
#include "stations/pictures/ThumbsFields.h"
#include "stations/pictures/frmThumbs.h"
#include "widgets/ScreenMode.h"

#include <QCheckBox>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

qint64 shownId(frmThumbs& f)
{
    return f.txtUser[ThumbsField::Name]->property("tag").toString().toLongLong();
}

// A value the browsers keep in the [Main] section of their ini.
QString mainProfile(const char* key)
{
    return basThumbs::readProfile(u"Main"_s, QString::fromLatin1(key), QString());
}

// A rectangle (120,120)-(260,260) as the 87 filled points; the 88th point, far out at
// (290,290), would add a triangle below the rectangle if it were filled too.
QByteArray polygonBytes(int bytes = 704)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.setFloatingPointPrecision(QDataStream::SinglePrecision);
    const QPointF corners[] = {{120, 120}, {260, 120}, {260, 260}, {120, 260}};
    for (int i = 0; i < 88; ++i) {
        const QPointF p = i == 87 ? QPointF(290, 290) : corners[std::min(i, 3)];
        out << float(p.x()) << float(p.y());
    }
    return data.left(bytes);
}

QByteArray outlinePicture()
{
    return PicturesFixture::picture(Qt::white, "bmp", QSize(320, 320));
}

} // namespace

class TestFrmThumbs : public QObject {
    Q_OBJECT
private slots:
    void stepping_data()
    {
        QTest::addColumn<qint64>("from");
        QTest::addColumn<int>("button");
        QTest::addColumn<qint64>("expected");
        QTest::addColumn<bool>("refused");
        QTest::newRow("前个 from the highest wraps to the lowest")
            << qint64(12) << 0 << qint64(3) << false;
        QTest::newRow("后个 from the lowest wraps to the highest")
            << qint64(3) << 1 << qint64(12) << false;
        QTest::newRow("前个 with no item") << qint64(0) << 0 << qint64(12) << false;
        QTest::newRow("后个 with no item") << qint64(0) << 1 << qint64(12) << false;
        QTest::newRow("后个 in the middle") << qint64(7) << 1 << qint64(3) << false;
        QTest::newRow("前个 onto a stopped item") << qint64(7) << 0 << qint64(7) << true;
        QTest::newRow("后个 onto a stopped item") << qint64(12) << 1 << qint64(12) << true;
    }
    void stepping()
    {
        QFETCH(qint64, from);
        QFETCH(int, button);
        QFETCH(bool, refused);
        PicturesFixture fx;
        auto& f = fx.open<frmThumbs>();
        if (from > 0)
            QVERIFY(f.showItem(from));
        const QString nameBefore = f.txtUser[ThumbsField::Name]->text();
        MessageBox::clearShown();
        QTest::mouseClick(f.butFlow[button], Qt::LeftButton);
        QTEST(shownId(f), "expected");
        QCOMPARE(MessageBox::shown().size(), refused ? 1 : 0);
        if (refused) {
            QCOMPARE(MessageBox::lastShown().text, u"没有这个样品编码"_s);
            QCOMPARE(f.txtUser[ThumbsField::Name]->text(), nameBefore); // the fields keep the item shown
        }
    }

    void lookupByCode_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<qint64>("expected");
        QTest::addColumn<QString>("message");
        const QString none = u"没有这个样品编码"_s;
        QTest::newRow("found") << u"T07"_s << qint64(7) << QString();
        QTest::newRow("letter case of the mill's database") << u"t03"_s << qint64(3) << QString();
        QTest::newRow("stopped item") << u"T09"_s << qint64(0) << none;
        QTest::newRow("quote in the scan") << u"T0'7"_s << qint64(0) << none;
        // The code may well exist: the database's own message, and the item shown stays.
        QTest::newRow("database away") << u"T07"_s << qint64(12) << u"数据库文件已被删除或移走"_s;
    }
    void lookupByCode()
    {
        QFETCH(QString, code);
        QFETCH(qint64, expected);
        QFETCH(QString, message);
        PicturesFixture fx;
        auto& f = fx.open<frmThumbs>();
        f.showItem(12);
        MessageBox::clearShown();
        if (expected == 12)
            QVERIFY(QFile::rename(fx.home().file(u"mirel.db"_s), fx.home().file(u"away.db"_s)));
        QTest::keyClicks(f.barcode, code);
        QTest::keyClick(f.barcode, Qt::Key_Return);
        QCOMPARE(shownId(f), expected);
        QCOMPARE(f.barcode->selectedText(), code); // ready for the next scan
        if (message.isEmpty()) {
            QCOMPARE(f.txtUser[ThumbsField::Code]->text().toUpper(), code.toUpper());
            QVERIFY(MessageBox::shown().isEmpty());
        } else {
            QCOMPARE(MessageBox::shown().size(), 1);
            QVERIFY2(MessageBox::lastShown().text.startsWith(message),
                     qPrintable(MessageBox::lastShown().text));
            QCOMPARE(MessageBox::lastShown().icon, MessageBox::Critical);
        }
    }

    void exportReplacesThePicture()
    {
        PicturesFixture fx;
        fx.open<frmThumbs>();
        fx.storePicture(7, PicturesFixture::picture(Qt::red, "png"), u"png"_s);
        const QString path = ItemPictures::exportItemPicture(7);
        QCOMPARE(QFileInfo(path).fileName(), u"7.png"_s);
        QCOMPARE(QImage(path).pixelColor(5, 5), QColor(Qt::red));
        fx.storePicture(7, PicturesFixture::picture(Qt::blue, "png", QSize(60, 20)), u"png"_s);
        QCOMPARE(ItemPictures::exportItemPicture(7), path);
        QCOMPARE(QImage(path).size(), QSize(60, 20));
        QCOMPARE(QImage(path).pixelColor(5, 5), QColor(Qt::blue));
        // Without a stored picture: the folder, with what was put there by hand left alone.
        fx.home().writeFile(u"pic/3/hand.bmp"_s, PicturesFixture::picture(Qt::green, "bmp"));
        const QString folder = ItemPictures::exportItemPicture(3);
        QVERIFY(folder.endsWith(QDir::separator()));
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{u"hand.bmp"_s});
    }

    void thumbnailsSkipBrokenFiles()
    {
        PicturesFixture fx;
        fx.home().writeFile(u"pics/B.bmp"_s,
                            PicturesFixture::picture(Qt::green, "bmp", QSize(800, 200)));
        fx.home().writeFile(u"pics/a.JPG"_s, PicturesFixture::picture(Qt::red, "jpg"));
        fx.home().writeFile(u"pics/c.png"_s, PicturesFixture::picture(Qt::blue, "png"));
        fx.home().writeFile(u"pics/broken.jpg"_s, QByteArray("\xff\xd8\xff\xe0 not a picture"));
        fx.home().writeFile(u"pics/notes.txt"_s, "roll notes");
        for (const char* metafile : {"pics/d.wmf", "pics/e.emf"}) // nothing here draws them
            fx.home().writeFile(QString::fromLatin1(metafile), QByteArray("\xd7\xcd\xc6\x9a", 4));
        auto& f = fx.open<frmThumbs>();
        MessageBox::setNextFileName(fx.home().file(u"pics"_s));
        QTest::mouseClick(f.tools[u"Browse"_s], Qt::LeftButton);
        QVERIFY(fx.waitForThumbnails());
        QCOMPARE(f.strip->count(), 3);
        QCOMPARE(f.sbrPanel1->text(), u"4 个文件"_s);
        QCOMPARE(f.strip->optThumb(0)->property("tag").toString(), u"a.JPG"_s);
        QCOMPARE(f.strip->optThumb(2)->property("tag").toString(), u"c.png"_s);
        QVERIFY(!f.progress->isVisible());
        // The first thumbnail is chosen and shown large; a touch chooses another.
        QCOMPARE(f.strip->selectedIndex(), 0);
        QVERIFY(f.sbrPanel2->text().endsWith(u"a.JPG"_s));
        QTest::mouseClick(f.strip->optThumb(1), Qt::LeftButton);
        QCOMPARE(f.strip->selectedIndex(), 1);
        // The large picture is read whole at its box's size, and again when the box grows.
        const QSize shown = QSize(800, 200).scaled(f.picBig->size(), Qt::KeepAspectRatio);
        QCOMPARE(f.picBig->image().size(), shown);
        QCOMPARE(f.picBig->image().pixelColor(shown.width() / 2, shown.height() / 2),
                 QColor(Qt::green));
        f.picBig->resize(900, 300);
        QCOMPARE(f.picBig->image().size(), QSize(800, 200));
        // A small picture keeps its size in the middle of its thumbnail box.
        QImage dot(10, 10, QImage::Format_RGB32);
        dot.fill(Qt::red);
        const QImage thumb = ItemPictures::thumbnail(dot, QSize(50, 50), Qt::white);
        QCOMPARE(thumb.pixelColor(18, 18), QColor(Qt::white));
        QCOMPARE(thumb.pixelColor(25, 25), QColor(Qt::red));
        // A folder that is gone is refused; the strip and the remembered folder stay.
        MessageBox::setNextFileName(fx.home().file(u"gone"_s));
        QTest::mouseClick(f.tools[u"Browse"_s], Qt::LeftButton);
        QCOMPARE(MessageBox::lastShown().kind, u"folder"_s);
        QCOMPARE(f.strip->count(), 3);
        QCOMPARE(mainProfile("Last Path"), fx.home().file(u"pics"_s));
    }

    void itemShowsItsPictureFolder()
    {
        PicturesFixture fx;
        fx.storePicture(7, PicturesFixture::picture(Qt::red, "png"), u"png"_s);
        fx.home().writeFile(u"pic/7/back.bmp"_s, PicturesFixture::picture(Qt::green, "bmp"));
        auto& f = fx.open<frmThumbs>();
        QTest::keyClicks(f.barcode, u"T07"_s);
        QTest::mouseClick(f.Command1, Qt::LeftButton);
        QVERIFY(fx.waitForThumbnails());
        QCOMPARE(f.strip->count(), 2);
        QCOMPARE(f.txtUser[ThumbsField::Composition]->text(), u"100%棉"_s);
        QVERIFY(f.picBig->property("tag").toString().endsWith(u"7.png"_s));
    }

    void slideShowStepsDown()
    {
        PicturesFixture fx;
        auto& f = fx.open<frmThumbs>();
        f.showItem(7);
        QCOMPARE(f.Timer1->interval(), 6000);
        f.Timer1->setInterval(20);
        QStringList shown;
        connect(f.txtUser[ThumbsField::Code], &QLineEdit::textChanged, this,
                [&shown](const QString& code) { shown << code; });
        QTest::mouseClick(f.autoPlay, Qt::LeftButton);
        QVERIFY(f.autoPlay->isChecked());
        QVERIFY(!f.txtUser[ThumbsField::Name]->isVisible()); // the picture takes the item data's place
        // Down to the lowest, then again from the highest, past the stopped item without a word.
        MessageBox::clearShown();
        QTRY_VERIFY(shown.size() >= 3);
        QCOMPARE(shown.mid(0, 3), (QStringList{"T03", "T12", "T07"}));
        QVERIFY(MessageBox::shown().isEmpty());
        QTest::mouseClick(f.autoPlay, Qt::LeftButton);
        QVERIFY(!f.Timer1->isActive());
        QVERIFY(f.txtUser[ThumbsField::Name]->isVisible());
    }

    void printsTheItemLabel_data()
    {
        QTest::addColumn<qint64>("item");
        QTest::addColumn<bool>("templatePresent");
        QTest::addColumn<bool>("printed");
        QTest::newRow("item shown") << qint64(7) << true << true;
        QTest::newRow("no item") << qint64(0) << true << false;
        QTest::newRow("template missing") << qint64(7) << false << false;
    }
    void printsTheItemLabel()
    {
        QFETCH(qint64, item);
        QFETCH(bool, templatePresent);
        PicturesFixture fx;
        const QString pdf = fx.home().file(u"label.pdf"_s);
        if (templatePresent)
            fx.home().writeFile(
                u"打印/商品/条形码.grf"_s,
                "[report]\npage = 60 x 40\n[parameter]\nname = 单据ID\ntype = number\ndefault = 0\n"
                "[parameter]\nname = 默认打印机\ntype = text\ndefault = " +
                    pdf.toUtf8() +
                    "\n[detail]\nquery = select itemcode as 编码 from item where itemid = "
                    "[#单据ID#]\n"
                    "[text]\nat = 1 1 50 8\ntext = [编码]\n");
        auto& f = fx.open<frmThumbs>();
        if (item > 0)
            f.showItem(item);
        MessageBox::clearShown();
        QTest::mouseClick(f.butFlow[ThumbsCmd::Print], Qt::LeftButton);
        QTEST(QFileInfo::exists(pdf), "printed");
        const bool failed = !MessageBox::shown().isEmpty() &&
                            MessageBox::lastShown().text.startsWith(u"PrintBill发生错误"_s);
        QCOMPARE(failed, item > 0 && !templatePresent);
    }

    void windowStateRemembered()
    {
        PicturesFixture fx;
        {
            auto& f = fx.open<frmThumbs>();
            f.showItem(7);
            f.setGeometry(30, 40, 900, 700);
            f.close();
        }
        QCOMPARE(mainProfile("Maximized"), u"False"_s);
        QCOMPARE(mainProfile("ItemId"), u"7"_s);
        auto& again = fx.open<frmThumbs>();
        QCOMPARE(shownId(again), qint64(7)); // back on the item of last time
        const QStringList pos = mainProfile("Window Position").split(u", "_s);
        QCOMPARE(pos.size(), 4);
        QCOMPARE(pos[2].toInt(), 900 * 15);
        // Started while the database is away: the failed connection is said once, and the item
        // of last time comes up when the database answers.
        again.close();
        Database::conn().close();
        const QString db = fx.home().file(u"mirel.db"_s);
        QVERIFY(QFile::rename(db, db + u".away"_s));
        MessageBox::clearShown();
        auto& away = fx.open<frmThumbs>();
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(shownId(away), qint64(0));
        QVERIFY(QFile::rename(db + u".away"_s, db));
        Journal::retryNow();
        QTRY_COMPARE(shownId(away), qint64(7));
    }

    void fabricFillsThePolygon_data()
    {
        QTest::addColumn<int>("bytes");
        QTest::addColumn<bool>("filled");
        QTest::newRow("704 bytes") << 704 << true;
        QTest::newRow("cut short") << 703 << false;
        QTest::newRow("no file") << 0 << false;
    }
    void fabricFillsThePolygon()
    {
        QFETCH(int, bytes);
        QFETCH(bool, filled);
        PicturesFixture fx;
        fx.home().writeFile(u"3d/shirt.bmp"_s, outlinePicture());
        if (bytes > 0)
            fx.home().writeFile(u"3d/shirt.bmp.ovx"_s, polygonBytes(bytes));
        fx.storePicture(7, PicturesFixture::picture(QColor(200, 30, 40), "png"), u"png"_s);
        auto& f = fx.open<frmQuick3D>();
        QCOMPARE(f.strip->count(), 1); // the default folder of outlines
        QVERIFY(f.showItem(7));
        const QImage& canvas = f.picBig->image();
        QCOMPARE(canvas.size(), QSize(320, 320));
        const QColor fabric(200, 30, 40);
        const QColor paper(Qt::white);
        QCOMPARE(canvas.pixelColor(190, 190), filled ? fabric : paper);
        QCOMPARE(canvas.pixelColor(125, 250), filled ? fabric : paper);
        for (const QPoint outside :
             {QPoint(110, 190), QPoint(270, 190), QPoint(190, 300), QPoint(275, 281)})
            QCOMPARE(canvas.pixelColor(outside), paper);
        // The swatch shows the fabric in the corner whenever the fabric could be read.
        QCOMPARE(canvas.pixelColor(50, 50), fabric);
        if (!filled && bytes > 0)
            QVERIFY(f.sbrPanel1->text().contains(u"703"_s));
    }

    void anotherItemRedrawsTheSameOutline()
    {
        PicturesFixture fx;
        fx.home().writeFile(u"3d/a.bmp"_s, outlinePicture());
        fx.home().writeFile(u"3d/b.bmp"_s, outlinePicture());
        fx.home().writeFile(u"3d/b.bmp.ovx"_s, polygonBytes());
        fx.storePicture(7, PicturesFixture::picture(Qt::red, "png"), u"png"_s);
        fx.storePicture(3, PicturesFixture::picture(Qt::blue, "bmp"), u"bmp"_s);
        auto& f = fx.open<frmQuick3D>();
        QTest::mouseClick(f.strip->optThumb(1), Qt::LeftButton);
        f.showItem(7);
        QCOMPARE(f.picBig->image().pixelColor(190, 190), QColor(Qt::red));
        QTest::mouseClick(f.butFlow[ThumbsCmd::Next], Qt::LeftButton); // 后个: item 3
        QCOMPARE(f.strip->selectedIndex(), 1);
        QCOMPARE(f.picBig->image().pixelColor(190, 190), QColor(Qt::blue));
    }

    void showMeStartsTheSlideShowOnTheItem()
    {
        PicturesFixture fx;
        auto& f = fx.open<frmQuick3D>();
        f.showMe(7);
        QVERIFY(f.autoPlay->isChecked());
        QCOMPARE(f.txtUser[ThumbsField::Name]->property("tag").toString(), u"7"_s);
        QCOMPARE(f.txtUser[ThumbsField::Code]->text(), u"T07"_s);
    }

    // The screen mode switches as in the item browser; a drawing is shown whole in a small
    // window too, and the window opens at the panel's size the first time.
    void drawingsWholeInTheWindow_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("Qt's first size") << QSize(640, 480);
        QTest::newRow("panel") << QSize(1024, 768);
    }
    void drawingsWholeInTheWindow()
    {
        QFETCH(QSize, size);
        PicturesFixture fx;
        fx.home().writeFile(u"3d/coat.bmp"_s,
                            PicturesFixture::picture(Qt::white, "bmp", {440, 420}));
        auto& f = fx.open<frmQuick3D>();
        QTest::mouseDClick(f.frameSearch, Qt::LeftButton);
        QVERIFY(ScreenMode::isFullScreen(&f));
        QTest::mouseClick(f.Check1, Qt::LeftButton);
        QVERIFY(!ScreenMode::isFullScreen(&f));
        f.resize(size);
        QTRY_COMPARE(f.size(), size);
        const QRect shown = f.picBig->pictureRect();
        QVERIFY2(f.picBig->rect().contains(shown),
                 qPrintable(u"%1x%2"_s.arg(shown.width()).arg(shown.height())));
        QVERIFY(qAbs(shown.width() * 420 - shown.height() * 440) <= 440);
        frmQuick3D fresh;
        fresh.Form_Load();
        QCOMPARE(fresh.size(), QSize(1024, 768));
    }

    // The item browser's last folder (here its default, the stand-in of C:\) is not the outline
    // window's: that one keeps to its outlines.
    void lastFolderOfItsOwn()
    {
        PicturesFixture fx;
        fx.home().writeFile(u"3d/shirt.bmp"_s, outlinePicture());
        fx.home().writeFile(u"c/orvex.bmp"_s, outlinePicture());
        fx.open<frmThumbs>().close();
        QCOMPARE(basThumbs::readProfile(u"Main"_s, u"Last Path"_s, QString()), u"C:\\"_s);
        auto& f = fx.open<frmQuick3D>();
        QCOMPARE(f.strip->count(), 1);
        QCOMPARE(f.strip->optThumb(0)->property("tag").toString(), u"shirt.bmp"_s);
    }
};

QTEST_MAIN(TestFrmThumbs)
#include "TestFrmThumbs.moc"
