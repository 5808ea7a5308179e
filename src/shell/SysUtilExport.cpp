// Recordset export to .xlsx.
#include "shell/SysUtilExport.h"

#include "shell/MessageBox.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace SysUtil {

sheet::SheetTable tableOf(const Recordset& rs)
{
    sheet::SheetTable table;
    table.header = rs.columns();
    for (const QList<DbValue>& row : rs.rows()) {
        QVariantList cells;
        cells.reserve(row.size());
        for (const DbValue& v : row)
            cells << (v.isNull() ? QVariant() : v.toVariant());
        table.rows << cells;
    }
    return table;
}

QString exportRecordset(const Recordset& rs, QWidget* parent)
{
    QString path =
        MessageBox::saveFileName(u"导出到 Excel"_s, u"Excel 工作簿 (*.xlsx)"_s, QString(), parent);
    if (path.isEmpty())
        return QString();
    // The file is an .xlsx whatever the operator typed, so Excel opens it without complaint.
    if (QFileInfo(path).suffix().compare(u"xlsx", Qt::CaseInsensitive) != 0)
        path += u".xlsx"_s;
    QString error;
    if (!sheet::writeXlsx(path, tableOf(rs), &error)) {
        MessageBox::critical(error, parent);
        return QString();
    }
    return path;
}

} // namespace SysUtil
