// The scan field's key filter.
#include "widgets/ScanField.h"

#include "screen/QuestionGate.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace ScanField {

namespace {

class TabAsEnter : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        QuestionGate::noteScan(watched);
        if (key->key() != Qt::Key_Tab || (key->modifiers() & ~Qt::KeypadModifier))
            return false;
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, u"\r"_s);
        QCoreApplication::sendEvent(watched, &enter);
        return true;
    }
};

} // namespace

void install(QLineEdit* field) { field->installEventFilter(new TabAsEnter(field)); }

} // namespace ScanField
