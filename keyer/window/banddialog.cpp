// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/banddialog.h"

#include "window/bandwords.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// The widths a receiver's CW filter commonly has; any other can be typed.
constexpr int commonFilters[] = {250, 500, 2400};

template<typename Box>
Box *numberBox(QWidget *parent, double low, double high, const QString &suffix)
{
    auto *box = new Box(parent);
    box->setRange(low, high);
    box->setSuffix(suffix);
    box->setKeyboardTracking(false); // a typed number counts once confirmed
    return box;
}

} // namespace

BandDialog::BandDialog(QWidget *parent)
    : QDialog(parent)
    , m_noise(new QCheckBox(tr("&Noise"), this))
    , m_snr(numberBox<QDoubleSpinBox>(this, -20, 40, tr(" dB")))
    , m_filter(new QComboBox(this))
    , m_fadingDepth(numberBox<QDoubleSpinBox>(this, 0, 30, tr(" dB")))
    , m_fadingRate(new QComboBox(this))
    , m_crashes(numberBox<QSpinBox>(this, 0, 600, QString()))
    , m_crashLevel(numberBox<QDoubleSpinBox>(this, -10, 30, tr(" dB")))
{
    setWindowTitle(tr("Band settings"));
    for (QDoubleSpinBox *decibels : {m_snr, m_crashLevel})
        decibels->setDecimals(1);
    m_filter->setEditable(true);
    m_filter->setInsertPolicy(QComboBox::NoInsert);
    m_filter->setValidator(new QIntValidator(100, 3000, m_filter));
    for (int hz : commonFilters)
        m_filter->addItem(QString::number(hz));
    m_fadingDepth->setDecimals(1);
    m_fadingDepth->setSpecialValueText(tr("off"));
    m_fadingRate->setEditable(true);
    m_fadingRate->setInsertPolicy(QComboBox::NoInsert);
    const BandWords words(locale());
    m_fadingRate->addItem(words.fadingRate(slowFadesPerMinute), slowFadesPerMinute);
    m_fadingRate->addItem(words.fadingRate(fastFadesPerMinute), fastFadesPerMinute);

    auto *form = new QFormLayout;
    form->addRow(m_noise);
    form->addRow(tr("&SNR:"), m_snr);
    form->addRow(tr("&Filter (Hz):"), m_filter);
    form->addRow(tr("Fading &depth:"), m_fadingDepth);
    form->addRow(tr("Fading &rate:"), m_fadingRate);
    form->addRow(tr("&Crashes a minute:"), m_crashes);
    form->addRow(tr("Crash &level:"), m_crashLevel);

    auto *stations = new QGridLayout;
    const QStringList headings{tr("Offset"), tr("Level"), tr("Speed"), tr("Traffic")};
    for (int column = 0; column < headings.size(); ++column)
        stations->addWidget(new QLabel(headings[column], this), 0, column + 1);
    for (size_t i = 0; i < m_stations.size(); ++i) {
        StationRow &row = m_stations[i];
        const QString number = QString::number(i + 1);
        row.heard = new QCheckBox(tr("Station &%1").arg(number), this);
        row.offset = numberBox<QSpinBox>(this, -1000, 1000, tr(" Hz"));
        row.offset->setSingleStep(50);
        row.level = numberBox<QSpinBox>(this, -30, 20, tr(" dB"));
        row.speed = numberBox<QSpinBox>(this, 20, 250, QString());
        row.traffic = new QComboBox(this);
        for (Traffic kind : {Traffic::Groups, Traffic::Calls, Traffic::Cq})
            row.traffic->addItem(BandWords::traffic(kind), int(kind));
        const OtherStation typical;
        row.offset->setValue(int(typical.offsetHz));
        row.speed->setValue(typical.speed);
        row.traffic->setCurrentIndex(row.traffic->findData(int(typical.traffic)));
        const int at = int(i) + 1;
        stations->addWidget(row.heard, at, 0);
        stations->addWidget(row.offset, at, 1);
        stations->addWidget(row.level, at, 2);
        stations->addWidget(row.speed, at, 3);
        stations->addWidget(row.traffic, at, 4);
        // The grid's headings are not read with each box.
        row.offset->setAccessibleName(tr("Station %1 offset").arg(number));
        row.level->setAccessibleName(tr("Station %1 level").arg(number));
        row.speed->setAccessibleName(tr("Station %1 speed, letters per minute").arg(number));
        row.traffic->setAccessibleName(tr("Station %1 traffic").arg(number));
    }
    form->addRow(new QLabel(tr("Other stations:"), this));
    form->addRow(stations);

    m_jitter = numberBox<QDoubleSpinBox>(this, 0, 50, tr(" %"));
    m_weight = numberBox<QDoubleSpinBox>(this, 25, 75, tr(" %"));
    for (QDoubleSpinBox *percent : {m_jitter, m_weight})
        percent->setDecimals(0);
    form->addRow(tr("Hand's &jitter:"), m_jitter);
    form->addRow(tr("Hand's &weight:"), m_weight);
    m_jitter->setToolTip(tr("Each element and gap of the played groups off by this much of a dot"));
    m_weight->setToolTip(tr("A dot's share of a dot and its gap; 50 % is even"));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    for (QCheckBox *box : findChildren<QCheckBox *>())
        connect(box, &QCheckBox::toggled, this, &BandDialog::edited);
    for (QSpinBox *box : findChildren<QSpinBox *>())
        connect(box, &QSpinBox::valueChanged, this, &BandDialog::edited);
    for (QDoubleSpinBox *box : findChildren<QDoubleSpinBox *>())
        connect(box, &QDoubleSpinBox::valueChanged, this, &BandDialog::edited);
    for (QComboBox *box : findChildren<QComboBox *>()) {
        connect(box, &QComboBox::activated, this, &BandDialog::edited);
        if (box->isEditable())
            connect(box->lineEdit(), &QLineEdit::editingFinished, this, &BandDialog::edited);
    }
    setBand(m_band);
}

void BandDialog::setBand(const BandConditions &band)
{
    m_showing = true;
    m_band = band;
    m_noise->setChecked(band.snrDb.has_value());
    m_snr->setValue(band.snrDb.value_or(m_snr->value()));
    m_filter->setEditText(QString::number(band.filterHz));
    m_fadingDepth->setValue(band.fadingDb);
    const int rate = m_fadingRate->findData(band.fadesPerMinute);
    m_fadingRate->setEditText(rate >= 0 ? m_fadingRate->itemText(rate) : locale().toString(band.fadesPerMinute));
    m_crashes->setValue(qRound(band.crashesPerMinute));
    m_crashLevel->setValue(band.crashDb);
    for (size_t i = 0; i < m_stations.size(); ++i) {
        const StationRow &row = m_stations[i];
        row.heard->setChecked(int(i) < band.otherCount);
        if (int(i) >= band.otherCount)
            continue; // a station switched off keeps what it had
        const OtherStation &station = band.others[i];
        row.offset->setValue(qRound(station.offsetHz));
        row.level->setValue(qRound(station.levelDb));
        row.speed->setValue(station.speed);
        row.traffic->setCurrentIndex(row.traffic->findData(int(station.traffic)));
    }
    m_jitter->setValue(band.jitterPercent);
    m_weight->setValue(band.weightPercent);
    enableSettings();
    m_showing = false;
}

std::optional<double> BandDialog::filterChosen() const
{
    return filterFromText(m_filter->currentText());
}

std::optional<double> BandDialog::fadingRateChosen() const
{
    const QString text = m_fadingRate->currentText().trimmed();
    const int item = m_fadingRate->findText(text);
    if (item >= 0)
        return m_fadingRate->itemData(item).toDouble();
    bool ok = false;
    const double rate = locale().toDouble(text, &ok);
    return ok ? fadingRateFromText(QString::number(rate)) : fadingRateFromText(text);
}

void BandDialog::enableSettings()
{
    m_snr->setEnabled(m_noise->isChecked());
    m_fadingRate->setEnabled(m_fadingDepth->value() != 0);
    m_crashLevel->setEnabled(m_crashes->value() != 0);
    for (const StationRow &row : m_stations) {
        for (QWidget *setting : std::initializer_list<QWidget *>{row.offset, row.level, row.speed, row.traffic})
            setting->setEnabled(row.heard->isChecked());
    }
}

void BandDialog::edited()
{
    if (m_showing)
        return;
    enableSettings();
    BandConditions band = m_band;
    band.snrDb = m_noise->isChecked() ? std::optional<double>(m_snr->value()) : std::nullopt;
    // What is typed wrong is left as it was.
    band.filterHz = filterChosen().value_or(band.filterHz);
    band.fadingDb = m_fadingDepth->value();
    band.fadesPerMinute = fadingRateChosen().value_or(band.fadesPerMinute);
    band.crashesPerMinute = m_crashes->value();
    band.crashDb = m_crashLevel->value();
    band.others = {};
    band.otherCount = 0;
    for (const StationRow &row : m_stations) {
        if (row.heard->isChecked())
            band.others[size_t(band.otherCount++)]
                = OtherStation{double(row.offset->value()), double(row.level->value()), row.speed->value(),
                               Traffic(row.traffic->currentData().toInt())};
    }
    band.jitterPercent = m_jitter->value();
    band.weightPercent = m_weight->value();
    if (band == m_band)
        return;
    m_band = band;
    emit bandEdited(band);
}
