// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/alignment.h"
#include "course/kochcourse.h"
#include "history/copyscore.h"
#include "history/csvexport.h"
#include "history/history.h"
#include "history/statistics.h"
#include "lineend.h"
#include "stats/copyscorewindow.h"
#include "stats/coursewindow.h"
#include "stats/statswindow.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QChartView>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QLockFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <csignal>

#include <sys/resource.h>

static QString shownText(const QWidget &window)
{
    QString texts;
    for (const QLabel *label : window.findChildren<QLabel *>())
        texts += label->text() + QLatin1Char('\n');
    for (const QTextBrowser *browser : window.findChildren<QTextBrowser *>())
        texts += browser->toPlainText() + QLatin1Char('\n');
    return texts;
}

// Tab takes the keyboard from a table on to the next control, not from cell to cell.
static bool tabLeaves(QWidget &window, QWidget *table)
{
    window.show();
    const bool active = QTest::qWaitForWindowActive(&window);
    table->setFocus();
    QTest::keyClick(table, Qt::Key_Tab);
    return active && QApplication::focusWidget() != table;
}

static void clickButton(const QWidget &window, const QString &caption)
{
    for (QPushButton *button : window.findChildren<QPushButton *>())
        if (button->text().startsWith(caption))
            button->click();
}

class HistoryTest : public QObject
{
    Q_OBJECT

private slots:
    void alignment_data();
    void alignment();
    void refuses_a_file_it_cannot_use_data();
    void refuses_a_file_it_cannot_use();
    void keeps_every_group_through_a_failure_data();
    void keeps_every_group_through_a_failure();
    void exports_csv_and_shows_the_statistics();
    void scores_a_copy_data();
    void scores_a_copy();
    void scores_the_copy_runs_of_an_older_history();
    void takes_the_koch_course_lesson_by_lesson();

private:
    QTemporaryDir dir;
};

void HistoryTest::alignment_data()
{
    // Each sent character: itself when right, "X>Y" when taken for Y, "X-"
    // when dropped; "+Y" an extra Y where it was keyed.
    QTest::addColumn<QString>("sent");
    QTest::addColumn<QString>("decoded");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<int>("extra");

    QTest::newRow("one extra") << "TEM"
                               << "TEEM"
                               << "T +E E M" << 1;
    QTest::newRow("a swapped pair is taken for each other") << "TEMSA"
                                                            << "TMESA"
                                                            << "T E>M M>E S A" << 0;
    QTest::newRow("nothing keyed") << "AB"
                                   << ""
                                   << "A- B-" << 0;
    QTest::newRow("an emoji is one character") << "TEM"
                                               << "T\U0001F600M"
                                               << "T E>\U0001F600 M" << 0;
}

void HistoryTest::alignment()
{
    QFETCH(QString, sent);
    QFETCH(QString, decoded);
    QFETCH(QString, outcome);
    QFETCH(int, extra);

    const std::optional<Alignment> alignment = alignGroups(sent, decoded);
    QVERIFY(alignment);
    QStringList outcomes;
    for (const AlignedCharacter &c : alignment->characters) {
        const QString sentText = characterText(c.sent);
        outcomes << (c.isExtra()   ? QStringLiteral("+") + characterText(c.taken)
                     : c.right()   ? sentText
                     : c.dropped() ? sentText + QStringLiteral("-")
                                   : sentText + QStringLiteral(">") + characterText(c.taken));
    }
    QCOMPARE(outcomes.join(' '), outcome);
    QCOMPARE(alignment->extra, extra);
}

void HistoryTest::refuses_a_file_it_cannot_use_data()
{
    QTest::addColumn<int>("version"); // 0: not a database at all; -1: an older layout with a page overwritten
    QTest::addColumn<QString>("message");

    QTest::newRow("corrupt file") << 0 << "not a database this program can read";
    QTest::newRow("damaged older layout") << -1 << "the training history is damaged, and left as it is";
    QTest::newRow("newer layout") << History::schemaVersion + 1 << "written by a newer Vestranoli";
    QTest::newRow("older layout that cannot be brought up to date") << 1 << "cannot prepare the training history";
}

void HistoryTest::refuses_a_file_it_cannot_use()
{
    QFETCH(int, version);
    QFETCH(QString, message);

    const QString path = dir.filePath(QStringLiteral("%1.sqlite").arg(QTest::currentDataTag()));
    if (version == 0) {
        QVERIFY(writeFile(path, QByteArray("Kelinor ").repeated(1000)));
    } else if (version < 0) {
        QByteArray bytes = readFile(QFINDTESTDATA("data/history-layout1.sqlite"));
        bytes[18] = bytes[19] = 1; // a rollback journal, which WAL would change
        bytes[3 * 4096] = '\xff'; // the copy runs' page is of no kind
        QVERIFY(writeFile(path, bytes));
    } else {
        QSqlDatabase db
            = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QString::fromLatin1(QTest::currentDataTag()));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec(QStringLiteral("PRAGMA user_version=%1").arg(version)));
        db.close();
    }
    const QByteArray before = readFile(path);

    QStringList problems;
    History history;
    history.reportProblemsWith([&](const QString &problem) { problems << problem; });
    QVERIFY(!history.open(path));
    history.recordEchoGroup({QDateTime::currentDateTimeUtc(), "TEMSA", "TEMSA", true, 60, 5, 50});
    QCOMPARE(problems.size(), 1);
    QVERIFY2(problems[0].contains(message), qPrintable(problems[0]));
    // The scoring window says the same, not that the history has no runs.
    const QString shown = shownText(CopyScoreWindow(path));
    QVERIFY2(shown.contains(message) && !shown.contains("még nincs"), qPrintable(shown));
    for (const QFileInfo &fd : QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::AllEntries | QDir::System))
        QVERIFY(fd.symLinkTarget() != path); // nor held open
    if (version != 1) {
        QCOMPARE(readFile(path), before);
        return;
    }
    // Its tables are gone: nothing is made of it, it keeps its layout.
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("older"));
    db.setDatabaseName(path);
    QVERIFY(db.open());
    QSqlQuery query(
        QStringLiteral("SELECT (SELECT user_version FROM pragma_user_version), count(*) FROM sqlite_master"), db);
    QVERIFY(query.next());
    QCOMPARE(QStringList({query.value(0).toString(), query.value(1).toString()}), QStringList({"1", "0"}));
}

void HistoryTest::keeps_every_group_through_a_failure_data()
{
    QTest::addColumn<QString>("trouble");

    QTest::newRow("another program's write lock for a while") << "lock";
    QTest::newRow("a file that cannot grow for a while, as on a full disk") << "full";
    QTest::newRow("another program's write lock to the end") << "lock to the end";
    QTest::newRow("the same, and the note of the loss cannot be made either") << "lock to the end, no note";
    QTest::newRow("a trigger another program added refuses every copy run") << "refusing trigger";
    QTest::newRow("the disk full during a copy run's own write (a trigger adds 8 MB)") << "full, swelling trigger";
}

void HistoryTest::keeps_every_group_through_a_failure()
{
    QFETCH(QString, trouble);
    const int lost = trouble.contains("end") ? 2 : 0; // groups unwritten when the history closes
    const bool refusing = trouble.contains("refusing");
    const int lostRuns = lost > 0 || refusing ? 2 : 0;
    const bool noted = lostRuns > 0 && !trouble.endsWith("no note");

    // An empty file is no history yet, and reading it leaves it empty.
    const QString path = dir.filePath(QStringLiteral("%1.sqlite").arg(QTest::currentDataTag()));
    QVERIFY(QFile(path).open(QIODevice::WriteOnly));
    QVERIFY(shownText(StatsWindow(path, 0)).contains("Még nincs előzmény") && QFile(path).size() == 0);
    QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QTest::currentDataTag());
    other.setDatabaseName(path);
    QStringList problems;
    History history;
    history.reportProblemsWith([&](const QString &problem) { problems << problem; });
    QVERIFY(history.open(path));
    if (trouble.endsWith("no note"))
        QVERIFY(QDir().mkpath(lostRecordsPath(path))); // a folder where the note would go
    // Keyed before any run, against nothing sent: no training, not recorded.
    history.recordEchoGroup({QDateTime::currentDateTimeUtc(), QString(), "E", false, 60, 1, 50});
    QVERIFY(other.open() && (!trouble.startsWith("lock") || QSqlQuery(other).exec(QStringLiteral("BEGIN EXCLUSIVE"))));
    QVERIFY(!refusing
            || QSqlQuery(other).exec("CREATE TRIGGER refuse BEFORE INSERT ON copy_run BEGIN "
                                     "SELECT RAISE(ABORT, 'no'); END"));
    QVERIFY(!trouble.contains("swelling")
            || (QSqlQuery(other).exec("CREATE TABLE swell(b)")
                && QSqlQuery(other).exec("CREATE TRIGGER swell BEFORE INSERT ON copy_run BEGIN INSERT INTO swell "
                                         "VALUES (zeroblob(8000000)); END")));
    std::signal(SIGXFSZ, SIG_IGN);
    const auto limitFileSize = [](rlim_t size) {
        const rlimit to{size, RLIM_INFINITY};
        setrlimit(RLIMIT_FSIZE, &to);
    };
    limitFileSize(trouble.startsWith("full") ? rlim_t(QFile(path + "-wal").size()) : RLIM_INFINITY);
    history.recordEchoGroup({QDateTime::currentDateTimeUtc(), "TEM", "TEM", true, 60, 3, 50});
    for (int run = 0; run < 2; ++run)
        history.recordCopyRun({QDateTime::currentDateTimeUtc(), 60, 3, 50, {"TEM", "SAT"}});
    limitFileSize(RLIM_INFINITY);
    if (lost == 0)
        QSqlQuery(other).exec(QStringLiteral("ROLLBACK"));
    history.recordEchoGroup({QDateTime::currentDateTimeUtc(), "S", "S", true, 60, 1, 50});
    history.close();
    // Refused records are lost alone, with nothing to say before the end.
    QCOMPARE(problems.size(), lost == lostRuns ? 2 : 1);
    const QString lostEcho = lost > 0 ? QStringLiteral("%1 echo groups and ").arg(lost) : QString();
    QCOMPARE(problems.last().contains("lost from this session: " + lostEcho + "2 copy runs"), lostRuns > 0);
    QCOMPARE(problems.last().contains(QStringLiteral("(not noted in")), lostRuns > 0 && !noted);
    History reader;
    reader.openForReading(path);
    QCOMPARE(reader.echoGroups().size(), 2 - lost);
    QCOMPARE(reader.copyRuns().size(), 2 - lostRuns);
    const QString lostShown = lost > 0 ? QStringLiteral("%1 oda-vissza csoport és ").arg(lost) : QString();
    // Said in the statistics of the whole history and of the last day alike.
    for (int days : {0, 1})
        QCOMPARE(shownText(StatsWindow(path, days)).contains(lostShown + "2 másolás nem"), noted);
}

void HistoryTest::exports_csv_and_shows_the_statistics()
{
    History history;
    QVERIFY(history.open(dir.filePath(QStringLiteral("csv.sqlite"))));
    const QDateTime t(QDate(2026, 12, 1), QTime(18, 5), QTimeZone::utc());
    history.recordEchoGroup({t, "TEMÁ", "TEMA", false, 60, 4, 50});
    history.recordCopyRun({t.addSecs(10), 70, 3, 100, {"KQR", "@?É"}});
    history.recordEchoGroup({t.addSecs(20), "TEMS", "TMS", false, 65, 4, 50});
    history.recordCopyRun({t.addSecs(30), 60, 5, 50, {"", ""}}); // nothing ticked: no training, not exported

    QList<CopyRunRecord> runs = history.copyRuns();
    // What the trainee typed, quoted where it needs to be; a formula is no formula to a spreadsheet.
    runs[0].result = CopyResult{t, "=K\"R ,?É", {}};
    QCOMPARE(historyCsv(history.echoGroups(), runs, QTimeZone::utc()),
             QByteArray("\xef\xbb\xbfid\xc5\x91,fut\xc3\xa1s,adott,vett,j\xc3\xb3,sebess\xc3\xa9g,"
                        "bet\xc5\xb1sz\xc3\xa1m,sz\xc3\xbcnet\r\n"
                        "2026-12-01T18:05:00+00:00,oda-vissza,TEM\xc3\x81,TEMA,0,60,4,50\r\n"
                        "2026-12-01T18:05:10+00:00,m\xc3\xa1sol\xc3\xa1s,KQR,\"'=K\"\"R\",0,70,3,100\r\n"
                        "2026-12-01T18:05:10+00:00,m\xc3\xa1sol\xc3\xa1s,\"'@?\xc3\x89\",\",?\xc3\x89\",0,70,3,100\r\n"
                        "2026-12-01T18:05:20+00:00,oda-vissza,TEMS,TMS,0,65,4,50\r\n"));
    QCOMPARE(characterTableText(trainingStatistics(history, {}, false).table),
             QStringLiteral("      ---- adás (visszaadva) -  ---- vétel (másolva) --\n"
                            "Jel   Adva     Jó  Helyes    Adva     Jó  Helyes  Mire vette\n"
                            "Á        1      0     0 %       –      –     –    adás: A 1\n"
                            "E        2      1    50 %       –      –     –    adás: kimaradt 1\n"
                            "M        2      2   100 %       –      –     –\n"
                            "T        2      2   100 %       –      –     –\n"
                            "S        1      1   100 %       –      –     –\n"
                            "Fölösleges jelek: 0 visszaadva, 0 másolva\n"));

    // The statistics window over the same file with 8 more groups, half of
    // them the next day: the table, two days in the chart, the weakest
    // characters to tick (E at 8 of 10; not T at 9 of 10, nor Á, sent once),
    // and the export.
    for (int i = 0; i < 8; ++i)
        history.recordEchoGroup({t.addDays(i / 4).addSecs(30 + i), "ETM",
                                 i == 0   ? "ITM"
                                 : i == 1 ? "EM"
                                          : "ETM",
                                 i > 1, 60, 3, 50});
    // A group no trainer keys, from a damaged history: left out, and said.
    history.recordEchoGroup({t.addSecs(40), QString(100000, 'E'), QString(99999, 'E') + 'T', false, 60, 3, 50});
    const QByteArray csv = historyCsv(history.echoGroups(), history.copyRuns(), QTimeZone::systemTimeZone());
    StatsWindow window(dir.filePath(QStringLiteral("csv.sqlite")), 0);
    auto *table = window.findChild<QTableWidget *>();
    QStringList rows;
    for (int row = 0; row < table->rowCount(); ++row) {
        for (int column : {0, 1, 2, 3, 7})
            rows << table->item(row, column)->text();
    }
    QCOMPARE(rows.join(' '), QStringLiteral("Á 1 0 0 % adás: A 1 E 10 8 80 % adás: I 1, kimaradt 1 "
                                            "T 10 9 90 % adás: kimaradt 1 M 10 10 100 %  S 1 1 100 % "));
    const QChart *chart = window.findChild<QChartView *>()->chart();
    auto *days = qobject_cast<QBarCategoryAxis *>(chart->axes(Qt::Horizontal)[0]);
    QCOMPARE(days->categories(), QStringList({t.toLocalTime().toString(QStringLiteral("MM.dd.")),
                                              t.addDays(1).toLocalTime().toString(QStringLiteral("MM.dd."))}));
    // The next day all keyed right at 60: the keyed share's line at 100 %, the speed's at 60.
    QCOMPARE(qobject_cast<QLineSeries *>(chart->series()[1])->at(1), QPointF(1, 100));
    QCOMPARE(qobject_cast<QLineSeries *>(chart->series()[3])->at(1), QPointF(1, 60));
    QCOMPARE(qobject_cast<QLineSeries *>(chart->series()[2])->count(), 0); // no copy scored: no 0 % on its line
    auto *weakest = window.findChild<QListWidget *>();
    QCOMPARE(weakest->count(), 1);
    QVERIFY2(shownText(window).contains("Kimaradt a statisztikából 1 oda-vissza csoport, mert 250 jelnél hosszabb."),
             qPrintable(shownText(window)));
    // Tab goes from the period through the buttons, the table, the list and
    // the chart, in the order they are read; it leaves the table and the list.
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.findChild<QSpinBox *>()->setFocus();
    QStringList reached;
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const auto *button = qobject_cast<const QPushButton *>(QApplication::focusWidget());
        reached << (button ? button->text() : QApplication::focusWidget()->accessibleName());
    }
    QCOMPARE(reached, QStringList({"Másolás pontozása…", "Koch-tanfolyam…", "Exportálás CSV-be…", "Jelek statisztikája",
                                   "A leggyengébb jelek", "Haladás naponta"}));
    clickButton(window, QStringLiteral("Koch"));
    clickButton(window, QStringLiteral("Koch")); // the same course window again, not a second one
    QVERIFY(window.findChildren<CourseWindow *>().size() == 1 && window.findChild<CourseWindow *>()->isVisible());
    weakest->item(0)->setCheckState(Qt::Checked);
    QVERIFY2(shownText(window).contains(QStringLiteral("jelei: E\n")), qPrintable(shownText(window)));
    // Offered in the trainee's home, which has no Documents folder; a name
    // typed without ".csv" gets it.
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", dir.path().toLocal8Bit());
    QString offeredIn;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        offeredIn = dialog->directory().absolutePath();
        dialog->selectFile(dir.filePath(QStringLiteral("export")));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    clickButton(window, QStringLiteral("Exportálás"));
    qputenv("HOME", home);
    QCOMPARE(offeredIn, dir.path());
    QCOMPARE(readFile(dir.filePath(QStringLiteral("export.csv"))), csv);
    QVERIFY2(shownText(window).contains(QStringLiteral("Elmentve")), qPrintable(shownText(window)));
    QCOMPARE(csvFileName(QStringLiteral("napló.txt")) + ' ' + csvFileName(QStringLiteral("NAPLÓ.CSV")),
             "napló.txt.csv NAPLÓ.CSV");
    // The last day only: nothing of a week ago.
    window.findChild<QSpinBox *>()->setValue(1);
    QCOMPARE(table->rowCount(), 0);
    // A copy scored is a point on its own day's line (5 of 6 right), though the next day's echo groups are read first.
    QCOMPARE(history.storeCopyResult(runs[0].id, scoreCopy(runs[0].groups, "kqr @?\U0001F600").result),
             History::Scoring::Stored);
    window.findChild<QSpinBox *>()->setValue(0); // the whole history, read again
    const auto *copiedLine = qobject_cast<QLineSeries *>(window.findChild<QChartView *>()->chart()->series()[2]);
    QCOMPARE(copiedLine->points(), QList<QPointF>{QPointF(0, 500.0 / 6)});
    // The emoji taken for É is stored as the one character it is, in UTF-8.
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("csv"));
    db.setDatabaseName(dir.filePath(QStringLiteral("csv.sqlite")));
    QVERIFY(db.open());
    QSqlQuery taken(QStringLiteral("SELECT hex(taken) FROM copy_character WHERE sent = 'É'"), db);
    QVERIFY(taken.next());
    QCOMPARE(taken.value(0).toString(), "F09F9880");
    // A day a year later is a day of its own, named with its year.
    history.recordEchoGroup({t.addYears(1), "ETM", "ETM", true, 60, 3, 50});
    window.findChild<QSpinBox *>()->setValue(3650);
    days = qobject_cast<QBarCategoryAxis *>(window.findChild<QChartView *>()->chart()->axes(Qt::Horizontal)[0]);
    QCOMPARE(days->categories().size(), 3);
    QCOMPARE(days->categories().last(), t.addYears(1).toLocalTime().toString(QStringLiteral("yyyy.MM.dd.")));
}

void HistoryTest::scores_a_copy_data()
{
    // Per group sent, what was copied for it.
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("copied");
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("extra");

    QTest::newRow("right, in lower case and on lines") << "kmrsü\n\tabcde  \nfghij\n"
                                                       << "KMRSÜ ABCDE FGHIJ" << 15 << 0;
    QTest::newRow("a group left out costs its own") << "KMRSÜ FGHIJ"
                                                    << "KMRSÜ - FGHIJ" << 10 << 0;
    QTest::newRow("a group split in two, two run together") << "KMRSÜ AB CDEFGHIJ"
                                                            << "KMRSÜ ABCDE FGHIJ" << 15 << 0;
    QTest::newRow("a character outside the set is wrong") << "KMRSÜ ABÇDE FGHIJX"
                                                          << "KMRSÜ ABÇDE FGHIJX" << 14 << 1;
    QTest::newRow("an emoji is one wrong character") << "KMRSÜ AB\U0001F600DE FGHIJ"
                                                     << "KMRSÜ AB\U0001F600DE FGHIJ" << 14 << 0;
    QTest::newRow("only Unicode blanks are nothing copied") << "\u2003\u3000"
                                                            << "- - -" << 0 << 0;
}

void HistoryTest::scores_a_copy()
{
    QFETCH(QString, typed);
    QFETCH(QString, copied);
    QFETCH(int, right);
    QFETCH(int, extra);

    const CopyScore score = scoreCopy({"KMRSÜ", "ABCDE", "FGHIJ"}, typed);
    QStringList groups;
    for (const ScoredGroup &group : score.groups)
        groups << (group.copied.isEmpty() ? QStringLiteral("-") : group.copied);
    QCOMPARE(groups.join(' '), copied);
    QCOMPARE(score.sentCharacters, 15);
    QCOMPARE(score.rightCharacters, right);
    QCOMPARE(score.result.extra, extra);
}

// A history written by the previous release: brought up to date by the
// first scoring, without losing a row, and read with it by the statistics.
void HistoryTest::scores_the_copy_runs_of_an_older_history()
{
    const QString path = dir.filePath(QStringLiteral("layout1.sqlite"));
    QVERIFY(QFile::copy(QFINDTESTDATA("data/history-layout1.sqlite"), path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    // Read as it is: the characters of its echo groups.
    StatsWindow stats(path, 0);
    const auto *shown = stats.findChild<QTableWidget *>(); // before the scoring window is there
    QCOMPARE(shown->rowCount(), 11);

    // Scored from the statistics window, which shows the copied characters at once.
    clickButton(stats, QStringLiteral("Másolás pontozása"));
    CopyScoreWindow &window = *stats.findChild<CopyScoreWindow *>();
    auto *runs = window.findChild<QComboBox *>();
    auto *copy = window.findChild<QPlainTextEdit *>();
    auto *score = window.findChild<QPushButton *>();
    // Newest first; the newest has no groups and is passed over.
    QCOMPARE(runs->count(), 3);
    QVERIFY(runs->itemText(0).endsWith("sérült"));
    QCOMPARE(runs->currentIndex(), 1);
    // A run is named by when it was played, its speed and its groups.
    const QRegularExpression named(
        QStringLiteral("^20\\d\\d\\.\\d\\d\\.\\d\\d\\. \\d\\d:\\d\\d – \\d+ betű/perc, \\d+ csoport"));
    QVERIFY2(named.match(runs->itemText(1)).hasMatch(), qPrintable(runs->itemText(1)));
    QVERIFY2(shownText(window).contains("sérültek"), qPrintable(shownText(window)));
    score->click();
    QVERIFY2(shownText(window).contains("A vétel üres"), qPrintable(shownText(window)));
    copy->setPlainText("öüéx 12");
    score->click();
    QVERIFY2(shownText(window).contains("bekerült az előzménybe."), qPrintable(shownText(window)));
    // Each group sent above its copy: an extra character with a grey dot
    // above it, the place left out marked.
    QVERIFY2(shownText(window).contains("fölösleges jelek: 1") && shownText(window).contains("ÖÜÉ·\n123\nÖÜÉX\n12_"),
             qPrintable(shownText(window)));
    copy->setPlainText("öüé 14");
    score->click();
    QVERIFY2(shownText(window).contains("Helyes jelek: 67 % (4 / 6)"), qPrintable(shownText(window)));
    QVERIFY2(shownText(window).contains("ÖÜÉ\n123\nÖÜÉ\n1_4"), qPrintable(shownText(window)));
    // A wrong character is underlined in red, a right one is not.
    const QTextDocument *marked = window.findChild<QTextBrowser *>()->document();
    QVERIFY(marked->find("4").charFormat().fontUnderline() && !marked->find("1").charFormat().fontUnderline());
    runs->setCurrentIndex(2);
    copy->setPlainText("KMRSU AB/?= Á:-@");
    score->click();
    copy->setPlainText("KMRSU AB/?= Á:-@9");
    score->click();
    QVERIFY2(shownText(window).contains("a korábbi pontozás helyére"), qPrintable(shownText(window)));
    QVERIFY(!shown->findItems(QStringLiteral("3"), Qt::MatchExactly).isEmpty());
    QVERIFY(tabLeaves(window, window.findChild<QTableWidget *>()));

    History history;
    QCOMPARE(history.openForReading(path), History::Reading::Open);
    QCOMPARE(history.echoGroups().size(), 3);
    const QList<CopyRunRecord> stored = history.copyRuns();
    QCOMPARE(stored.size(), 3);
    QCOMPARE(stored[0].groups, QStringList({"KMRSU", "AB/?=", "Á:-@9"}));
    QCOMPARE(stored[0].result->copied, "KMRSU AB/?= Á:-@9");
    QVERIFY(stored[2].groups.isEmpty() && !stored[2].result);
    QCOMPARE(historyCsv({}, stored.mid(1, 1), QTimeZone::utc()).split('\n').mid(1),
             QByteArrayList({"2026-12-01T18:01:00+00:00,m\xc3\xa1sol\xc3\xa1s,\xc3\x96\xc3\x9c\xc3\x89,"
                             "\xc3\x96\xc3\x9c\xc3\x89,1,90,3,10\r",
                             "2026-12-01T18:01:00+00:00,m\xc3\xa1sol\xc3\xa1s,123,14,0,90,3,10\r", ""}));
    const CharacterTable table = trainingStatistics(history, {}, false).table;
    QCOMPARE(table.characters[0].character, U'2');
    QCOMPARE(table.characters[0].copied.dropped, 1);
    const auto e = std::find_if(table.characters.cbegin(), table.characters.cend(),
                                [](const CharacterStatistics &c) { return c.character == U'É'; });
    QVERIFY(e->keyed.sent == 1 && e->keyed.takenFor.value('E') == 1 && e->copied.right == 1);
}

// From no lesson to lesson 2: the settings file's first line selects the
// lesson, the rest stays as it was, and nothing is written while a trainer
// holds the folder.
void HistoryTest::takes_the_koch_course_lesson_by_lesson()
{
    QTemporaryDir folder;
    const QString ini = folder.filePath("ini.txt");
    CourseWindow window(folder.path());
    auto *next = window.findChild<QPushButton *>();
    auto *table = window.findChild<QTableWidget *>();
    // Every lesson's selection is read back as that lesson, the last one too.
    for (int lesson = firstLesson; lesson <= lastLesson; ++lesson)
        QCOMPARE(lessonOfSelection(lessonSelectionLine(lesson)), lesson);
    QCOMPARE(next->text(), "&Kezdés az 1. leckével");
    QVERIFY2(shownText(window).contains("Az 1. lecke jelei: K M"), qPrintable(shownText(window)));
    next->click();
    QCOMPARE(readFile(ini), QByteArray("  M                     K\r\n 60 5 30 50\r\n"));
    QCOMPARE(table->item(0, 0)->text(), "M  (új)");
    QVERIFY(table->item(0, 4)->font().bold() && !table->item(1, 0)->font().bold()); // the one to listen for
    QVERIFY(!next->isEnabled());
    for (const QByteArray lineEnd : {"\r\n", "\r"}) {
        // Saved with nothing ticked: the speed and the line ends are kept;
        // a link in its place is not written through.
        QTemporaryDir other;
        const QByteArray before = lineEnd + " 75 5 30 50" + lineEnd;
        QVERIFY(writeFile(other.filePath("ini.txt"), before) && writeFile(other.filePath("script"), before));
        QVERIFY(QDir(other.path()).mkdir("linked")
                && QFile::link(other.filePath("script"), other.filePath("linked/ini.txt")));
        CourseWindow(other.path()).findChild<QPushButton *>()->click();
        QCOMPARE(readFile(other.filePath("ini.txt")), "  M                     K" + before);
        CourseWindow linked(other.filePath("linked"));
        linked.findChild<QPushButton *>()->click();
        QVERIFY2(shownText(linked).contains("szimbolikus link"), qPrintable(shownText(linked)));
        QCOMPARE(readFile(other.filePath("script")), before);
    }

    {
        History history;
        QVERIFY(history.open(folder.filePath("history.sqlite")));
        history.recordCopyRun(
            {QDateTime::currentDateTimeUtc(), 60, 5, 50, {"KMKMK", "MKMKM", "KMKMK", "MKMKM", "KMKMK"}});
    }
    {
        // Lesson 1 copied and scored, the weaker character first: K 12 of
        // 13 (92 %), M 12 of 12.
        CopyScoreWindow scoring(folder.filePath("history.sqlite"));
        QVERIFY2(!shownText(scoring).contains("sérült"), qPrintable(shownText(scoring))); // the newest run is whole
        scoring.findChild<QPlainTextEdit *>()->setPlainText("KMKMK MKMKM KMKMK MKMKM KMKM");
        auto *score = scoring.findChild<QPushButton *>();
        // While another program holds the history, the score is not said to be kept.
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("course"));
        other.setDatabaseName(folder.filePath("history.sqlite"));
        QVERIFY(other.open() && QSqlQuery(other).exec(QStringLiteral("BEGIN EXCLUSIVE")));
        score->click();
        QVERIFY2(shownText(scoring).contains("Az előzmény nem írható") && !shownText(scoring).contains("bekerült"),
                 qPrintable(shownText(scoring)));
        QSqlQuery(other).exec(QStringLiteral("ROLLBACK"));
        score->click();
        QVERIFY2(shownText(scoring).contains("bekerült"), qPrintable(shownText(scoring)));
        auto *characters = scoring.findChild<QTableWidget *>();
        QStringList rows;
        for (int row = 0; row < characters->rowCount(); ++row)
            rows << characters->item(row, 0)->text() + characters->item(row, 2)->text() + '/'
                        + characters->item(row, 1)->text();
        QCOMPARE(rows, QStringList({"K12/13", "M12/12"}));
    }
    // The course window, open all the while, follows the copy scored.
    QVERIFY(QTest::qWaitFor([&] { return table->item(1, 1)->text() == "13"; }, 3000));
    QVERIFY(writeFile(ini, "  M                     K\n\t70  5 30 50 \nkept\x8a\r\n"));
    auto *minimum = window.findChildren<QSpinBox *>()[1];
    minimum->setValue(13); // M has 12
    QVERIFY(!next->isEnabled());
    QCOMPARE(QStringList({table->item(0, 3)->text(), table->item(0, 4)->text(), table->item(1, 3)->text(),
                          table->item(1, 4)->text()})
                 .join('/'),
             "100 %/kevés vétel/92 %/kész");
    QVERIFY(tabLeaves(window, table));
    QTest::keyClick(table, Qt::Key_Escape);
    QVERIFY(!window.isVisible()); // closed, as a secondary window
    minimum->setValue(12);
    QVERIFY2(next->isEnabled(), qPrintable(shownText(window)));
    QCOMPARE(next->text(), "&Tovább a 2. leckére (új jel: U)");
    QCOMPARE(ordinalWithArticle(1) + ordinalWithArticle(5) + ordinalWithArticle(15) + ordinalWithArticle(50),
             "az 1.az 5.a 15.az 50.");

    // A trainer starting in the folder, and ending, shows without a click.
    QLockFile trainer(folder.filePath("vestranoli.lock"));
    QVERIFY(trainer.tryLock());
    QVERIFY(QTest::qWaitFor([&] { return shownText(window).contains("A gyakorló fut"); }, 3000));
    const QByteArray before = readFile(ini);
    next->click();
    QVERIFY2(shownText(window).contains("zárja be előbb"), qPrintable(shownText(window)));
    QCOMPARE(readFile(ini), before);
    trainer.unlock();
    QVERIFY(QTest::qWaitFor([&] { return !shownText(window).contains("A gyakorló fut"); }, 3000));
    QTest::keyClick(next, Qt::Key_Return); // from the keyboard, the button having it
    QCOMPARE(readFile(ini), QByteArray("  M     U               K\n\t70  5 30 50 \nkept\x8a\r\n"));
    QCOMPARE(table->rowCount(), 3);
    QVERIFY(!next->isEnabled()); // U not copied yet
}

QTEST_MAIN(HistoryTest)
#include "tst_history.moc"
