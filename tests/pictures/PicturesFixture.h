// A program folder with items (one stopped, two with stored pictures) on the embedded database,
// picture files made on the spot, and a browser window loaded on it.
#pragma once

#include "support/TempProgramFolder.h"

#include <QColor>
#include <QImage>
#include <memory>

class frmThumbs;

class PicturesFixture {
public:
    PicturesFixture();
    ~PicturesFixture();

    /// Creates, loads and shows the window (frmThumbs or frmQuick3D) at 1024 x 768.
    template <typename Form>
    Form& open()
    {
        auto* f = new Form;
        m_form.reset(f);
        prepare();
        return *f;
    }
    TempProgramFolder& home() { return m_home; }
    void exec(const QString& sql);
    /// A picture of one colour in the given format ("png", "bmp", "jpg").
    static QByteArray picture(const QColor& colour, const char* format, QSize size = QSize(40, 30));
    /// Stores a picture as item id's picture.
    void storePicture(qint64 id, const QByteArray& bytes, const QString& ext);
    /// Waits until the window's thumbnails are built.
    bool waitForThumbnails();

private:
    void prepare();
    TempProgramFolder m_home;
    std::unique_ptr<frmThumbs> m_form;
};
