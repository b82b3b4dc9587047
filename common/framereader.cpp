// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/framereader.h"

#include "common/codepage.h"

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

QList<Frame> FrameReader::feed(QByteArrayView bytes)
{
    QList<Frame> out;
    for (const char c : bytes) {
        switch (m_state) {
        case State::Outside:
        case State::Skipping:
            if (c == '<')
                startFrame(out);
            else
                skip(out, c);
            break;

        case State::Command:
            m_bytes.append(c);
            m_pending = Frame{};
            switch (c) {
            case 'r':
                m_pending.kind = Frame::CopyStart;
                m_state = State::Closing;
                break;
            case 's':
                m_pending.kind = Frame::EchoStart;
                m_state = State::Closing;
                break;
            case 'w':
                m_pending.kind = Frame::W;
                m_state = State::Closing;
                break;
            case 'q':
                m_pending.kind = Frame::HandshakeReply;
                m_state = State::Handshake;
                break;
            case 'u':
                m_pending.kind = Frame::Speed;
                m_state = State::SpeedDigits;
                break;
            case 'z':
                m_pending.kind = Frame::Pause;
                m_state = State::PauseValue;
                break;
            case '>':
                finish(out, Frame{Frame::Group, 0, QString(), {}});
                break;
            case '<':
                m_bytes.chop(1);
                fail(out, c);
                break;
            default:
                // Command letters are lower case and no training character
                // is: another lower-case letter is a command we do not know,
                // anything else begins a group.
                if (c >= 'a' && c <= 'z') {
                    m_state = State::Skipping; // the letter is in m_bytes already
                } else {
                    m_pending.kind = Frame::Group;
                    m_state = State::Letters;
                }
                break;
            }
            break;

        case State::Handshake:
            if (c == 'q') {
                m_bytes.append(c);
                m_state = State::Closing;
            } else {
                fail(out, c);
            }
            break;

        case State::SpeedDigits:
            if (!isDigit(c)) {
                fail(out, c);
                break;
            }
            m_bytes.append(c);
            if (m_bytes.size() == 4) {
                m_pending.value = (m_bytes[2] - '0') * 10 + (m_bytes[3] - '0');
                m_state = State::Closing;
            }
            break;

        case State::PauseValue:
            // The value is a byte, not a character: "<" and ">" are values
            // here like any other.
            m_bytes.append(c);
            m_pending.value = quint8(c);
            m_state = State::Closing;
            break;

        case State::Closing:
            if (c == '>')
                finish(out, m_pending);
            else
                fail(out, c);
            break;

        case State::Letters:
            if (c == '>') {
                Frame group{Frame::Group, 0, fromCodePage1250(QByteArrayView(m_bytes).sliced(1)), {}};
                finish(out, group);
            } else if (c == '<' || m_bytes.size() - 1 >= maxGroupLetters) {
                fail(out, c);
            } else {
                m_bytes.append(c);
            }
            break;
        }
    }
    return out;
}

void FrameReader::startFrame(QList<Frame> &out)
{
    if (!m_bytes.isEmpty())
        out.append(Frame{Frame::Skipped, 0, QString(), m_bytes});
    m_bytes = QByteArray(1, '<');
    m_state = State::Command;
}

// The frame so far is dropped. A "<" that broke it begins the next frame;
// any other byte is skipped along with it.
void FrameReader::fail(QList<Frame> &out, char byte)
{
    m_state = State::Skipping;
    if (byte == '<')
        startFrame(out);
    else
        skip(out, byte);
}

void FrameReader::skip(QList<Frame> &out, char byte)
{
    m_bytes.append(byte);
    if (m_bytes.size() < maxSkippedBytes)
        return;
    out.append(Frame{Frame::Skipped, 0, QString(), m_bytes});
    m_bytes.clear();
}

void FrameReader::finish(QList<Frame> &out, Frame frame)
{
    out.append(std::move(frame));
    m_bytes.clear();
    m_state = State::Outside;
}

QString printableBytes(QByteArrayView bytes)
{
    QString text;
    for (const char c : bytes) {
        const uchar u = uchar(c);
        if (u >= 0x20 && u < 0x7F)
            text += QLatin1Char(c);
        else
            text += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
    }
    return text;
}
