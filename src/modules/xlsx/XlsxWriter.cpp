// Writes lists (the roll labels, the quality tables) to a real .xlsx file with libxlsxwriter, in
// the spreadsheet module: libxlsxwriter with its zip and crypto libraries is loaded on the first
// export, not at every station's start.
#include "sheet/SheetFile.h"
#include "sheet/SheetReaders.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryFile>
#include <xlsxwriter.h>

#include <cmath>

using namespace Qt::StringLiterals;

namespace sheet {

namespace {

constexpr qsizetype maxCellBytes = 32767; // the longest text a worksheet cell holds

bool setError(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

bool isNumber(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        return true;
    default:
        return false;
    }
}

// By name: the program and this module each hold their own record of the type.
bool isFormatted(const QVariant& v)
{
    return v.metaType().name() == QByteArrayView("sheet::FormattedNumber");
}

bool isDate(const QVariant& v)
{
    if (v.typeId() == QMetaType::QDate)
        return v.toDate().isValid() && v.toDate().year() >= 1900;
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().isValid() && v.toDateTime().date().year() >= 1900;
    return false;
}

// Width in characters, a Chinese character counting as two.
int displayWidth(const QString& s)
{
    int w = 0;
    for (QChar c : s)
        w += c.unicode() >= 0x2E80 ? 2 : 1;
    return w;
}

// Checks the limits of a worksheet before anything is written, so that a table that does not
// fit leaves no half-written file behind.
bool fits(const SheetTable& table, QString* error)
{
    if (table.rows.size() + 1 > LXW_ROW_MAX)
        return setError(error, u"行数太多，一个工作表最多 %1 行"_s.arg(LXW_ROW_MAX));
    qsizetype columns = table.header.size();
    for (const QVariantList& row : table.rows)
        columns = std::max(columns, row.size());
    if (columns > LXW_COL_MAX)
        return setError(error, u"列数太多，一个工作表最多 %1 列"_s.arg(LXW_COL_MAX));
    for (qsizetype r = 0; r < table.rows.size(); ++r) {
        for (qsizetype c = 0; c < table.rows[r].size(); ++c) {
            const QVariant& v = table.rows[r][c];
            if (!isNumber(v) && !isDate(v) && !isFormatted(v) &&
                v.toString().toUtf8().size() > maxCellBytes)
                return setError(error, u"第 %1 行第 %2 列的文字太长"_s.arg(r + 2).arg(c + 1));
        }
    }
    return true;
}

class Writer {
public:
    explicit Writer(const char* file) : wb_(workbook_new(file))
    {
        if (!wb_)
            return;
        bold_ = workbook_add_format(wb_);
        format_set_bold(bold_);
        date_ = workbook_add_format(wb_);
        format_set_num_format(date_, "yyyy-mm-dd");
        dateTime_ = workbook_add_format(wb_);
        format_set_num_format(dateTime_, "yyyy-mm-dd hh:mm:ss");
    }
    bool ok() const { return wb_ != nullptr; }

    bool write(const QString& sheetName, const SheetTable& table)
    {
        // Worksheet names are at most 31 characters and unique; the library refuses others.
        const QByteArray name = sheetName.left(31).toUtf8();
        ws_ = workbook_add_worksheet(wb_, sheetName.isEmpty() ? nullptr : name.constData());
        if (!ws_)
            return false;
        for (qsizetype c = 0; c < table.header.size(); ++c)
            text(0, c, table.header[c], bold_);
        worksheet_freeze_panes(ws_, 1, 0);
        for (qsizetype r = 0; r < table.rows.size(); ++r) {
            for (qsizetype c = 0; c < table.rows[r].size(); ++c)
                cell(r + 1, c, table.rows[r][c]);
        }
        setWidths(table);
        return true;
    }

    /// Writes the file; returns libxlsxwriter's result.
    lxw_error close()
    {
        lxw_error e = workbook_close(wb_);
        wb_ = nullptr;
        return e;
    }

    ~Writer()
    {
        if (wb_)
            workbook_close(wb_);
    }

private:
    void text(qsizetype r, qsizetype c, const QString& s, lxw_format* f = nullptr)
    {
        worksheet_write_string(ws_, lxw_row_t(r), lxw_col_t(c), s.toUtf8().constData(), f);
    }

    void cell(qsizetype r, qsizetype c, const QVariant& v)
    {
        if (v.isNull() || !v.isValid())
            return;
        if (v.typeId() == QMetaType::Bool) {
            worksheet_write_boolean(ws_, lxw_row_t(r), lxw_col_t(c), v.toBool(), nullptr);
        } else if (isNumber(v)) {
            // NaN or infinity has no place in a worksheet: the cell stays empty.
            if (std::isfinite(v.toDouble()))
                worksheet_write_number(ws_, lxw_row_t(r), lxw_col_t(c), v.toDouble(), nullptr);
        } else if (isFormatted(v)) {
            const FormattedNumber& n = *static_cast<const FormattedNumber*>(v.constData());
            if (std::isfinite(n.value))
                worksheet_write_number(ws_, lxw_row_t(r), lxw_col_t(c), n.value,
                                       numberFormat(n.format));
        } else if (isDate(v)) {
            const QDateTime t =
                v.typeId() == QMetaType::QDate ? v.toDate().startOfDay() : v.toDateTime();
            lxw_datetime d{t.date().year(), t.date().month(),  t.date().day(),
                           t.time().hour(), t.time().minute(), double(t.time().second())};
            worksheet_write_datetime(ws_, lxw_row_t(r), lxw_col_t(c), &d,
                                     v.typeId() == QMetaType::QDate ? date_ : dateTime_);
        } else {
            text(r, c, v.toString());
        }
    }

    // One format per format text: the workbook keeps every format it was given.
    lxw_format* numberFormat(const QString& text)
    {
        lxw_format*& f = numberFormats_[text];
        if (!f) {
            f = workbook_add_format(wb_);
            format_set_num_format(f, text.toUtf8().constData());
        }
        return f;
    }

    void setWidths(const SheetTable& table)
    {
        QList<int> widths;
        auto widen = [&widths](qsizetype c, int w) {
            if (widths.size() <= c)
                widths.resize(c + 1, 8);
            widths[c] = std::min(50, std::max(widths[c], w + 2));
        };
        for (qsizetype c = 0; c < table.header.size(); ++c)
            widen(c, displayWidth(table.header[c]));
        for (const QVariantList& row : table.rows) {
            for (qsizetype c = 0; c < row.size(); ++c)
                widen(c, isDate(row[c])        ? 19
                         : isFormatted(row[c]) ? 12
                                               : displayWidth(row[c].toString()));
        }
        for (qsizetype c = 0; c < widths.size(); ++c)
            worksheet_set_column(ws_, lxw_col_t(c), lxw_col_t(c), widths[c], nullptr);
    }

    lxw_workbook* wb_ = nullptr;
    lxw_worksheet* ws_ = nullptr;
    lxw_format* bold_ = nullptr;
    lxw_format* date_ = nullptr;
    lxw_format* dateTime_ = nullptr;
    QHash<QString, lxw_format*> numberFormats_;
};

QString cannotWrite(const QString& path, const QString& reason)
{
    return detail::unwritable(path, reason);
}

bool writeSheets(const QString& path, const QList<NamedSheet>& sheets, QString* error)
{
    for (const auto& [name, table] : sheets) {
        if (!fits(table, error))
            return false;
    }
    // Written beside the target first, so that a failure leaves an existing file untouched.
    const QFileInfo target(path);
    QTemporaryFile temp(target.absolutePath() + u"/.mirel-export-XXXXXX.xlsx"_s);
    if (!temp.open())
        return setError(error, cannotWrite(path, temp.errorString()));
    temp.close();
    Writer writer(QFile::encodeName(temp.fileName()).constData());
    if (!writer.ok())
        return setError(error, cannotWrite(path, u"内存不足"_s));
    for (const auto& [name, table] : sheets) {
        if (!writer.write(name, table))
            return setError(error, cannotWrite(path, u"工作表名称无效："_s + name));
    }
    const lxw_error rc = writer.close();
    if (rc != LXW_NO_ERROR)
        return setError(error, cannotWrite(path, QString::fromUtf8(lxw_strerror(rc))));
    if (QFile::exists(path) && !QFile::remove(path))
        return setError(error, cannotWrite(path, u"文件正在使用或没有权限"_s));
    if (!temp.rename(path))
        return setError(error, cannotWrite(path, temp.errorString()));
    temp.setAutoRemove(false);
    return true;
}

} // namespace

} // namespace sheet

extern "C" Q_DECL_EXPORT bool
mirel_write_xlsx(const QString* path, const QList<sheet::NamedSheet>* sheets, QString* error)
{
    return sheet::writeSheets(*path, *sheets, error);
}
