// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/frames.h"

#include "common/codepage.h"

QByteArray groupFrame(QStringView letters)
{
    return '<' + toCodePage1250(letters) + '>';
}

QByteArray copyStartFrame()
{
    return QByteArrayLiteral("<r>");
}
QByteArray echoStartFrame()
{
    return QByteArrayLiteral("<s>");
}
QByteArray handshakeReply()
{
    return QByteArrayLiteral("<qq>");
}
QByteArray wFrame()
{
    return QByteArrayLiteral("<w>");
}

QByteArray speedFrame(QStringView speedText)
{
    QString digits = speedText.trimmed().left(2).toString();
    return "<u" + toCodePage1250(digits) + '>';
}

QByteArray pauseFrame(quint8 pause)
{
    QByteArray frame("<z");
    frame.append(char(pause));
    frame.append('>');
    return frame;
}
