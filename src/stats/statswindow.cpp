// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/statswindow.h"

#include "common/spokennotice.h"
#include "history/csvexport.h"
#include "history/statistics.h"
#include "stats/copyscorewindow.h"
#include "stats/coursewindow.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QSaveFile>
#include <QShortcut>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedBarSeries>
#include <QStandardPaths>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>

namespace {
constexpr int weakestShown = 10;

// Where the export is offered: the trainee's documents, not the folder the
// program happened to be started from.
QString exportFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath();
}

// How many were sent, how many right and the share right, as a table's
// cells; dashes when none was sent.
QStringList countCells(const QLocale &locale, int sent, int right)
{
    if (sent == 0)
        return {QStringLiteral("–"), QStringLiteral("–"), QStringLiteral("–")};
    return {QString::number(sent), QString::number(right),
            QStringLiteral("%1 %").arg(locale.toString(qRound(100.0 * right / sent)))};
}
} // namespace

QString csvFileName(const QString &chosen)
{
    return chosen.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) ? chosen : chosen + QLatin1String(".csv");
}

StatsWindow::StatsWindow(const QString &historyPath, int days, QWidget *parent)
    : QWidget(parent)
    , m_historyPath(historyPath)
{
    setWindowTitle(QStringLiteral("Vestranoli – statisztika"));
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close); // as a secondary window
    // Its texts are Hungarian, so are its numbers (a decimal comma),
    // whatever the desktop's language.
    setLocale(QLocale(QLocale::Hungarian, QLocale::Hungary));
    resize(1000, 720);

    m_days = new QSpinBox;
    m_days->setRange(0, 3650);
    m_days->setPrefix(QStringLiteral("az utolsó "));
    m_days->setSuffix(QStringLiteral(" nap"));
    m_days->setSpecialValueText(QStringLiteral("a teljes előzmény"));
    m_days->setValue(days);
    auto *exportButton = new QPushButton(QStringLiteral("Exportálás CSV-be…"));
    auto *copyButton = new QPushButton(QStringLiteral("Másolás pontozása…"));
    auto *courseButton = new QPushButton(QStringLiteral("Koch-tanfolyam…"));
    m_status = new QLabel;
    // Sessions whose groups did not all reach the history, said here since
    // the trainer could only say it on stderr.
    m_lost = new QLabel;
    m_lost->setWordWrap(true);
    m_lost->setStyleSheet(QStringLiteral("color: #c00000"));

    // Sending (keyed back in echo runs) and receiving (copied in scored copy
    // runs) side by side.
    m_table = new QTableWidget(0, 8);
    m_table->setObjectName(QStringLiteral("characters"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("Jel"), QStringLiteral("Adás: adva"), QStringLiteral("jó"),
                                        QStringLiteral("helyes"), QStringLiteral("Vétel: adva"), QStringLiteral("jó"),
                                        QStringLiteral("helyes"), QStringLiteral("Mire vette")});
    // Each header says its half to a screen reader, which reads it alone.
    for (int column : {2, 3, 5, 6}) {
        QTableWidgetItem *header = m_table->horizontalHeaderItem(column);
        const QString half = column < 4 ? QStringLiteral("Adás: %1") : QStringLiteral("Vétel: %1");
        header->setData(Qt::AccessibleTextRole, half.arg(header->text()));
    }
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);

    // Receiving by the noise of the band: at what signal-to-noise ratio the
    // trainee's copy breaks down.
    m_noise = new QTableWidget(0, 7);
    m_noise->setObjectName(QStringLiteral("noise"));
    m_noise->setHorizontalHeaderLabels({QStringLiteral("Jel/zaj"), QStringLiteral("Oda-vissza: csoport"),
                                        QStringLiteral("jó"), QStringLiteral("helyes"), QStringLiteral("Másolás: jel"),
                                        QStringLiteral("jó"), QStringLiteral("helyes")});
    for (int column : {2, 3, 5, 6}) {
        QTableWidgetItem *header = m_noise->horizontalHeaderItem(column);
        const QString half = column < 4 ? QStringLiteral("Oda-vissza: %1") : QStringLiteral("Másolás: %1");
        header->setData(Qt::AccessibleTextRole, half.arg(header->text()));
    }
    m_noise->horizontalHeader()->setStretchLastSection(true);
    m_noise->verticalHeader()->hide();
    m_noise->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Room for four steps under the header, as many as a trainee's bands
    // usually make; more scroll.
    m_noise->setMinimumHeight(m_noise->horizontalHeader()->sizeHint().height()
                              + 4 * m_noise->verticalHeader()->defaultSectionSize() + 2 * m_noise->frameWidth());
    auto *noiseTitle = new QLabel(QStringLiteral("Vétel a sáv zaja szerint (a szoftveres billentyűző jel/zaj "
                                                 "viszonya a szűrőben; a lépcsők alsó határa a lépcsőhöz "
                                                 "tartozik):"));
    noiseTitle->setWordWrap(true);
    auto *noiseSection = new QWidget;
    auto *noiseLayout = new QVBoxLayout(noiseSection);
    noiseLayout->setContentsMargins(0, 0, 0, 0);
    noiseLayout->addWidget(noiseTitle);
    noiseLayout->addWidget(m_noise);

    m_chart = new QChartView;
    m_chart->setRenderHint(QPainter::Antialiasing);

    m_weakest = new QListWidget;
    m_notice = new SpokenNotice(this);
    m_nextRun = new QLabel;
    m_nextRun->setWordWrap(true);

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Időszak:")));
    top->addWidget(m_days);
    top->addStretch();
    top->addWidget(copyButton);
    top->addWidget(courseButton);
    top->addWidget(exportButton);

    auto *side = new QVBoxLayout;
    auto *weakestTitle
        = new QLabel(QStringLiteral("A leggyengébb jelek (a helyes arány %1 % alatt, legalább %2 "
                                    "adásból) – jelölje be, amelyeket a következő gyakorlásban "
                                    "kijelöl:")
                         .arg(locale().toString(weakBelowPercentRight), locale().toString(weakFromSent)));
    weakestTitle->setWordWrap(true);
    side->addWidget(weakestTitle);
    side->addWidget(m_weakest);
    side->addWidget(m_nextRun);
    auto *sideWidget = new QWidget;
    sideWidget->setLayout(side);

    auto *upper = new QSplitter(Qt::Horizontal);
    upper->addWidget(m_table);
    upper->addWidget(sideWidget);
    upper->setStretchFactor(0, 3);
    upper->setStretchFactor(1, 1);
    auto *split = new QSplitter(Qt::Vertical);
    split->addWidget(upper);
    split->addWidget(noiseSection);
    split->addWidget(m_chart);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    split->setStretchFactor(2, 2);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_lost);
    layout->addWidget(split, 1);
    layout->addWidget(m_status);

    // For a screen reader and the keyboard: every control named, the table,
    // the list and the chart reached with Tab (which goes in the order the
    // layouts above took them in, the order they are read), and Enter
    // presses the export as Space does.
    m_days->setAccessibleName(QStringLiteral("Időszak"));
    exportButton->setAutoDefault(true);
    m_table->setAccessibleName(QStringLiteral("Jelek statisztikája"));
    m_table->setAccessibleDescription(
        QStringLiteral("Jelenként az adás és a vétel: adva, jó, helyes arány; mire vette"));
    m_table->setFocusPolicy(Qt::StrongFocus);
    m_table->setTabKeyNavigation(false);
    m_noise->setAccessibleName(QStringLiteral("Vétel a sáv zaja szerint"));
    m_noise->setAccessibleDescription(
        QStringLiteral("Jel/zaj lépcsőnként a visszaadott csoportok és a másolt jelek: adva, jó, helyes arány"));
    m_noise->setFocusPolicy(Qt::StrongFocus);
    m_noise->setTabKeyNavigation(false);
    m_chart->setAccessibleName(QStringLiteral("Haladás naponta"));
    m_chart->setFocusPolicy(Qt::StrongFocus);
    m_weakest->setAccessibleName(QStringLiteral("A leggyengébb jelek"));
    m_weakest->setAccessibleDescription(weakestTitle->text());
    m_weakest->setFocusPolicy(Qt::StrongFocus);
    m_weakest->setTabKeyNavigation(false);
    copyButton->setAutoDefault(true);
    courseButton->setAutoDefault(true);

    connect(m_days, &QSpinBox::valueChanged, this, &StatsWindow::refresh);
    connect(exportButton, &QPushButton::clicked, this, &StatsWindow::exportCsv);
    connect(copyButton, &QPushButton::clicked, this, &StatsWindow::scoreCopy);
    connect(courseButton, &QPushButton::clicked, this, [this] {
        if (!m_course) {
            m_course = new CourseWindow(QFileInfo(m_historyPath).path(), this);
            m_course->setAttribute(Qt::WA_DeleteOnClose);
        }
        m_course->show();
        m_course->raise();
        m_course->activateWindow();
    });
    connect(m_weakest, &QListWidget::itemChanged, this, &StatsWindow::showTickedForNextRun);
    // Qt 6.4 tells a screen reader nothing of a tick: it is said.
    connect(m_weakest, &QListWidget::itemChanged, this, [this](const QListWidgetItem *item) {
        m_notice->say(QStringLiteral("%1 %2").arg(item->text(), item->checkState() == Qt::Checked
                                                                    ? QStringLiteral("bejelölve")
                                                                    : QStringLiteral("nincs bejelölve")));
    });

    // The window only reads: the file is opened read-only, and a missing
    // one is not created.
    m_history.reportProblemsWith([this](const QString &problem) {
        m_status->setText(QStringLiteral("Az előzmény nem olvasható: %1").arg(problem));
    });
    reopen();
    m_lostRecords = lostRecords(m_historyPath);
    refresh();
}

void StatsWindow::reopen()
{
    if (m_history.openForReading(m_historyPath) == History::Reading::NoHistoryYet)
        m_status->setText(QStringLiteral("Még nincs előzmény: %1").arg(QDir::toNativeSeparators(m_historyPath)));
}

void StatsWindow::scoreCopy()
{
    if (!m_copyScore) {
        m_copyScore = new CopyScoreWindow(m_historyPath, this);
        m_copyScore->setAttribute(Qt::WA_DeleteOnClose);
        // A history of an older layout is brought up to date by the scoring;
        // it is read anew to see the results.
        connect(m_copyScore, &CopyScoreWindow::scored, this, [this] {
            reopen();
            refresh();
        });
    }
    m_copyScore->show();
    m_copyScore->raise();
    m_copyScore->activateWindow();
}

void StatsWindow::refresh()
{
    const int days = m_days->value();
    const QDateTime since = days > 0 ? QDateTime::currentDateTimeUtc().addDays(-days) : QDateTime();
    const TrainingStatistics statistics = trainingStatistics(m_history, since, true);
    const CharacterTable &table = statistics.table;
    m_lost->setText((lostRecordsText(m_lostRecords, since, QTimeZone::systemTimeZone())
                     + skippedGroupsText(statistics.skippedGroups))
                        .trimmed());
    m_lost->setVisible(!m_lost->text().isEmpty());

    const auto half = [this](const CharacterScore &score) {
        return countCells(locale(), score.sent, score.right);
    };
    m_table->setRowCount(int(table.characters.size()));
    for (int row = 0; row < table.characters.size(); ++row) {
        const CharacterStatistics &c = table.characters[row];
        const QStringList cells
            = QStringList{characterText(c.character)} + half(c.keyed) + half(c.copied) + QStringList{takenForText(c)};
        for (int column = 0; column < cells.size(); ++column)
            m_table->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    m_table->resizeColumnsToContents();
    showNoise(statistics.byNoise);

    auto *chart = new QChart;
    chart->setTitle(QStringLiteral("Haladás naponta"));
    chart->setLocale(locale());
    chart->setLocalizeNumbers(true);
    const QList<DayProgress> &progress = statistics.days;
    auto *echoSet = new QBarSet(QStringLiteral("Visszaadott csoportok"));
    auto *copySet = new QBarSet(QStringLiteral("Pontozott másolt csoportok"));
    auto *keyedShare = new QLineSeries;
    keyedShare->setName(QStringLiteral("Adás: helyes jelek (%)"));
    auto *copiedShare = new QLineSeries;
    copiedShare->setName(QStringLiteral("Vétel: helyes jelek (%)"));
    auto *speed = new QLineSeries;
    speed->setName(QStringLiteral("Sebesség (betű/perc)"));
    QStringList dayNames;
    // With the year when the days span years: the axis merges days that read the same.
    const bool years = !progress.isEmpty() && progress.constFirst().day.year() != progress.constLast().day.year();
    int mostGroups = 1;
    double topLine = 100;
    for (int i = 0; i < progress.size(); ++i) {
        const DayProgress &day = progress[i];
        dayNames.append(day.day.toString(years ? QStringLiteral("yyyy.MM.dd.") : QStringLiteral("MM.dd.")));
        echoSet->append(day.echoGroups);
        copySet->append(day.copiedGroups);
        // A half not trained that day has no point.
        if (day.keyed.sent > 0)
            keyedShare->append(i, 100 * day.keyed.shareRight());
        if (day.copied.sent > 0)
            copiedShare->append(i, 100 * day.copied.shareRight());
        speed->append(i, day.speed());
        mostGroups = std::max(mostGroups, day.echoGroups + day.copiedGroups);
        topLine = qMax(topLine, day.speed());
    }
    // Each half in a hue of its own: light bars, its share a dark line.
    echoSet->setColor(QColor(0x8f, 0xc3, 0xea));
    copySet->setColor(QColor(0xa9, 0xd9, 0x8f));
    keyedShare->setPen(QPen(QColor(0x1f, 0x5f, 0xa0), 3));
    copiedShare->setPen(QPen(QColor(0x3d, 0x7a, 0x1f), 3));
    speed->setPen(QPen(QColor(0x7a, 0x52, 0xc7), 3));
    // The day's two halves in one bar, standing on its date with the points.
    auto *bars = new QStackedBarSeries;
    bars->append(echoSet);
    bars->append(copySet);
    chart->addSeries(bars);
    for (QLineSeries *line : {keyedShare, copiedShare, speed})
        chart->addSeries(line);
    auto *daysAxis = new QBarCategoryAxis;
    daysAxis->append(dayNames);
    auto *groupAxis = new QValueAxis;
    groupAxis->setRange(0, mostGroups);
    // A tick for each group while they are few, so no two ticks read the same.
    if (mostGroups < 5)
        groupAxis->setTickCount(mostGroups + 1);
    else
        groupAxis->applyNiceNumbers();
    // Localized, Qt Charts takes only formats with a precision ("%.0f"); a
    // "%d" would leave the axis without numbers.
    groupAxis->setLabelFormat(QStringLiteral("%.0f"));
    groupAxis->setTitleText(QStringLiteral("csoport"));
    auto *lineAxis = new QValueAxis;
    lineAxis->setRange(0, topLine);
    lineAxis->setTitleText(QStringLiteral("% és betű/perc"));
    lineAxis->setGridLineVisible(false); // one grid, the groups', not two that do not meet
    chart->addAxis(daysAxis, Qt::AlignBottom);
    chart->addAxis(groupAxis, Qt::AlignLeft);
    chart->addAxis(lineAxis, Qt::AlignRight);
    bars->attachAxis(daysAxis);
    bars->attachAxis(groupAxis);
    for (QLineSeries *line : {keyedShare, copiedShare, speed}) {
        line->attachAxis(daysAxis);
        line->attachAxis(lineAxis);
        // A line needs two days; a point shows one, too.
        line->setPointsVisible(true);
        line->setMarkerSize(9);
    }
    // The chart in words, for a screen reader: its last day.
    const auto shareText = [this](const CharacterScore &score) {
        return score.sent > 0 ? QStringLiteral("%1 %").arg(locale().toString(qRound(100 * score.shareRight())))
                              : QStringLiteral("nincs");
    };
    m_chart->setAccessibleDescription(
        progress.isEmpty() ? QStringLiteral("Nincs visszaadott csoport és pontozott másolás.")
                           : QStringLiteral("%1 nap; az utolsó, %2: %3 visszaadott és %4 másolt csoport, helyes "
                                            "adás %5, helyes vétel %6, %7 betű/perc")
                                 .arg(progress.size())
                                 .arg(dayNames.constLast())
                                 .arg(progress.constLast().echoGroups)
                                 .arg(progress.constLast().copiedGroups)
                                 .arg(shareText(progress.constLast().keyed), shareText(progress.constLast().copied))
                                 .arg(locale().toString(qRound(progress.constLast().speed()))));
    QChart *old = m_chart->chart();
    m_chart->setChart(chart);
    delete old;

    showWeakest(weakestCharacters(table, weakestShown));
}

// The steps with something in them, from no noise down to the most.
void StatsWindow::showNoise(const NoiseTable &table)
{
    m_noise->setRowCount(0);
    for (int step = 0; step < noiseStepCount; ++step) {
        const NoiseScore &score = table[size_t(step)];
        if (score.empty())
            continue;
        const QStringList cells = QStringList{noiseStepName(NoiseStep(step))}
                                  + countCells(locale(), score.echoGroups, score.goodEchoGroups)
                                  + countCells(locale(), score.copiedSent, score.copiedRight);
        const int row = m_noise->rowCount();
        m_noise->insertRow(row);
        for (int column = 0; column < cells.size(); ++column)
            m_noise->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    m_noise->resizeColumnsToContents();
}

void StatsWindow::showWeakest(const QList<char32_t> &weakest)
{
    const QSignalBlocker blocker(m_weakest);
    m_weakest->clear();
    for (char32_t c : weakest) {
        auto *item = new QListWidgetItem(characterText(c), m_weakest);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    showTickedForNextRun();
}

void StatsWindow::showTickedForNextRun()
{
    QStringList ticked;
    for (int i = 0; i < m_weakest->count(); ++i) {
        if (m_weakest->item(i)->checkState() == Qt::Checked)
            ticked.append(m_weakest->item(i)->text());
    }
    m_nextRun->setText(ticked.isEmpty() ? QStringLiteral("A következő gyakorláshoz nincs jel bejelölve.")
                                        : QStringLiteral("A következő gyakorlás jelei: %1").arg(ticked.join(' ')));
}

void StatsWindow::exportCsv()
{
    QFileDialog dialog(this, QStringLiteral("Az előzmény exportálása"), exportFolder(), QStringLiteral("CSV (*.csv)"));
    dialog.setLocale(locale());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // Qt's own dialog adds the suffix before it asks about overwriting; a
    // desktop's dialog may not, and a name with another suffix keeps it
    // there, so csvFileName() has the last word.
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.selectFile(QStringLiteral("vestranoli-elozmeny.csv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = csvFileName(dialog.selectedFiles().constFirst());
    QSaveFile file(path);
    // Unbuffered, so that a full disk shows at the write and not as an empty
    // file after commit().
    const QByteArray csv = historyCsv(m_history.echoGroups(), m_history.copyRuns(), QTimeZone::systemTimeZone());
    const bool saved
        = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(csv) == csv.size() && file.commit();
    m_status->setText(
        saved
            ? QStringLiteral("Elmentve: %1").arg(QDir::toNativeSeparators(path))
            : QStringLiteral("Nem sikerült menteni: %1 (%2)").arg(QDir::toNativeSeparators(path), file.errorString()));
}
