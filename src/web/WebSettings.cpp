// [Web] of mirel.ini.
#include "web/WebSettings.h"

#include "config/ProgramFolder.h"
#include "shell/SysUtil.h"

#include <QDir>
#include <QFile>

using namespace Qt::StringLiterals;

namespace {

QString web(const QString& key)
{
    return SysUtil::readIni(u"Web"_s, key, QString(), u"/mirel.ini"_s).trimmed();
}

} // namespace

bool WebSettings::parseListen(const QString& text, QHostAddress& address, quint16& port)
{
    const qsizetype colon = text.lastIndexOf(u':');
    if (colon < 0)
        return false;
    QString host = text.left(colon).trimmed();
    if (host.startsWith(u'[') && host.endsWith(u']'))
        host = host.mid(1, host.size() - 2);
    bool ok = false;
    const uint p = text.mid(colon + 1).trimmed().toUInt(&ok);
    if (!ok || p > 65535) // 0: any free port (tests)
        return false;
    const QHostAddress a = host.isEmpty() ? QHostAddress(QHostAddress::Any) : QHostAddress(host);
    if (a.isNull())
        return false;
    address = a;
    port = quint16(p);
    return true;
}

bool WebSettings::read(WebSettings& out, QString* error)
{
    const QString listen = web(u"Listen"_s);
    if (!listen.isEmpty() && !parseListen(listen, out.address, out.port)) {
        if (error)
            *error = u"mirel.ini [Web] Listen=%1 不是地址:端口"_s.arg(listen);
        return false;
    }
    out.token = web(u"Token"_s);
    const QString tokenFile = web(u"TokenFile"_s);
    if (out.token.isEmpty() && !tokenFile.isEmpty()) {
        // A relative name lies in the folder of the ini files (the package's /etc/mirel).
        QFile f(QDir::isAbsolutePath(tokenFile) ? tokenFile
                                                : ProgramFolder::configPath() + u'/' + tokenFile);
        if (f.open(QIODevice::ReadOnly))
            out.token = QString::fromUtf8(f.readLine()).trimmed();
    }
    out.certificate = web(u"Certificate"_s);
    out.key = web(u"Key"_s);
    if (out.token.isEmpty())
        out.address = QHostAddress::LocalHost;
    return true;
}
