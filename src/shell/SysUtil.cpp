// ini, per-user settings and layout texts.
#include "shell/SysUtil.h"

#include "config/IniFile.h"
#include "config/ProgramFolder.h"
#include "screen/Twips.h"
#include "shell/MessageBox.h"
#include "shell/SysUtilDb.h"
#include "text/Vb.h"

#include <QAbstractButton>
#include <QSettings>
#include <QVariant>
#include <optional>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace SysUtil {

QString readIni(const QString& section, const QString& key, const QString& def,
                const QString& fileName)
{
    return IniFile(ProgramFolder::file(fileName)).read(section, key, def);
}

bool writeIni(const QString& section, const QString& key, const QString& value,
              const QString& fileName, QString* error)
{
    return IniFile(ProgramFolder::file(fileName)).write(section, key, value, error);
}

namespace {

QSettings userSettings(const QString& appName)
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, u"mirel"_s, appName);
}

QString settingKey(const QString& section, const QString& key)
{
    return section + u'/' + key;
}

} // namespace

QString getSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& def)
{
    return userSettings(appName).value(settingKey(section, key), def).toString();
}

void saveSetting(const QString& appName, const QString& section, const QString& key,
                 const QString& value)
{
    userSettings(appName).setValue(settingKey(section, key), value);
}

int arrayUpperBound(const QString& text) { return vb::arrayUpperBound(text); }

QString controlObjectName(const QString& layoutName)
{
    QString n = layoutName.trimmed();
    n.replace(u'^', u'_');
    return n;
}

QString captureLayout(const QWidget* form, const QString& controlList)
{
    const Twips tw = Twips::of(form);
    QStringList entries;
    for (const QString& raw : controlList.split(u',')) {
        const QString name = raw.trimmed();
        if (name.isEmpty())
            continue;
        const auto* w = form->findChild<const QWidget*>(controlObjectName(name));
        if (!w)
            continue;
        const QRect r = tw.toTwips(w->geometry());
        entries << u"%1=%2,%3,%4,%5"_s.arg(name).arg(r.x()).arg(r.y()).arg(r.width()).arg(
            r.height());
    }
    return entries.join(u';');
}

bool applyLayout(QWidget* form, const QString& layout)
{
    struct Move {
        QString name;
        int v[4];
    };
    QList<Move> moves;
    for (const QString& entry : layout.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype eq = entry.indexOf(u'=');
        if (eq <= 0)
            return false;
        const QStringList parts = entry.mid(eq + 1).split(u',');
        if (parts.size() != 4)
            return false;
        Move m{entry.left(eq).trimmed(), {}};
        for (int i = 0; i < 4; ++i) {
            bool ok = false;
            m.v[i] = parts[i].trimmed().toInt(&ok);
            if (!ok || (i >= 2 && m.v[i] < 0))
                return false;
        }
        moves << m;
    }
    const Twips tw = Twips::of(form);
    for (const Move& m : moves)
        if (auto* w = form->findChild<QWidget*>(controlObjectName(m.name)))
            w->setGeometry(tw.rect(m.v[0], m.v[1], m.v[2], m.v[3]));
    return true;
}

void editCaption(Connection& conn, QAbstractButton* box, const QString& unused)
{
    Q_UNUSED(unused);
    if (!box)
        return;
    QString tag = box->property("Tag").toString();
    if (tag.isEmpty())
        tag = box->property("tag").toString();
    if (!tag.startsWith(u"Label"_s))
        return;
    const std::optional<QString> text =
        MessageBox::inputBox(u"请输入新的名称："_s, u"修改名称"_s, box->text(), box->window());
    if (!text || text->trimmed().isEmpty())
        return;
    saveCaption(conn, tag, *text);
    box->setText(*text);
}

} // namespace SysUtil
