// An in-memory device for SerialPort tests: what the port writes is kept, feed() plays incoming
// bytes and raises readyRead like a serial line.
#pragma once

#include <QIODevice>

#include <cstring>

class MemoryDevice : public QIODevice {
public:
    QByteArray written;

    void feed(const QByteArray& bytes)
    {
        m_in.append(bytes);
        emit readyRead();
    }
    qint64 bytesAvailable() const override { return m_in.size() + QIODevice::bytesAvailable(); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 max) override
    {
        const qint64 n = qMin<qint64>(max, m_in.size());
        std::memcpy(data, m_in.constData(), size_t(n));
        m_in.remove(0, n);
        return n;
    }
    qint64 writeData(const char* data, qint64 len) override
    {
        written.append(data, len);
        return len;
    }

private:
    QByteArray m_in;
};
