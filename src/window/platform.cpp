#include "window/platform.h"

#include <QApplication>
#include <QMessageBox>

void MessageBox::critical(QWidget *parent, const QString &text)
{
    if (m_receiver) {
        m_receiver(text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), text, QMessageBox::Ok, parent);
    box.exec();
}

void ProgramEnd::now()
{
    if (m_receiver) {
        m_receiver();
        return;
    }
    QCoreApplication::exit(0);
}
