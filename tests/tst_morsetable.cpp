#include "common/morsetable.h"
#include "window/form1.h"

#include <QSet>
#include <QTest>

class MorseTableTest : public QObject
{
    Q_OBJECT

private slots:
    void decodes_data();
    void decodes();
    void table_is_the_training_alphabet();
};

void MorseTableTest::decodes_data()
{
    QTest::addColumn<QString>("elements");
    QTest::addColumn<QString>("character");

    QTest::newRow("R is E") << "R" << "E";
    QTest::newRow("H is T") << "H" << "T";
    QTest::newRow("RH is A") << "RH" << "A";
    QTest::newRow("HHHHH is 0") << "HHHHH" << "0";
    QTest::newRow("RHHHH is 1") << "RHHHH" << "1";
    QTest::newRow("RHHRHR is @") << "RHHRHR" << "@";
    QTest::newRow("RRHHRR is ?") << "RRHHRR" << "?";
    QTest::newRow("HRRRRH is -") << "HRRRRH" << "-";
    QTest::newRow("RHHRH is Á") << "RHHRH" << QStringLiteral("\u00C1");
    QTest::newRow("RRHRR is É") << "RRHRR" << QStringLiteral("\u00C9");
    QTest::newRow("HHHR is Ö") << "HHHR" << QStringLiteral("\u00D6");
    QTest::newRow("RRHH is Ü") << "RRHH" << QStringLiteral("\u00DC");
    QTest::newRow("empty") << "" << "#";
    QTest::newRow("six dots") << "RRRRRR" << "#";
    QTest::newRow("RHRH is not in the table") << "RHRH" << "#";
    QTest::newRow("four dashes") << "HHHH" << "#";
    QTest::newRow("seven elements") << "RHRHRHR" << "#";
    QTest::newRow("lower case") << "rh" << "#";
    QTest::newRow("blank before") << " RH" << "#";
    QTest::newRow("blank after") << "RH " << "#";
    QTest::newRow("other letters") << "RXH" << "#";
}

void MorseTableTest::decodes()
{
    QFETCH(QString, elements);
    QFETCH(QString, character);
    Form1 form(Options{});
    form.betutar();
    const QString argument = elements;
    QCOMPARE(form.betukeres(argument), character);
    QCOMPARE(argument, elements);
    if (character != QLatin1String("#"))
        QCOMPARE(elementsOf(character.at(0)), elements);
}

void MorseTableTest::table_is_the_training_alphabet()
{
    QSet<QString> codes;
    QString characters;
    for (const MorseEntry &entry : morseTable()) {
        const QString code = QString::fromUtf16(entry.elements);
        QVERIFY2(!code.isEmpty() && code.size() <= 6, qPrintable(code));
        QVERIFY2(QStringView(code).count(QLatin1Char('R')) + QStringView(code).count(QLatin1Char('H')) == code.size(),
                 qPrintable(code));
        codes.insert(code);
        characters += QChar(entry.character);
    }
    QCOMPARE(codes.size(), 47);
    QCOMPARE(characters, QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ\u00C1\u00C9\u00D6\u00DC1234567890.?:-=/@"));
}

QTEST_MAIN(MorseTableTest)
#include "tst_morsetable.moc"
