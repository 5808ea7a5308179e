// Reads the first worksheet of an .xlsx file through liborcus's import interfaces: orcus parses
// the file and calls our small factory, sheet, shared-string and address classes. Built as a
// module of its own that the program loads on the first .xlsx import.
#include "sheet/SheetReaders.h"

#include <QFile>
#include <orcus/exception.hpp>
#include <orcus/orcus_xlsx.hpp>
#include <orcus/spreadsheet/import_interface.hpp>
#include <orcus/zip_archive.hpp>
#include <orcus/zip_archive_stream.hpp>

#include <memory>
#include <type_traits>
#include <vector>

using namespace Qt::StringLiterals;

namespace sheet::detail {

namespace {

namespace ss = orcus::spreadsheet;
namespace iface = orcus::spreadsheet::iface;

QString qs(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// The string table; rich-text runs are joined into one plain text.
class SharedStrings : public iface::import_shared_strings {
public:
    const QString& at(size_t i) const
    {
        static const QString none;
        return i < strings_.size() ? strings_[i] : none;
    }

    size_t append(std::string_view s) override
    {
        strings_.push_back(qs(s));
        return strings_.size() - 1;
    }
    size_t add(std::string_view s) override { return append(s); }
    void set_segment_font(size_t) override {}
    void set_segment_bold(bool) override {}
    void set_segment_italic(bool) override {}
    void set_segment_font_name(std::string_view) override {}
    void set_segment_font_size(double) override {}
    void set_segment_font_color(ss::color_elem_t, ss::color_elem_t, ss::color_elem_t,
                                ss::color_elem_t) override
    {
    }
    void append_segment(std::string_view s) override { segments_ += qs(s); }
    size_t commit_segments() override
    {
        strings_.push_back(segments_);
        segments_.clear();
        return strings_.size() - 1;
    }

private:
    std::vector<QString> strings_;
    QString segments_;
};

// The cached result of a formula cell is what Excel showed; the formula itself is not needed.
class FormulaResult : public iface::import_formula {
public:
    explicit FormulaResult(SheetGrid* grid) : grid_(grid) {}

    void set_position(ss::row_t row, ss::col_t col) override
    {
        row_ = row;
        col_ = col;
        value_ = QVariant();
    }
    void set_formula(ss::formula_grammar_t, std::string_view) override {}
    void set_shared_formula_index(size_t) override {}
    void set_result_string(std::string_view value) override { value_ = qs(value); }
    void set_result_value(double value) override { value_ = value; }
    void set_result_bool(bool value) override { value_ = value ? 1.0 : 0.0; }
    void set_result_empty() override { value_ = QVariant(); }
    void commit() override
    {
        if (grid_)
            grid_->setCell(row_ + 1, col_ + 1, value_);
    }

private:
    SheetGrid* grid_;
    ss::row_t row_ = 0;
    ss::col_t col_ = 0;
    QVariant value_;
};

// Receives the cells of one worksheet; only the first worksheet has a grid, the others are read
// and dropped.
class Sheet : public iface::import_sheet {
public:
    Sheet(SheetGrid* grid, const SharedStrings* strings)
        : grid_(grid), strings_(strings), formula_(grid)
    {
    }

    iface::import_formula* get_formula() override { return &formula_; }

    void set_auto(ss::row_t row, ss::col_t col, std::string_view s) override
    {
        bool number = false;
        const QString text = qs(s);
        const double x = text.toDouble(&number);
        put(row, col, number ? QVariant(x) : QVariant(text));
    }
    void set_string(ss::row_t row, ss::col_t col, ss::string_id_t sindex) override
    {
        put(row, col, strings_->at(sindex));
    }
    void set_value(ss::row_t row, ss::col_t col, double value) override { put(row, col, value); }
    void set_bool(ss::row_t row, ss::col_t col, bool value) override
    {
        put(row, col, value ? 1.0 : 0.0);
    }
    void set_date_time(ss::row_t row, ss::col_t col, int year, int month, int day, int hour,
                       int minute, double second) override
    {
        QString t = u"%1-%2-%3"_s.arg(year, 4, 10, QLatin1Char('0'))
                        .arg(month, 2, 10, QLatin1Char('0'))
                        .arg(day, 2, 10, QLatin1Char('0'));
        if (hour || minute || second > 0)
            t += u" %1:%2:%3"_s.arg(hour, 2, 10, QLatin1Char('0'))
                     .arg(minute, 2, 10, QLatin1Char('0'))
                     .arg(int(second), 2, 10, QLatin1Char('0'));
        put(row, col, t);
    }
    void set_format(ss::row_t, ss::col_t, size_t) override {}
    void set_format(ss::row_t, ss::col_t, ss::row_t, ss::col_t, size_t) override {}
    void fill_down_cells(ss::row_t src_row, ss::col_t src_col, ss::row_t range_size) override
    {
        if (!grid_)
            return;
        const QVariant v = grid_->cell(src_row + 1, src_col + 1);
        for (ss::row_t i = 1; i <= range_size; ++i)
            put(src_row + i, src_col, v);
    }
    ss::range_size_t get_sheet_size() const override { return {1048576, 16384}; }

private:
    void put(ss::row_t row, ss::col_t col, const QVariant& v)
    {
        if (grid_)
            grid_->setCell(row + 1, col + 1, v);
    }

    SheetGrid* grid_;
    const SharedStrings* strings_;
    FormulaResult formula_;
};

// "A1", "$B$12" and ranges "A1:C3", as the cell references inside the sheet files are written.
class A1Resolver : public iface::import_reference_resolver {
public:
    ss::src_address_t resolve_address(std::string_view address) override
    {
        ss::src_address_t a{0, 0, 0};
        size_t i = 0;
        if (i < address.size() && address[i] == '$')
            ++i;
        const size_t letters = i;
        int col = 0;
        for (; i < address.size() && std::isalpha(static_cast<unsigned char>(address[i])); ++i)
            col = col * 26 + (std::toupper(static_cast<unsigned char>(address[i])) - 'A' + 1);
        if (i == letters || col > 16384)
            throw orcus::invalid_arg_error("invalid cell address");
        if (i < address.size() && address[i] == '$')
            ++i;
        const size_t digits = i;
        long row = 0;
        for (; i < address.size() && std::isdigit(static_cast<unsigned char>(address[i])); ++i)
            row = row * 10 + (address[i] - '0');
        if (i == digits || i != address.size() || row < 1 || row > 1048576)
            throw orcus::invalid_arg_error("invalid cell address");
        a.row = ss::row_t(row - 1);
        a.column = ss::col_t(col - 1);
        return a;
    }

    ss::src_range_t resolve_range(std::string_view range) override
    {
        const size_t colon = range.find(':');
        if (colon == std::string_view::npos) {
            const ss::src_address_t a = resolve_address(range);
            return {a, a};
        }
        return {resolve_address(range.substr(0, colon)), resolve_address(range.substr(colon + 1))};
    }
};

class Factory : public iface::import_factory {
public:
    explicit Factory(SheetGrid* grid) : grid_(grid) {}

    iface::import_shared_strings* get_shared_strings() override { return &strings_; }
    iface::import_reference_resolver* get_reference_resolver(ss::formula_ref_context_t) override
    {
        return &resolver_;
    }
    iface::import_sheet* append_sheet(ss::sheet_t index, std::string_view name) override
    {
        sheets_.push_back(std::make_unique<Sheet>(index == 0 ? grid_ : nullptr, &strings_));
        names_.push_back(std::string(name));
        return sheets_.back().get();
    }
    iface::import_sheet* get_sheet(std::string_view name) override
    {
        for (size_t i = 0; i < names_.size(); ++i) {
            if (names_[i] == name)
                return sheets_[i].get();
        }
        return nullptr;
    }
    iface::import_sheet* get_sheet(ss::sheet_t index) override
    {
        return index >= 0 && size_t(index) < sheets_.size() ? sheets_[size_t(index)].get()
                                                            : nullptr;
    }
    void finalize() override {}

    size_t sheetCount() const { return sheets_.size(); }

private:
    SheetGrid* grid_;
    SharedStrings strings_;
    A1Resolver resolver_;
    std::vector<std::unique_ptr<Sheet>> sheets_;
    std::vector<std::string> names_;
};

// orcus reads shared strings only and passes over inline-string cells (t="inlineStr", written
// by some exporters that stream their rows). Such a file would come in with its text cells
// empty, so it is refused instead.
bool usesInlineStrings(const std::string& file)
{
    orcus::zip_archive_stream_fd stream(file.c_str());
    orcus::zip_archive archive(&stream);
    archive.load();
    const std::string_view folder = "xl/worksheets/";
    std::vector<unsigned char> buf;
    for (size_t i = 0; i < archive.get_file_entry_count(); ++i) {
        const std::string_view name = archive.get_file_entry_name(i);
        if (name.substr(0, folder.size()) != folder || !name.ends_with(".xml"))
            continue;
        buf.clear();
        if (!archive.read_file_entry(name, buf))
            continue;
        const std::string_view xml(reinterpret_cast<const char*>(buf.data()), buf.size());
        if (xml.find("inlineStr") != std::string_view::npos)
            return true;
    }
    return false;
}

bool readXlsxFile(const QString& path, SheetGrid* grid, QString* error)
{
    Factory factory(grid);
    const std::string file = QFile::encodeName(path).toStdString();
    try {
        if (usesInlineStrings(file)) {
            *error = unreadable(path, u"文件中有内联文字单元格，请用 Excel 另存为后再导入"_s);
            return false;
        }
        orcus::orcus_xlsx filter(&factory);
        filter.read_file(file);
    } catch (const std::exception& e) {
        // orcus's zip errors come without a text.
        const QString what = QString::fromLocal8Bit(e.what()).trimmed();
        *error = unreadable(path, what.isEmpty() ? damagedText() : what);
        return false;
    }
    if (factory.sheetCount() == 0) {
        *error = unreadable(path, u"没有工作表"_s);
        return false;
    }
    return true;
}

} // namespace

} // namespace sheet::detail

extern "C" Q_DECL_EXPORT bool mirel_read_xlsx(const QString* path, sheet::SheetGrid* grid,
                                              QString* error)
{
    static_assert(std::is_same_v<decltype(&mirel_read_xlsx), sheet::detail::ReadXlsxEntry>);
    return sheet::detail::readXlsxFile(*path, grid, error);
}
