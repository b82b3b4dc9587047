// SPDX-License-Identifier: GPL-3.0-or-later
// A large paste into the copy-scoring window: pastes of the run's own 250
// groups of 15 (3999 characters, copied right), of 10 KB, the longest
// copy the window takes (16 000 characters), 100 KB, 1 MB and 10 MB of
// groups, each onto an empty copy of a run of 250 groups of 15 (the longest
// run there is), then a click on "Pontozás", then the window opened anew
// over the history, as the trainee next opens it. Each size runs in a
// process of its own, on the offscreen platform; the memory is the largest
// resident size of that process.
//
//   build/bench/bench-copypaste [characters: one size only]
//
// Run it on an optimised build (-DCMAKE_BUILD_TYPE=Release).

#include "history/history.h"
#include "stats/copyscorewindow.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstdlib>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString letters = QStringLiteral("KMURESNAPTLWIJZFOYVGQHBCDX0123456789");
constexpr qsizetype wholeCopy = 250 * 16 - 1;

QString groups(QRandomGenerator &random, qsizetype characters)
{
    QString text;
    text.reserve(characters);
    while (text.size() < characters) {
        if (!text.isEmpty())
            text += QLatin1Char(text.size() % 128 < 16 ? '\n' : ' ');
        for (int i = 0; i < 15; ++i)
            text += letters[random.bounded(int(letters.size()))];
    }
    text.truncate(characters);
    return text;
}

void makeHistory(const QString &path)
{
    QRandomGenerator random(250);
    History history;
    history.open(path);
    QStringList run;
    for (int g = 0; g < 250; ++g)
        run.append(groups(random, 15));
    history.recordCopyRun({QDateTime::currentDateTimeUtc(), 60, 15, 50, run});
}

double since(QElapsedTimer &clock)
{
    const double seconds = clock.nsecsElapsed() / 1e9;
    clock.restart();
    return seconds;
}

// One paste of `characters`, into a fresh copy of the history at `path`; a
// line of the table to `out`.
int pasteOnce(int argc, char *argv[], const QString &path, qsizetype characters, FILE *out)
{
    QApplication app(argc, argv);
    // 3999 characters: the run's own groups (made from the same seed), a copy without a fault.
    QRandomGenerator random(characters == wholeCopy ? 250 : static_cast<quint32>(characters));
    QGuiApplication::clipboard()->setText(groups(random, characters));
    QString shown;
    double paste = 0;
    double score = 0;
    bool pasted = false;
    QElapsedTimer clock;
    {
        CopyScoreWindow window(path);
        window.show();
        QCoreApplication::processEvents();
        auto *copy = window.findChild<QPlainTextEdit *>();
        copy->setFocus();
        clock.start();
        QTest::keyClick(copy, Qt::Key_V, Qt::ControlModifier);
        QCoreApplication::processEvents();
        paste = since(clock);
        pasted = copy->toPlainText().size() == characters;
        if (pasted) {
            window.findChild<QPushButton *>()->click();
            QCoreApplication::processEvents();
            score = since(clock);
        }
        for (const QLabel *label : window.findChildren<QLabel *>()) {
            if (label->text().startsWith(QStringLiteral("A vétel")))
                shown = label->text();
        }
    }
    clock.restart();
    {
        CopyScoreWindow window(path);
        window.show();
        QCoreApplication::processEvents();
    }
    const double reopen = since(clock);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const QByteArray scored = pasted ? QStringLiteral("%1 s").arg(score, 0, 'f', 3).toUtf8() : QByteArray("–");
    std::fprintf(out, "| %lld | %s | %.3f s | %s | %.3f s | %.0f MB |\n", (long long)characters,
                 pasted ? "pasted" : "refused", paste, scored.constData(), reopen, usage.ru_maxrss / 1024.0);
    if (!shown.isEmpty())
        std::fprintf(stderr, "  %lld: \"%s\"\n", (long long)characters, qUtf8Printable(shown));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QTemporaryDir dir;
    const QString history = QDir(dir.path()).filePath(QStringLiteral("history.sqlite"));
    const QString fresh = QDir(dir.path()).filePath(QStringLiteral("scored.sqlite"));
    if (fork() == 0) {
        QCoreApplication app(argc, argv);
        makeHistory(history);
        std::_Exit(0);
    }
    wait(nullptr);
    std::printf("| characters pasted | paste | its time | scored and shown | window opened again | memory |\n"
                "|---:|---|---:|---:|---:|---:|\n");
    std::fflush(stdout);
    QList<qsizetype> sizes{wholeCopy, 10240, 16000, 102400, 1048576, 10485760};
    if (argc > 1)
        sizes = {std::atoll(argv[1])};
    for (qsizetype characters : sizes) {
        QFile::remove(fresh);
        QFile::copy(history, fresh);
        if (fork() == 0) {
            const int status = pasteOnce(argc, argv, fresh, characters, stdout);
            std::fflush(stdout);
            std::_Exit(status);
        }
        int status = 0;
        wait(&status);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::printf("| %lld | the window ended (status %d) | | | | |\n", (long long)characters, status);
            std::fflush(stdout);
        }
    }
    return 0;
}
