// The storm driver: per station, what an operator types before pressing 保存 (generated values:
// a card of the database, a quantity, five defects, the next three unpacked rolls, a process
// step), then the press of the station's own 保存 button, so that the record goes through
// exactly the transaction and the numbering of an operator's save. Each save is timed alone.
#include "StormDriver.h"

#include "db/DbError.h"
#include "shell/Database.h"
#include "shell/MessageBox.h"
#include "shell/Station.h"
#include "shell/SysUtil.h"
#include "stations/inspection/CheckControls.h"
#include "stations/marklabel/frmMaitou.h"
#include "stations/packing/frmBag.h"
#include "stations/progress/frmWorkload.h"
#include "widgets/EditGrid.h"
#include "stations/inspection/CheckDefectGrid.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace StormDriver {

namespace {

struct Outcome {
    QString record; // the saved record ("" when nothing was saved)
    QString status; // the station's message line after the press
};

// One station's operator: fill answers "" or why no save can be tried.
struct Operator {
    std::function<QString(int)> fill;
    std::function<Outcome()> save;
};

QStringList firstColumn(const QString& sql)
{
    QStringList values;
    try {
        Recordset rs = Database::conn().execute(sql);
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            values << rs.text(0);
    } catch (const DbError& e) {
        std::fprintf(stderr, "storm: %s\n", qPrintable(e.message()));
    }
    return values;
}

// Stations start at different cards, so that they meet on every card's numbers.
QString pick(const QStringList& list, int n)
{
    return list.isEmpty() ? QString()
                          : list.at(int((n + QCoreApplication::applicationPid()) % list.size()));
}

Outcome pressSave(frmCheck* f)
{
    long long saved = 0;
    const auto c =
        QObject::connect(f, &frmCheck::rollSaved, f, [&saved](long long id) { saved = id; });
    f->controls().checkCommand[CheckCmd::Save]->click();
    QObject::disconnect(c);
    return {saved > 0 ? QString::number(saved) : QString(), f->status()};
}

// A roll of a card of the database with five defects; the station moves on to the next roll.
Operator inspection(frmCheck* f)
{
    const QStringList cards = firstColumn(u"select billcode from bill order by billid"_s);
    f->controls().autoHuanJuan->setChecked(true);
    const auto fill = [f, cards](int n) {
        CheckControls& c = f->controls();
        const QString card = pick(cards, n);
        if (c.TxtBox[CheckField::Card]->text() != card) {
            c.TxtBox[CheckField::Card]->setText(card);
            f->runCommand(CheckCmd::FindCard);
        }
        c.TxtBox[CheckField::Worker]->setText(u"001"_s);
        c.TxtBox[CheckField::Quantity]->setText(QString::number(40 + n % 60));
        static const char16_t* names[] = {u"破洞", u"油污", u"断经", u"断纬", u"色差"};
        f->defectGrid().setRows({});
        for (int k = 0; k < 5; ++k)
            f->defectGrid().append({QString(), QString::fromUtf16(names[k]), QString::number(5 + 7 * k),
                                u"1"_s, QString::number(1 + k % 4), u"001"_s, QString()});
        return QString();
    };
    return {fill, [f] { return pressSave(f); }};
}

// A package of the database's first article; a new pallet every ten packages.
Operator markLabel(frmMaitou* f)
{
    f->loadItem(firstColumn(u"select top 1 itemid from item order by itemid"_s).value(0));
    f->controls().autoHuanJuan->setChecked(true);
    const auto fill = [f](int n) {
        CheckControls& c = f->controls();
        if (n % 10 == 0 || c.TxtBox[CheckField::Pallet]->text().isEmpty())
            f->cmdBangbtn()->click();
        c.TxtBox[CheckField::Worker]->setText(u"001"_s);
        c.TxtBox[CheckField::Quantity]->setText(QString::number(20 + n % 30));
        return QString();
    };
    return {fill, [f] { return pressSave(f); }};
}

// A new box number (or the box that came back), the next three rolls of this table that are in
// no box, scanned, and a weight.
Operator packing(frmBag* f)
{
    const QString machine =
        SysUtil::readIni(u"MIREL"_s, u"menchineId"_s, u"打包机1号"_s, u"/mirel.ini"_s);
    const auto fill = [f, machine](int) {
        // A box that came back after the table was killed is packed on, as the packer does.
        if (f->ximaGrid->rows() == 2)
            f->butFlow[BagCmd::NewBox]->click();
        const QStringList rolls = firstColumn(
            u"select top 3 id from checkinfo where machineId='%1' and isnull(bagnumber,'')='' order by id"_s
                .arg(machine));
        if (rolls.size() < 3)
            return u"没有三个未装箱的卷"_s;
        for (const QString& id : rolls) {
            f->barcode->setText(id);
            f->lookupMark();
        }
        if (f->bagNumber[BagBoxField::Number]->text().isEmpty() || f->ximaGrid->rows() != 5) // header, 3 rolls, empty
            return f->LabMsg->text();
        f->bagNumber[BagBoxField::Weight]->setText(u"30.5"_s);
        return QString();
    };
    const auto save = [f] {
        f->LabMsg->clear();
        f->butFlow[BagCmd::SaveBox]->click();
        const bool saved = f->LabMsg->text().startsWith(u"箱唛保存成功"_s);
        return Outcome{saved ? f->bagNumber[BagBoxField::Number]->text() : QString(), f->LabMsg->text()};
    };
    return {fill, save};
}

// A report of a card and a step (not an allot-all step) by worker 001.
Operator progress(frmWorkload* f)
{
    const QStringList cards = firstColumn(u"select billcode from bill order by billid"_s);
    const auto fill = [f, cards](int n) {
        QList<int> steps;
        for (int i = 0; i < f->ProcessBtn.size(); ++i)
            if (!f->ProcessBtn[i]->isHidden() && !f->ProcessBtn[i]->text().contains(u"全部"_s))
                steps << i;
        if (steps.isEmpty())
            return u"没有工艺"_s;
        f->TxtBox[WorkloadField::Card]->setText(pick(cards, n));
        emit f->TxtBox[WorkloadField::Card]->returnPressed(); // the card is looked up before its step is chosen
        f->ProcessBtn[steps.at(n % steps.size())]->click();
        f->TxtBox[WorkloadField::Worker]->setText(u"001"_s);
        f->TxtBox[WorkloadField::Metres]->setText(QString::number(100 + n));
        f->TxtBox[WorkloadField::Pieces]->setText(u"1"_s);
        return QString();
    };
    const auto save = [f] {
        f->Label1->clear();
        const QString record = f->TxtBox[WorkloadField::Card]->text() + u'/' + f->selectedStep();
        f->Command1->click();
        const bool saved = f->Label1->text() == u"提交成功！"_s;
        return Outcome{saved ? record : QString(), f->LabBox[WorkloadLabel::Message]->text()};
    };
    return {fill, save};
}

Operator operatorOf(Station station, QWidget* window)
{
    switch (station) {
    case Station::Check:
        return inspection(static_cast<frmCheck*>(window));
    case Station::Maitou:
        return markLabel(static_cast<frmMaitou*>(window));
    case Station::Bag:
        return packing(static_cast<frmBag*>(window));
    case Station::Load:
        return progress(static_cast<frmWorkload*>(window));
    default:
        return {};
    }
}

// The messages with an OK button shown since `from` (questions are answered by the unattended
// run's rule and are no failure), on one line.
QString messagesSince(qsizetype from)
{
    QStringList texts;
    const QList<MessageBox::Shown> shown = MessageBox::shown();
    for (qsizetype i = from; i < shown.size(); ++i)
        if (shown[i].buttons == MessageBox::Ok)
            texts << shown[i].text.simplified();
    return texts.join(u" | "_s);
}

class Run : public QObject {
public:
    Run(QWidget* window, Operator op, int count)
        : QObject(window), m_window(window), m_op(std::move(op)), m_count(count)
    {
        QTimer::singleShot(0, this, [this] { next(); });
    }

private:
    void next()
    {
        if (m_n == m_count) {
            std::printf("storm done %d saved %d failed\n", m_count - m_failed, m_failed);
            std::fflush(stdout);
            m_window->close();
            QCoreApplication::exit(0);
            return;
        }
        ++m_n;
        const qsizetype before = MessageBox::shown().size();
        QString problem = m_op.fill(m_n);
        QElapsedTimer t;
        t.start();
        Outcome out;
        if (problem.isEmpty())
            out = m_op.save();
        const double ms = double(t.nsecsElapsed()) / 1e6;
        const QString messages = messagesSince(before);
        if (problem.isEmpty() && out.record.isEmpty())
            problem = !messages.isEmpty()     ? messages
                      : !out.status.isEmpty() ? out.status
                                              : u"未保存"_s;
        else if (problem.isEmpty() && !messages.isEmpty())
            out.record += u" warning "_s + messages;
        if (!problem.isEmpty())
            ++m_failed;
        std::printf("storm %d %.2f %s %s\n", m_n, ms, problem.isEmpty() ? "ok" : "error",
                    qPrintable(problem.isEmpty() ? out.record : problem.simplified()));
        std::fflush(stdout);
        QTimer::singleShot(0, this, [this] { next(); });
    }

    QWidget* m_window;
    Operator m_op;
    int m_count;
    int m_n = 0;
    int m_failed = 0;
};

} // namespace

void armFromEnvironment()
{
    const int count = qEnvironmentVariableIntValue("MIREL_STORM");
    if (count <= 0)
        return;
    for (Station station : {Station::Check, Station::Maitou, Station::Bag, Station::Load}) {
        const StationFactory factory = StationRegistry::find(station);
        if (!factory)
            continue;
        StationRegistry::add(station, [station, factory, count](const StationChoice& choice) {
            QWidget* window = factory(choice);
            if (window)
                new Run(window, operatorOf(station, window), count);
            return window;
        });
    }
}

} // namespace StormDriver
