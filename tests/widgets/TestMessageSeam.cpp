// The message seam as the stations use it: answers given in advance, what was shown, and the
// unattended defaults.
#include "shell/MessageBox.h"

#include <QTest>

class TestMessageSeam : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        MessageBox::clearShown();
        MessageBox::clearAnswers();
    }

    void questionsTakeTheQueuedAnswer_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes") << int(MessageBox::AnswerYes) << true;
        QTest::newRow("no") << int(MessageBox::AnswerNo) << false;
        QTest::newRow("unanswered takes the first button") << 0 << true;
    }
    void questionsTakeTheQueuedAnswer()
    {
        QFETCH(int, answer);
        QFETCH(bool, yes);
        if (answer)
            MessageBox::setNextAnswer(MessageBox::Answer(answer));
        QCOMPARE(MessageBox::question(QStringLiteral("您确定要删除这卷布[001]？")), yes);
        const auto s = MessageBox::lastShown();
        QCOMPARE(s.kind, QStringLiteral("message"));
        QCOMPARE(s.icon, MessageBox::Question);
        QCOMPARE(s.buttons, MessageBox::YesNo);
        QCOMPARE(s.text, QStringLiteral("您确定要删除这卷布[001]？"));
    }

    void answersAreUsedInOrder()
    {
        MessageBox::setNextAnswer(MessageBox::AnswerCancel);
        MessageBox::setNextAnswer(MessageBox::AnswerOk);
        QCOMPARE(MessageBox::show(QStringLiteral("是否要删除"), MessageBox::Question,
                                  MessageBox::OkCancel),
                 MessageBox::AnswerCancel);
        MessageBox::information(QStringLiteral("删除成功"));
        MessageBox::critical(QStringLiteral("error"));
        const auto shown = MessageBox::shown();
        QCOMPARE(shown.size(), 3);
        QCOMPARE(shown.at(1).icon, MessageBox::Information);
        QCOMPARE(shown.at(1).buttons, MessageBox::Ok);
        QCOMPARE(shown.at(2).icon, MessageBox::Critical);
        // The OK answered the information box: the next question gets the unattended default.
        QCOMPARE(MessageBox::show(QStringLiteral("?"), MessageBox::Question, MessageBox::YesNo),
                 MessageBox::AnswerYes);
    }

    void inputBoxAndFiles()
    {
        MessageBox::setNextInput(QStringLiteral("5862"));
        MessageBox::setNextInput(std::nullopt);
        QCOMPARE(MessageBox::inputBox(QStringLiteral("请输入密码才能删除？"), QStringLiteral("输入密码")),
                 std::optional<QString>(QStringLiteral("5862")));
        QCOMPARE(MessageBox::inputBox(QStringLiteral("请输入密码才能删除？")), std::nullopt);
        QCOMPARE(MessageBox::inputBox(QStringLiteral("unanswered")), std::nullopt);
        QCOMPARE(MessageBox::shown().at(0).caption, QStringLiteral("输入密码"));
        MessageBox::setNextFileName(QStringLiteral("/tmp/labels.xlsx"));
        QCOMPARE(MessageBox::saveFileName(QStringLiteral("导出"), QStringLiteral("Excel (*.xlsx)")),
                 QStringLiteral("/tmp/labels.xlsx"));
        QCOMPARE(MessageBox::openFileName(QStringLiteral("导入"), QStringLiteral("Excel (*.xls)")),
                 QString());
        QCOMPARE(MessageBox::lastShown().kind, QStringLiteral("open"));
    }
};

QTEST_MAIN(TestMessageSeam)
#include "TestMessageSeam.moc"
