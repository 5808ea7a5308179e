// Card file of the simulated RFID reader, written atomically so the library never reads half.
#include "RfidCardFile.h"

#include "devices/Rfid.h"

#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>
#include <QTextStream>

#include <cstdio>
#include <unistd.h>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace devsim {

RfidCardFile::RfidCardFile(QString path) : m_path(std::move(path))
{
    if (m_path.isEmpty())
        m_path = qEnvironmentVariable("MIREL_DEVSIM_RFID", u"/tmp/mirel-devsim-rfid"_s);
}

bool RfidCardFile::present(const QByteArray& block)
{
    QSaveFile f(m_path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    QByteArray data = block.left(16);
    data.append(16 - data.size(), '\0');
    f.write(data);
    return f.commit();
}

void RfidCardFile::remove() { QFile::remove(m_path); }

bool rfidCommand(RfidCardFile& file, const QString& line)
{
    const QString word = line.section(u' ', 0, 0);
    const QString arg = line.section(u' ', 1);
    if (word == u"card"_s)
        return file.present(arg.toUtf8());
    if (word == u"hex"_s)
        return file.present(devices::hexTextToBytes(arg));
    if (word == u"remove"_s) {
        file.remove();
        return true;
    }
    return false;
}

int runRfidReader()
{
    RfidCardFile file;
    file.remove();
    std::printf("RFID %s\n", qPrintable(file.path()));
    std::fflush(stdout);
    QTextStream(stderr) << "RFID reader: copy " << QCoreApplication::applicationDirPath()
                        << "/devsim-rfid/libmi.so into the program folder" << Qt::endl;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buf[512];
        const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
        if (n <= 0) {
            input.setEnabled(false);
            return;
        }
        pending.append(buf, n);
        qsizetype nl;
        while ((nl = pending.indexOf('\n')) >= 0) {
            const QString line = QString::fromUtf8(pending.left(nl)).trimmed();
            pending.remove(0, nl + 1);
            if (line == u"quit"_s)
                QCoreApplication::quit();
            else if (!line.isEmpty() && !rfidCommand(file, line))
                QTextStream(stderr) << "unknown command: " << line << Qt::endl;
            std::printf("OK\n");
            std::fflush(stdout);
        }
    });
    const int rc = QCoreApplication::exec();
    file.remove();
    return rc;
}

} // namespace devsim
