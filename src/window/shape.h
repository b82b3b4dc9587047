// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// An unfilled rounded-rectangle outline that frames a group of controls.
// It takes no input: clicks go through to whatever lies under it.
class Shape : public QWidget
{
    Q_OBJECT

public:
    explicit Shape(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
