// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/coursewindow.h"

#include "settings/settingsfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QLockFile>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <cerrno>

#include <signal.h>

namespace {

const QString trainerRunsText = QStringLiteral("A gyakorló fut ebben a mappában: zárja be előbb (Kilép), mert "
                                               "kilépéskor a saját kijelölését írja az ini.txt-be.");

// The folder's lock is held by a trainer that still runs (a killed one
// leaves its lock behind).
bool trainerRuns(const QString &dataDir)
{
    qint64 pid = 0;
    QString host;
    QString application;
    const QLockFile lock(QDir(dataDir).filePath(QStringLiteral("vestranoli.lock")));
    return lock.getLockInfo(&pid, &host, &application) && pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

QString spaced(const QString &characters)
{
    QStringList each;
    for (QChar c : characters)
        each.append(QString(c));
    return each.join(QLatin1Char(' '));
}

} // namespace

CourseWindow::CourseWindow(const QString &dataDir, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_dataDir(dataDir)
{
    setWindowTitle(QStringLiteral("Vestranoli – Koch-tanfolyam"));
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close); // as a secondary window
    setLocale(QLocale(QLocale::Hungarian, QLocale::Hungary));
    resize(640, 620);

    m_lessonText = new QLabel;
    m_lessonText->setWordWrap(true);
    m_percent = new QSpinBox;
    m_percent->setRange(75, 100);
    m_percent->setValue(90);
    m_percent->setSuffix(QStringLiteral(" %"));
    m_minimum = new QSpinBox;
    m_minimum->setRange(5, recentSamples);
    m_minimum->setValue(20);
    m_minimum->setSuffix(QStringLiteral(" vétel"));
    m_table = new QTableWidget(0, 5);
    m_table->setHorizontalHeaderLabels({QStringLiteral("Jel"), QStringLiteral("Másolva"), QStringLiteral("Jó"),
                                        QStringLiteral("Helyes"), QStringLiteral("Állapot")});
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setTabKeyNavigation(false);
    m_verdict = new QLabel;
    m_verdict->setWordWrap(true);
    m_next = new QPushButton;
    m_next->setAutoDefault(true);
    m_status = new QLabel;
    m_status->setWordWrap(true);

    auto *settings = new QGridLayout;
    auto *percentLabel = new QLabel(QStringLiteral("Teljesítve, ha minden jel helyes &aránya legalább:"));
    percentLabel->setBuddy(m_percent);
    auto *minimumLabel = new QLabel(
        QStringLiteral("legalább ennyi &vételből (a legutóbbi %1-ből):").arg(locale().toString(recentSamples)));
    minimumLabel->setBuddy(m_minimum);
    settings->addWidget(percentLabel, 0, 0);
    settings->addWidget(m_percent, 0, 1);
    settings->addWidget(minimumLabel, 1, 0);
    settings->addWidget(m_minimum, 1, 1);
    settings->setColumnStretch(0, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_lessonText);
    layout->addLayout(settings);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_verdict);
    layout->addWidget(m_next);
    layout->addWidget(m_status);

    m_percent->setAccessibleName(QStringLiteral("Küszöb"));
    m_minimum->setAccessibleName(QStringLiteral("Legkevesebb vétel"));
    m_table->setAccessibleName(QStringLiteral("A lecke jelei"));

    connect(m_percent, &QSpinBox::valueChanged, this, &CourseWindow::refresh);
    connect(m_minimum, &QSpinBox::valueChanged, this, &CourseWindow::refresh);
    connect(m_next, &QPushButton::clicked, this, &CourseWindow::takeLesson);
    follow();
    // A copy scored elsewhere, a trainer started or ended: shown within a
    // second, for the cost of a few looks at the files.
    auto *looks = new QTimer(this);
    connect(looks, &QTimer::timeout, this, &CourseWindow::follow);
    looks->start(1000);
}

void CourseWindow::follow()
{
    QString stamps;
    for (const char *name : {"history.sqlite", "history.sqlite-wal", "ini.txt"}) {
        const QFileInfo file(QDir(m_dataDir).filePath(QLatin1String(name)));
        stamps += QStringLiteral("%1 %2;").arg(file.lastModified().toMSecsSinceEpoch()).arg(file.size());
    }
    if (stamps != m_filesSeen) {
        m_filesSeen = stamps;
        refresh();
    }
    if (trainerRuns(m_dataDir) != m_trainerRuns) {
        m_trainerRuns = !m_trainerRuns;
        m_status->setText(m_trainerRuns ? trainerRunsText : QString());
    }
}

void CourseWindow::refresh()
{
    QFile settings(QDir(m_dataDir).filePath(QStringLiteral("ini.txt")));
    std::optional<StoredSettings> stored;
    if (settings.open(QIODevice::ReadOnly))
        stored = readSettingsFile(settings);
    m_lesson = stored ? lessonOfSelection(stored->selection) : 0;
    // The history may be brought up to date by a trainer meanwhile: read anew.
    m_history.openForReading(QDir(m_dataDir).filePath(QStringLiteral("history.sqlite")));

    if (m_lesson == 0) {
        m_lessonText->setText(QStringLiteral("A gyakorló kijelölése nem Koch-lecke. Az 1. lecke jelei: %1")
                                  .arg(spaced(lessonCharacters(firstLesson))));
        m_table->setRowCount(0);
        m_passed = false;
        m_verdict->clear();
        m_next->setText(QStringLiteral("&Kezdés az 1. leckével"));
        m_next->setEnabled(true);
        return;
    }
    const LessonStanding standing = lessonStanding(m_lesson, m_history, m_percent->value(), m_minimum->value());
    m_passed = standing.passed;
    m_lessonText->setText(QStringLiteral("%1. lecke (%2 jel): %3")
                              .arg(m_lesson)
                              .arg(lessonCharacters(m_lesson).size())
                              .arg(spaced(lessonCharacters(m_lesson))));
    m_table->setRowCount(int(standing.characters.size()));
    for (int row = 0; row < standing.characters.size(); ++row) {
        const LessonCharacter &c = standing.characters[row];
        const QString share = c.copied > 0
                                  ? QStringLiteral("%1 %").arg(locale().toString(qRound(100.0 * c.right / c.copied)))
                                  : QStringLiteral("–");
        const QString state = c.passed                        ? QStringLiteral("kész")
                              : c.copied < m_minimum->value() ? QStringLiteral("kevés vétel")
                                                              : QStringLiteral("gyakorolni");
        const QStringList cells{QString(c.character) + (row == 0 ? QStringLiteral("  (új)") : QString()),
                                QString::number(c.copied), QString::number(c.right), share, state};
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            // The newest character is the one to listen for.
            if (row == 0) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
                item->setBackground(QColor(0xff, 0xf0, 0xb3));
            }
            m_table->setItem(row, column, item);
        }
    }
    m_table->resizeColumnsToContents();
    if (m_lesson == lastLesson) {
        m_verdict->setText(m_passed ? QStringLiteral("Az utolsó lecke is teljesítve: minden jel megvan.")
                                    : QStringLiteral("Ez az utolsó lecke."));
        m_next->setText(QStringLiteral("Nincs több lecke"));
        m_next->setEnabled(false);
        return;
    }
    m_verdict->setText(m_passed
                           ? QStringLiteral("A lecke teljesítve.")
                           : QStringLiteral("A lecke még nincs teljesítve: minden jelnek legalább %1 vételből "
                                            "%2 %-ban helyesnek kell lennie.")
                                 .arg(locale().toString(m_minimum->value()), locale().toString(m_percent->value())));
    m_next->setText(QStringLiteral("&Tovább %1 leckére (új jel: %2)")
                        .arg(ordinalWithArticle(m_lesson + 1))
                        .arg(lessonCharacters(m_lesson + 1).back()));
    m_next->setEnabled(m_passed);
}

// The trainer reads its selection at start and writes it at "Kilép": while
// it runs (it holds the folder's lock) the file is left to it.
void CourseWindow::takeLesson()
{
    const int lesson = m_lesson == 0 ? firstLesson : m_lesson + 1;
    QLockFile lock(QDir(m_dataDir).filePath(QStringLiteral("vestranoli.lock")));
    lock.setStaleLockTime(0);
    if (!lock.tryLock()) {
        m_status->setText(lock.error() == QLockFile::LockFailedError
                              ? trainerRunsText
                              : QStringLiteral("A mappa nem zárható le: %1").arg(QDir::toNativeSeparators(m_dataDir)));
        return;
    }
    const QString path = QDir(m_dataDir).filePath(QStringLiteral("ini.txt"));
    if (QFileInfo(path).isSymLink()) {
        m_status->setText(QStringLiteral("Az ini.txt szimbolikus link (%1): amire mutat, azt ez az ablak nem írja "
                                         "felül. Tegye a helyére a gyakorló beállításainak fájlját.")
                              .arg(QDir::toNativeSeparators(QFileInfo(path).symLinkTarget())));
        return;
    }
    QFile old(path);
    QByteArray bytes;
    if (old.exists()) {
        // Read whole: all of it but the first line is written back as it was.
        if (!old.open(QIODevice::ReadOnly)) {
            m_status->setText(
                QStringLiteral("Nem olvasható: %1 (%2)").arg(QDir::toNativeSeparators(path), old.errorString()));
            return;
        }
        bytes = old.readAll();
    }
    const QString why = saveSettingsFile(path, settingsWithSelection(bytes, lessonSelectionLine(lesson)));
    lock.unlock();
    if (!why.isEmpty()) {
        m_status->setText(QStringLiteral("Nem sikerült menteni: %1 (%2)").arg(QDir::toNativeSeparators(path), why));
        return;
    }
    refresh();
    m_status->setText(
        QStringLiteral("A gyakorló a következő indításakor %1 lecke jeleivel kezd.").arg(ordinalWithArticle(lesson)));
}
