// Reads the first worksheet of an Excel 97-2003 file (.xls, .xlt) with FreeXL.
#include "sheet/SheetReaders.h"

#include <QFile>
#include <freexl.h>

using namespace Qt::StringLiterals;

namespace sheet::detail {

namespace {

// Closes the FreeXL handle on every path, also after a failed open (FreeXL asks for that).
struct XlsHandle {
    const void* h = nullptr;
    ~XlsHandle()
    {
        if (h)
            freexl_close(h);
    }
};

QVariant valueOf(const FreeXL_CellValue& c)
{
    switch (c.type) {
    case FREEXL_CELL_INT:
        return double(c.value.int_value);
    case FREEXL_CELL_DOUBLE:
        return c.value.double_value;
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
        return c.value.text_value ? QString::fromUtf8(c.value.text_value) : QString();
    default:
        return QVariant();
    }
}

QString freexlReason(int code)
{
    return u"%1，FreeXL 错误 %2"_s.arg(damagedText()).arg(code);
}

} // namespace

bool readXls(const QString& path, SheetGrid* grid, QString* error)
{
    XlsHandle xls;
    int rc = freexl_open(QFile::encodeName(path).constData(), &xls.h);
    unsigned int sheets = 0;
    if (rc == FREEXL_OK)
        rc = freexl_get_info(xls.h, FREEXL_BIFF_SHEET_COUNT, &sheets);
    if (rc != FREEXL_OK) {
        *error = unreadable(path, freexlReason(rc));
        return false;
    }
    if (sheets == 0) {
        *error = unreadable(path, u"没有工作表"_s);
        return false;
    }
    unsigned int rows = 0;
    unsigned short columns = 0;
    rc = freexl_select_active_worksheet(xls.h, 0);
    if (rc == FREEXL_OK)
        rc = freexl_worksheet_dimensions(xls.h, &rows, &columns);
    for (unsigned int r = 0; rc == FREEXL_OK && r < rows; ++r) {
        for (unsigned short c = 0; rc == FREEXL_OK && c < columns; ++c) {
            FreeXL_CellValue cell;
            rc = freexl_get_cell_value(xls.h, r, c, &cell);
            if (rc == FREEXL_OK)
                grid->setCell(int(r) + 1, int(c) + 1, valueOf(cell));
        }
    }
    if (rc != FREEXL_OK) {
        *error = unreadable(path, freexlReason(rc));
        return false;
    }
    return true;
}

} // namespace sheet::detail
