// SPDX-License-Identifier: GPL-3.0-or-later
// How long the statistics take over a history of 10^4, 10^5 and 10^6 groups,
// and how much memory: `vestranoli --stats --text` run as a trainee runs it,
// and the statistics window from its start to its first paint (offscreen).
// Four groups in five are echo groups (one in ten of them keyed back with a
// character wrong), one in five in scored copy runs of 50 groups; they are
// spread over 100 days, all played through one band by the software keyer.
// Each figure is the median of three runs; the memory is the largest
// resident size the kernel counted for the process (at least this program's
// own, about 20 MB, which it inherits at the spawn).
//
//   build/bench/bench-statistics [path of vestranoli, default: the one built beside it]
//   build/bench/bench-statistics --make DIR GROUPS   (only makes DIR/history.sqlite)
//
// Run it on an optimised build (-DCMAKE_BUILD_TYPE=Release); the histories
// are made in a temporary folder first (a few seconds for a million groups).

#include "history/copyscore.h"
#include "history/history.h"
#include "stats/statswindow.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

constexpr int copyRunGroups = 50;
const QString letters = QStringLiteral("KMURESNAPTLWI.JZ=FOYVG5/Q92H38B?47C1D60XÁÉÖÜ:-@");

QString randomGroup(QRandomGenerator &random)
{
    QString group;
    for (int i = 0; i < 5; ++i)
        group += letters[random.bounded(int(letters.size()))];
    return group;
}

// A history of `groups` groups at `path`, in the layout the trainer writes.
void makeHistory(const QString &path, int groups)
{
    {
        History history;
        history.open(path); // the layout
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench"));
    db.setDatabaseName(path);
    db.open();
    QSqlQuery query(db);
    query.exec(QStringLiteral("BEGIN"));
    query.prepare(QStringLiteral("INSERT INTO echo_group VALUES (?, ?, ?, ?, 60, 5, 50, 'filter=500 snr=3')"));
    QRandomGenerator random(groups);
    const qint64 start = QDateTime::currentMSecsSinceEpoch() - 100LL * 24 * 3600 * 1000;
    const qint64 step = 100LL * 24 * 3600 * 1000 / groups;
    const int echoGroups = groups / 5 * 4;
    for (int g = 0; g < echoGroups; ++g) {
        const QString sent = randomGroup(random);
        QString decoded = sent;
        if (random.bounded(10) == 0)
            decoded[random.bounded(5)] = QLatin1Char('E');
        query.addBindValue(start + qint64(g) * step * 5 / 4);
        query.addBindValue(sent);
        query.addBindValue(decoded);
        query.addBindValue(sent == decoded ? 1 : 0);
        query.exec();
    }
    query.exec(QStringLiteral("COMMIT"));
    QList<QStringList> runs;
    query.exec(QStringLiteral("BEGIN"));
    query.prepare(QStringLiteral(
        "INSERT INTO copy_run (at, speed, groupsize, pause, groups, conditions) VALUES (?, 60, 5, 50, ?, "
        "'filter=500 snr=3')"));
    for (int r = 0; r < (groups - echoGroups) / copyRunGroups; ++r) {
        QStringList run;
        for (int g = 0; g < copyRunGroups; ++g)
            run.append(randomGroup(random));
        query.addBindValue(start + qint64(r) * step * copyRunGroups * 5);
        query.addBindValue(run.join(QLatin1Char('\n')));
        query.exec();
        runs.append(run);
    }
    query.exec(QStringLiteral("COMMIT"));
    query = QSqlQuery();
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("bench"));

    History history;
    history.open(path);
    for (int r = 0; r < runs.size(); ++r) {
        // Copied with one group left out and one character taken for another.
        QStringList copied = runs[r].mid(1);
        copied[0][0] = QLatin1Char('T');
        CopyResult result = scoreCopy(runs[r], copied.join(QLatin1Char(' '))).result;
        result.scored = QDateTime::currentDateTimeUtc();
        history.storeCopyResult(r + 1, result);
    }
}

struct Run {
    double seconds = 0;
    double megabytes = 0;
};

// Runs a program to its end: its wall time and largest resident size.
Run timed(const QStringList &arguments, const QStringList &environment)
{
    std::vector<QByteArray> storage;
    std::vector<char *> argv;
    for (const QString &a : arguments)
        storage.push_back(a.toLocal8Bit());
    for (QByteArray &a : storage)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<QByteArray> envStorage;
    std::vector<char *> envp;
    for (char **e = environ; *e; ++e)
        envp.push_back(*e);
    for (const QString &e : environment)
        envStorage.push_back(e.toLocal8Bit());
    for (QByteArray &e : envStorage)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    QElapsedTimer clock;
    clock.start();
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) {
        std::fprintf(stderr, "bench-statistics: cannot start %s\n", argv[0]);
        std::exit(1);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const double seconds = clock.nsecsElapsed() / 1e9;
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "bench-statistics: %s failed\n", argv[0]);
        std::exit(1);
    }
    return {seconds, usage.ru_maxrss / 1024.0};
}

Run median(const QStringList &arguments, const QStringList &environment = {})
{
    std::vector<Run> runs;
    for (int i = 0; i < 3; ++i)
        runs.push_back(timed(arguments, environment));
    std::sort(runs.begin(), runs.end(), [](const Run &a, const Run &b) { return a.seconds < b.seconds; });
    return runs[1];
}

// The window part of this program: the statistics window over `dataDir`,
// ended at its first paint.
int paintOnce(int argc, char *argv[], const QString &dataDir)
{
    QApplication app(argc, argv);
    StatsWindow window(QDir(dataDir).filePath(QStringLiteral("history.sqlite")), 0);
    struct FirstPaint : QObject {
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint)
                QCoreApplication::exit(0);
            return false;
        }
    } firstPaint;
    window.installEventFilter(&firstPaint);
    window.show();
    return app.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && QByteArray(argv[1]) == "--paint")
        return paintOnce(argc, argv, QString::fromLocal8Bit(argv[2]));

    QCoreApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--make") {
        makeHistory(QDir(QString::fromLocal8Bit(argv[2])).filePath(QStringLiteral("history.sqlite")),
                    std::atoi(argv[3]));
        return 0;
    }
    const QString self = QCoreApplication::applicationFilePath();
    const QString trainer
        = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QFileInfo(self).dir().filePath(QStringLiteral("../vestranoli"));
    std::printf("| groups | --stats --text | its memory | window to first paint | its memory |\n"
                "|---:|---:|---:|---:|---:|\n");
    for (int groups : {10000, 100000, 1000000}) {
        QTemporaryDir dir;
        // Made by a process of its own: a spawned program's peak counts the
        // spawning one's memory at the spawn, which is kept small so.
        timed({self, QStringLiteral("--make"), dir.path(), QString::number(groups)}, {});
        const Run text = median(
            {trainer, QStringLiteral("--stats"), QStringLiteral("--text"), QStringLiteral("--data-dir"), dir.path()});
        const Run window
            = median({self, QStringLiteral("--paint"), dir.path()}, {QStringLiteral("QT_QPA_PLATFORM=offscreen")});
        std::printf("| %d | %.3f s | %.0f MB | %.3f s | %.0f MB |\n", groups, text.seconds, text.megabytes,
                    window.seconds, window.megabytes);
        std::fflush(stdout);
    }
    return 0;
}
