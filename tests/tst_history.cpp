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

// The rows of a table, each the texts of the columns given joined by blanks;
// none without a table.
static QStringList rowTexts(const QTableWidget *table, std::initializer_list<int> columns)
{
    QStringList rows;
    for (int row = 0; table && row < table->rowCount(); ++row) {
        QStringList cells;
        for (int column : columns)
            cells << (table->item(row, column) ? table->item(row, column)->text() : QString());
        rows << cells.join(' ');
    }
    return rows;
}

// The points of one of the statistics chart's lines (1 keyed, 2 copied,
// 3 speed), and the days under it; none without them.
static QList<QPointF> linePoints(const QWidget &window, int line)
{
    const auto *view = window.findChild<QChartView *>();
    const auto *series = view ? qobject_cast<QLineSeries *>(view->chart()->series().value(line)) : nullptr;
    return series ? series->points() : QList<QPointF>();
}

static QStringList chartDays(const QWidget &window)
{
    const auto *view = window.findChild<QChartView *>();
    auto *days = view ? qobject_cast<QBarCategoryAxis *>(view->chart()->axes(Qt::Horizontal).value(0)) : nullptr;
    return days ? days->categories() : QStringList();
}

// When recordTraining() begins.
static const QDateTime evening(QDate(2026, 12, 1), QTime(18, 5), QTimeZone::utc());

class HistoryTest : public QObject
{
    Q_OBJECT

private slots:
    void takes_a_swapped_pair_for_each_other();
    void refuses_a_file_it_cannot_use_data();
    void refuses_a_file_it_cannot_use();
    void keeps_every_group_through_a_failure_data();
    void keeps_every_group_through_a_failure();
    void writes_the_evening_as_csv_and_as_text();
    void shows_the_characters_and_the_weakest();
    void splits_the_noise_into_steps_data();
    void splits_the_noise_into_steps();
    void tells_receiving_by_the_band_s_noise();
    void charts_each_day();
    void opens_the_course_window_once();
    void exports_into_the_trainee_s_home();
    void scores_a_copy_data();
    void scores_a_copy();
    void scores_the_copy_runs_of_an_older_history();
    void takes_the_koch_course_lesson_by_lesson();

private:
    // An evening's training in a history of the test function's own: two echo
    // groups, a copy run, and a copy run with nothing ticked, which is no
    // training; the first two at +3 dB, the second echo group on a clean
    // band. With `week`, 8 more echo groups from a hardware keyer, half of
    // them the next day.
    bool recordTraining(History &history, bool week);
    QString trainingPath() const { return dir.filePath(QLatin1String(QTest::currentTestFunction()) + ".sqlite"); }

    QTemporaryDir dir;
};

// A swapped pair is taken for each other, not for one left out and one extra.
void HistoryTest::takes_a_swapped_pair_for_each_other()
{
    const std::optional<Alignment> alignment = alignGroups(u"TEMSA", u"TMESA");
    QVERIFY(alignment);
    QStringList outcomes;
    for (const AlignedCharacter &c : alignment->characters)
        outcomes << characterText(c.sent) + '>' + characterText(c.taken);
    QCOMPARE(outcomes.join(' '), "T>T E>M M>E S>S A>A");
    QCOMPARE(alignment->extra, 0);
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

bool HistoryTest::recordTraining(History &history, bool week)
{
    if (!history.open(trainingPath()))
        return false;
    const auto weak = BandConditions::fromText(u"filter=500 snr=3 fading=10/6");
    history.recordEchoGroup({evening, "TEMÁ", "TEMA", false, 60, 4, 50, weak});
    history.recordCopyRun({evening.addSecs(10), 70, 3, 100, {"KQR", "@?É"}, 0, {}, weak});
    history.recordEchoGroup({evening.addSecs(20), "TEMS", "TMS", false, 65, 4, 50, BandConditions()});
    history.recordCopyRun({evening.addSecs(30), 60, 5, 50, {"", ""}});
    for (int i = 0; week && i < 8; ++i) // the first with I for E, the second with T left out
        history.recordEchoGroup({evening.addDays(i / 4).addSecs(30 + i), "ETM",
                                 QStringList{"ITM", "EM"}.value(i, "ETM"), i > 1, 60, 3, 50});
    return true;
}

void HistoryTest::writes_the_evening_as_csv_and_as_text()
{
    History history;
    QVERIFY(recordTraining(history, false));
    QList<CopyRunRecord> runs = history.copyRuns();
    QVERIFY(!runs.isEmpty());
    // What the trainee typed, quoted where it needs to be; a formula is no formula to a spreadsheet.
    runs[0].result = CopyResult{evening, "=K\"R ,?É", {}};
    QCOMPARE(
        historyCsv(history.echoGroups(), runs, QTimeZone::utc()),
        QByteArray("\xef\xbb\xbfid\xc5\x91,fut\xc3\xa1s,adott,vett,j\xc3\xb3,sebess\xc3\xa9g,"
                   "bet\xc5\xb1sz\xc3\xa1m,sz\xc3\xbcnet,s\xc3\xa1vviszonyok\r\n"
                   "2026-12-01T18:05:00+00:00,oda-vissza,TEM\xc3\x81,TEMA,0,60,4,50,filter=500 snr=3 fading=10/6\r\n"
                   "2026-12-01T18:05:10+00:00,m\xc3\xa1sol\xc3\xa1s,KQR,\"'=K\"\"R\",0,70,3,100,filter=500 snr=3 "
                   "fading=10/6\r\n"
                   "2026-12-01T18:05:10+00:00,m\xc3\xa1sol\xc3\xa1s,\"'@?\xc3\x89\",\",?\xc3\x89\",0,70,3,100,"
                   "filter=500 snr=3 fading=10/6\r\n"
                   "2026-12-01T18:05:20+00:00,oda-vissza,TEMS,TMS,0,65,4,50,clean\r\n"));
    QCOMPARE(characterTableText(trainingStatistics(history, {}, false).table),
             QStringLiteral("      ---- adás (visszaadva) -  ---- vétel (másolva) --\n"
                            "Jel   Adva     Jó  Helyes    Adva     Jó  Helyes  Mire vette\n"
                            "Á        1      0     0 %       –      –     –    adás: A 1\n"
                            "E        2      1    50 %       –      –     –    adás: kimaradt 1\n"
                            "M        2      2   100 %       –      –     –\n"
                            "T        2      2   100 %       –      –     –\n"
                            "S        1      1   100 %       –      –     –\n"
                            "Fölösleges jelek: 0 visszaadva, 0 másolva\n"));
}

// E at 8 of 10 is offered for the next run; not T at 9 of 10, nor Á, sent once.
void HistoryTest::shows_the_characters_and_the_weakest()
{
    History history;
    QVERIFY(recordTraining(history, true));
    // A group no trainer keys, from a damaged history: left out, and said.
    history.recordEchoGroup({evening.addSecs(40), QString(100000, 'E'), QString(99999, 'E') + 'T', false, 60, 3, 50});
    StatsWindow window(trainingPath(), 0);
    auto *table = window.findChild<QTableWidget *>("characters");
    auto *weakest = window.findChild<QListWidget *>();
    auto *period = window.findChild<QSpinBox *>();
    QVERIFY(table && weakest && period);
    QCOMPARE(rowTexts(table, {0, 1, 2, 3, 7}).join(' '),
             QStringLiteral("Á 1 0 0 % adás: A 1 E 10 8 80 % adás: I 1, kimaradt 1 "
                            "T 10 9 90 % adás: kimaradt 1 M 10 10 100 %  S 1 1 100 % "));
    QVERIFY2(shownText(window).contains("Kimaradt a statisztikából 1 oda-vissza csoport, mert 250 jelnél hosszabb."),
             qPrintable(shownText(window)));
    QCOMPARE(weakest->count(), 1);
    weakest->item(0)->setCheckState(Qt::Checked);
    QVERIFY2(shownText(window).contains(QStringLiteral("jelei: E\n")), qPrintable(shownText(window)));
    period->setValue(1); // the last day only: nothing of a week ago
    QCOMPARE(table->rowCount(), 0);
}

// Each row is named by its band; a step holds its lower bound.
void HistoryTest::splits_the_noise_into_steps_data()
{
    QTest::addColumn<QString>("step");

    QTest::newRow("fading=10/6") << "zaj nélkül";
    QTest::newRow("snr=20") << "+20 dB és fölötte";
    QTest::newRow("snr=19.9") << "+15 és +20 dB között";
    QTest::newRow("snr=-5") << "-5 és 0 dB között";
    QTest::newRow("snr=-5.5") << "-5 dB alatt";
}

void HistoryTest::splits_the_noise_into_steps()
{
    QFETCH(QString, step);
    const auto band = BandConditions::fromText(QString::fromLatin1(QTest::currentDataTag()));
    QCOMPARE(noiseStepName(noiseStep(band)), step);
}

// The evening's copy run scored 5 of 6; its echo groups both wrong, the week's 6 of 8 right.
void HistoryTest::tells_receiving_by_the_band_s_noise()
{
    History history;
    QVERIFY(recordTraining(history, true));
    const QList<CopyRunRecord> runs = history.copyRuns();
    QVERIFY(!runs.isEmpty());
    CopyResult result = scoreCopy(runs[0].groups, "KQR @?E").result;
    result.scored = evening.addSecs(60);
    QCOMPARE(history.storeCopyResult(runs[0].id, result), History::Scoring::Stored);
    QCOMPARE(noiseTableText(trainingStatistics(history, {}, false).byNoise),
             QStringLiteral("\nVétel a sáv zaja szerint (jel/zaj viszony a szűrőben):\n"
                            "                                   - oda-vissza: csoport  --- másolás: jel ----\n"
                            "Jel/zaj                              Adva     Jó  Helyes    Adva     Jó  Helyes\n"
                            "zaj nélkül                              1      0     0 %       –      –     –\n"
                            "0 és +5 dB között                       1      0     0 %       6      5    83 %\n"
                            "nem ismert (hardveres billentyűző)      8      6    75 %       –      –     –\n"));
    StatsWindow window(trainingPath(), 0);
    QCOMPARE(rowTexts(window.findChild<QTableWidget *>("noise"), {0, 1, 2, 3, 4, 5, 6}),
             QStringList({"zaj nélkül 1 0 0 % – – –", "0 és +5 dB között 1 0 0 % 6 5 83 %",
                          "nem ismert (hardveres billentyűző) 8 6 75 % – – –"}));
}

void HistoryTest::charts_each_day()
{
    History history;
    QVERIFY(recordTraining(history, true));
    const StatsWindow window(trainingPath(), 0);
    QCOMPARE(chartDays(window), QStringList({evening.toLocalTime().toString(QStringLiteral("MM.dd.")),
                                             evening.addDays(1).toLocalTime().toString(QStringLiteral("MM.dd."))}));
    // The next day all keyed right at 60: the keyed share's line at 100 %, the speed's at 60.
    QCOMPARE(linePoints(window, 1).value(1), QPointF(1, 100));
    QCOMPARE(linePoints(window, 3).value(1), QPointF(1, 60));
    QVERIFY(linePoints(window, 2).isEmpty()); // no copy scored: no 0 % on its line
    // A copy scored, 5 of 6 right with an emoji taken for É, is a point on its
    // own day's line, though the next day's echo groups are read first; a day
    // a year later is a day of its own, named with its year.
    const QList<CopyRunRecord> runs = history.copyRuns();
    QVERIFY(!runs.isEmpty());
    QCOMPARE(history.storeCopyResult(runs[0].id, scoreCopy(runs[0].groups, "kqr @?\U0001F600").result),
             History::Scoring::Stored);
    history.recordEchoGroup({evening.addYears(1), "ETM", "ETM", true, 60, 3, 50});
    const StatsWindow later(trainingPath(), 0);
    QCOMPARE(linePoints(later, 2), QList<QPointF>{QPointF(0, 500.0 / 6)});
    QCOMPARE(chartDays(later).mid(2),
             QStringList(evening.addYears(1).toLocalTime().toString(QStringLiteral("yyyy.MM.dd."))));
    // The emoji is stored as the one character it is, in UTF-8.
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("emoji"));
    db.setDatabaseName(trainingPath());
    QVERIFY(db.open());
    QSqlQuery taken(QStringLiteral("SELECT hex(taken) FROM copy_character WHERE sent = 'É'"), db);
    QVERIFY(taken.next());
    QCOMPARE(taken.value(0).toString(), "F09F9880");
}

void HistoryTest::opens_the_course_window_once()
{
    StatsWindow window(trainingPath(), 0);
    clickButton(window, QStringLiteral("Koch"));
    clickButton(window, QStringLiteral("Koch")); // the same course window again, not a second one
    QVERIFY(window.findChildren<CourseWindow *>().size() == 1 && window.findChild<CourseWindow *>()->isVisible());
}

// Offered in the trainee's home, which has no Documents folder; a name typed
// without ".csv" gets it.
void HistoryTest::exports_into_the_trainee_s_home()
{
    History history;
    QVERIFY(recordTraining(history, true));
    StatsWindow window(trainingPath(), 0);
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
    QCOMPARE(readFile(dir.filePath(QStringLiteral("export.csv"))),
             historyCsv(history.echoGroups(), history.copyRuns(), QTimeZone::systemTimeZone()));
    QVERIFY2(shownText(window).contains(QStringLiteral("Elmentve")), qPrintable(shownText(window)));
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
    const auto *shown = stats.findChild<QTableWidget *>("characters"); // before the scoring window is there
    QCOMPARE(shown ? shown->rowCount() : -1, 11);

    // Scored from the statistics window, which shows the copied characters at once.
    clickButton(stats, QStringLiteral("Másolás pontozása"));
    auto *window = stats.findChild<CopyScoreWindow *>();
    QVERIFY(window);
    auto *runs = window->findChild<QComboBox *>();
    auto *copy = window->findChild<QPlainTextEdit *>();
    auto *score = window->findChild<QPushButton *>();
    auto *marked = window->findChild<QTextBrowser *>();
    QVERIFY(runs && copy && score && marked);
    // Newest first; the newest has no groups and is passed over.
    QCOMPARE(runs->count(), 3);
    QVERIFY(runs->itemText(0).endsWith("sérült"));
    QCOMPARE(runs->currentIndex(), 1);
    QVERIFY2(shownText(*window).contains("sérültek"), qPrintable(shownText(*window)));
    score->click();
    QVERIFY2(shownText(*window).contains("A vétel üres"), qPrintable(shownText(*window)));
    copy->setPlainText("öüéx 12");
    score->click();
    // Each group sent above its copy: an extra character with a grey dot
    // above it, the place left out marked.
    QVERIFY2(shownText(*window).contains("fölösleges jelek: 1") && shownText(*window).contains("ÖÜÉ·\n123\nÖÜÉX\n12_"),
             qPrintable(shownText(*window)));
    copy->setPlainText("öüé 14");
    score->click();
    QVERIFY2(shownText(*window).contains("Helyes jelek: 67 % (4 / 6)"), qPrintable(shownText(*window)));
    QVERIFY2(shownText(*window).contains("ÖÜÉ\n123\nÖÜÉ\n1_4"), qPrintable(shownText(*window)));
    // A wrong character is underlined in red, a right one is not.
    const QTextDocument *document = marked->document();
    QVERIFY(document->find("4").charFormat().fontUnderline() && !document->find("1").charFormat().fontUnderline());
    runs->setCurrentIndex(2);
    copy->setPlainText("KMRSU AB/?= Á:-@");
    score->click();
    copy->setPlainText("KMRSU AB/?= Á:-@9");
    score->click();
    QVERIFY2(shownText(*window).contains("a korábbi pontozás helyére"), qPrintable(shownText(*window)));
    QVERIFY(!shown->findItems(QStringLiteral("3"), Qt::MatchExactly).isEmpty());

    History history;
    QCOMPARE(history.openForReading(path), History::Reading::Open);
    QCOMPARE(history.echoGroups().size(), 3);
    const QList<CopyRunRecord> stored = history.copyRuns();
    QCOMPARE(stored.size(), 3);
    QCOMPARE(stored[0].groups, QStringList({"KMRSU", "AB/?=", "Á:-@9"}));
    QCOMPARE(stored[0].result ? stored[0].result->copied : QString(), "KMRSU AB/?= Á:-@9");
    QVERIFY(stored[2].groups.isEmpty() && !stored[2].result);
    QVERIFY(!stored[0].conditions && !history.echoGroups().value(0).conditions); // from before bands were kept
    QCOMPARE(historyCsv({}, stored.mid(1, 1), QTimeZone::utc()).split('\n').mid(1),
             QByteArrayList({"2026-12-01T18:01:00+00:00,m\xc3\xa1sol\xc3\xa1s,\xc3\x96\xc3\x9c\xc3\x89,"
                             "\xc3\x96\xc3\x9c\xc3\x89,1,90,3,10,\r",
                             "2026-12-01T18:01:00+00:00,m\xc3\xa1sol\xc3\xa1s,123,14,0,90,3,10,\r", ""}));
    const CharacterTable table = trainingStatistics(history, {}, false).table;
    QCOMPARE(table.characters.value(0).character, U'2');
    QCOMPARE(table.characters.value(0).copied.dropped, 1);
    QVERIFY(characterTableText(table).contains("vétel: 4 1")); // 3 copied as 4, as the text table says
    const auto e = std::find_if(table.characters.cbegin(), table.characters.cend(),
                                [](const CharacterStatistics &c) { return c.character == U'É'; });
    QVERIFY(e != table.characters.cend() && e->keyed.sent == 1 && e->keyed.takenFor.value('E') == 1
            && e->copied.right == 1);
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
    auto *minimum = window.findChildren<QSpinBox *>().value(1);
    QVERIFY(next && table && minimum);
    // Every lesson's selection is read back as that lesson, the last one too.
    for (int lesson = firstLesson; lesson <= lastLesson; ++lesson)
        QCOMPARE(lessonOfSelection(lessonSelectionLine(lesson)), lesson);
    QCOMPARE(next->text(), "&Kezdés az 1. leckével");
    QVERIFY2(shownText(window).contains("Az 1. lecke jelei: K M"), qPrintable(shownText(window)));
    next->click();
    QCOMPARE(readFile(ini), QByteArray("  M                     K\r\n 60 5 30 50\r\n"));
    QCOMPARE(rowTexts(table, {0}).value(0), "M  (új)");
    QVERIFY(table->item(0, 4)->font().bold() && !table->item(1, 0)->font().bold()); // the one to listen for
    for (const QByteArray lineEnd : {"\r\n", "\r"}) {
        // Saved with nothing ticked: the speed and the line ends are kept;
        // a link in its place is not written through.
        QTemporaryDir other;
        const QByteArray before = lineEnd + " 75 5 30 50" + lineEnd;
        QVERIFY(writeFile(other.filePath("ini.txt"), before) && writeFile(other.filePath("script"), before));
        QVERIFY(QDir(other.path()).mkdir("linked")
                && QFile::link(other.filePath("script"), other.filePath("linked/ini.txt")));
        clickButton(CourseWindow(other.path()), QStringLiteral("&Kezdés"));
        QCOMPARE(readFile(other.filePath("ini.txt")), "  M                     K" + before);
        CourseWindow linked(other.filePath("linked"));
        clickButton(linked, QStringLiteral("&Kezdés"));
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
        auto *copy = scoring.findChild<QPlainTextEdit *>();
        auto *score = scoring.findChild<QPushButton *>();
        QVERIFY(copy && score);
        copy->setPlainText("KMKMK MKMKM KMKMK MKMKM KMKM");
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
        QCOMPARE(rowTexts(scoring.findChild<QTableWidget *>(), {0, 2, 1}), QStringList({"K 12 13", "M 12 12"}));
    }
    // The course window, open all the while, follows the copy scored.
    QVERIFY(QTest::qWaitFor([&] { return rowTexts(table, {1}).value(1) == "13"; }, 3000));
    QVERIFY(writeFile(ini, "  M                     K\n\t70  5 30 50 \nkept\x8a\r\n"));
    minimum->setValue(13); // M has 12
    QVERIFY(!next->isEnabled());
    QCOMPARE(rowTexts(table, {3, 4}), QStringList({"100 % kevés vétel", "92 % kész"}));
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
