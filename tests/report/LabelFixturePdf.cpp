// Reading the text back out of a PDF written by Qt: inflate the streams, map glyph ids through
// the fonts' ToUnicode tables, and collect the text shown between positionings.
#include "LabelFixture.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <zlib.h>

namespace {

QByteArray inflate(const QByteArray& in)
{
    QByteArray out;
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK)
        return out;
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
    zs.avail_in = uInt(in.size());
    char buf[65536];
    int rc = Z_OK;
    while (rc == Z_OK) {
        zs.next_out = reinterpret_cast<Bytef*>(buf);
        zs.avail_out = sizeof buf;
        rc = inflate(&zs, Z_NO_FLUSH);
        out.append(buf, qsizetype(sizeof buf - zs.avail_out));
    }
    inflateEnd(&zs);
    return out;
}

struct PdfObjects {
    QHash<int, QByteArray> dicts;   // object number -> dictionary text
    QHash<int, QByteArray> streams; // object number -> decoded stream
};

PdfObjects readObjects(const QByteArray& pdf)
{
    PdfObjects o;
    static const QRegularExpression head(QStringLiteral("(\\d+) 0 obj"));
    auto it = head.globalMatch(QString::fromLatin1(pdf));
    while (it.hasNext()) {
        const auto m = it.next();
        const int num = m.captured(1).toInt();
        const qsizetype start = m.capturedEnd();
        const qsizetype end = pdf.indexOf("endobj", start);
        const QByteArray body = pdf.mid(start, end - start);
        const qsizetype s = body.indexOf("stream");
        o.dicts.insert(num, s < 0 ? body : body.left(s));
        if (s < 0)
            continue;
        qsizetype data = s + 6;
        if (body[data] == '\r')
            ++data;
        if (body[data] == '\n')
            ++data;
        const QByteArray raw = body.mid(data, body.lastIndexOf("endstream") - data);
        o.streams.insert(num, body.left(s).contains("/FlateDecode") ? inflate(raw) : raw);
    }
    return o;
}

QString utf16Hex(const QByteArray& hex)
{
    const QByteArray bytes = QByteArray::fromHex(hex);
    QString s;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        s += QChar(char16_t((uchar(bytes[i]) << 8) | uchar(bytes[i + 1])));
    return s;
}

QHash<int, QString> readCMap(const QByteArray& cmap)
{
    QHash<int, QString> map;
    static const QRegularExpression range(
        QStringLiteral("<([0-9A-Fa-f]+)>\\s*<([0-9A-Fa-f]+)>\\s*(\\[[^\\]]*\\]|<[0-9A-Fa-f]+>)"));
    static const QRegularExpression hexItem(QStringLiteral("<([0-9A-Fa-f]+)>"));
    const QString text = QString::fromLatin1(cmap);
    const qsizetype ranges = text.indexOf(QStringLiteral("beginbfrange"));
    auto it = range.globalMatch(text, qMax<qsizetype>(ranges, 0));
    while (it.hasNext()) {
        const auto m = it.next();
        const int lo = m.captured(1).toInt(nullptr, 16);
        const int hi = m.captured(2).toInt(nullptr, 16);
        const QString dst = m.captured(3);
        if (dst.startsWith(u'[')) {
            auto items = hexItem.globalMatch(dst);
            for (int g = lo; g <= hi && items.hasNext(); ++g)
                map.insert(g, utf16Hex(items.next().captured(1).toLatin1()));
        } else {
            const QString base = utf16Hex(dst.mid(1, dst.size() - 2).toLatin1());
            for (int g = lo; g <= hi && !base.isEmpty(); ++g)
                map.insert(g, QString(base.chopped(1)) + QChar(base.back().unicode() + (g - lo)));
        }
    }
    return map;
}

// Font resource name (/F7) -> glyph map of that font.
QHash<QByteArray, QHash<int, QString>> readFonts(const PdfObjects& o)
{
    QHash<int, QHash<int, QString>> byObject;
    static const QRegularExpression toUnicode(QStringLiteral("/ToUnicode (\\d+) 0 R"));
    for (auto it = o.dicts.begin(); it != o.dicts.end(); ++it) {
        const auto m = toUnicode.match(QString::fromLatin1(it.value()));
        if (m.hasMatch())
            byObject.insert(it.key(), readCMap(o.streams.value(m.captured(1).toInt())));
    }
    QHash<QByteArray, QHash<int, QString>> byName;
    static const QRegularExpression ref(QStringLiteral("/(\\w+) (\\d+) 0 R"));
    for (const QByteArray& d : o.dicts) {
        auto it = ref.globalMatch(QString::fromLatin1(d));
        while (it.hasNext()) {
            const auto m = it.next();
            if (byObject.contains(m.captured(2).toInt()))
                byName.insert(m.captured(1).toLatin1(), byObject.value(m.captured(2).toInt()));
        }
    }
    return byName;
}

QStringList textRuns(const QByteArray& content, const QHash<QByteArray, QHash<int, QString>>& fonts)
{
    QStringList runs;
    QString run;
    QHash<int, QString> font;
    static const QRegularExpression token(
        QStringLiteral("/(\\w+)\\s+[\\d.]+\\s+Tf|<([0-9A-Fa-f]*)>|\\b(Tm|BT|ET)\\b"));
    auto it = token.globalMatch(QString::fromLatin1(content));
    auto flush = [&] {
        if (!run.trimmed().isEmpty())
            runs.append(run);
        run.clear();
    };
    while (it.hasNext()) {
        const auto m = it.next();
        if (m.capturedLength(1)) {
            font = fonts.value(m.captured(1).toLatin1());
        } else if (m.capturedLength(3)) {
            flush();
        } else {
            const QString hex = m.captured(2);
            for (qsizetype i = 0; i + 4 <= hex.size(); i += 4) {
                const QString ch = font.value(hex.mid(i, 4).toInt(nullptr, 16));
                run += ch.trimmed().isEmpty() && !ch.isEmpty() ? QStringLiteral(" ") : ch;
            }
        }
    }
    flush();
    return runs;
}

} // namespace

QStringList LabelFixture::pdfTextRuns(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const PdfObjects o = readObjects(f.readAll());
    const auto fonts = readFonts(o);
    QStringList runs;
    static const QRegularExpression contents(QStringLiteral("/Contents (\\d+) 0 R"));
    QList<int> pages(o.dicts.keyBegin(), o.dicts.keyEnd());
    std::sort(pages.begin(), pages.end());
    for (int num : pages) {
        const QByteArray& d = o.dicts[num];
        if (!d.contains("/Type /Page\n") && !d.contains("/Type /Page "))
            continue;
        const auto m = contents.match(QString::fromLatin1(d));
        if (m.hasMatch())
            runs += textRuns(o.streams.value(m.captured(1).toInt()), fonts);
    }
    return runs;
}

int LabelFixture::pdfPageCount(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray pdf = f.readAll();
    return int(pdf.count("/Type /Page\n") + pdf.count("/Type /Page "));
}
