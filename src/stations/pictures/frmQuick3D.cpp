// The outline variant of the picture browser.
#include "stations/pictures/frmQuick3D.h"

#include "config/ProgramFolder.h"
#include "stations/pictures/FabricOutline.h"
#include "stations/pictures/ItemPictures.h"
#include "stations/pictures/PictureBox.h"
#include "stations/pictures/ThumbStrip.h"
#include "stations/pictures/ThumbsFields.h"

#include <QCheckBox>
#include <QDir>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

frmQuick3D::frmQuick3D(QWidget* parent) : frmThumbs(parent)
{
    setObjectName(u"frmQuick3D"_s);
    setWindowTitle(u"3D商品图片"_s);
}

QString frmQuick3D::defaultLastPath() const
{
    return ProgramFolder::file(u"\\3d"_s);
}

QString frmQuick3D::lastPathKey() const
{
    return u"Last Path 3D"_s;
}

void frmQuick3D::showMe(int n)
{
    autoPlay->setChecked(true);
    butFlow[ThumbsCmd::Previous]->click();
    showItem(n);
}

void frmQuick3D::itemShown()
{
    // The same outline again, now with the new item's fabric.
    strip->select(strip->selectedIndex());
}

void frmQuick3D::thumbnailSelected(const QString& fileName)
{
    const QString outline = noteSelection(fileName);
    if (fileName.isEmpty()) {
        picBig->clear();
        return;
    }
    drawFabric(outline, picBig->property("tag").toString());
}

void frmQuick3D::drawFabric(const QString& outlinePath, const QString& fabricPath)
{
    picBig->loadPicture(outlinePath);
    if (!fabricPath.isEmpty())
        fill(FabricOutline::polygonFile(outlinePath), fabricPath, true);
}

void frmQuick3D::editPicture()
{
    const QString file = selectedFile();
    if (file.isEmpty())
        return;
    const QString outline = QDir(thumbFolder()).filePath(file);
    picBig->loadPicture(outline);
    fill(FabricOutline::editPolygonFile(outline), ItemPictures::localPath(u"C:\\orvex.bmp"_s),
         false);
}

void frmQuick3D::fill(const QString& polygonPath, const QString& fabricPath, bool swatch)
{
    QImageReader reader(fabricPath);
    const QImage fabric = reader.read();
    if (fabric.isNull())
        return; // an item without a stored picture: the outline stays empty
    QString error;
    const QPolygonF polygon = FabricOutline::readPolygon(polygonPath, &error);
    if (!error.isEmpty())
        sbrPanel1->setText(error);
    FabricOutline::fillOutline(picBig->canvas(), polygon, FabricOutline::fabricTexture(fabric),
                               swatch);
    picBig->update();
}
