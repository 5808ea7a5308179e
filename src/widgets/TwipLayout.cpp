// Controls placed in design twips and placed again when their window changes size.
#include "widgets/TwipLayout.h"

#include "screen/Twips.h"

#include <QLabel>
#include <QLineEdit>

namespace {
const char* const DesignRect = "designRect";
}

QString tagOf(const QObject* w) { return w ? w->property("Tag").toString() : QString(); }

void setTag(QObject* w, const QString& tag)
{
    if (w)
        w->setProperty("Tag", tag);
}

void placeTwips(QWidget* w, const QRect& twips)
{
    w->setProperty(DesignRect, twips);
    w->setGeometry(Twips::of(w).rect(twips.x(), twips.y(), twips.width(), twips.height()));
}

QLabel* placeCaption(QWidget* parent, const QString& name, const QString& text, const QRect& twips)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    placeTwips(l, twips);
    return l;
}

QLineEdit* placeTextBox(QWidget* parent, const QString& name, QLabel* label, const QRect& twips)
{
    auto* b = new QLineEdit(parent);
    b->setObjectName(name);
    b->setAccessibleName(label->text());
    label->setBuddy(b);
    placeTwips(b, twips);
    return b;
}

QRect designRect(const QWidget* w) { return w->property(DesignRect).toRect(); }

void relayoutTwips(QWidget* root)
{
    const Twips tw = Twips::of(root);
    for (QWidget* w : root->findChildren<QWidget*>()) {
        const QVariant v = w->property(DesignRect);
        if (v.isValid()) {
            const QRect r = v.toRect();
            w->setGeometry(tw.rect(r.x(), r.y(), r.width(), r.height()));
        }
    }
}

void rememberGeometry(QWidget* root)
{
    const Twips tw = Twips::of(root);
    for (QWidget* w : root->findChildren<QWidget*>())
        if (w->property(DesignRect).isValid())
            w->setProperty(DesignRect, tw.toTwips(w->geometry()));
}
