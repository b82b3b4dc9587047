// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/form1.h"

#include "common/spokennotice.h"
#include "window/colourbutton.h"
#include "window/textbox.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>

#include <tuple>

Form1::Form1(const Options &options, QWidget *parent)
    : QWidget(parent)
    , m_options(options)
    , m_folderLock(QDir(options.dataDir).filePath(QStringLiteral("vestranoli.lock")))
{
    createControls();
    setFocusOrder();
    nameControls();
    wireEvents();
}

QString Form1::reportPath() const
{
    return QDir(m_options.dataDir).filePath(QStringLiteral("morse.txt"));
}

QString Form1::settingsPath() const
{
    return QDir(m_options.dataDir).filePath(QStringLiteral("ini.txt"));
}

QString Form1::historyPath() const
{
    return QDir(m_options.dataDir).filePath(QStringLiteral("history.sqlite"));
}

void Form1::wireEvents()
{
    for (int n = 1; n <= 47; ++n)
        connect(Check[n], &QCheckBox::toggled, this, [this, n] { Check_Click(n); });

    const std::pair<QPushButton *, void (Form1::*)()> clicks[] = {
        {Command1, &Form1::Command1_Click},   {Command2, &Form1::Command2_Click},
        {Command3, &Form1::Command3_Click},   {Command4, &Form1::Command4_Click},
        {Command5, &Form1::Command5_Click},   {Command6, &Form1::Command6_Click},
        {Command7, &Form1::Command7_Click},   {Command8, &Form1::Command8_Click},
        {Command9, &Form1::Command9_Click},   {Command10, &Form1::Command10_Click},
        {Command11, &Form1::Command11_Click}, {Command12, &Form1::Command12_Click},
        {Command13, &Form1::Command13_Click}, {Command14, &Form1::Command14_Click},
        {Command15, &Form1::Command15_Click},
    };
    for (const auto &[button, handler] : clicks)
        connect(button, &QPushButton::clicked, this, handler);
    // After its handler, each "+" and "-" says the value it left.
    for (auto [button, caption, box] : {std::tuple{Command8, Label1, Text1},
                                        {Command9, Label1, Text1},
                                        {Command10, Label2, Text2},
                                        {Command11, Label2, Text2},
                                        {Command1, Label3, Text5},
                                        {Command2, Label3, Text5},
                                        {Command12, Label4, Text3},
                                        {Command14, Label4, Text3}})
        connect(button, &QPushButton::clicked, this, [=, this] { notice->say(caption->text() + ' ' + box->text()); });
    // The two colours said in words, to a screen reader that asks.
    Command13->setColourMeaning(QStringLiteral("a visszaadás fut"));
    Command4->setColourMeaning(QStringLiteral("a futás véget ért"));

    connect(&MSComm1, &MSComm::OnComm, this, &Form1::MSComm1_OnComm);
}

// Label5 says whether the keyer's handshake has been answered.
void Form1::showLinkState()
{
    QPalette p = Label5->palette();
    p.setColor(QPalette::WindowText, connected ? Colours::darkGreen : Colours::red);
    Label5->setPalette(p);
    Label5->setText(connected ? QStringLiteral("Kapcsolat OK") : QStringLiteral("Nincs kapcsolat"));
    if (isVisible())
        notice->say(Label5->text());
}

// Runs and the check report need the keyer; without it they only say so.
bool Form1::keyerAnswered()
{
    if (!connected)
        messageBox.critical(this, QStringLiteral("Nincs soros kapcsolat !!!"));
    return connected;
}

// Frames go to the line one byte per Output, back to back, unchecked: a
// frame sent while no keyer listens is simply lost. The serial port may pass
// the bytes of a frame to the device in one system write; the bytes on the
// line are the same.
void Form1::sendFrame(const QByteArray &frame)
{
    for (char byte : frame)
        MSComm1.Output(byte);
}
