// The item's fabric laid into outline drawings: the picture browser on a folder of garment
// outlines, each selected outline filled with the fabric of the item shown.
#pragma once

#include "stations/pictures/frmThumbs.h"

class frmQuick3D : public frmThumbs {
    Q_OBJECT
public:
    explicit frmQuick3D(QWidget* parent = nullptr);

    /// Starts the slide show, steps once, shows item n (the word "3d<n>").
    void showMe(int n);
    /// Loads the outline picture into the large picture and fills its polygon with the fabric
    /// picture; a swatch of the fabric goes into the top-left corner.
    void drawFabric(const QString& outlinePath, const QString& fabricPath);

protected:
    void itemShown() override;
    void thumbnailSelected(const QString& fileName) override;
    void editPicture() override;
    QString defaultLastPath() const override;
    /// "Last Path 3D": a folder of photographs chosen in the item browser is no outline folder.
    QString lastPathKey() const override;

private:
    void fill(const QString& polygonPath, const QString& fabricPath, bool swatch);
};
