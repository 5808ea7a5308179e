// The inspection family's options from section [MIREL] of mirel.ini, each with its default written
// once. Read when the station loads and again when the settings panel saves; the rules and the
// window take their options from here, never from the file.
#pragma once

#include <QString>

using namespace Qt::StringLiterals;

struct InspectionSettings {
    QString machineId = u"001"_s;               // menchineId: the station number on every roll
    QString dispFormat = u"0.00"_s;             // quantity and weight format
    QString codeLen = u"000"_s;                 // roll number digits ("000" = 3)
    QString codeDesc = u"0"_s;                  // roll number rule: 0 = the database's next
    QString codeType;                           // roll number scope; the station's first by default
    bool clearQuantity = true;                  // dingma: quantity = formula of the weight
    QString quantityFormula;                    // dingmaFormula
    bool clearPlusMinus = true;                 // jiajian: 加减 back to 0 for a new roll
    bool postToStock = false;                   // Save2Store
    bool mayChangeSaved = true;                 // DelCheck: delete/modify saved rolls
    bool cardOptional = false;                  // RelationBill "1"/"true": 简易模式
    QString requiredFields;                     // requireTxtbox: "lab,txt;" items
    QString grades;                             // grade: the grade buttons
    QString defects;                            // bugs: the defect buttons
    QString scoring = u"关闭评分"_s;            // USASTANDARD, upper case
    bool autoGrade = false;
    bool longDefects = false;
    bool capPerUnit = false;
    double longDefectReject = 0;
    double alertWindow = 10;                    // metres of the section alert (> 0)
    double alertPoints = 0;
    bool capacityLessDefects = true;            // capacitySumtype: 产量 less the 产量 rows
    bool keypadOnTextFields = false;            // KeyBoardValidate
    double pages = 1;                           // Pages: label copies
    QString billTypes = u"55,57,99"_s;          // showBilltype
    QString ratioA = u"1"_s;                    // BiliA: counter factor expressions
    QString ratioB = u"1"_s;                    // BiliB
    bool hangingMarks = false;                  // isguama: the counter reads the weight field
    QString defectFrameTop;                     // BugFrame5.Top, "" = the station's own
    QString defectFrameHeight;                  // BugFrame5.Height
    QString layout;                             // the stored roll-form layout (layoutKey)
    // Command buttons the mill switched off (each "1" by default).
    bool saveButton = true, printButton = true, templateButton = true, markButton = true,
         newRollButton = true, stepButtons = true;
    bool itemAutoSave = false;                  // mark labels: an unknown article is added
    QString batchPattern;                       // fiber boxes: 批次号构成
    QString tareBoxField;                       // fiber boxes: TareBoxField, the article's 箱重 column
    QString tareConeField;                      // fiber boxes: TareConeField, its 筒重 column
    QString camera;                             // Camera: the defect pictures' source, "" = none
    int cameraWindow = 3;                       // CameraWindow: seconds from the touch (folder)
    QString photoFolder;                        // PhotoFolder: "" = 照片 in the program folder
    int photoKeepDays = 30;                     // PhotoKeepDays: files of deleted defects

    /// The options as mirel.ini holds them now; codeType and layout by the station's defaults.
    static InspectionSettings read(const QString& defaultCodeType, const QString& layoutKey);
};
