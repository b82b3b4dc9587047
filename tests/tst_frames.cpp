#include "common/codepage.h"
#include "common/frames.h"
#include "link/receivedtext.h"

#include <QTest>

class FramesTest : public QObject
{
    Q_OBJECT

private slots:
    void frames_data();
    void frames();
    void received_text_data();
    void received_text();
    void code_page_round_trip();
};

void FramesTest::frames_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("speed 60") << speedFrame(u"60") << QByteArray::fromHex("3C7536303E");
    QTest::newRow("speed 30") << speedFrame(u"30") << QByteArray::fromHex("3C7533303E");
    QTest::newRow("speed 70") << speedFrame(u"70") << QByteArray::fromHex("3C7537303E");
    QTest::newRow("speed 150 sends its first two digits") << speedFrame(u"150") << QByteArray::fromHex("3C7531353E");
    QTest::newRow("speed text with blanks") << speedFrame(u" 61 ") << QByteArray::fromHex("3C7536313E");
    QTest::newRow("pause 50") << pauseFrame(50) << QByteArray::fromHex("3C7A323E");
    QTest::newRow("pause 30") << pauseFrame(30) << QByteArray::fromHex("3C7A1E3E");
    QTest::newRow("pause 200") << pauseFrame(200) << QByteArray::fromHex("3C7AC83E");
    QTest::newRow("pause 60 is a frame mark") << pauseFrame(60) << QByteArray::fromHex("3C7A3C3E");
    QTest::newRow("pause 62 is a frame mark") << pauseFrame(62) << QByteArray::fromHex("3C7A3E3E");
    QTest::newRow("pause 136 has no character in 1250") << pauseFrame(136) << QByteArray::fromHex("3C7A883E");
    QTest::newRow("group with accents and signs")
        << groupFrame(u"\u00C1B1?@") << QByteArray::fromHex("3CC142313F403E");
    QTest::newRow("group É Ö Ü") << groupFrame(u"\u00C9\u00D6\u00DC") << QByteArray::fromHex("3CC9D6DC3E");
    QTest::newRow("empty group") << groupFrame(u"") << QByteArray("<>");
    QTest::newRow("blank letters keep the length") << groupFrame(u"   ") << QByteArray("<   >");
    QTest::newRow("copy start") << copyStartFrame() << QByteArray::fromHex("3C723E");
    QTest::newRow("echo start") << echoStartFrame() << QByteArray::fromHex("3C733E");
    QTest::newRow("handshake reply") << handshakeReply() << QByteArray::fromHex("3C71713E");
    QTest::newRow("w frame") << wFrame() << QByteArray::fromHex("3C773E");
}

void FramesTest::frames()
{
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, bytes);
    QCOMPARE(frame.toHex(' '), bytes.toHex(' '));
}

void FramesTest::received_text_data()
{
    QTest::addColumn<QString>("read");
    QTest::addColumn<QString>("logged");
    QTest::addColumn<QString>("token");

    QTest::newRow("blanks around an element") << " R " << " R " << "R";
    QTest::newRow("line end stays in the token") << "R\r\n" << "R\r\n" << "R\r\n";
    QTest::newRow("tab stays") << "\tR" << "\tR" << "\tR";
    QTest::newRow("OK with line end") << "OK\r\n" << "OK\r\n" << "OK\r\n";
    QTest::newRow("leading carriage return replaces the read") << "\rOK" << "\r\n" << "\r\n";
    QTest::newRow("carriage return alone") << "\r" << "\r\n" << "\r\n";
    QTest::newRow("only blanks") << "   " << "   " << "";
    QTest::newRow("empty read") << "" << "" << "";
    QTest::newRow("blanks inside stay") << " a b " << " a b " << "a b";
}

void FramesTest::received_text()
{
    QFETCH(QString, read);
    QFETCH(QString, logged);
    QFETCH(QString, token);
    QCOMPARE(readForLog(read), logged);
    QCOMPARE(trimSpaces(readForLog(read)), token);
}

void FramesTest::code_page_round_trip()
{
    QVERIFY(codePage1250Available());
    const QString alphabet = QStringLiteral("TEMSIOHAUVNDBWJGZCQYRFLPKX\u00C1\u00C9\u00D6\u00DC1234567890.?:-=/@");
    const QByteArray bytes = toCodePage1250(alphabet);
    QCOMPARE(bytes.size(), alphabet.size());
    QCOMPARE(bytes.mid(26, 4).toHex(), QByteArray("c1c9d6dc"));
    QCOMPARE(fromCodePage1250(bytes), alphabet);
}

QTEST_APPLESS_MAIN(FramesTest)
#include "tst_frames.moc"
