// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/form1.h"

#include "common/spokennotice.h"
#include "common/version.h"
#include "settings/settingsfile.h"
#include "window/colourbutton.h"
#include "window/shape.h"
#include "window/textbox.h"
#include "window/windowicon.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

// The layout is given in twips; at 96 dpi a pixel is 15 twips.

namespace {

QRect twips(int left, int top, int width, int height)
{
    return QRect(qRound(left / 15.0), qRound(top / 15.0), qRound(width / 15.0), qRound(height / 15.0));
}

QFont arial(double points, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QFont largeBold()
{
    return arial(12, true);
}
QFont largeRegular()
{
    return arial(12, false);
}
QFont mediumBold()
{
    return arial(11.25, true);
}
QFont mediumRegular()
{
    return arial(11.25, false);
}
QFont small()
{
    return arial(8.25, false);
}

void setTextColour(QWidget *widget, QPalette::ColorRole role, const QColor &colour)
{
    QPalette p = widget->palette();
    p.setColor(role, colour);
    widget->setPalette(p);
}

template<typename Widget>
Widget *place(Widget *widget, const QRect &geometry, const QFont &font)
{
    widget->setGeometry(geometry);
    widget->setFont(font);
    return widget;
}

struct CheckPlace {
    int left;
    int top;
};

// Check box N at index N - 1: the letters column by column, then the digits
// 1 to 5, 6 to 0, and the signs, whose column stands leftmost below.
const CheckPlace checkPlaces[47] = {
    {480, 480},   {480, 960},   {480, 1440},  {480, 1920},  {1560, 480},   {1560, 1200},  {1560, 1920}, {2640, 480},
    {2640, 1200}, {2640, 1920}, {3720, 480},  {3720, 1200}, {3720, 1920},  {4800, 720},   {4800, 1680}, {5880, 720},
    {5880, 1680}, {6960, 480},  {6960, 1200}, {6960, 1920}, {8040, 480},   {8040, 1200},  {8040, 1920}, {9120, 480},
    {9120, 1200}, {9120, 1920}, {10200, 480}, {10200, 960}, {10200, 1440}, {10200, 1920}, {1560, 2880}, {1560, 3360},
    {1560, 3840}, {1560, 4320}, {1560, 4800}, {2640, 2880}, {2640, 3360},  {2640, 3840},  {2640, 4320}, {2640, 4800},
    {480, 2880},  {480, 3360},  {480, 3840},  {480, 4320},  {480, 4800},   {480, 5280},   {480, 5640},
};

} // namespace

void Form1::createControls()
{
    setWindowTitle(QStringLiteral("Vestranoli Morse-gyakorló – a Vestranoli fejlesztőitől V" VESTRANOLI_VERSION));
    setWindowIcon(programIcon());
    setFixedSize(twips(0, 0, 11235, 7245).size());

    // The frames first, so that every control lies above them.
    auto frame = [this](int left, int top, int width, int height) {
        auto *shape = new Shape(this);
        shape->setGeometry(twips(left, top, width, height));
        return shape;
    };
    Shape2 = frame(240, 240, 975, 2175);
    Shape1 = frame(1320, 240, 975, 2175);
    Shape3 = frame(2400, 240, 975, 2175);
    for (int i = 0; i <= 6; ++i)
        Shape4[i] = frame(3480 + 1080 * i, 240, 975, 2175);
    Shape4[9] = frame(240, 2640, 975, 3735);
    Shape4[7] = frame(1320, 2640, 975, 2775);
    Shape4[8] = frame(2400, 2640, 975, 2775);
    Shape5 = frame(3600, 2640, 4575, 855);
    Shape6 = frame(3600, 3600, 4575, 855);
    Shape8 = frame(3600, 4560, 4575, 855);
    Shape7 = frame(3600, 5520, 4575, 855);
    Shape9 = frame(1320, 5520, 2055, 855);

    for (int n = 1; n <= 47; ++n) {
        const CheckPlace &at = checkPlaces[n - 1];
        const int width = n == 15 ? 585 : n == 47 ? 705 : 600;
        const int height = n == 47 ? 435 : 285;
        Check[n] = place(new QCheckBox(QLatin1Char(' ') + slotCharacter(n), this),
                         twips(at.left, at.top, width, height), largeBold());
    }

    auto label = [this](const QString &caption, const QRect &geometry, const QFont &font) {
        return place(new QLabel(caption, this), geometry, font);
    };
    auto button = [this](const QString &caption, const QRect &geometry, const QFont &font) {
        return place(new QPushButton(caption, this), geometry, font);
    };
    auto colourButton = [this](const QString &caption, const QRect &geometry, const QFont &font) {
        return place(new ColourButton(caption, this), geometry, font);
    };
    auto textBox = [this](const QRect &geometry, const QFont &font) {
        return place(new TextBox(this), geometry, font);
    };
    auto valueBox = [&](int top) {
        auto *t = textBox(twips(7080, top, 855, 375), largeBold());
        t->setAlignment(Qt::AlignCenter);
        return t;
    };

    Label1 = label(QStringLiteral("Betűk száma"), twips(3840, 2930, 1455, 375), largeRegular());
    Command8 = button(QStringLiteral("+"), twips(5400, 2880, 615, 375), largeBold());
    Command9 = button(QStringLiteral("-"), twips(6240, 2880, 615, 375), largeBold());
    Text1 = valueBox(2880);

    Label2 = label(QStringLiteral("Csoportok"), twips(3840, 3890, 1335, 375), largeRegular());
    Command10 = button(QStringLiteral("+"), twips(5400, 3840, 615, 375), largeBold());
    Command11 = button(QStringLiteral("-"), twips(6240, 3840, 615, 375), largeBold());
    Text2 = valueBox(3840);

    Label3 = label(QStringLiteral("Sebesség"), twips(3840, 4850, 1215, 375), largeRegular());
    Command1 = button(QStringLiteral("+"), twips(5400, 4800, 615, 375), largeBold());
    Command2 = button(QStringLiteral("-"), twips(6240, 4800, 615, 375), largeBold());
    Text5 = valueBox(4800);

    Label4 = label(QStringLiteral("Szünet"), twips(3840, 5810, 1335, 375), largeRegular());
    Command12 = button(QStringLiteral("+"), twips(5400, 5760, 615, 375), largeBold());
    Command14 = button(QStringLiteral("-"), twips(6240, 5760, 615, 375), largeBold());
    Text3 = valueBox(5760);
    Text3->setText(QStringLiteral(" "));

    notice = new SpokenNotice(this);
    Label5 = label(QString(), twips(1440, 5790, 1815, 375), largeRegular());
    Label5->setAlignment(Qt::AlignCenter);
    showLinkState();

    Text7 = textBox(twips(8400, 2640, 855, 375), largeBold());
    Text7->setAlignment(Qt::AlignCenter);
    setTextColour(Text7, QPalette::Text, Colours::darkGreen);
    Text8 = textBox(twips(10080, 2640, 855, 375), largeBold());
    Text8->setAlignment(Qt::AlignCenter);
    setTextColour(Text8, QPalette::Text, Colours::darkRed);
    Text9 = textBox(twips(8400, 3240, 2535, 375), mediumBold());
    setTextColour(Text9, QPalette::Text, Colours::red);

    Text4 = new MultiLineTextBox(this);
    Text4->setTabChangesFocus(true); // Tab leaves it, as it leaves every other box
    Text4->setGeometry(twips(8400, 3840, 2775, 2535));
    Text4->setFont(mediumRegular());

    // Below the client area: never seen, but written like any other box.
    Text6 = textBox(twips(1320, 7560, 2535, 375), small());
    Text10 = new TextBox(this);
    Text10->setGeometry(twips(4680, 7680, 1695, 375));
    Text10->setText(QStringLiteral("Text10"));

    Command3 = button(QStringLiteral("Mind kijelölés"), twips(240, 6600, 1575, 495), small());
    Command13 = colourButton(QStringLiteral("Oda - Vissza"), twips(1920, 6600, 1455, 495), small());
    Command15 = button(QStringLiteral("Alapbeállítás"), twips(3480, 6600, 1335, 495), small());
    Command4 = colourButton(QStringLiteral("Ellenörzés"), twips(7680, 6600, 1095, 495), small());
    Command6 = button(QStringLiteral("Start"), twips(8880, 6600, 615, 495), small());
    Command7 = button(QStringLiteral("Stop"), twips(9600, 6600, 615, 495), small());
    Command5 = button(QStringLiteral("Kilép"), twips(10320, 6600, 615, 495), small());
}

void Form1::setFocusOrder()
{
    QList<QWidget *> order = {Command1, Command2, Command3, Command4};
    for (int n = 1; n <= 47; ++n)
        order.append(Check[n]);
    order += {Text1,     Text2,    Command5,  Text4,     Command6,  Command7,  Text5,
              Text6,     Command8, Command9,  Command10, Command11, Command13, Command12,
              Command14, Text3,    Command15, Text7,     Text8,     Text9,     Text10};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    // A mouse click on a button or a check box leaves the keyboard where it
    // was; Tab still reaches them and Space still presses them. Otherwise
    // the space bar that keys the software keyer would press "Oda - Vissza"
    // again, after a click on it, wherever the window manager keeps the
    // keyboard in this window.
    for (QWidget *w : std::as_const(order)) {
        if (qobject_cast<QAbstractButton *>(w))
            w->setFocusPolicy(Qt::TabFocus);
    }
    Command1->setFocus();
}

// What a screen reader says for each control. Captions are laid out beside
// the controls rather than tied to them, so the boxes and their "+" and "-"
// are named here; buttons with a real caption keep it, and a check box is
// named by its character without the space that sets it off.
void Form1::nameControls()
{
    for (int n = 1; n <= 47; ++n)
        Check[n]->setAccessibleName(Check[n]->text().trimmed());
    struct Setting {
        QLabel *caption;
        TextBox *box;
        QPushButton *up;
        QPushButton *down;
    };
    for (const Setting &s :
         {Setting{Label1, Text1, Command8, Command9}, Setting{Label2, Text2, Command10, Command11},
          Setting{Label3, Text5, Command1, Command2}, Setting{Label4, Text3, Command12, Command14}}) {
        const QString name = s.caption->text();
        s.box->setCaption(name);
        s.up->setAccessibleName(name + QStringLiteral(" +"));
        s.down->setAccessibleName(name + QStringLiteral(" -"));
    }
    Text7->setCaption(QStringLiteral("jó csoportok"));
    Text8->setCaption(QStringLiteral("rossz csoportok"));
    Text9->setCaption(QStringLiteral("Az adott csoport"));
    Text4->setAccessibleName(QStringLiteral("Vett szöveg"));
    // Out of sight below the window, but still in the Tab order.
    Text6->setAccessibleName(QStringLiteral("A soros vonal naplója"));
    Text10->setAccessibleName(QStringLiteral("Nem használt mező"));
}
