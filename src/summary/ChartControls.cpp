#include "summary/ChartControls.h"

#include "platform/qtcore/UiText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

namespace mirado {

namespace {

const ValueRange kInitialPressureRange{50, 200};
const ValueRange kInitialHeartRateRange{300, 800};
constexpr double kMaxPressure = 400;
constexpr double kMaxHeartRate = 1200;

} // namespace

CChartControls::CChartControls(QWidget* parent) : QWidget(parent) {
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    axesRow_ = new QHBoxLayout;
    sizeRow_ = new QHBoxLayout;
    rows->addLayout(axesRow_);
    rows->addLayout(sizeRow_);
    QHBoxLayout* row = axesRow_;
    row->addWidget(new QLabel(UiText("Sessions:"), this));
    sessions_ = new QComboBox(this);
    sessions_->setObjectName(QStringLiteral("chartSessions"));
    sessions_->addItems({UiText("By date"), UiText("By number")});
    row->addWidget(sessions_);
    pressure_ =
        AddRange(UiText("Pressure axis:"), "chartPressure", kInitialPressureRange, kMaxPressure);
    heartRate_ = AddRange(UiText("HR axis:"), "chartHr", kInitialHeartRateRange, kMaxHeartRate);
    row->addStretch();
    row = sizeRow_;
    row->addWidget(new QLabel(UiText("Saved size:"), this));
    sizeMode_ = new QComboBox(this);
    sizeMode_->setObjectName(QStringLiteral("chartSizeMode"));
    sizeMode_->addItems({UiText("%1 x %2 pixels").arg(kDefaultChartWidth).arg(kDefaultChartHeight),
                         UiText("On paper")});
    row->addWidget(sizeMode_);
    const PrintSize paper;
    widthMm_ = AddMillimetres("chartWidthMm", paper.widthMm);
    row->addWidget(new QLabel(QStringLiteral("x"), this));
    heightMm_ = AddMillimetres("chartHeightMm", paper.heightMm);
    row->addWidget(new QLabel(UiText("mm at"), this));
    dpi_ = new QSpinBox(this);
    dpi_->setObjectName(QStringLiteral("chartDpi"));
    dpi_->setRange(kMinPrintDpi, kMaxPrintDpi);
    dpi_->setValue(paper.dpi);
    dpi_->setSuffix(UiText(" dpi"));
    row->addWidget(dpi_);
    row->addStretch();

    connect(sessions_, &QComboBox::currentIndexChanged, this, &CChartControls::Changed);
    connect(sizeMode_, &QComboBox::currentIndexChanged, this, &CChartControls::UpdateEnabled);
    UpdateEnabled();
}

CChartControls::RangeFields CChartControls::AddRange(const QString& label, const char* name,
                                                     const ValueRange& initial, double maximum) {
    QHBoxLayout* row = axesRow_;
    row->addWidget(new QLabel(label, this));
    RangeFields fields;
    fields.automatic = new QCheckBox(UiText("Automatic"), this);
    fields.automatic->setObjectName(QString::fromLatin1(name) + QStringLiteral("Auto"));
    fields.automatic->setChecked(true);
    row->addWidget(fields.automatic);
    const std::pair<QDoubleSpinBox**, double> ends[] = {{&fields.from, initial.lower},
                                                        {&fields.to, initial.upper}};
    for (const auto& [spin, value] : ends) {
        *spin = new QDoubleSpinBox(this);
        (*spin)->setRange(0, maximum);
        (*spin)->setDecimals(0);
        (*spin)->setValue(value);
        row->addWidget(*spin);
        connect(*spin, &QDoubleSpinBox::valueChanged, this, &CChartControls::Changed);
    }
    fields.from->setObjectName(QString::fromLatin1(name) + QStringLiteral("From"));
    fields.to->setObjectName(QString::fromLatin1(name) + QStringLiteral("To"));
    connect(fields.automatic, &QCheckBox::toggled, this, &CChartControls::UpdateEnabled);
    connect(fields.automatic, &QCheckBox::toggled, this, &CChartControls::Changed);
    return fields;
}

QDoubleSpinBox* CChartControls::AddMillimetres(const char* name, double value) {
    auto* spin = new QDoubleSpinBox(this);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setRange(kMinPrintMm, kMaxPrintMm);
    spin->setDecimals(1);
    spin->setValue(value);
    sizeRow_->addWidget(spin);
    return spin;
}

void CChartControls::UpdateEnabled() {
    for (const RangeFields* fields : {&pressure_, &heartRate_}) {
        fields->from->setEnabled(!fields->automatic->isChecked());
        fields->to->setEnabled(!fields->automatic->isChecked());
    }
    const bool paper = sizeMode_->currentIndex() == 1;
    for (QWidget* field : {static_cast<QWidget*>(widthMm_), static_cast<QWidget*>(heightMm_),
                           static_cast<QWidget*>(dpi_)})
        field->setEnabled(paper);
}

// A range the user set; an empty or upside-down one counts as not set.
std::optional<ValueRange> CChartControls::ChosenRange(const RangeFields& fields) {
    if (fields.automatic->isChecked() || !(fields.from->value() < fields.to->value()))
        return std::nullopt;
    return ValueRange{fields.from->value(), fields.to->value()};
}

void CChartControls::ApplyTo(SummaryChartOptions& options, bool forSaving) const {
    options.sessionAxis =
        sessions_->currentIndex() == 1 ? SessionAxis::Numbers : SessionAxis::Dates;
    options.pressureRange = ChosenRange(pressure_);
    options.heartRateRange = ChosenRange(heartRate_);
    options.printSize.reset();
    if (forSaving && sizeMode_->currentIndex() == 1)
        options.printSize = PrintSize{widthMm_->value(), heightMm_->value(), dpi_->value()};
}

} // namespace mirado
