#pragma once

#include <QWidget>

class KeyArea;
class KeyInput;
class Keyer;
class Player;
class QLabel;
class QSlider;
class QSpinBox;

// The keyer's small window: the state of the line, the mode, speed and pause
// as the trainer set them, the trainee's own speed and dashes as keyed, the
// key, and the sidetone's pitch and volume. It shows no group: in a copy run
// the trainee must only hear it.
class KeyerWindow : public QWidget
{
    Q_OBJECT

public:
    KeyerWindow(Keyer &keyer, Player &player, KeyInput &keys, const QString &device, QWidget *parent = nullptr);
    ~KeyerWindow() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showState();
    void showFist();

    Keyer &m_keyer;
    Player &m_player;
    KeyInput &m_keys;
    QString m_device;
    QLabel *m_line;
    QLabel *m_mode;
    QLabel *m_speed;
    QLabel *m_pause;
    QLabel *m_fist;
    KeyArea *m_key;
    QSpinBox *m_tone;
    QSlider *m_volume;
};
