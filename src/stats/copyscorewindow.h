// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "history/copyscore.h"

#include <QHash>
#include <QWidget>

class SpokenNotice;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QTextBrowser;

// Scores a copy run: the trainee picks a run from the history (the latest
// by default), types what they copied, and sees it lined up with the
// groups sent, every wrong, missing and extra character marked, the share
// right, and what each character was taken for. The result goes into the
// history, in place of an earlier one.
class CopyScoreWindow : public QWidget
{
    Q_OBJECT

public:
    explicit CopyScoreWindow(const QString &historyPath, QWidget *parent = nullptr);

signals:
    void scored();

private:
    void loadRuns();
    void showRun();
    void score();
    void showScore(const CopyScore &score);
    // A long copy takes a moment to line up: each is lined up once.
    const CopyScore &scoreOf(const CopyRunRecord &run, const QString &copied);
    const CopyRunRecord *currentRun() const;

    History m_history;
    QString m_historyPath;
    QList<CopyRunRecord> m_runs; // newest first, as listed
    QHash<std::pair<qint64, QString>, CopyScore> m_scores; // by run and copy
    QLabel *m_runLabel = nullptr;
    QComboBox *m_runList = nullptr;
    QPlainTextEdit *m_copy = nullptr;
    QPushButton *m_scoreButton = nullptr;
    QLabel *m_share = nullptr;
    QTextBrowser *m_marked = nullptr;
    QTableWidget *m_characters = nullptr;
    QLabel *m_status = nullptr;
    SpokenNotice *m_notice = nullptr;
};

// Whether the groups of a run are whole as the trainer stored them: at
// least one, each of training characters only.
bool copyRunIsWhole(const CopyRunRecord &run);

// The groups sent above what was copied, as HTML: a wrong character red
// and underlined, a missing one a red "_", an extra one orange and struck
// through.
QString markedCopyHtml(const QList<ScoredGroup> &groups);
