// The trainer against a keyer played by the test over a pseudo-terminal,
// through the real serial port.

#include "common/codepage.h"
#include "common/morsetable.h"
#include "ptykeyer.h"
#include "window/colourbutton.h"
#include "window/form1.h"
#include "window/textbox.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <sys/resource.h>

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

const QColor buttonFace()
{
    return QApplication::palette().color(QPalette::Button);
}

} // namespace

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
    void group_record_holds_250_groups();
    void stop_makes_the_current_group_the_last();
    void echo_run_scores_each_group();
    void nine_groups_empty_the_decoded_text();
    void echo_before_any_start();
    void received_texts_data();
    void received_texts();
    void raw_log_stays_bounded();
    void parameter_buttons();
    void keyer_going_away();

private:
    // Answers the keyer's "x" and forgets the handshake reply.
    void connect();
    // Sets letters per group with the "-" and "+" buttons, whose w frames are dropped.
    void setGroupsize(int size);
    // Clicks a run's start button and checks its start frame; gives the
    // first group, without its marks.
    QString startRun(void (Form1::*click)(), const QByteArray &startFrame);
    // The next group frame from the trainer, without its marks.
    QString nextGroup();
    // Keys one character back, element by element.
    void keyBack(QChar character);
    // Proves the line is quiet: the next bytes are the w frame of "Alapbeállítás".
    void expectNothingMoreSent();

    std::unique_ptr<PtyKeyer> keyer;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<Form1> form;
    QStringList messages;
    int ends = 0;
    int readsHandled = 0;
};

void KeyerLinkTest::init()
{
    keyer = std::make_unique<PtyKeyer>();
    QVERIFY(keyer->isOpen());
    dir = std::make_unique<QTemporaryDir>();
    form = std::make_unique<Form1>(Options{dir->path(), keyer->slavePath()});
    messages.clear();
    ends = 0;
    readsHandled = 0;
    // Connected after the window's own handler, so it counts handled reads.
    QObject::connect(&form->MSComm1, &MSComm::OnComm, form.get(), [this] {
        if (form->MSComm1.CommEvent() == MSComm::comEvReceive)
            ++readsHandled;
    });
    keyer->countReadsWith([this] { return readsHandled; });
    form->messageBox.interceptWith([this](const QString &text) { messages.append(text); });
    form->programEnd.interceptWith([this] { ++ends; });
    form->Form_Load();
    QVERIFY(form->MSComm1.portOpen());
}

void KeyerLinkTest::cleanup()
{
    form.reset();
    keyer.reset();
    dir.reset();
}

void KeyerLinkTest::connect()
{
    QVERIFY(keyer->send("x"));
    QVERIFY(keyer->waitForBytes(4));
    QCOMPARE(keyer->takeReceived(), QByteArray("<qq>"));
    QVERIFY(form->connected);
}

void KeyerLinkTest::setGroupsize(int size)
{
    int clicks = 0;
    for (; form->groupsize > size; ++clicks)
        form->Command9_Click();
    for (; form->groupsize < size; ++clicks)
        form->Command8_Click();
    QVERIFY(keyer->waitForBytes(3 * clicks));
    QCOMPARE(keyer->takeReceived(), QByteArray("<w>").repeated(clicks));
}

QString KeyerLinkTest::startRun(void (Form1::*click)(), const QByteArray &startFrame)
{
    (form.get()->*click)();
    const qsizetype size = startFrame.size() + qMax(0, int(form->groupsize)) + 2;
    if (!keyer->waitForBytes(size))
        return QStringLiteral("<timeout: %1>").arg(QString::fromLatin1(keyer->received()));
    const QByteArray bytes = keyer->takeReceived();
    if (bytes.size() != size || !bytes.startsWith(startFrame + '<') || !bytes.endsWith('>'))
        return QStringLiteral("<not a start: %1>").arg(QString::fromLatin1(bytes));
    return fromCodePage1250(bytes.mid(startFrame.size() + 1, size - startFrame.size() - 2));
}

QString KeyerLinkTest::nextGroup()
{
    if (!keyer->waitForBytes(form->groupsize + 2))
        return QStringLiteral("<timeout: %1>").arg(QString::fromLatin1(keyer->received()));
    QByteArray bytes = keyer->takeReceived();
    if (!bytes.startsWith('<') || !bytes.endsWith('>'))
        return QStringLiteral("<not one frame: %1>").arg(QString::fromLatin1(bytes));
    return fromCodePage1250(bytes.mid(1, bytes.size() - 2));
}

void KeyerLinkTest::keyBack(QChar character)
{
    for (QChar element : elementsOf(character))
        QVERIFY(keyer->send(QByteArray(1, char(element.unicode()))));
    QVERIFY(keyer->send("V"));
}

void KeyerLinkTest::expectNothingMoreSent()
{
    form->Command15_Click();
    QVERIFY(keyer->waitForBytes(3));
    QCOMPARE(keyer->takeReceived(), QByteArray("<w>"));
}

void KeyerLinkTest::handshake()
{
    QVERIFY(keyer->send("R"));
    QVERIFY(keyer->send("H"));
    QCOMPARE(form->Text6->text(), QStringLiteral("RH"));
    QVERIFY(form->elementbuf.isEmpty());
    QVERIFY(keyer->send("X"));
    QVERIFY(!form->connected);

    QVERIFY(keyer->send("ax b"));
    QVERIFY(keyer->waitForBytes(4));
    QCOMPARE(keyer->takeReceived().toHex(' '), QByteArray("3c 71 71 3e"));
    QVERIFY(form->connected);
    QCOMPARE(form->Label5->text(), QStringLiteral("Kapcsolat OK"));
    QCOMPARE(form->Label5->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    QCOMPARE(form->Text6->text(), QString());

    // Answered once only.
    QVERIFY(keyer->send("x"));
    QCOMPARE(form->Text6->text(), QStringLiteral("x"));
    expectNothingMoreSent();
}

void KeyerLinkTest::refuses_before_the_handshake()
{
    QFile::resize(form->reportPath(), 0);
    form->Command6_Click();
    form->Command13_Click();
    form->Command4_Click();
    QCOMPARE(messages, QStringList(3, QStringLiteral("Nincs soros kapcsolat !!!")));
    QCOMPARE(form->groupindex, qint16(0));
    QCOMPARE(form->blindmode, qint16(0));
    QCOMPARE(form->Command13->backColour(), buttonFace());
    QCOMPARE(readFile(form->reportPath()), QByteArray());
    expectNothingMoreSent();
}

void KeyerLinkTest::copy_run_of_three_groups()
{
    connect();
    setGroupsize(3);
    for (int n : {1, 2, 3})
        form->Check[n]->setChecked(true);
    form->Text2->setText(QStringLiteral("3"));
    form->Command4->setBackColour(Colours::green);

    QStringList groups;
    groups << startRun(&Form1::Command6_Click, "<r>");
    QCOMPARE(form->Command4->backColour(), buttonFace());
    QCOMPARE(form->Text9->text(), QStringLiteral(" "));
    QVERIFY(keyer->send("OK\r\n"));
    groups << nextGroup();
    QVERIFY(keyer->send("OK\r\n"));
    groups << nextGroup();
    QVERIFY(keyer->send("OK\r\n"));
    QCOMPARE(form->Command4->backColour(), QColor(0, 192, 0));
    QCOMPARE(form->groupcount, qint16(0));
    QCOMPARE(form->groupindex, qint16(4));
    expectNothingMoreSent();

    for (const QString &group : groups) {
        QCOMPARE(group.size(), 3);
        for (QChar c : group)
            QVERIFY2(QStringLiteral("TEM").contains(c), qPrintable(group));
    }

    form->Command4_Click();
    QByteArray block;
    QString listing;
    for (const QString &group : groups) {
        block += group.toLatin1() + "\r\n";
        listing += group + QString(12, QLatin1Char(' ')) + QStringLiteral("\r\n");
    }
    block += "  \r\n  \r\n";
    QCOMPARE(readFile(form->reportPath()), block);
    QCOMPARE(form->Text4->text(), listing);
    QCOMPARE(form->Text6->text(), QString());
    form->Command4_Click();
    QCOMPARE(readFile(form->reportPath()), block + block);
}

void KeyerLinkTest::copy_run_edge_groups()
{
    connect();
    // Nothing selected: blanks keep the frame's length, nothing is recorded.
    form->Text2->setText(QStringLiteral("1 2"));
    QCOMPARE(startRun(&Form1::Command6_Click, "<r>"), QStringLiteral("     "));
    QCOMPARE(form->groupcount, qint16(12));
    QVERIFY(form->txgroup.isEmpty());
    QCOMPARE(form->Text9->text(), QStringLiteral(" "));

    // Only É selected.
    form->Check[28]->setChecked(true);
    QVERIFY(keyer->send("OK"));
    QCOMPARE(nextGroup(), QString(5, QChar(0xC9)));
    form->Command7_Click();
    QVERIFY(keyer->send("OK"));
    form->Command4_Click();
    QCOMPARE(readFile(form->reportPath()), QByteArray("\r\n\xC9\xC9\xC9\xC9\xC9\r\n  \r\n  \r\n"));
    QCOMPARE(form->Text4->text(), QString(15, QLatin1Char(' ')) + QStringLiteral("\r\n") + QString(5, QChar(0xC9))
                                      + QString(10, QLatin1Char(' ')) + QStringLiteral("\r\n"));

    // Letters per group 0 from the settings file: an empty frame, still counted.
    form->groupsize = 0;
    form->Text2->setText(QStringLiteral("abc"));
    QCOMPARE(startRun(&Form1::Command6_Click, "<r>"), QString());
    QCOMPARE(form->groupcount, qint16(0));
    QCOMPARE(form->groupindex, qint16(2));
    QVERIFY(keyer->send("OK"));
    QCOMPARE(form->Command4->backColour(), QColor(0, 192, 0));

    // A count outside 16 bits is held to it.
    form->Text2->setText(QStringLiteral("70000"));
    form->Command6_Click();
    QCOMPARE(form->groupcount, qint16(32767));
}

void KeyerLinkTest::group_record_holds_250_groups()
{
    connect();
    setGroupsize(2);
    form->Check[1]->setChecked(true);
    form->Text2->setText(QStringLiteral("300"));
    QCOMPARE(startRun(&Form1::Command6_Click, "<r>"), QStringLiteral("TT"));
    form->groupindex = 250;
    QVERIFY(keyer->send("OK"));
    QCOMPARE(nextGroup(), QStringLiteral("TT")); // group 250, recorded
    form->Check[1]->setChecked(false);
    form->Check[2]->setChecked(true);
    QVERIFY(keyer->send("OK"));
    QCOMPARE(nextGroup(), QStringLiteral("EE")); // group 251: sent, not recorded
    QCOMPARE(form->groupindex, qint16(252));

    form->Command4_Click();
    const QList<QByteArray> lines = readFile(form->reportPath()).split('\n');
    QCOMPARE(lines.size(), 250 + 2 + 1);
    QCOMPARE(lines[0], QByteArray("TT\r"));      // group 1
    QCOMPARE(lines[248], QByteArray("\r"));      // group 249 never drawn: spaces only
    QCOMPARE(lines[249], QByteArray("TT\r"));    // group 250
    QCOMPARE(lines[250], QByteArray("  \r"));

    form->groupindex = 32767;
    QVERIFY(keyer->send("OK"));
    QCOMPARE(nextGroup(), QStringLiteral("EE"));
    QCOMPARE(form->groupindex, qint16(32767));
}

void KeyerLinkTest::stop_makes_the_current_group_the_last()
{
    connect();
    form->Command7_Click();
    QCOMPARE(form->groupcount, qint16(1));
    expectNothingMoreSent();

    form->Check[5]->setChecked(true);
    form->Text2->setText(QStringLiteral("20"));
    QCOMPARE(startRun(&Form1::Command6_Click, "<r>"), QStringLiteral("IIIII"));
    QVERIFY(keyer->send("OK"));
    QCOMPARE(nextGroup(), QStringLiteral("IIIII"));
    form->Command7_Click();
    QVERIFY(keyer->send("OK"));
    QCOMPARE(form->Command4->backColour(), QColor(0, 192, 0));
    expectNothingMoreSent();
    form->Command4_Click();
    QCOMPARE(readFile(form->reportPath()), QByteArray("IIIII\r\nIIIII\r\n  \r\n  \r\n"));
}

void KeyerLinkTest::echo_run_scores_each_group()
{
    connect();
    setGroupsize(2);
    for (int n : {2, 8})
        form->Check[n]->setChecked(true);
    form->goodgroups = 4;
    form->Command4->setBackColour(Colours::green);

    const QString group = startRun(&Form1::Command13_Click, "<s>");
    QCOMPARE(group.size(), 2);
    QCOMPARE(form->Command13->backColour(), QColor(0, 192, 0));
    QCOMPARE(form->Command4->backColour(), buttonFace());
    QCOMPARE(form->Text7->text(), QStringLiteral("0"));
    QCOMPARE(form->Text8->text(), QStringLiteral("0"));
    QCOMPARE(form->Text9->text(), QLatin1Char(' ') + group);

    // Keyed back right: scored good, and the next group follows the last V.
    keyBack(group[0]);
    QCOMPARE(form->Text4->text(), QString(group[0]));
    keyBack(group[1]);
    QCOMPARE(form->Text7->text(), QStringLiteral("1"));
    QCOMPARE(form->Text4->text(), group + QStringLiteral(" \r\n"));
    const QString second = nextGroup();
    QCOMPARE(second.size(), 2);
    QCOMPARE(form->txgroup, second);

    // Keyed back wrong: I for the first letter.
    keyBack(QLatin1Char('I'));
    keyBack(second[1]);
    QCOMPARE(form->Text8->text(), QStringLiteral("1"));
    QCOMPARE(form->Text7->text(), QStringLiteral("1"));
    QCOMPARE(form->Text4->text(), group + QStringLiteral(" \r\nI") + second[1] + QStringLiteral(" \r\n"));
    QCOMPARE(nextGroup().size(), 2);

    // Seven elements, and a V with nothing before it: both "#".
    for (const char *element : {"R", "H", "R", "H", "R", "H", "R"})
        QVERIFY(keyer->send(element));
    QVERIFY(keyer->send("V"));
    QVERIFY(keyer->send(" V "));
    QCOMPARE(form->Text8->text(), QStringLiteral("2"));
    QVERIFY(form->Text4->text().endsWith(QStringLiteral("## \r\n")));
    QCOMPARE(nextGroup().size(), 2);

    // A second echo run counts from 0 again.
    QCOMPARE(startRun(&Form1::Command13_Click, "<s>").size(), 2);
    QCOMPARE(form->Text7->text(), QStringLiteral("0"));
    QCOMPARE(form->Text8->text(), QStringLiteral("0"));
    QCOMPARE(form->goodgroups, qint16(0));
}

void KeyerLinkTest::nine_groups_empty_the_decoded_text()
{
    connect();
    setGroupsize(2);
    form->Check[2]->setChecked(true); // E only: every group is EE
    QCOMPARE(startRun(&Form1::Command13_Click, "<s>"), QStringLiteral("EE"));
    for (int g = 1; g <= 8; ++g) {
        keyBack(QLatin1Char('E'));
        keyBack(QLatin1Char('E'));
        QCOMPARE(nextGroup(), QStringLiteral("EE"));
    }
    QCOMPARE(form->Text4->text().count(QStringLiteral("EE \r\n")), 8);
    QCOMPARE(form->linecount, qint16(8));
    keyBack(QLatin1Char('E'));
    keyBack(QLatin1Char('E'));
    QCOMPARE(form->Text4->text(), QString());
    QCOMPARE(form->linecount, qint16(0));
    QCOMPARE(form->Text7->text(), QStringLiteral("9"));
}

void KeyerLinkTest::echo_before_any_start()
{
    connect();
    setGroupsize(2);
    form->Check[1]->setChecked(true);
    QCOMPARE(startRun(&Form1::Command13_Click, "<s>"), QStringLiteral("TT"));
    QCOMPARE(form->groupindex, qint16(1)); // that group was group 0
    keyBack(QLatin1Char('T'));
    keyBack(QLatin1Char('T'));
    QCOMPARE(nextGroup(), QStringLiteral("TT"));
    form->Command4_Click();
    QCOMPARE(readFile(form->reportPath()), QByteArray("TT\r\n  \r\n  \r\n"));
    // Group 0 is never listed and group 1 was not blanked by a Start.
    QCOMPARE(form->Text4->text(), QStringLiteral("TT\r\n"));
}

void KeyerLinkTest::received_texts_data()
{
    QTest::addColumn<QByteArrayList>("reads");
    QTest::addColumn<QString>("elementbuf");
    QTest::addColumn<QString>("log");
    QTest::addColumn<int>("groupcount");

    QTest::newRow("R with blanks is an element") << QByteArrayList{" R "} << "R" << "" << 30;
    QTest::newRow("R with a line end is nothing") << QByteArrayList{"R\r\n"} << "" << "R\r\n" << 30;
    QTest::newRow("lower case r is nothing") << QByteArrayList{"r"} << "" << "r" << 30;
    QTest::newRow("two reports in one read are lost") << QByteArrayList{"RH"} << "" << "RH" << 30;
    QTest::newRow("OK with a line end") << QByteArrayList{"OK\r\n"} << "" << "" << 29;
    QTest::newRow("OK anywhere") << QByteArrayList{"xxOKxx"} << "" << "" << 29;
    QTest::newRow("ok is nothing") << QByteArrayList{"ok"} << "" << "ok" << 30;
    QTest::newRow("leading carriage return hides OK") << QByteArrayList{"\rOK"} << "" << "\r\n" << 30;
    QTest::newRow("15 characters with OK count") << QByteArrayList{"R", "OK" + QByteArray(13, '.')} << "R" << "" << 29;
    QTest::newRow("16 characters are noise") << QByteArrayList{"R", "OK" + QByteArray(14, '.')} << "" << "" << 30;
    QTest::newRow("blanks do not count towards 16")
        << QByteArrayList{"   OK" + QByteArray(13, '.') + "   "} << "" << "" << 29;
    QTest::newRow("unmatched texts pile up") << QByteArrayList{"a", "b", "c"} << "" << "abc" << 30;
}

void KeyerLinkTest::received_texts()
{
    QFETCH(QByteArrayList, reads);
    QFETCH(QString, elementbuf);
    QFETCH(QString, log);
    QFETCH(int, groupcount);

    connect();
    form->groupcount = 30;
    for (const QByteArray &read : reads)
        QVERIFY(keyer->send(read));
    QCOMPARE(form->elementbuf, elementbuf);
    QCOMPARE(form->Text6->text(), log);
    QCOMPARE(int(form->groupcount), groupcount);
}

void KeyerLinkTest::raw_log_stays_bounded()
{
    // Fifteen characters each, the longest text that still counts.
    for (int i = 0; i < 300; ++i)
        QVERIFY(keyer->send("noise-" + QByteArray::number(i).rightJustified(9, '.')));
    QCOMPARE(form->Text6->text().size(), 4096);
    QVERIFY(form->Text6->text().endsWith(QLatin1String("noise-......299")));
}

void KeyerLinkTest::parameter_buttons()
{
    // Parameter frames go out with or without the handshake.
    struct Case {
        const char *name;
        std::function<void()> act;
        QByteArray frame;
        std::function<bool()> after;
    };
    Form1 &f = *form;
    const QList<Case> cases = {
        {"speed 70 and +", [&] { f.speed = 70; f.Command1_Click(); }, "<u70>",
         [&] { return f.speed == 70 && f.Text5->text() == QLatin1String("70"); }},
        {"speed 30 and -", [&] { f.speed = 30; f.Command2_Click(); }, "<u30>", [&] { return f.speed == 30; }},
        {"speed 60, 45 typed, +", [&] { f.speed = 60; f.Text5->setText(QStringLiteral("45")); f.Command1_Click(); },
         "<u61>", [&] { return f.Text5->text() == QLatin1String("61"); }},
        {"speed 150 and +", [&] { f.speed = 150; f.Command1_Click(); }, "<u15>", [&] { return f.speed == 150; }},
        {"speed 150 and -", [&] { f.speed = 150; f.Command2_Click(); }, "<u14>", [&] { return f.speed == 149; }},
        {"speed 20 and +", [&] { f.speed = 20; f.Command1_Click(); }, "<u21>", [&] { return f.speed == 21; }},
        {"letters 15 and +", [&] { f.groupsize = 15; f.goodgroups = 3; f.badgroups = 2; f.rxletters = 1;
                                   f.Text7->setText(QStringLiteral("3")); f.Command8_Click(); },
         "<w>", [&] { return f.groupsize == 15 && f.Text1->text() == QLatin1String("15") && f.goodgroups == 0
                             && f.badgroups == 0 && f.rxletters == 0 && f.Text7->text() == QLatin1String("0")
                             && f.Text8->text() == QLatin1String("0"); }},
        {"letters 2 and -", [&] { f.groupsize = 2; f.Command9_Click(); }, "<w>", [&] { return f.groupsize == 2; }},
        {"letters 20 and -", [&] { f.groupsize = 20; f.Command9_Click(); }, "<w>", [&] { return f.groupsize == 19; }},
        {"groups 250 and +", [&] { f.groupcount = 250; f.Command10_Click(); }, "", [&] { return f.groupcount == 250; }},
        {"groups 247 and +", [&] { f.groupcount = 247; f.Command10_Click(); }, "",
         [&] { return f.groupcount == 250 && f.Text2->text() == QLatin1String("250"); }},
        {"groups 245 and +", [&] { f.groupcount = 245; f.Command10_Click(); }, "", [&] { return f.groupcount == 250; }},
        {"groups 12 and -", [&] { f.groupcount = 12; f.Command11_Click(); }, "", [&] { return f.groupcount == 10; }},
        {"groups 10 and -", [&] { f.groupcount = 10; f.Command11_Click(); }, "", [&] { return f.groupcount == 10; }},
        {"pause 200 and +", [&] { f.pausevalue = 200; f.Command12_Click(); }, "<z\xC8>",
         [&] { return f.pausevalue == 200; }},
        {"pause 30 and -", [&] { f.pausevalue = 30; f.Command14_Click(); }, "<z\x1E>", [&] { return f.pausevalue == 30; }},
        {"pause 55 and + gives a frame mark", [&] { f.pausevalue = 55; f.Command12_Click(); }, "<z<>",
         [&] { return f.pausevalue == 60 && f.Text3->text() == QLatin1String("60"); }},
        {"pause 250 and +", [&] { f.pausevalue = 250; f.Command12_Click(); }, "<z\xC8>",
         [&] { return f.pausevalue == 200; }},
        {"defaults", [&] { f.speed = 33; f.groupsize = 9; f.groupcount = 99; f.pausevalue = 99; f.Command15_Click(); },
         "<w>", [&] { return f.speed == 60 && f.groupsize == 5 && f.groupcount == 30 && f.pausevalue == 50
                             && f.Text1->text() == QLatin1String("5") && f.Text2->text() == QLatin1String("30")
                             && f.Text3->text() == QLatin1String("50") && f.Text5->text() == QLatin1String("60"); }},
    };
    for (const Case &c : cases) {
        f.Command13->setBackColour(Colours::green);
        c.act();
        QVERIFY2(c.after(), c.name);
        const bool clearsEchoColour = f.Command13->backColour() == buttonFace();
        // Each case is followed by a w frame, so a case that sends nothing
        // shows up as the w frame alone.
        f.Command15_Click();
        const QByteArray expected = c.frame + "<w>";
        QVERIFY2(keyer->waitForBytes(expected.size()), c.name);
        QVERIFY2(keyer->takeReceived() == expected, c.name);
        // Speed, letters per group and the defaults end the echo colour;
        // groups and pause leave it.
        QVERIFY2(clearsEchoColour == (c.frame.startsWith("<u") || c.frame == "<w>"), c.name);
    }

}

void KeyerLinkTest::keyer_going_away()
{
    connect();
    form->Check[1]->setChecked(true);
    QCOMPARE(startRun(&Form1::Command6_Click, "<r>"), QStringLiteral("TTTTT"));
    keyer->unplug();

    const double before = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    // A measuring window, not a wait for a condition: the program must stay
    // quiet for the whole of it.
    QVERIFY(QTest::qWaitFor([&] { return clock.elapsed() >= 2000; }, 5000));
    const double used = cpuSeconds() - before;
    qInfo("CPU time over %lld ms after the hang-up: %.1f ms", clock.elapsed(), used * 1000);
    QVERIFY2(used < 0.050, qPrintable(QString::number(used * 1000) + " ms"));
    QVERIFY(!form->MSComm1.portOpen());

    // Still usable: frames are dropped, the settings are saved.
    form->Command1_Click();
    QCOMPARE(form->Text5->text(), QStringLiteral("61"));
    QTest::mouseClick(form->Command5, Qt::LeftButton);
    QCOMPARE(ends, 1);
    QCOMPARE(readFile(form->settingsPath()), QByteArray("T\r\n 61 5 30 50\r\n"));
}

QTEST_MAIN(KeyerLinkTest)
#include "tst_keyerlink.moc"
