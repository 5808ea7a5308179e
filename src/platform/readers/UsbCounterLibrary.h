// The USB length counter's vendor library (hid3388), loaded at run time from the program folder.
#pragma once

#include <QLibrary>
#include <QString>

/// Calls into the counter library. Every call is a no-op on a library that did not load, so a
/// station without the counter keeps running.
class UsbCounterLibrary {
public:
    /// The library file without prefix or suffix, looked up in the program folder.
    static constexpr const char* kBaseName = "hid3388";

    UsbCounterLibrary();
    ~UsbCounterLibrary();
    UsbCounterLibrary(const UsbCounterLibrary&) = delete;
    UsbCounterLibrary& operator=(const UsbCounterLibrary&) = delete;

    /// Loads the library (once) and calls dev_open. False with errorString() when the library or
    /// one of its four functions is missing.
    bool open();
    bool isLoaded() const { return m_count != nullptr; }

    /// The raw 16-bit signed count (0 when not loaded).
    qint16 count();
    void zero();
    /// Calls dev_close when the library is loaded.
    void close();

    QString errorString() const { return m_error; }

private:
    bool load();

    QLibrary m_lib;
    int (*m_open)() = nullptr;
    short (*m_count)() = nullptr;
    int (*m_zero)() = nullptr;
    int (*m_close)() = nullptr;
    QString m_error;
};
