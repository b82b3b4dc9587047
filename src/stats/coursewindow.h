// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "course/kochcourse.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;

// Where the trainee stands in the Koch course: the lesson the trainer's
// selection is, each of its characters with how it is copied lately (the
// newest first), whether the lesson is passed, and one button that makes
// the next lesson the trainer's selection at its next start.
class CourseWindow : public QWidget
{
    Q_OBJECT

public:
    explicit CourseWindow(const QString &dataDir, QWidget *parent = nullptr);

private:
    void refresh();
    void takeLesson();
    void follow();

    QString m_dataDir;
    History m_history;
    int m_lesson = 0; // the trainer's selection, 0: no lesson
    bool m_passed = false;
    QLabel *m_lessonText = nullptr;
    QSpinBox *m_percent = nullptr;
    QSpinBox *m_minimum = nullptr;
    QTableWidget *m_table = nullptr;
    QLabel *m_verdict = nullptr;
    QPushButton *m_next = nullptr;
    QLabel *m_status = nullptr;
    QString m_filesSeen; // the stamps of the files last read
    bool m_trainerRuns = false; // as last seen
};
