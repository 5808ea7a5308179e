// The desktop RFID reader's vendor library (mi), loaded at run time from the program folder.
#pragma once

#include <QByteArray>
#include <QLibrary>
#include <QString>

/// Block reads through the reader library's API_PCDRead. A missing library reads nothing.
class RfidReaderLibrary {
public:
    static constexpr const char* kBaseName = "mi";
    /// Size of the buffer handed to the library; it may write this much.
    static constexpr int kBufferSize = 2049;

    RfidReaderLibrary() = default;
    RfidReaderLibrary(const RfidReaderLibrary&) = delete;
    RfidReaderLibrary& operator=(const RfidReaderLibrary&) = delete;

    /// Loads the library once; false with errorString() when it or API_PCDRead is missing.
    bool load();
    bool isLoaded() const { return m_read != nullptr; }

    /// API_PCDRead(deviceAddress, 0, mode, block, blockCount, key, buffer). Returns the library's
    /// result (0 = read) and the whole buffer through data; -1 when the library is not loaded.
    int pcdRead(int deviceAddress, int mode, int block, int blockCount, const QByteArray& key,
                QByteArray* data);

    QString errorString() const { return m_error; }

private:
    using ReadFn = int (*)(int, int, unsigned char, unsigned char, unsigned char, unsigned char*,
                           unsigned char*);
    QLibrary m_lib;
    ReadFn m_read = nullptr;
    QString m_error;
};
