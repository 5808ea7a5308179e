// Recordset export to .xlsx.
#include "shell/SysUtilExport.h"

#include "shell/MessageBox.h"

#include <QFileInfo>

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
    QString path = MessageBox::saveFileName(QStringLiteral("导出到 Excel"),
                                            QStringLiteral("Excel 工作簿 (*.xlsx)"), QString(), parent);
    if (path.isEmpty())
        return QString();
    // The file is an .xlsx whatever the operator typed, so Excel opens it without complaint.
    if (QFileInfo(path).suffix().compare(u"xlsx", Qt::CaseInsensitive) != 0)
        path += QStringLiteral(".xlsx");
    QString error;
    if (!sheet::writeXlsx(path, tableOf(rs), &error)) {
        MessageBox::critical(error, parent);
        return QString();
    }
    return path;
}

} // namespace SysUtil
