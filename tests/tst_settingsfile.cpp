// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/numberfromtext.h"
#include "settings/settingsfile.h"

#include <QBuffer>
#include <QTest>

class SettingsFileTest : public QObject
{
    Q_OBJECT

private slots:
    void numbers_data();
    void numbers();
    void saved_numbers_data();
    void saved_numbers();
    void reads_data();
    void reads();
    void reads_no_more_of_a_huge_file_than_it_needs();
};

void SettingsFileTest::numbers_data()
{
    // How a number is read from a box or a field of the file.
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    const std::pair<const char *, int> rows[]
        = {{"060", 60},      {"  25  ", 25},     {"1 2", 12},
           {"7x", 7},        {"abc", 0},         {"", 0},
           {"-15", -15},     {"- 5", -5},        {"+8", 8},
           {"-", 0},         {" -3", -3},        {"4.5", 4},
           {"5.5", 6},       {"-2.5", -2},       {"4.51", 5},
           {".7", 1},        {"1.2.3", 1},       {"12,5", 12},
           {"40000", 32767}, {"-99999", -32768}, {"99999999999999999999999", 32767}};
    for (const auto &[text, value] : rows)
        QTest::newRow(text) << QString::fromLatin1(text) << value;
}

void SettingsFileTest::numbers()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(int(numberFromText(text)), value);
    // The counters built on the same 16 bits stop at their limits.
    const int step = value < 0 ? -1 : 1;
    QCOMPARE(saturatingAdd(qint16(value), step), qint16(qBound(-32768, value + step, 32767)));
}

void SettingsFileTest::saved_numbers_data()
{
    // A box's text as the file keeps it (a box with no number keeps the value
    // held: tst_window's Kilép test types "zero").
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("held");
    QTest::addColumn<QString>("saved");
    QTest::newRow("leading zeros") << "060" << 60 << " 60";
    QTest::newRow("another number than held") << "75" << 60 << " 75";
    QTest::newRow("a fraction as typed") << "5.4999999" << 5 << " 5.4999999";
    QTest::newRow("negative, its zeros gone") << "-007.50" << 5 << "-7.5";
    QTest::newRow("over 16 bits") << "40000" << 30 << " 32767";
    QTest::newRow("under 16 bits") << "-40000" << 30 << "-32768";
}

void SettingsFileTest::saved_numbers()
{
    QFETCH(QString, box);
    QFETCH(int, held);
    QFETCH(QString, saved);
    QCOMPARE(savedNumber(box, qint16(held)), saved);
}

void SettingsFileTest::reads_data()
{
    // A file as the trainer writes it (the default numbers, CR LF) must
    // also come out of settingsFileBytes() byte for byte. No values: the
    // file gives nothing.
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("selection");
    QTest::addColumn<QList<int>>("values");

    QTest::newRow("worked example") << QByteArray("TEMS   A\r\n 60 5 30 50\r\n") << "TEMS   A"
                                    << QList<int>{60, 5, 30, 50};
    QTest::newRow("leading blank of the selection stays")
        << QByteArray(" E     A\r\n 60 5 30 50\r\n") << " E     A" << QList<int>{60, 5, 30, 50};
    QTest::newRow("nothing ticked") << QByteArray("\r\n 60 5 30 50\r\n") << "" << QList<int>{60, 5, 30, 50};
    QTest::newRow("LF line ends") << QByteArray("TEMS\n 60 5 30 50\n") << "TEMS" << QList<int>{60, 5, 30, 50};
    QTest::newRow("no line end at the end") << QByteArray("T\r\n 60 5 30 50") << "T" << QList<int>{60, 5, 30, 50};
    QTest::newRow("commas and blank runs")
        << QByteArray("T\r\n60,  5 ,30   50\r\n") << "T" << QList<int>{60, 5, 30, 50};
    QTest::newRow("numbers over several lines")
        << QByteArray("T\r\n60\r\n5\r\n30\r\n50\r\n") << "T" << QList<int>{60, 5, 30, 50};
    QTest::newRow("accented letters") << QByteArray("\xC1\xC9\xD6\xDC\r\n 60 5 30 50\r\n")
                                      << QStringLiteral("\u00C1\u00C9\u00D6\u00DC") << QList<int>{60, 5, 30, 50};
    QTest::newRow("UTF-8 from an editor, with its mark")
        << QByteArray("\xEF\xBB\xBF\xC3\x81T\xC3\x9C\r\n 60 5 30 50") << QStringLiteral("\u00C1T\u00DC")
        << QList<int>{60, 5, 30, 50};
    QTest::newRow("negative written by the trainer")
        << QByteArray("\r\n 60 -3 30 50\r\n") << "" << QList<int>{60, -3, 30, 50};
    QTest::newRow("empty file") << QByteArray() << "" << QList<int>{};
    QTest::newRow("three numbers") << QByteArray("TEMS\r\n 60 5 30\r\n") << "" << QList<int>{};
}

void SettingsFileTest::reads()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, selection);
    QFETCH(QList<int>, values);

    const std::optional<StoredSettings> stored = parseSettingsFile(file);
    QCOMPARE(bool(stored), !values.isEmpty());
    if (!stored)
        return;
    QCOMPARE(stored->selection, selection);
    const Parameters &p = stored->parameters;
    QCOMPARE((QList<int>{p.speed, p.groupsize, p.groupcount, p.pausevalue}), values);
    // A negative number has no blank of its own: the file gives it one.
    if (file.endsWith(" 60 5 30 50\r\n") || file.endsWith(" 60 -3 30 50\r\n"))
        QCOMPARE(settingsFileBytes(selection, {" 60", values[1] < 0 ? "-3" : " 5", " 30", " 50"}), file);
}

void SettingsFileTest::reads_no_more_of_a_huge_file_than_it_needs()
{
    QByteArray bytes = "T\r\n 60 5 30 50\r\n" + QByteArray(1 << 20, 'x');
    QBuffer file(&bytes);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const std::optional<StoredSettings> stored = readSettingsFile(file);
    QVERIFY(stored && stored->selection == QLatin1String("T") && stored->parameters.pausevalue == 50);
    QVERIFY(file.pos() <= settingsReadLimit);
}

QTEST_APPLESS_MAIN(SettingsFileTest)
#include "tst_settingsfile.moc"
