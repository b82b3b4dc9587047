// The keyer's frame reader: the trainer's frames out of a byte stream,
// however it is split or joined, and a clean restart after bad bytes.

#include "common/frames.h"
#include "core/framereader.h"

#include <QTest>

namespace {

Frame group(const QString &letters) { return {Frame::Group, 0, letters, {}}; }
Frame command(Frame::Kind kind, int value = 0) { return {kind, value, {}, {}}; }
Frame skipped(const QByteArray &raw) { return {Frame::Skipped, 0, {}, raw}; }

QList<Frame> readInPieces(const QList<QByteArray> &pieces)
{
    FrameReader reader;
    QList<Frame> frames;
    for (const QByteArray &piece : pieces)
        frames += reader.feed(piece);
    return frames;
}

QString describe(const QList<Frame> &frames)
{
    QStringList parts;
    for (const Frame &f : frames)
        parts << QStringLiteral("%1/%2/%3/%4").arg(f.kind).arg(f.value).arg(f.letters, printableBytes(f.raw));
    return parts.join(QLatin1Char(' '));
}

} // namespace

class FrameReaderTest : public QObject
{
    Q_OBJECT

private slots:
    void frames_data();
    void frames();
};

void FrameReaderTest::frames_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<Frame>>("frames");

    const Frame copy = command(Frame::CopyStart);
    QTest::newRow("a run") << handshakeReply() + speedFrame(u"60") + pauseFrame(50) + copyStartFrame()
                                  + groupFrame(u"\u00C1B1?@") + wFrame() + echoStartFrame() + speedFrame(u"150")
                           << QList<Frame>{command(Frame::HandshakeReply), command(Frame::Speed, 60),
                                           command(Frame::Pause, 50), copy, group(QStringLiteral("\u00C1B1?@")),
                                           command(Frame::W), command(Frame::EchoStart), command(Frame::Speed, 15)};
    QTest::newRow("empty and blank groups, noise between")
        << groupFrame(u"") + "noise" + groupFrame(u"     ") + "\r\n" + groupFrame(u"\u00C9\u00D6\u00DC")
        << QList<Frame>{group(QString()), skipped("noise"), group(QStringLiteral("     ")), skipped("\r\n"),
                        group(QStringLiteral("\u00C9\u00D6\u00DC"))};
    QTest::newRow("group cut short by a new frame") << QByteArray("<AB<r>") << QList<Frame>{skipped("<AB"), copy};
    QTest::newRow("unknown command letter is skipped to the next frame")
        << QByteArray("<y>junk<r>") << QList<Frame>{skipped("<y>junk"), copy};
    QTest::newRow("speed with one digit") << QByteArray("<u6<r>") << QList<Frame>{skipped("<u6"), copy};
    QTest::newRow("speed with three digits") << QByteArray("<u150><r>")
                                             << QList<Frame>{skipped("<u150>"), copy};
    QTest::newRow("pause value < is a value") << QByteArray("<z<><r>")
                                              << QList<Frame>{command(Frame::Pause, 60), copy};
    QTest::newRow("command frame without its end") << QByteArray("<rr><s>")
                                                   << QList<Frame>{skipped("<rr>"), command(Frame::EchoStart)};
    QTest::newRow("18 letters still a group")
        << QByteArray("<ABCDEFGHIJKLMNOPQR>") << QList<Frame>{group(QStringLiteral("ABCDEFGHIJKLMNOPQR"))};
    QTest::newRow("19 letters are too many")
        << QByteArray("<ABCDEFGHIJKLMNOPQRS><r>") << QList<Frame>{skipped("<ABCDEFGHIJKLMNOPQRS>"), copy};
    QTest::newRow("garbage waits for the next frame") << QByteArray("abc") << QList<Frame>{};
    QTest::newRow("garbage without end is given out in pieces")
        << QByteArray(600, 'a') << QList<Frame>{skipped(QByteArray(256, 'a')), skipped(QByteArray(256, 'a'))};
}

void FrameReaderTest::frames()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<Frame>, frames);
    // Whole, twice over, and a byte at a time: the line may join or split.
    QList<QByteArray> single;
    for (const char c : bytes)
        single << QByteArray(1, c);
    QCOMPARE(describe(readInPieces({bytes + bytes})), describe(frames + frames));
    QCOMPARE(describe(readInPieces(single)), describe(frames));
}

QTEST_APPLESS_MAIN(FrameReaderTest)
#include "tst_keyer_framereader.moc"
