// A program folder with items (one stopped, two with stored pictures) on the embedded database,
// picture files made on the spot, and a browser window loaded on it.
#pragma once

#include "stations/pictures/frmThumbs.h"
#include "support/station/StationFixture.h"

#include <QColor>
#include <QImage>
#include <memory>

class PicturesFixture : public StationFixture<frmThumbs> {
public:
    PicturesFixture();

    /// Creates, loads and shows the window (frmThumbs or frmQuick3D) at 1024 x 768.
    template <typename Form>
    Form& open()
    {
        auto* f = new Form;
        load(std::unique_ptr<frmThumbs>(f));
        showAndBuild();
        return *f;
    }
    /// A picture of one colour in the given format ("png", "bmp", "jpg").
    static QByteArray picture(const QColor& colour, const char* format, QSize size = QSize(40, 30));
    /// Stores a picture as item id's picture.
    void storePicture(qint64 id, const QByteArray& bytes, const QString& ext);
    /// Waits until the window's thumbnails are built.
    bool waitForThumbnails();

private:
    void showAndBuild();
};
