// SPDX-License-Identifier: GPL-3.0-or-later
#include "spokennotice.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace {

class NoticeInterface : public QAccessibleWidget
{
public:
    explicit NoticeInterface(SpokenNotice *notice)
        : QAccessibleWidget(notice, QAccessible::Notification)
    { }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? static_cast<SpokenNotice *>(widget())->text() : QString();
    }
};

QAccessibleInterface *noticeInterface(const QString &, QObject *object)
{
    auto *notice = qobject_cast<SpokenNotice *>(object);
    return notice ? new NoticeInterface(notice) : nullptr;
}

} // namespace

SpokenNotice::SpokenNotice(QWidget *parent)
    : QWidget(parent)
{
    static const bool installed = (QAccessible::installFactory(noticeInterface), true);
    Q_UNUSED(installed);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 0, 0);
    hide();
}

// Shown again, so that it becomes visible once more: the same text twice is
// said twice.
void SpokenNotice::say(const QString &text)
{
    m_text = text;
    hide();
    show();
}
