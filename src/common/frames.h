#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// The frames the trainer sends to the keyer, as the bytes on the wire. The
// window hands them to the line one byte at a time.

// "<", the letters coded in code page 1250, ">".
QByteArray groupFrame(QStringView letters);
QByteArray copyStartFrame();   // <r>
QByteArray echoStartFrame();   // <s>
QByteArray handshakeReply();   // <qq>
QByteArray wFrame();           // <w>

// "<u", the first two characters of the speed as shown in its box (blanks
// removed), ">". A speed of 100 or more loses its last digits; the keyer only
// ever reads two.
QByteArray speedFrame(QStringView speedText);

// "<z", the pause as one byte (not its digits), ">". The value byte may be
// "<" or ">"; the keyer knows the frame is always four bytes long.
QByteArray pauseFrame(quint8 pause);
