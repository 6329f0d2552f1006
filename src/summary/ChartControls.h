#pragma once
// CChartControls: the summary window's choices for its charts, in one row below them:
// sessions along the x axis by date or by number, the pressure and heart-rate axes
// automatic or from-to (one row), and the size a saved chart is drawn at (a second row: (the
// default pixel size, or millimetres on paper and a resolution). Changed() follows every change of
// the axes.

#include "charts/SummaryChart.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QHBoxLayout;
class QSpinBox;

namespace mirado {

class CChartControls : public QWidget {
    Q_OBJECT
public:
    explicit CChartControls(QWidget* parent = nullptr);

    // Sets the axis choices in options; with forSaving also the saved size.
    void ApplyTo(SummaryChartOptions& options, bool forSaving) const;

signals:
    void Changed();

private:
    struct RangeFields {
        QCheckBox* automatic = nullptr;
        QDoubleSpinBox* from = nullptr;
        QDoubleSpinBox* to = nullptr;
    };
    RangeFields AddRange(const QString& label, const char* name, const ValueRange& initial,
                         double maximum);
    QDoubleSpinBox* AddMillimetres(const char* name, double value);
    static std::optional<ValueRange> ChosenRange(const RangeFields& fields);
    void UpdateEnabled();

    QHBoxLayout* axesRow_ = nullptr;
    QHBoxLayout* sizeRow_ = nullptr;
    QComboBox* sessions_ = nullptr;
    RangeFields pressure_, heartRate_;
    QComboBox* sizeMode_ = nullptr;
    QDoubleSpinBox* widthMm_ = nullptr;
    QDoubleSpinBox* heightMm_ = nullptr;
    QSpinBox* dpi_ = nullptr;
};

} // namespace mirado
