// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/groupreview.h"

#include <QWidget>

// An echo group's presses drawn as a timeline above the same characters as
// they should sound at the trainee's own speed, so that a short dash or a
// missing gap shows at a glance. A screen reader reads its description,
// the group's timing in words.
class FistTimeline : public QWidget
{
    Q_OBJECT

public:
    explicit FistTimeline(QWidget *parent = nullptr);

    // The presses as keyed, and as they should be; nothing drawn when empty.
    void setGroup(const QList<KeyedMark> &keyed, const QList<KeyedMark> &ideal, const QString &inWords);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QList<KeyedMark> m_keyed;
    QList<KeyedMark> m_ideal;
};
