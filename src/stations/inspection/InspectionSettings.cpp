#include "stations/inspection/InspectionSettings.h"

#include "config/MirelIni.h"
#include "stations/inspection/CheckGrading.h"
#include "text/Vb.h"

using namespace Qt::StringLiterals;

InspectionSettings InspectionSettings::read(const QString& defaultCodeType, const QString& layoutKey)
{
    InspectionSettings s;
    const auto text = [](const QString& key, const QString& def) { return readMirel(key, def); };
    const auto one = [](const QString& key, const QString& def) { return readMirel(key, def) == u"1"; };
    const auto flag = [](const QString& key) { return CheckGrading::settingIsTrue(readMirel(key, u"0"_s)); };
    const auto number = [](const QString& key, const QString& def) { return vb::Val(readMirel(key, def)); };

    s.machineId = text(u"menchineId"_s, s.machineId);
    s.dispFormat = text(u"dispFormat"_s, s.dispFormat);
    s.codeLen = text(u"codeLen"_s, s.codeLen);
    s.codeDesc = text(u"codeDESC"_s, s.codeDesc);
    s.codeType = text(u"codetype"_s, defaultCodeType);
    s.clearQuantity = one(u"dingma"_s, u"1"_s);
    s.quantityFormula = text(u"dingmaFormula"_s, QString());
    s.clearPlusMinus = one(u"jiajian"_s, u"1"_s);
    s.postToStock = one(u"Save2Store"_s, u"0"_s);
    s.mayChangeSaved = one(u"DelCheck"_s, u"1"_s);
    const QString relation = text(u"RelationBill"_s, u"0"_s);
    s.cardOptional = relation == u"1" || relation.compare(u"true", Qt::CaseInsensitive) == 0;
    s.requiredFields = text(u"requireTxtbox"_s, QString());
    s.grades = text(u"grade"_s, QString());
    s.defects = text(u"bugs"_s, QString());
    s.scoring = text(u"USASTANDARD"_s, s.scoring).toUpper();
    s.autoGrade = flag(u"autoGrade"_s);
    s.longDefects = flag(u"LongDefects"_s);
    s.capPerUnit = flag(u"CapPerUnit"_s);
    s.longDefectReject = number(u"LongDefectReject"_s, u"0"_s);
    const double window = number(u"AlertWindow"_s, u"10"_s);
    s.alertWindow = window > 0 ? window : 10;
    s.alertPoints = number(u"AlertPoints"_s, u"0"_s);
    s.capacityLessDefects = text(u"capacitySumtype"_s, u"true"_s) == u"true";
    s.keypadOnTextFields = text(u"KeyBoardValidate"_s, u"false"_s) != u"false";
    s.pages = number(u"Pages"_s, u"1"_s);
    s.billTypes = text(u"showBilltype"_s, s.billTypes);
    s.ratioA = text(u"BiliA"_s, s.ratioA);
    s.ratioB = text(u"BiliB"_s, s.ratioB);
    s.hangingMarks = flag(u"isguama"_s);
    s.defectFrameTop = text(u"BugFrame5.Top"_s, QString());
    s.defectFrameHeight = text(u"BugFrame5.Height"_s, QString());
    s.layout = text(layoutKey, QString());
    s.saveButton = one(u"SaveLabel"_s, u"1"_s);
    s.printButton = one(u"PrintLabel"_s, u"1"_s);
    s.templateButton = one(u"SelectLabel"_s, u"1"_s);
    s.markButton = one(u"PrintLabel2"_s, u"1"_s);
    s.newRollButton = one(u"TransLabel"_s, u"1"_s);
    s.stepButtons = one(u"NextLabel"_s, u"1"_s);
    s.itemAutoSave = one(u"itemAutoSave"_s, u"0"_s);
    s.batchPattern = text(u"批次号构成"_s, QString());
    s.tareBoxField = text(u"TareBoxField"_s, QString()).trimmed();
    s.tareConeField = text(u"TareConeField"_s, QString()).trimmed();
    s.camera = text(u"Camera"_s, QString()).trimmed();
    s.cameraWindow = qMax(0, int(number(u"CameraWindow"_s, QString::number(s.cameraWindow))));
    s.photoFolder = text(u"PhotoFolder"_s, QString()).trimmed();
    s.photoKeepDays = qMax(0, int(number(u"PhotoKeepDays"_s, QString::number(s.photoKeepDays))));
    return s;
}
