// The item picture browser: one item of the item table with its data, its stored picture large
// and a strip of thumbnails of a picture folder; stepping through items, a slide show, item
// labels. frmQuick3D varies it through the hooks below.
#pragma once

#include <QMap>
#include <QWidget>

#include <array>

class PictureBox;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTimer;
class QToolButton;
class ThumbStrip;
class ThumbnailBuilder;

class frmThumbs : public QWidget {
    Q_OBJECT
public:
    explicit frmThumbs(QWidget* parent = nullptr);
    ~frmThumbs() override;

    /// Window position and state from the executable's ini, the database, per-customer captions.
    void Form_Load();
    /// What the first activation does: the thumbnails of "Last Path", then full screen.
    void firstActivation();

    /// Finds the item in use with this code and shows it; "没有这个样品编码" otherwise.
    void findItemByCode(const QString& code);
    /// Shows the item in use with this id; a missing or stopped item leaves the fields as they
    /// were and says "没有这个样品编码" (unless quiet). True when shown.
    bool showItem(qint64 id, bool quiet = false);
    /// The next item id from id, upward (前个) or downward (后个), wrapping at the ends.
    qint64 stepItem(qint64 id, bool upward);
    /// Lists the picture files of the folder and starts drawing their thumbnails.
    void buildThumbnails();
    /// Prints the item label with a template of "打印/商品" (directly or in the preview).
    void PrintBill(const QString& templateName, qint64 id, bool preview);
    /// "Browse": a folder chosen in the dialog (or given, without the dialog) becomes the
    /// thumbnail folder and "Last Path". False when it cannot be opened.
    bool browseFolder(const QString& chosen = QString());
    /// The operator's commands: 0 前个, 1 后个, 2 打印, 3 ↓ (the template menu).
    void runFlow(int index);
    /// The thumbnail folder (the hidden file list's path).
    QString thumbFolder() const { return m_folder; }
    void setThumbFolder(const QString& folder) { m_folder = folder; }
    /// The id of the item shown, 0 when none.
    qint64 currentItemId() const;
    /// The item label template chosen last.
    static QString itemTemplate();

    // Controls under their names.
    QFrame* frameSearch = nullptr;
    QLabel* labBarcode = nullptr;
    QLineEdit* barcode = nullptr;
    QPushButton* Command1 = nullptr;
    std::array<QPushButton*, 4> butFlow{};
    QCheckBox* autoPlay = nullptr;
    QCheckBox* autoPrint = nullptr;
    QCheckBox* isPrintreview = nullptr;
    QCheckBox* Check1 = nullptr;
    QMap<int, QLineEdit*> txtUser;
    QMap<int, QLabel*> labUser;
    PictureBox* picBig = nullptr;
    ThumbStrip* strip = nullptr;
    QStatusBar* sbrMain = nullptr;
    QLabel* sbrPanel1 = nullptr;
    QLabel* sbrPanel2 = nullptr;
    QProgressBar* progress = nullptr;
    QMap<QString, QToolButton*> tools;
    QTimer* Timer1 = nullptr;
    QMenu* Modle1 = nullptr;
    ThumbnailBuilder* builder = nullptr;

signals:
    /// The thumbnails of the folder are all drawn and the first one is selected.
    void thumbnailsBuilt();

protected:
    // --- hooks of the variants ---
    /// After an item was shown: the browser shows the pictures of the item's folder.
    virtual void itemShown();
    /// A thumbnail was chosen: the browser shows the picture large.
    virtual void thumbnailSelected(const QString& fileName);
    /// "Edit" and double clicks: the browser opens the picture with the system's viewer.
    virtual void editPicture();
    /// The thumbnail folder when no "Last Path" is stored.
    virtual QString defaultLastPath() const;
    /// The key of the last folder in the ini: the browsers share the file but not the folder.
    virtual QString lastPathKey() const;

    /// Lays the controls out for the window's size (the picture wide while the slide show runs).
    void layoutForm();
    QString selectedFile() const { return m_selectedFile; }
    /// Takes a chosen thumbnail as the current file and names it in the status bar; its path.
    QString noteSelection(const QString& fileName);

    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// Double click on the search frame and "退出全屏": full screen and back.
    void toggleScreenMode();
    void buildControls();
    void buildItemFields();
    void buildToolButtons();
    void connectControls();
    void applyDbInfoCaptions();
    void restoreWindowState();
    void storeWindowState();
    void fillTemplateMenu();
    void thumbsFinished();
    void slideTick();
    void printCurrent();

    QString m_folder;
    QString m_selectedFile;
    qint64 m_rememberedItem = 0;
    bool m_activated = false;
    bool m_connected = false; ///< the start found the database
};
