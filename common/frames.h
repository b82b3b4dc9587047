// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// The protocol on the line, both ways, as the bytes on the wire.
//
// Trainer to keyer: the frames below. The window hands them to the line one
// byte at a time; the keyer cuts them out of what it reads with FrameReader
// (common/framereader.h).
//
// Keyer to trainer: the texts in KeyerText. An echo group keyed back comes
// as one letter per element and one at the end of each character; the
// Morse table writes a character's elements with the same letters.
namespace KeyerText {
inline constexpr char dot = 'R';
inline constexpr char dash = 'H';
inline constexpr char characterEnd = 'V';
inline constexpr char hello[] = "x"; // said until the trainer answers <qq>
inline constexpr char groupPlayed[] = "OK\r\n"; // a copy run's group has been played
} // namespace KeyerText

// "<", the letters coded in code page 1250, ">".
QByteArray groupFrame(QStringView letters);
QByteArray copyStartFrame(); // <r>
QByteArray echoStartFrame(); // <s>
QByteArray handshakeReply(); // <qq>
QByteArray wFrame(); // <w>

// "<u", the first two characters of the speed as shown in its box (blanks
// removed), ">". A speed of 100 or more loses its last digits; the keyer only
// ever reads two.
QByteArray speedFrame(QStringView speedText);

// "<z", the pause as one byte (not its digits), ">". The value byte may be
// "<" or ">"; the keyer knows the frame is always four bytes long.
QByteArray pauseFrame(quint8 pause);
