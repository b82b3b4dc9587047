// The software keyer against the real trainer: the trainer's window with its
// serial port on the keyer's pseudo-terminal, the keyer as its own process,
// a copy run started and checked with the trainer's buttons.

#include "common/codepage.h"
#include "keyerprocess.h"
#include "wavrecording.h"
#include "window/colourbutton.h"
#include "window/form1.h"
#include "window/textbox.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TrainerTest : public QObject
{
    Q_OBJECT

private slots:
    void copy_run_reports_the_groups_played();
};

void TrainerTest::copy_run_reports_the_groups_played()
{
    QTemporaryDir dir;
    const QString wavPath = dir.filePath(QStringLiteral("copy.wav"));
    KeyerProcess keyer;
    QVERIFY(keyer.start({"--fast", "--headless", "--wav", wavPath}));
    auto form = std::make_unique<Form1>(Options{dir.path(), keyer.device()});
    form->messageBox.interceptWith([](const QString &text) { QFAIL(qPrintable(text)); });
    form->programEnd.interceptWith([] {});
    form->Form_Load();
    QVERIFY(QTest::qWaitFor([&] { return form->connected; }, 10000));
    const auto click = [](QPushButton *button, int times = 1) {
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(button, Qt::LeftButton);
    };
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
    QVERIFY(keyer.stop());

    // What the keyer played, heard back from its recording, is what the
    // trainer reported: five groups of five.
    QCOMPARE(reported.join(QString()).size(), 25);
    const WavRecording wav = readWav(wavPath);
    const std::vector<ToneRun> runs = toneRuns(wav, 16383 / 2, wav.sampleRate / 600 + 1);
    QCOMPARE(decodeGroups(runs, 6.0 * wav.sampleRate / 70, 6), reported);
}

QTEST_MAIN(TrainerTest)
#include "tst_keyer_trainer.moc"
