// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/form1.h"

#include "common/frames.h"
#include "common/spokennotice.h"
#include "link/receivedtext.h"
#include "window/colourbutton.h"
#include "window/textbox.h"

#include <QLabel>

// One read from the keyer, logged whole; reports that came together are
// then taken one by one.
void Form1::MSComm1_OnComm()
{
    if (MSComm1.CommEvent() == MSComm::comEventLineLost) {
        lineLost();
        return;
    }
    QString read;
    if (MSComm1.CommEvent() == MSComm::comEvReceive) {
        read = readForLog(MSComm1.Input());
        appendToReceiveLog(read);
    }
    for (const QString &text : separateReports(read))
        takeToken(trimSpaces(text));
}

// The token is tested in a fixed order; a branch that acts on it empties it,
// so the later tests find nothing.
void Form1::takeToken(QString token)
{
    // Element report.
    if (connected && (token == QLatin1Char(KeyerText::dot) || token == QLatin1Char(KeyerText::dash))) {
        run.takeElement(token.at(0));
        token.clear();
        Text6->setText(QString());
    }

    // Character end.
    if (token == QLatin1Char(KeyerText::characterEnd)) {
        const Run::CharacterEnd end = run.takeCharacterEnd();
        Text4->appendText(end.character);
        if (end.groupScored) {
            if (end.good)
                Text7->setText(QString::number(run.goodgroups()));
            else
                Text8->setText(QString::number(run.badgroups()));
            Text4->appendText(QStringLiteral(" \r\n"));
            if (end.decodedTextFull)
                Text4->setText(QString());
            kikukdo();
            recordEchoGroup(end);
            sayScore(end.sent, end.decoded);
        }
        token.clear();
        Text6->setText(QString());
    }

    // Overlong token: noise, and whatever was being keyed goes with it.
    if (token.size() > longestToken) {
        token.clear();
        Text6->setText(QString());
        run.dropElements();
    }

    // Handshake request, answered once.
    if (token.contains(QLatin1Char('x')) && !connected) {
        Text6->setText(QString());
        sendFrame(handshakeReply());
        connected = true;
        showLinkState();
        run.dropElements();
    }

    // Group done.
    if (token.contains(QLatin1String(KeyerText::groupPlayed).trimmed())) {
        Text6->setText(QString());
        if (run.groupPlayed()) {
            kikukdo();
        } else {
            Text6->setText(QString());
            Command4->setBackColour(Colours::green);
            notice->say(QStringLiteral("A futás véget ért."));
            recordCopyRun();
        }
    }
}

// The keyer is gone. When it is back it announces itself again and is
// answered as at start; a run it was playing is over, so its next group
// done sends nothing.
void Form1::lineLost()
{
    connected = false;
    showLinkState();
    run.lineLost();
    Command13->setButtonFace();
}

// Text that matches nothing piles up in the raw log; only its latest part is
// worth keeping.
void Form1::appendToReceiveLog(const QString &read)
{
    Text6->setText((Text6->text() + read).right(receiveLogLimit));
}

// Each group scored is said at once, wherever the focus is (the trainee
// keys back in the keyer's window): the group alone when right, else what
// came back for it and each character taken for another, in the words
// "KMESA instead of KMRSA: E instead of R" put the Hungarian way round.
void Form1::sayScore(const QString &sent, const QString &decoded)
{
    if (sent.trimmed().isEmpty()) { // nothing ticked: the groups are blanks
        notice->say(QStringLiteral("Nem ment jel: jelölje be a gyakorolni kívánt jeleket."));
        return;
    }
    if (sent == decoded) {
        notice->say(QStringLiteral("%1: jó").arg(sent));
        return;
    }
    QStringList wrong;
    for (qsizetype i = 0; i < qMax(sent.size(), decoded.size()); ++i) {
        if (sent.mid(i, 1) != decoded.mid(i, 1))
            wrong << QStringLiteral("%1 helyett %2").arg(sent.mid(i, 1), decoded.mid(i, 1));
    }
    notice->say(QStringLiteral("%1 helyett %2: %3").arg(sent, decoded, wrong.join(QStringLiteral(", "))));
}
