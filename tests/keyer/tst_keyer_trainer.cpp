// The software keyer against the real trainer: the trainer's window with its
// serial port on the keyer's pseudo-terminal, the keyer as its own process,
// the runs started with the trainer's buttons.

#include "common/codepage.h"
#include "history/history.h"
#include "keyerprocess.h"
#include "wavrecording.h"
#include "window/colourbutton.h"
#include "window/form1.h"
#include "window/textbox.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TrainerTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void copy_run_reports_the_groups_played();
    void echo_run_scores_what_the_keyer_keys_back_data();
    void echo_run_scores_what_the_keyer_keys_back();

private:
    // Starts the keyer with `arguments` and the trainer on its line, and
    // waits for their handshake.
    void startBoth(const QStringList &arguments);
    void click(QPushButton *button, int times = 1);

    QTemporaryDir dir;
    QStringList historyProblems;
    std::unique_ptr<KeyerProcess> keyer;
    std::unique_ptr<Form1> form;
};

void TrainerTest::cleanup()
{
    form.reset();
    historyProblems.clear();
    if (keyer)
        QVERIFY(keyer->stop());
    keyer.reset();
}

void TrainerTest::startBoth(const QStringList &arguments)
{
    keyer = std::make_unique<KeyerProcess>();
    QVERIFY(keyer->start(QStringList{"--fast", "--headless"} + arguments));
    form = std::make_unique<Form1>(Options{dir.path(), keyer->device()});
    form->messageBox.interceptWith([](const QString &text) { QFAIL(qPrintable(text)); });
    form->programEnd.interceptWith([] {});
    form->history.reportProblemsWith([this](const QString &problem) { historyProblems << problem; });
    form->Form_Load();
    QVERIFY(form->MSComm1.portOpen());
    QVERIFY(QTest::qWaitFor([&] { return form->connected; }, 10000));
}

void TrainerTest::click(QPushButton *button, int times)
{
    for (int i = 0; i < times; ++i)
        QTest::mouseClick(button, Qt::LeftButton);
}

void TrainerTest::copy_run_reports_the_groups_played()
{
    const QString wavPath = dir.filePath(QStringLiteral("copy.wav"));
    startBoth({"--wav", wavPath});
    click(form->Command3);      // every character
    click(form->Command1, 10);  // speed 70
    click(form->Command12, 10); // pause 100: a second between groups
    form->Text2->setText(QStringLiteral("5"));
    click(form->Command6);      // Start
    QVERIFY(QTest::qWaitFor([&] { return form->Command4->backColour() == QColor(0, 192, 0); }, 30000));
    QCOMPARE(form->groupcount, qint16(0));

    click(form->Command4); // Ellenörzés
    QStringList reported;
    for (const QByteArray &line : readFile(form->reportPath()).split('\n').mid(0, 5))
        reported << fromCodePage1250(line.trimmed());
    form.reset();
    QVERIFY(keyer->stop());

    // What the keyer played, heard back from its recording, is what the
    // trainer reported: five groups of five.
    QCOMPARE(reported.size(), 5);
    const WavRecording wav = readWav(wavPath);
    const std::vector<ToneRun> runs = toneRuns(wav, 16383 / 2, wav.sampleRate / 600 + 1);
    QCOMPARE(decodeGroups(runs, 6.0 * wav.sampleRate / 70, 6), reported);
    for (const QString &group : reported)
        QCOMPARE(group.size(), 5);
}

void TrainerTest::echo_run_scores_what_the_keyer_keys_back_data()
{
    QTest::addColumn<bool>("right");
    QTest::newRow("keyed back right scores good") << true;
    QTest::newRow("keyed back wrong scores bad, without a usable history") << false;
}

void TrainerTest::echo_run_scores_what_the_keyer_keys_back()
{
    QFETCH(bool, right);
    if (!right) {
        QFile history(dir.filePath(QStringLiteral("history.sqlite")));
        QVERIFY(history.open(QIODevice::WriteOnly));
        history.write(QByteArray("no database ").repeated(500));
    }
    startBoth(right ? QStringList{"--auto-echo"} : QStringList{"--auto-echo", "--error-rate", "1"});
    click(form->Command3); // every character
    click(form->Command13); // Oda - Vissza
    // Each group takes well under a second; a stalled run fails in ten.
    for (int scored = 0; scored < 5; ++scored)
        QVERIFY2(QTest::qWaitFor([&] { return form->goodgroups + form->badgroups > scored; }, 10000),
                 qPrintable(QStringLiteral("stuck after %1 groups").arg(scored)));
    // The run goes on until it is stopped; what has been scored is all
    // right, or all wrong.
    const int good = form->goodgroups;
    const int bad = form->badgroups;
    QVERIFY2(right ? bad == 0 && good >= 5 : good == 0 && bad >= 5,
             qPrintable(QStringLiteral("%1 good, %2 bad").arg(good).arg(bad)));
    QCOMPARE(form->Text7->text(), QString::number(good));
    QCOMPARE(form->Text8->text(), QString::number(bad));

    // Every group scored so far is in the history, as the window scored it;
    // a file it cannot use is said once.
    QCOMPARE(historyProblems.size(), right ? 0 : 1);
    if (!right)
        return;
    History history;
    QVERIFY(history.open(form->historyPath()));
    const QList<EchoGroupRecord> groups = history.echoGroups();
    QCOMPARE(groups.size(), good + bad);
    for (const EchoGroupRecord &group : groups)
        QVERIFY(group.good && group.sent == group.decoded && group.sent.size() == 5 && group.speed == 60);
}

QTEST_MAIN(TrainerTest)
#include "tst_keyer_trainer.moc"
