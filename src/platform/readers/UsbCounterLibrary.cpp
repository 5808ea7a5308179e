// Run-time binding of the USB counter library; a missing file only switches the counter off.
#include "readers/UsbCounterLibrary.h"

#include "config/ProgramFolder.h"

using namespace Qt::StringLiterals;

UsbCounterLibrary::UsbCounterLibrary() = default;

// QLibrary does not unload on destruction: the vendor code stays mapped until the process ends,
// so nothing of it can run after it was unmapped.
UsbCounterLibrary::~UsbCounterLibrary() = default;

bool UsbCounterLibrary::load()
{
    if (isLoaded())
        return true;
    m_lib.setFileName(ProgramFolder::file(QString::fromLatin1(kBaseName)));
    if (!m_lib.load()) {
        m_error = u"没有找到计数器驱动 %1: %2"_s.arg(QString::fromLatin1(kBaseName), m_lib.errorString());
        return false;
    }
    m_open = reinterpret_cast<int (*)()>(m_lib.resolve("dev_open"));
    auto count = reinterpret_cast<short (*)()>(m_lib.resolve("dev_count"));
    m_zero = reinterpret_cast<int (*)()>(m_lib.resolve("dev_zero"));
    m_close = reinterpret_cast<int (*)()>(m_lib.resolve("dev_close"));
    if (!m_open || !count || !m_zero || !m_close) {
        m_error = u"计数器驱动 %1 缺少函数"_s.arg(m_lib.fileName());
        return false;
    }
    m_count = count;
    m_error.clear();
    return true;
}

bool UsbCounterLibrary::open()
{
    if (!load())
        return false;
    m_open();
    return true;
}

qint16 UsbCounterLibrary::count() { return isLoaded() ? qint16(m_count()) : qint16(0); }

void UsbCounterLibrary::zero()
{
    if (isLoaded())
        m_zero();
}

void UsbCounterLibrary::close()
{
    if (isLoaded())
        m_close();
}
