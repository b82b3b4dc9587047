// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

// One frame from the trainer, or a run of bytes that made no frame.
struct Frame {
    enum Kind {
        Group, // "<", letters, ">": letters holds them (may be empty)
        CopyStart, // <r>
        EchoStart, // <s>
        HandshakeReply, // <qq>
        Speed, // "<u", two digits, ">": value holds the speed
        Pause, // "<z", one byte, ">": value holds the byte
        W, // <w>
        Skipped, // bytes that were not a frame: raw holds them
    };
    Kind kind = Skipped;
    int value = 0;
    QString letters;
    QByteArray raw;

    bool operator==(const Frame &other) const = default;
};

// Cuts the byte stream from the trainer into frames, however the reads split
// or join them. A frame that goes wrong is dropped and reading picks up again
// at the next "<"; the dropped bytes come out as one Skipped frame, so that
// the same stream gives the same frames whatever its splits.
class FrameReader
{
public:
    QList<Frame> feed(QByteArrayView bytes);

    // A group frame holds at most this many letters.
    static constexpr int maxGroupLetters = 18;
    // Bytes that make no frame are given out in pieces of at most this many,
    // so a line that never sends "<" cannot make the reader grow without end.
    static constexpr int maxSkippedBytes = 256;

private:
    enum class State {
        Outside, // between frames: bytes here are garbage
        Command, // after "<": the next byte says what frame this is
        Handshake, // after "<q"
        SpeedDigits,
        PauseValue, // the next byte is the value, whatever it is
        Closing, // the next byte must be ">"
        Letters, // inside a group frame
        Skipping, // a frame went wrong: wait for the next "<"
    };

    void startFrame(QList<Frame> &out);
    void fail(QList<Frame> &out, char byte);
    void skip(QList<Frame> &out, char byte);
    void finish(QList<Frame> &out, Frame frame);

    State m_state = State::Outside;
    QByteArray m_bytes; // the bytes of the frame (or garbage) so far
    Frame m_pending; // what the frame is once ">" comes
};

// The bytes as text for a message: printable ASCII as it is, others in hex.
QString printableBytes(QByteArrayView bytes);
