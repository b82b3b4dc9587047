// The keyer's frame reader: the trainer's frames out of a byte stream,
// however it is split or joined, and a clean restart after bad bytes.

#include "common/frames.h"
#include "core/framereader.h"

#include <QRandomGenerator>
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

// A run of the trainer's, with garbage between some of the frames.
QByteArray stream()
{
    return handshakeReply() + speedFrame(u"60") + pauseFrame(50) + "noise" + copyStartFrame()
        + groupFrame(u"\u00C1B1?@") + pauseFrame(60) + pauseFrame(62) + wFrame() + "\r\n" + echoStartFrame()
        + groupFrame(u"\u00C9\u00D6\u00DC") + speedFrame(u"150") + groupFrame(u"") + groupFrame(u"     ")
        + pauseFrame(200);
}

QList<Frame> streamFrames()
{
    return {command(Frame::HandshakeReply), command(Frame::Speed, 60), command(Frame::Pause, 50),
            skipped("noise"), command(Frame::CopyStart), group(QStringLiteral("\u00C1B1?@")),
            command(Frame::Pause, 60), command(Frame::Pause, 62), command(Frame::W), skipped("\r\n"),
            command(Frame::EchoStart), group(QStringLiteral("\u00C9\u00D6\u00DC")), command(Frame::Speed, 15),
            group(QString()), group(QStringLiteral("     ")), command(Frame::Pause, 200)};
}

} // namespace

class FrameReaderTest : public QObject
{
    Q_OBJECT

private slots:
    void whole_stream_at_once();
    void split_at_every_byte_boundary();
    void one_byte_at_a_time_and_random_pieces();
    void bad_frames_data();
    void bad_frames();
};

void FrameReaderTest::whole_stream_at_once()
{
    QCOMPARE(describe(readInPieces({stream()})), describe(streamFrames()));
    // Joined with itself: the second copy reads the same.
    QCOMPARE(describe(readInPieces({stream() + stream()})), describe(streamFrames() + streamFrames()));
}

void FrameReaderTest::split_at_every_byte_boundary()
{
    const QByteArray bytes = stream();
    const QString expected = describe(streamFrames());
    for (qsizetype cut = 1; cut < bytes.size(); ++cut)
        QVERIFY2(describe(readInPieces({bytes.first(cut), bytes.sliced(cut)})) == expected,
                 qPrintable(QStringLiteral("split after byte %1").arg(cut)));
}

void FrameReaderTest::one_byte_at_a_time_and_random_pieces()
{
    const QByteArray bytes = stream() + stream();
    const QString expected = describe(streamFrames() + streamFrames());

    QList<QByteArray> single;
    for (const char c : bytes)
        single << QByteArray(1, c);
    QCOMPARE(describe(readInPieces(single)), expected);

    QRandomGenerator random(4);
    for (int round = 0; round < 200; ++round) {
        QList<QByteArray> pieces;
        for (qsizetype at = 0; at < bytes.size();) {
            const qsizetype n = qMin<qsizetype>(random.bounded(1, 9), bytes.size() - at);
            pieces << bytes.mid(at, n);
            at += n;
        }
        QVERIFY2(describe(readInPieces(pieces)) == expected, qPrintable(QString::number(round)));
    }
}

void FrameReaderTest::bad_frames_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<Frame>>("frames");

    const Frame copy = command(Frame::CopyStart);
    QTest::newRow("group cut short by a new frame") << QByteArray("<AB<r>") << QList<Frame>{skipped("<AB"), copy};
    QTest::newRow("lone frame mark") << QByteArray("<<r>") << QList<Frame>{skipped("<"), copy};
    QTest::newRow("unknown command letter is skipped to the next frame")
        << QByteArray("<y>junk<r>") << QList<Frame>{skipped("<y>junk"), copy};
    QTest::newRow("handshake with a wrong letter") << QByteArray("<qx><r>") << QList<Frame>{skipped("<qx>"), copy};
    QTest::newRow("speed with one digit") << QByteArray("<u6><r>") << QList<Frame>{skipped("<u6>"), copy};
    QTest::newRow("speed broken by a frame mark") << QByteArray("<u6<r>") << QList<Frame>{skipped("<u6"), copy};
    QTest::newRow("speed with three digits") << QByteArray("<u150><r>")
                                             << QList<Frame>{skipped("<u150>"), copy};
    QTest::newRow("pause value < is a value") << QByteArray("<z<><r>")
                                              << QList<Frame>{command(Frame::Pause, 60), copy};
    QTest::newRow("pause value > is a value") << QByteArray("<z>><r>")
                                              << QList<Frame>{command(Frame::Pause, 62), copy};
    QTest::newRow("pause with two value bytes") << QByteArray("<z12><r>")
                                                << QList<Frame>{skipped("<z12>"), copy};
    QTest::newRow("pause missing its end resyncs on the next <")
        << QByteArray("<z2<r>") << QList<Frame>{skipped("<z2"), copy};
    QTest::newRow("command frame without its end") << QByteArray("<rr><s>")
                                                   << QList<Frame>{skipped("<rr>"), command(Frame::EchoStart)};
    QTest::newRow("18 letters still a group")
        << QByteArray("<ABCDEFGHIJKLMNOPQR>") << QList<Frame>{group(QStringLiteral("ABCDEFGHIJKLMNOPQR"))};
    QTest::newRow("19 letters are too many")
        << QByteArray("<ABCDEFGHIJKLMNOPQRS><r>") << QList<Frame>{skipped("<ABCDEFGHIJKLMNOPQRS>"), copy};
    QTest::newRow("stray frame end") << QByteArray("><r>") << QList<Frame>{skipped(">"), copy};
    QTest::newRow("garbage waits for the next frame") << QByteArray("abc") << QList<Frame>{};
    QTest::newRow("garbage without end is given out in pieces")
        << QByteArray(600, 'a') << QList<Frame>{skipped(QByteArray(256, 'a')), skipped(QByteArray(256, 'a'))};
}

void FrameReaderTest::bad_frames()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<Frame>, frames);
    QCOMPARE(describe(readInPieces({bytes})), describe(frames));
    QList<QByteArray> single;
    for (const char c : bytes)
        single << QByteArray(1, c);
    QCOMPARE(describe(readInPieces(single)), describe(frames));
}

QTEST_APPLESS_MAIN(FrameReaderTest)
#include "tst_keyer_framereader.moc"
