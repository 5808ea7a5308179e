// Run-time binding of the RFID reader library.
#include "readers/RfidReaderLibrary.h"

#include "config/ProgramFolder.h"

using namespace Qt::StringLiterals;

bool RfidReaderLibrary::load()
{
    if (isLoaded())
        return true;
    m_lib.setFileName(ProgramFolder::file(QString::fromLatin1(kBaseName)));
    if (!m_lib.load()) {
        m_error = u"没有找到读卡器驱动 %1: %2"_s.arg(QString::fromLatin1(kBaseName), m_lib.errorString());
        return false;
    }
    m_read = reinterpret_cast<ReadFn>(m_lib.resolve("API_PCDRead"));
    if (!m_read) {
        m_error = u"读卡器驱动 %1 缺少 API_PCDRead"_s.arg(m_lib.fileName());
        return false;
    }
    m_error.clear();
    return true;
}

int RfidReaderLibrary::pcdRead(int deviceAddress, int mode, int block, int blockCount,
                               const QByteArray& key, QByteArray* data)
{
    if (!load())
        return -1;
    // The library takes writable pointers; it gets a copy of the key, padded to six bytes.
    QByteArray keyCopy = key;
    keyCopy.resize(qMax<qsizetype>(keyCopy.size(), 6), '\0');
    QByteArray buffer(kBufferSize, '\0');
    const int rc = m_read(deviceAddress, 0, static_cast<unsigned char>(mode),
                          static_cast<unsigned char>(block), static_cast<unsigned char>(blockCount),
                          reinterpret_cast<unsigned char*>(keyCopy.data()),
                          reinterpret_cast<unsigned char*>(buffer.data()));
    if (data)
        *data = buffer;
    return rc;
}
