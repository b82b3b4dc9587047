// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/statscommand.h"

#include "common/commandline.h"
#include "desktop/options.h"
#include "desktop/platform.h"
#include "history/statistics.h"
#include "stats/copyscorewindow.h"
#include "stats/coursewindow.h"
#include "stats/statswindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>

#include <cstdio>
#include <cstring>
#include <memory>

bool isStatisticsCommand(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--stats") == 0 || std::strcmp(argv[i], "--score-copy") == 0
            || std::strcmp(argv[i], "--course") == 0)
            return true;
    }
    return false;
}

int runStatistics(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QCommandLineParser parser;
    const QCommandLineOption stats(QStringLiteral("stats"));
    const QCommandLineOption scoreCopy(QStringLiteral("score-copy"));
    const QCommandLineOption course(QStringLiteral("course"));
    const QCommandLineOption text(QStringLiteral("text"));
    const QCommandLineOption days(QStringLiteral("days"), QString(), QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption dataDir(QStringLiteral("data-dir"), QString(), QStringLiteral("DIR"));
    parser.addOptions({stats, scoreCopy, course, text, days, dataDir});
    bool daysOk = false;
    std::optional<QString> refused = refusedCommandLine(parser, arguments);
    const int dayCount = parser.value(days).toInt(&daysOk);
    if (!refused && (!daysOk || dayCount < 0))
        refused = QStringLiteral("--days takes a whole number of days, 0 for all");
    if (refused) {
        // Said in the terminal's language, as the trainer says it.
        QCoreApplication terminal(argc, argv);
        loadQtTranslations();
        loadTerminalTranslation();
        QCommandLineParser again;
        again.addOptions({stats, scoreCopy, course, text, days, dataDir});
        refused = refusedCommandLine(again, arguments)
                      .value_or(
                          QCoreApplication::translate("CommandLine", "--days takes a whole number of days, 0 for all"));
        const QString said = QCoreApplication::translate("CommandLine", "vestranoli: %1 (try --help)").arg(*refused);
        std::fputs(qUtf8Printable(said + QLatin1Char('\n')), stderr);
        return 2;
    }
    const QString folder = parser.isSet(dataDir) ? parser.value(dataDir) : defaultDataDir();
    const QString path = QDir(folder).filePath(QStringLiteral("history.sqlite"));

    if (!parser.isSet(text)) {
        QApplication app(argc, argv);
        loadQtTranslations();
        loadTerminalTranslation(); // what the history says of its file
        showFocusFrames();
        std::unique_ptr<QWidget> window;
        if (parser.isSet(scoreCopy))
            window = std::make_unique<CopyScoreWindow>(path);
        else if (parser.isSet(course))
            window = std::make_unique<CourseWindow>(folder);
        else
            window = std::make_unique<StatsWindow>(path, dayCount);
        window->show();
        return app.exec();
    }

    // No window and no display: a terminal is all this needs.
    QCoreApplication app(argc, argv);
    loadQtTranslations();
    loadTerminalTranslation();
    const QDateTime since = dayCount > 0 ? QDateTime::currentDateTimeUtc().addDays(-dayCount) : QDateTime();
    History history;
    switch (history.openForReading(path)) {
    case History::Reading::Failed:
        return 1;
    case History::Reading::NoHistoryYet:
        std::printf("Még nincs előzmény: %s\n", qUtf8Printable(QDir::toNativeSeparators(path)));
        break;
    case History::Reading::Open: {
        const TrainingStatistics statistics = trainingStatistics(history, since, false);
        std::fputs(qUtf8Printable(characterTableText(statistics.table) + noiseTableText(statistics.byNoise)
                                  + skippedGroupsText(statistics.skippedGroups)),
                   stdout);
        break;
    }
    }
    std::fputs(qUtf8Printable(lostRecordsText(lostRecords(path), since, QTimeZone::systemTimeZone())), stdout);
    return 0;
}
