// The grade and allowance of the roll on screen: automatic, by hand, or as stored.
#include "stations/inspection/CheckGradeFollow.h"

#include "text/Vb.h"

using namespace Qt::StringLiterals;

void CheckGradeFollow::start(bool reopened, const QString& defects, const QString& length,
                             double allowance)
{
    m_manual = false;
    m_asStored = reopened;
    m_defects = defects;
    m_length = length;
    m_automatic = allowance;
}

CheckGradeFollow::Writes CheckGradeFollow::observe(const QString& defects, const QString& length)
{
    const bool defectsChanged = defects != m_defects;
    if (defectsChanged || length != m_length)
        m_asStored = false;
    m_defects = defects;
    m_length = length;
    return {!m_manual && !m_asStored, defectsChanged};
}

QString CheckGradeFollow::allowanceNote(double current, double next)
{
    const bool typed = !m_automatic || *m_automatic != current;
    m_automatic = next;
    if (!typed || current == next)
        return QString();
    return u"加减已按疵点自动改为 "_s + vb::sqlNumber(next) + u"（原 "_s + vb::sqlNumber(current) +
           u"）"_s;
}
