// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "history/history.h"
#include "history/statistics.h"

#include <QPointer>
#include <QWidget>

class SpokenNotice;
class CopyScoreWindow;
class CourseWindow;
class QChartView;
class QLabel;
class QListWidget;
class QSpinBox;
class QTableWidget;

// The statistics window: how each character fared over the last days, the
// progress per day as a chart, the weakest characters to tick for the next
// run, receiving by the noise of the band the groups were played through, the sessions whose groups did not all reach the history, and the
// export of the whole history to CSV. Sending (echo runs) and receiving
// (scored copy runs) are shown side by side; copy runs are scored in a
// window of their own opened from here. It only reads the history itself;
// the trainer's settings file is not touched.
class StatsWindow : public QWidget
{
    Q_OBJECT

public:
    // `days` 0: all of the history.
    StatsWindow(const QString &historyPath, int days, QWidget *parent = nullptr);

private:
    void reopen();
    void refresh();
    void scoreCopy();
    void showWeakest(const QList<char32_t> &weakest);
    void showNoise(const NoiseTable &table);
    void showTickedForNextRun();
    void exportCsv();

    History m_history;
    QString m_historyPath;
    QList<LostRecords> m_lostRecords;
    QSpinBox *m_days = nullptr;
    QTableWidget *m_table = nullptr;
    QTableWidget *m_noise = nullptr;
    QChartView *m_chart = nullptr;
    QListWidget *m_weakest = nullptr;
    SpokenNotice *m_notice = nullptr;
    QLabel *m_nextRun = nullptr;
    QLabel *m_status = nullptr;
    QLabel *m_lost = nullptr;
    QPointer<CopyScoreWindow> m_copyScore; // while open
    QPointer<CourseWindow> m_course; // while open
};

// The name the export is saved under: the one chosen, with ".csv" added
// unless it ends so already (in any case).
QString csvFileName(const QString &chosen);
