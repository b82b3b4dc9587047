#include "settings/numberfromtext.h"

#include <QTest>

class NumberFromTextTest : public QObject
{
    Q_OBJECT

private slots:
    void reads_data();
    void reads();
    void counters_stop_at_their_limits();
};

void NumberFromTextTest::reads_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");

    QTest::newRow("plain") << "30" << 30;
    QTest::newRow("leading zero") << "060" << 60;
    QTest::newRow("blanks around") << "  25  " << 25;
    QTest::newRow("blank inside the digits") << "1 2" << 12;
    QTest::newRow("stops at a letter") << "7x" << 7;
    QTest::newRow("letters only") << "abc" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("one blank") << " " << 0;
    QTest::newRow("negative") << "-15" << -15;
    QTest::newRow("sign then blank") << "- 5" << -5;
    QTest::newRow("plus sign") << "+8" << 8;
    QTest::newRow("sign alone") << "-" << 0;
    QTest::newRow("blank before the sign") << " -3" << -3;
    QTest::newRow("half rounds down to even") << "4.5" << 4;
    QTest::newRow("half rounds up to even") << "5.5" << 6;
    QTest::newRow("2.5 gives 2") << "2.5" << 2;
    QTest::newRow("3.5 gives 4") << "3.5" << 4;
    QTest::newRow("negative half to even") << "-2.5" << -2;
    QTest::newRow("just above half") << "4.51" << 5;
    QTest::newRow("fraction alone") << ".7" << 1;
    QTest::newRow("second point ends it") << "1.2.3" << 1;
    QTest::newRow("comma ends it") << "12,5" << 12;
    QTest::newRow("above 16 bits is held") << "40000" << 32767;
    QTest::newRow("below 16 bits is held") << "-99999" << -32768;
    QTest::newRow("huge") << "99999999999999999999999" << 32767;
}

void NumberFromTextTest::reads()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(int(numberFromText(text)), value);
}

void NumberFromTextTest::counters_stop_at_their_limits()
{
    QCOMPARE(saturatingAdd(32767, 1), qint16(32767));
    QCOMPARE(saturatingAdd(-32768, -1), qint16(-32768));
    QCOMPARE(saturatingAdd(4, -5), qint16(-1));
    QCOMPARE(saturatingAdd(32766, 1), qint16(32767));
}

QTEST_APPLESS_MAIN(NumberFromTextTest)
#include "tst_numberfromtext.moc"
