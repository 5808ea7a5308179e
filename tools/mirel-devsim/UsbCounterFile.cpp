// Count file of the simulated USB counter, written atomically so the library never reads half.
#include "UsbCounterFile.h"

#include <QFile>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace devsim {

UsbCounterFile::UsbCounterFile(QString path) : m_path(std::move(path))
{
    if (m_path.isEmpty())
        m_path = qEnvironmentVariable("MIREL_DEVSIM_USB", u"/tmp/mirel-devsim-usb"_s);
}

bool UsbCounterFile::publish(long count)
{
    QSaveFile f(m_path);
    if (f.open(QIODevice::WriteOnly)) {
        f.write(QByteArray::number(qlonglong(count)));
        f.commit();
    }
    return QFile::remove(m_path + u".zero"_s);
}

} // namespace devsim
