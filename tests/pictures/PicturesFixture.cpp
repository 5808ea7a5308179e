// Picture browser fixture on a temporary embedded database.
#include "PicturesFixture.h"

#include "shell/Profile.h"
#include "stations/pictures/ThumbStrip.h"
#include "stations/pictures/ThumbnailBuilder.h"

#include <QBuffer>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

PicturesFixture::PicturesFixture()
{
    // The browsers keep a trial window of this size instead of going full screen.
    qputenv("MIREL_WINDOW_SIZE", "1024x768");
    useDatabase();
    // The browsers' ini is named once per process, so a test starts by forgetting what the one
    // before it stored there.
    basThumbs::writeProfile(u"Main"_s, QString(), QString());
    seed({
        "insert into item(itemid,itemcode,itemname,itemspec,item1,isstop) values(3,'T03','涤棉府绸','45x45','65%涤 35%棉',0)",
        "insert into item(itemid,itemcode,itemname,itemspec,item1,isstop) values(7,'T07','全棉斜纹','21x21','100%棉',0)",
        "insert into item(itemid,itemcode,itemname,isstop) values(9,'T09','停用春亚纺',1)",
        "insert into item(itemid,itemcode,itemname,isstop) values(12,'T12','天丝弹力缎',0)",
    });
}

void PicturesFixture::showAndBuild()
{
    m_form->show();
    if (!QTest::qWaitForWindowExposed(m_form.get()))
        qWarning("browser window not exposed");
    m_form->firstActivation();
    waitForThumbnails();
}

QByteArray PicturesFixture::picture(const QColor& colour, const char* format, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

void PicturesFixture::storePicture(qint64 id, const QByteArray& bytes, const QString& ext)
{
    exec(u"update item set pic=0x%1, picName='%2' where itemid=%3"_s
             .arg(QString::fromLatin1(bytes.toHex()), ext)
             .arg(id));
}

bool PicturesFixture::waitForThumbnails()
{
    if (!m_form->builder->isRunning() && !m_form->strip->isFilling())
        return true;
    QSignalSpy built(m_form.get(), &frmThumbs::thumbnailsBuilt);
    return built.wait(20000);
}
