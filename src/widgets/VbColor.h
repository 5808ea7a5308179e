// Colours as the mill's forms and settings write them: &HBBGGRR, red in the low byte.
#pragma once

#include <QColor>

/// QColor of a &HBBGGRR value (system colours &H800000nn are not handled here).
inline QColor vbColor(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

/// The &HBBGGRR value of a colour.
inline quint32 vbColorValue(const QColor& c)
{
    return quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16);
}
