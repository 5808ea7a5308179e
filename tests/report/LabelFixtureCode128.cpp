// Reading barcodes back from rendered labels: a Code 128 reader for one pixel row and a sampler
// for matrix symbols, so tests check what a scanner would see rather than what we meant to draw.
#include "LabelFixture.h"

#include <QHash>
#include <cmath>
#include <numeric>

namespace {

// Bar and space widths of the 107 Code 128 patterns (ISO/IEC 15417), value = index.
const char* const kPatterns[] = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212",
    "221213", "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221",
    "223211", "221132", "221231", "213212", "223112", "312131", "311222", "321122", "321221",
    "312212", "322112", "322211", "212123", "212321", "232121", "111323", "131123", "131321",
    "112313", "132113", "132311", "211313", "231113", "231311", "112133", "112331", "132131",
    "113123", "113321", "133121", "313121", "211331", "231131", "213113", "213311", "213131",
    "311123", "311321", "331121", "312113", "312311", "332111", "314111", "221411", "431111",
    "111224", "111422", "121124", "121421", "141122", "141221", "112214", "112412", "122114",
    "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111", "111242",
    "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141",
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311",
    "113141", "114131", "311141", "411131", "211412", "211214", "211232", "2331112"};

int patternValue(const QList<int>& widths)
{
    QByteArray key;
    for (int w : widths)
        key += char('0' + w);
    for (int v = 0; v < 107; ++v) {
        if (key == kPatterns[v])
            return v;
    }
    return -1;
}

QList<int> runLengths(const QImage& img, int y, int left, int right)
{
    QList<int> runs;
    bool dark = false;
    int len = 0;
    for (int x = left; x <= right; ++x) {
        const bool d = qGray(img.pixel(x, y)) < 128;
        if (runs.isEmpty() && len == 0 && !d)
            continue; // quiet zone before the first bar
        if (d == dark || len == 0) {
            dark = d;
            ++len;
        } else {
            runs.append(len);
            dark = d;
            len = 1;
        }
    }
    if (len && dark)
        runs.append(len);
    return runs;
}

QString decodeValues(const QList<int>& values)
{
    // values: start, data…, check (the stop is already stripped)
    if (values.size() < 2 || values.first() < 103)
        return {};
    int sum = values.first();
    for (int i = 1; i < values.size() - 1; ++i)
        sum += i * values[i];
    if (sum % 103 != values.last())
        return {};
    char set = values.first() == 103 ? 'A' : values.first() == 104 ? 'B' : 'C';
    bool shift = false;
    QString out;
    for (int i = 1; i < values.size() - 1; ++i) {
        const int v = values[i];
        const char now = shift ? (set == 'A' ? 'B' : 'A') : set;
        shift = false;
        if (now == 'C') {
            if (v < 100)
                out += QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
            else if (v == 100)
                set = 'B';
            else if (v == 101)
                set = 'A';
        } else if (v == 98) {
            shift = true;
        } else if (v == 99) {
            set = 'C';
        } else if (v == 100 || v == 101) {
            if ((now == 'A') == (v == 100))
                set = v == 100 ? 'B' : 'A';
        } else if (v < 96) {
            out += now == 'B' ? QChar(v + 32) : QChar(v < 64 ? v + 32 : v - 64);
        }
    }
    return out;
}

} // namespace

QString LabelFixture::decodeCode128(const QImage& image, int y, int left, int right)
{
    const QList<int> runs = runLengths(
        image, y, qMax(left, 0), right < 0 ? image.width() - 1 : qMin(right, image.width() - 1));
    if (runs.size() < 19 || (runs.size() - 1) % 6 != 0)
        return {};
    const int symbols = int(runs.size() - 1) / 6;
    const double total = std::accumulate(runs.begin(), runs.end(), 0.0);
    const double module = total / (11.0 * symbols + 2);
    QList<int> values;
    for (int s = 0; s < symbols; ++s) {
        QList<int> widths;
        const int n = s == symbols - 1 ? 7 : 6;
        for (int k = 0; k < n; ++k)
            widths.append(int(std::lround(runs[s * 6 + k] / module)));
        const int v = patternValue(widths);
        if (v < 0)
            return {};
        values.append(v);
    }
    if (values.last() != 106)
        return {};
    values.removeLast();
    return decodeValues(values);
}

QList<QList<bool>> LabelFixture::sampleMatrix(const QImage& image, const QRect& region, int columns,
                                              int rows)
{
    QRect dark;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        for (int x = region.left(); x <= region.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 128)
                dark |= QRect(x, y, 1, 1);
        }
    }
    QList<QList<bool>> out;
    const double mw = double(dark.width()) / columns;
    const double mh = double(dark.height()) / rows;
    for (int r = 0; r < rows; ++r) {
        QList<bool> row;
        for (int c = 0; c < columns; ++c) {
            const int x = dark.left() + int((c + 0.5) * mw);
            const int y = dark.top() + int((r + 0.5) * mh);
            row.append(qGray(image.pixel(x, y)) < 128);
        }
        out.append(row);
    }
    return out;
}
