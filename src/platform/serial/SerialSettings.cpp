// Settings text parsing and the mapping of the stations' port numbers onto devices.
#include "serial/SerialSettings.h"

#include "config/IniFile.h"
#include "config/ProgramFolder.h"
#include "text/Vb.h"

using namespace Qt::StringLiterals;

namespace {

bool fail(QString* error, const QString& text, const QString& why)
{
    if (error)
        *error = u"串口参数错误 \"%1\": %2"_s.arg(text, why);
    return false;
}

bool parseParity(const QString& p, QSerialPort::Parity* parity)
{
    static const struct { char16_t c; QSerialPort::Parity p; } table[] = {
        {u'n', QSerialPort::NoParity},   {u'e', QSerialPort::EvenParity},
        {u'o', QSerialPort::OddParity},  {u'm', QSerialPort::MarkParity},
        {u's', QSerialPort::SpaceParity},
    };
    if (p.size() != 1)
        return false;
    for (const auto& row : table) {
        if (p.at(0).toLower().unicode() == row.c) {
            *parity = row.p;
            return true;
        }
    }
    return false;
}

} // namespace

bool parseSerialSettings(const QString& text, SerialSettings* out, QString* error)
{
    const QStringList f = text.split(u',');
    if (f.size() != 4)
        return fail(error, text, u"应为 波特率,校验,数据位,停止位"_s);
    SerialSettings s;
    bool ok = false;
    s.baud = f[0].trimmed().toInt(&ok);
    if (!ok || s.baud <= 0)
        return fail(error, text, u"波特率无效"_s);
    if (!parseParity(f[1].trimmed(), &s.parity))
        return fail(error, text, u"校验位应为 n/e/o/m/s"_s);
    const int bits = f[2].trimmed().toInt(&ok);
    if (!ok || bits < 5 || bits > 8)
        return fail(error, text, u"数据位应为 5-8"_s);
    s.dataBits = static_cast<QSerialPort::DataBits>(bits);
    const QString stop = f[3].trimmed();
    if (stop == u"1"_s)
        s.stopBits = QSerialPort::OneStop;
    else if (stop == u"1.5"_s)
        s.stopBits = QSerialPort::OneAndHalfStop;
    else if (stop == u"2"_s)
        s.stopBits = QSerialPort::TwoStop;
    else
        return fail(error, text, u"停止位应为 1、1.5 或 2"_s);
    if (out)
        *out = s;
    return true;
}

namespace SerialPortNames {

QString deviceName(int n)
{
    const QString key = u"COM"_s + QString::number(n);
    const QString mapped
        = IniFile(ProgramFolder::file(u"/mirel.ini"_s)).read(u"SerialPorts"_s, key).trimmed();
    if (!mapped.isEmpty())
        return mapped;
#ifdef Q_OS_WIN
    return key;
#else
    return u"/dev/ttyS"_s + QString::number(n - 1);
#endif
}

int numberFromLastCharacter(const QString& portName)
{
    return int(vb::Val(vb::Right(portName, 1)));
}

int numberAfterCom(const QString& portName)
{
    QString rest = portName.toUpper();
    rest.remove(u"COM"_s);
    return int(vb::Val(rest));
}

} // namespace SerialPortNames
