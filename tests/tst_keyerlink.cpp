// SPDX-License-Identifier: GPL-3.0-or-later
// The trainer against a keyer played by the test. Most cases hand the
// keyer's texts to the line's test seam, each as one read handled at once;
// the last one runs over a pseudo-terminal through the real serial port.

#include "common/codepage.h"
#include "common/morsetable.h"
#include "history/history.h"
#include "lineend.h"
#include "link/keyerband.h"
#include "window/colourbutton.h"
#include "window/form1.h"
#include "window/textbox.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class KeyerLinkTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void handshake();
    void refuses_before_the_handshake();
    void copy_run_of_three_groups();
    void copy_run_edge_groups();
    void echo_run_scores_each_group();
    void received_texts_data();
    void received_texts();
    void parameter_buttons_data();
    void parameter_buttons();
    void reads_the_band_of_its_own_keyer_data();
    void reads_the_band_of_its_own_keyer();
    void keyer_unplugged_and_plugged_back();

private:
    // The keyer's end of the line's test seam: send() is one read, handled
    // before it returns; sent() is what the trainer wrote since the last look.
    void send(const QByteArray &text) { form->MSComm1.receive(text); }
    QByteArray sent() { return std::exchange(written, {}); }
    // Answers the keyer's "x" and forgets the handshake reply.
    void connect();
    // Sets letters per group with the "-" and "+" buttons, whose w frames are dropped.
    void setGroupsize(int size);
    // Clicks a run's start button and checks its start frame; gives the
    // first group, without its marks.
    QString startRun(void (Form1::*click)(), const QByteArray &startFrame);
    // The next group frame from the trainer, without its marks.
    QString nextGroup();
    // Keys characters back, element by element, each with its "V".
    void keyBack(const QString &characters);
    // A trainer started on the line's test seam, with `settings` as its
    // settings file unless empty.
    void start(const QByteArray &settings = {});
    // A trainer on a pseudo-terminal with the test at the far end, found by a
    // link as udev names a USB keyer, so another can be plugged in under it.
    void startOnPseudoTerminal();
    QString link() const { return dir->filePath(QStringLiteral("keyer")); }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<Form1> form;
    QByteArray written;
    std::unique_ptr<PtyKeyer> pty;
    QStringList messages;
    int readsHandled = 0;
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
};

void KeyerLinkTest::init()
{
    dir = std::make_unique<QTemporaryDir>();
    start();
}

void KeyerLinkTest::start(const QByteArray &settings)
{
    if (!settings.isEmpty())
        QVERIFY(writeFile(dir->filePath(QStringLiteral("ini.txt")), settings));
    form = std::make_unique<Form1>(Options{dir->path(), QStringLiteral("/nonexistent/keyer")});
    form->MSComm1.interceptWith([this](char byte) { written += byte; });
    written.clear();
    messages.clear();
    form->messageBox.interceptWith([this](const QString &text) { messages.append(text); });
    form->programEnd.interceptWith([] {}); // a test never ends the process
    form->Form_Load();
    QVERIFY(form->MSComm1.portOpen());
}

void KeyerLinkTest::cleanup()
{
    form.reset();
    pty.reset();
    dir.reset();
}

void KeyerLinkTest::startOnPseudoTerminal()
{
    pty = std::make_unique<PtyKeyer>();
    QVERIFY(pty->isOpen() && QFile::link(pty->slavePath(), link()));
    form = std::make_unique<Form1>(Options{dir->path(), link()});
    form->programEnd.interceptWith([] {}); // a test never ends the process
    // Connected after the window's own handler, so it counts handled reads.
    QObject::connect(&form->MSComm1, &MSComm::OnComm, form.get(), [this] { ++readsHandled; });
    pty->countReadsWith([this] { return readsHandled; });
    form->Form_Load();
    QVERIFY(form->MSComm1.portOpen());
}

void KeyerLinkTest::connect()
{
    send("x");
    QCOMPARE(sent(), QByteArray("<qq>"));
    QCOMPARE(form->Label5->text(), QStringLiteral("Kapcsolat OK"));
}

void KeyerLinkTest::setGroupsize(int size)
{
    int clicks = 0;
    for (; form->run.groupsize() > size; ++clicks)
        form->Command9_Click();
    for (; form->run.groupsize() < size; ++clicks)
        form->Command8_Click();
    QCOMPARE(sent(), QByteArray("<w>").repeated(clicks));
}

QString KeyerLinkTest::startRun(void (Form1::*click)(), const QByteArray &startFrame)
{
    (form.get()->*click)();
    const QByteArray bytes = sent();
    if (!bytes.startsWith(startFrame))
        return QStringLiteral("<not a start: %1>").arg(QString::fromLatin1(bytes));
    written = bytes.mid(startFrame.size());
    return nextGroup();
}

QString KeyerLinkTest::nextGroup()
{
    const QByteArray bytes = sent();
    const QString group = fromCodePage1250(bytes.mid(1, bytes.size() - 2));
    if (!bytes.startsWith('<') || !bytes.endsWith('>') || group.size() != qMax(0, int(form->run.groupsize())))
        return QStringLiteral("<not one group: %1>").arg(QString::fromLatin1(bytes));
    return group;
}

void KeyerLinkTest::keyBack(const QString &characters)
{
    for (QChar character : characters) {
        for (QChar element : elementsOf(character))
            send(QByteArray(1, char(element.unicode())));
        send("V");
    }
}

void KeyerLinkTest::handshake()
{
    send("R");
    send("H");
    QCOMPARE(form->Text6->text(), QStringLiteral("RH"));
    QVERIFY(form->run.elementbuf().isEmpty());
    send("X");
    QCOMPARE(form->Label5->text(), QStringLiteral("Nincs kapcsolat"));

    send("ax b");
    QCOMPARE(sent(), QByteArray("<qq>"));
    QCOMPARE(form->Label5->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    QCOMPARE(form->Text6->text(), QString());

    // Answered once only.
    send("x");
    QCOMPARE(form->Text6->text(), QStringLiteral("x"));
    QCOMPARE(sent(), QByteArray());
}

void KeyerLinkTest::refuses_before_the_handshake()
{
    form->Command6_Click();
    form->Command13_Click();
    form->Command4_Click();
    QCOMPARE(messages, QStringList(3, QStringLiteral("Nincs soros kapcsolat !!!")));
    QCOMPARE(form->Command13->backColour(), buttonFace);
    QCOMPARE(readFile(form->reportPath()), QByteArray());
    QCOMPARE(sent(), QByteArray());
}

void KeyerLinkTest::copy_run_of_three_groups()
{
    connect();
    setGroupsize(3);
    for (int n : {1, 2, 3})
        form->Check[n]->setChecked(true);
    form->Text2->setText(QStringLiteral("3"));
    form->Command4->setBackColour(Colours::green);

    QStringList groups{startRun(&Form1::Command6_Click, "<r>")};
    QCOMPARE(form->Command4->backColour(), buttonFace);
    for (int g = 2; g <= 3; ++g) {
        send("OK\r\n");
        groups << nextGroup();
    }
    send("OK\r\n");
    QCOMPARE(form->Command4->backColour(), QColor(0, 192, 0));
    QCOMPARE(sent(), QByteArray()); // no fourth group
    QVERIFY2(!groups.join(QString()).contains(QRegularExpression(QStringLiteral("[^TEM]"))),
             qPrintable(groups.join(' ')));

    send("noise"); // left in the raw log, and not in the report
    form->Command4_Click();
    QByteArray block;
    QString listing;
    for (const QString &group : groups) {
        block += group.toLatin1() + "\r\n";
        listing += group + QString(12, QLatin1Char(' ')) + QStringLiteral("\r\n");
    }
    block += "  \r\n  \r\n";
    QCOMPARE(readFile(form->reportPath()), block);
    History history;
    QVERIFY(history.open(form->historyPath()));
    QCOMPARE(history.copyRuns().size(), 1);
    QCOMPARE(history.copyRuns()[0].groups, groups);
    QCOMPARE(form->Text4->text(), listing);
    QCOMPARE(form->Text4->toPlainText(), QString(listing).remove(QLatin1Char('\r'))); // what the trainee sees
    QCOMPARE(form->Text6->text(), QString());
    form->Command4_Click();
    QCOMPARE(readFile(form->reportPath()), block + block);
}

void KeyerLinkTest::copy_run_edge_groups()
{
    // Nothing selected: blanks keep the frame's length, nothing is recorded.
    // Frame marks that the settings file put in slots 48 and 49 are no
    // training characters and are never drawn.
    start(QByteArray(47, ' ') + "<>\r\n 60 5 30 50\r\n");
    connect();
    form->Command7_Click(); // a stop with no run sends nothing
    QCOMPARE(sent(), QByteArray());
    QCOMPARE(startRun(&Form1::Command6_Click, "<r>"), QStringLiteral("     "));
    QVERIFY(form->run.txgroup().isEmpty());
    QCOMPARE(form->Text9->text(), QStringLiteral(" "));

    // Only É selected.
    form->Check[28]->setChecked(true);
    send("OK");
    QCOMPARE(nextGroup(), QString(5, QChar(0xC9)));
    form->Command7_Click();
    send("OK");
    form->Command4_Click();
    QCOMPARE(readFile(form->reportPath()), QByteArray("\r\n\xC9\xC9\xC9\xC9\xC9\r\n  \r\n  \r\n"));
    QCOMPARE(form->Text4->text(), QString(15, QLatin1Char(' ')) + QStringLiteral("\r\n") + QString(5, QChar(0xC9))
                                      + QString(10, QLatin1Char(' ')) + QStringLiteral("\r\n"));
}

void KeyerLinkTest::echo_run_scores_each_group()
{
    connect();
    setGroupsize(2);
    for (int n : {2, 8})
        form->Check[n]->setChecked(true);
    form->Text7->setText(QStringLiteral("4"));
    form->Command4->setBackColour(Colours::green);

    const QString group = startRun(&Form1::Command13_Click, "<s>");
    QCOMPARE(form->Command13->backColour(), QColor(0, 192, 0));
    QCOMPARE(form->Command4->backColour(), buttonFace);
    QCOMPARE(form->Text7->text(), QStringLiteral("0"));
    QCOMPARE(form->Text8->text(), QStringLiteral("0"));
    QCOMPARE(form->Text9->text(), QLatin1Char(' ') + group);

    // Keyed back right: scored good, and the next group follows the last V.
    keyBack(group.left(1));
    QCOMPARE(form->Text4->text(), group.left(1));
    keyBack(group.mid(1));
    QCOMPARE(form->Text7->text(), QStringLiteral("1"));
    QCOMPARE(form->Text4->text(), group + QStringLiteral(" \r\n"));
    QStringList drawn{nextGroup()};
    QCOMPARE(form->run.txgroup(), drawn.last());

    // Keyed back wrong: I for the first letter.
    keyBack(QLatin1Char('I') + drawn.last().mid(1));
    QCOMPARE(form->Text8->text(), QStringLiteral("1"));
    QCOMPARE(form->Text7->text(), QStringLiteral("1"));
    QCOMPARE(form->Text4->text(), group + QStringLiteral(" \r\nI") + drawn.last()[1] + QStringLiteral(" \r\n"));
    drawn << nextGroup();

    // Seven elements, and a V with nothing before it: both "#".
    for (const char *element : {"R", "H", "R", "H", "R", "H", "R", "V", " V "})
        send(element);
    QCOMPARE(form->Text8->text(), QStringLiteral("2"));
    QVERIFY(form->Text4->text().endsWith(QStringLiteral("## \r\n")));
    drawn << nextGroup();

    // The ninth line empties the decoded text.
    for (int line = 4; line <= 9; ++line) {
        QCOMPARE(form->run.linecount(), qint16(line - 1));
        keyBack(drawn.last());
        drawn << nextGroup();
    }
    QCOMPARE(form->Text4->text(), QString());
    QCOMPARE(form->run.linecount(), qint16(0));
    QCOMPARE(form->Text7->text(), QStringLiteral("7"));

    // With no copy run before it the first group was group 0, never listed,
    // and group 1 was not blanked by a Start.
    form->Command4_Click();
    QCOMPARE(fromCodePage1250(readFile(form->reportPath())),
             drawn.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n  \r\n  \r\n"));

    // A second echo run counts from 0 again, and what was keyed of the
    // group the first one left unfinished does not count into its first.
    keyBack(drawn.last().left(1));
    const QString next = startRun(&Form1::Command13_Click, "<s>");
    QCOMPARE(form->Text8->text(), QStringLiteral("0"));
    keyBack(next);
    QCOMPARE(form->Text7->text(), QStringLiteral("1"));
}

void KeyerLinkTest::received_texts_data()
{
    QTest::addColumn<QByteArrayList>("reads");
    QTest::addColumn<QString>("elementbuf");
    QTest::addColumn<QString>("log");
    QTest::addColumn<int>("groupcount");

    QTest::newRow("R with blanks is an element") << QByteArrayList{" R "} << "R"
                                                 << "" << 30;
    QTest::newRow("R with a line end is nothing") << QByteArrayList{"R\r\n"} << ""
                                                  << "R\r\n"
                                                  << 30;
    QTest::newRow("reports that came together count one by one") << QByteArrayList{"H", "V R H "} << "RH"
                                                                 << "" << 30;
    QTest::newRow("OK anywhere") << QByteArrayList{"xxOKxx"} << ""
                                 << "" << 29;
    QTest::newRow("leading carriage return hides OK") << QByteArrayList{"\rOK"} << ""
                                                      << "\r\n"
                                                      << 30;
    QTest::newRow("15 characters with OK count") << QByteArrayList{"R", "OK" + QByteArray(13, '.')} << "R"
                                                 << "" << 29;
    QTest::newRow("16 characters are noise") << QByteArrayList{"R", "OK" + QByteArray(14, '.')} << ""
                                             << "" << 30;
    // Fifteen characters each, the longest text that still counts.
    QByteArrayList noise;
    for (int i = 0; i < 300; ++i)
        noise << "noise-" + QByteArray::number(i).rightJustified(9, '.');
    QTest::newRow("the pile keeps its last 4096 characters") << noise << "" << QString(noise.join()).right(4096) << 30;
}

void KeyerLinkTest::received_texts()
{
    QFETCH(QByteArrayList, reads);
    QFETCH(QString, elementbuf);
    QFETCH(QString, log);
    QFETCH(int, groupcount);

    connect();
    for (const QByteArray &read : reads)
        send(read);
    QCOMPARE(form->run.elementbuf(), elementbuf);
    QCOMPARE(form->Text6->text(), log);
    QCOMPARE(int(form->run.groupcount()), groupcount);
}

void KeyerLinkTest::parameter_buttons_data()
{
    // Speed, letters per group, groups, pause: before the click and after.
    using P = QList<int>;
    QTest::addColumn<P>("before");
    QTest::addColumn<QString>("typedSpeed");
    QTest::addColumn<int>("button");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<P>("after");

    QTest::newRow("speed 70 and +") << P{70, 5, 30, 50} << "" << 1 << QByteArray("<u70>") << P{70, 5, 30, 50};
    QTest::newRow("speed 30 and -") << P{30, 5, 30, 50} << "" << 2 << QByteArray("<u30>") << P{30, 5, 30, 50};
    QTest::newRow("speed 60, 45 typed, +") << P{60, 5, 30, 50} << "45" << 1 << QByteArray("<u61>") << P{61, 5, 30, 50};
    QTest::newRow("speed 150 and -") << P{150, 5, 30, 50} << "" << 2 << QByteArray("<u14>") << P{149, 5, 30, 50};
    QTest::newRow("letters 15 and +") << P{60, 15, 30, 50} << "" << 8 << QByteArray("<w>") << P{60, 15, 30, 50};
    QTest::newRow("letters 2 and -") << P{60, 2, 30, 50} << "" << 9 << QByteArray("<w>") << P{60, 2, 30, 50};
    QTest::newRow("letters 20 and -") << P{60, 20, 30, 50} << "" << 9 << QByteArray("<w>") << P{60, 19, 30, 50};
    QTest::newRow("groups 247 and +") << P{60, 5, 247, 50} << "" << 10 << QByteArray() << P{60, 5, 250, 50};
    QTest::newRow("groups 12 and -") << P{60, 5, 12, 50} << "" << 11 << QByteArray() << P{60, 5, 10, 50};
    QTest::newRow("pause 30 and -") << P{60, 5, 30, 30} << "" << 14 << QByteArray("<z\x1E>") << P{60, 5, 30, 30};
    QTest::newRow("pause 55 and + gives a frame mark")
        << P{60, 5, 30, 55} << "" << 12 << QByteArray("<z<>") << P{60, 5, 30, 60};
    QTest::newRow("pause 250 and +") << P{60, 5, 30, 250} << "" << 12 << QByteArray("<z\xC8>") << P{60, 5, 30, 200};
    QTest::newRow("defaults") << P{33, 9, 99, 99} << "" << 15 << QByteArray("<w>") << P{60, 5, 30, 50};
}

void KeyerLinkTest::parameter_buttons()
{
    QFETCH(QList<int>, before);
    QFETCH(QString, typedSpeed);
    QFETCH(int, button);
    QFETCH(QByteArray, frame);
    QFETCH(QList<int>, after);

    // Parameter frames go out with or without the handshake.
    Form1 &f = *form;
    f.run.setParameters({qint16(before[0]), qint16(before[1]), qint16(before[2]), qint16(before[3])});
    if (!typedSpeed.isEmpty())
        f.Text5->setText(typedSpeed);
    f.Text7->setText(QStringLiteral("1"));
    f.Text8->setText(QStringLiteral("1"));
    f.Command13->setBackColour(Colours::green);

    QPushButton *const buttons[]
        = {nullptr,    f.Command1, f.Command2,  nullptr,     nullptr,     nullptr, nullptr,     nullptr,
           f.Command8, f.Command9, f.Command10, f.Command11, f.Command12, nullptr, f.Command14, f.Command15};
    QTest::mouseClick(buttons[button], Qt::LeftButton);

    QCOMPARE(sent(), frame);
    QCOMPARE((QList<int>{f.run.speed(), f.run.groupsize(), f.run.groupcount(), f.run.pausevalue()}), after);
    // The boxes of the parameters the button is about show their new values.
    const TextBox *const boxes[] = {f.Text5, f.Text1, f.Text2, f.Text3};
    const int parameter = button <= 2 ? 0 : button <= 9 ? 1 : button <= 11 ? 2 : button <= 14 ? 3 : -1;
    for (int i = 0; i < 4; ++i) {
        if (parameter == i || parameter < 0)
            QCOMPARE(boxes[i]->text(), QString::number(after[i]));
    }
    // A new group length starts the scoring afresh.
    QCOMPARE(f.Text7->text() + f.Text8->text(),
             button == 8 || button == 9 ? QStringLiteral("00") : QStringLiteral("11"));
    // Speed, letters per group and the defaults end the echo colour; groups
    // and pause leave it.
    QCOMPARE(f.Command13->backColour() == buttonFace, frame.startsWith("<u") || frame == "<w>");
}

void KeyerLinkTest::reads_the_band_of_its_own_keyer_data()
{
    QTest::addColumn<QByteArray>("file"); // DEVICE: the device the port leads to; none when empty
    QTest::addColumn<QString>("band"); // none when null

    QTest::newRow("the keyer's band") << QByteArray("device DEVICE\nband filter=500 snr=3\n") << "filter=500 snr=3";
    QTest::newRow("a clean band, CR LF") << QByteArray("device DEVICE\r\nband clean\r\n") << "clean";
    QTest::newRow("left by a keyer on another line") << QByteArray("device /dev/pts/999\nband clean\n") << QString();
    QTest::newRow("no file: a hardware keyer") << QByteArray() << QString();
    QTest::newRow("a band that does not read") << QByteArray("device DEVICE\nband snr=loud\n") << QString();
}

void KeyerLinkTest::reads_the_band_of_its_own_keyer()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, band);
    // The port is a link, as the launcher gives it.
    const QString device = dir->filePath(QStringLiteral("device"));
    QVERIFY(writeFile(device, {}) && QFile::link(device, link()));
    const QByteArray canonical = QFileInfo(device).canonicalFilePath().toUtf8();
    QVERIFY(file.isEmpty() || writeFile(keyerBandPath(link()), file.replace("DEVICE", canonical)));
    const std::optional<BandConditions> read = keyerBand(link());
    QCOMPARE(read ? read->toText() : QString(), band);
}

void KeyerLinkTest::keyer_unplugged_and_plugged_back()
{
    // Over the real serial port each text of the keyer is a read of its own.
    // The keyer goes in an echo run, with one letter of the group keyed back.
    startOnPseudoTerminal();
    QVERIFY(pty->send("x"));
    form->Check[2]->setChecked(true); // E only
    form->Command13_Click();
    QVERIFY(pty->waitForBytes(4 + 3 + 7));
    QCOMPARE(pty->takeReceived(), QByteArray("<qq><s><EEEEE>"));
    QVERIFY(pty->send("R") && pty->send("V"));
    pty->unplug();
    // As udev does, the name goes with the keyer: another test's new
    // pseudo-terminal may take the number the old one had.
    QVERIFY(QFile::remove(link()));
    QVERIFY(QTest::qWaitFor([&] { return form->Label5->text() == QStringLiteral("Nincs kapcsolat"); }));
    QVERIFY(!form->MSComm1.portOpen());

    // Plugged back: another line under the same name, and a fresh handshake.
    pty = std::make_unique<PtyKeyer>();
    pty->countReadsWith([this] { return readsHandled; });
    QVERIFY(QFile::link(pty->slavePath(), link()));
    QVERIFY(QTest::qWaitFor([&] { return form->MSComm1.portOpen(); }, 5000));
    QVERIFY(pty->send("x"));
    QVERIFY(pty->waitForBytes(4));
    QCOMPARE(pty->takeReceived(), QByteArray("<qq>"));
    // The run under way ended with the line: its group done sends nothing,
    // and the half-keyed group is gone: the next one keyed back scores good.
    QVERIFY(pty->send("OK"));
    // The software keyer's band, beside its link: kept with the group scored.
    QVERIFY(writeFile(keyerBandPath(link()), "device " + pty->slavePath().toUtf8() + "\nband filter=500 snr=3\n"));
    form->Command13_Click();
    QVERIFY(pty->waitForBytes(3 + 7));
    QCOMPARE(pty->takeReceived(), QByteArray("<s><EEEEE>"));
    for (char report : QByteArray("RVRVRVRVRV"))
        QVERIFY(pty->send(QByteArray(1, report)));
    QVERIFY(pty->waitForBytes(7));
    QCOMPARE(form->Text7->text(), QStringLiteral("1"));
    History history;
    QCOMPARE(history.openForReading(form->historyPath()), History::Reading::Open);
    QCOMPARE(history.echoGroups().value(0).conditions, BandConditions::fromText(u"filter=500 snr=3"));
}

QTEST_MAIN(KeyerLinkTest)
#include "tst_keyerlink.moc"
