#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "core/notation.h"
#include "forms/qt/view_kit.h"
#include "forms/qt/views.h"
#include "forms/vertragsdaten/tfrm_vertragsdaten.h"

namespace fondaris::qt {

namespace {

// "100.000 €": whole euros with the notation's grouping.
QString euroLabel(double value) {
  const std::string amount = core::formatAmount(value);
  const std::size_t decimals = core::notation().decimalSeparator.size() + 2;
  return QString::fromStdString(amount.substr(0, amount.size() - decimals)) + " €";
}

// A step of 1, 2 or 5 times a power of ten that gives about five gridlines.
double niceStep(double max) {
  const double raw = std::max(max / 5, 1.0);
  const double power = std::pow(10, std::floor(std::log10(raw)));
  for (double f : {1.0, 2.0, 5.0})
    if (f * power >= raw) return f * power;
  return 10 * power;
}

// The fund value by year for the four growth rates, from the illustration's projection.
class ValueChart : public QChartView {
 public:
  ValueChart(forms::TfrmVertagsdaten& form, QWidget* parent) : QChartView(parent), form_(form) {
    setRenderHint(QPainter::Antialiasing);
    setMinimumHeight(260);
    chart_ = new QChart;
    chart_->setTitle("Fondswert je Jahr");
    chart_->legend()->setAlignment(Qt::AlignBottom);
    chart_->setMargins(QMargins(4, 4, 4, 4));
    setChart(chart_);
    years_ = new QValueAxis;
    years_->setTitleText("Jahr");
    years_->setLabelFormat("%d");
    amounts_ = new QCategoryAxis;
    amounts_->setTitleText("Fondswert");
    amounts_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    chart_->addAxis(years_, Qt::AlignBottom);
    chart_->addAxis(amounts_, Qt::AlignLeft);
    for (int r = 0; r < 4; ++r) {
      series_[r] = new QLineSeries;
      chart_->addSeries(series_[r]);
      series_[r]->attachAxis(years_);
      series_[r]->attachAxis(amounts_);
    }
  }

  // Room for the figures beside it decides the window's width, not the chart.
  QSize sizeHint() const override { return QSize(420, 300); }

  // Several illustrations may run for one user action: the chart follows once, afterwards.
  void schedule() {
    if (pending_) return;
    pending_ = true;
    QTimer::singleShot(0, this, [this] {
      pending_ = false;
      update();
    });
  }

  void update() {
    const engine::ProjectionResult& result = form_.illustration();
    const int years = std::clamp(form_.illustratedYears(), 1, engine::kYears);
    const forms::ComboBox* rates[] = {&form_.cb_WE1, &form_.cb_WE2, &form_.cb_WE3, &form_.cb_WE4};
    double max = 0;
    for (int r = 0; r < 4; ++r) {
      QList<QPointF> points;
      for (int i = 0; i < years; ++i) {
        const double value = result.fundValueRounded(i, r);
        points.append(QPointF(i + 1, value));
        max = std::max(max, value);
      }
      series_[r]->replace(points);
      series_[r]->setName(QString::fromStdString(rates[r]->text()) + " %");
    }
    years_->setRange(1, std::max(years, 2));
    years_->setTickType(QValueAxis::TicksDynamic);
    years_->setTickAnchor(0);
    years_->setTickInterval(years <= 10 ? 1 : 5);
    const double step = niceStep(max);
    const double top = std::max(step, std::ceil(max / step) * step);
    for (const QString& label : amounts_->categoriesLabels()) amounts_->remove(label);
    amounts_->setStartValue(0);
    amounts_->append(euroLabel(0) + " ", 0);
    for (double v = step; v <= top + 0.5; v += step) amounts_->append(euroLabel(v), v);
    amounts_->setRange(0, top);
  }

 private:
  forms::TfrmVertagsdaten& form_;
  QChart* chart_;
  QValueAxis* years_;
  QCategoryAxis* amounts_;
  QLineSeries* series_[4];
  bool pending_ = false;
};

}  // namespace

void addValueChart(forms::FormSet& forms, QWidget& view) {
  auto* layout = view.findChild<QVBoxLayout*>("qt_chartLayout");
  auto* page = view.findChild<QWidget*>("tsWE");
  if (!layout || !page) return;
  forms::TfrmVertagsdaten& form = *forms.frmVertagsdaten;
  auto* chart = new ValueChart(form, page);
  layout->addWidget(chart);
  chart->update();
  // Everything shown where the screen allows; placing the window fits it onto smaller screens,
  // where the contract data scroll and the chart takes what is left.
  view.resize(kit::naturalSize(view));
  QPointer<ValueChart> guard(chart);
  form.onIllustrated = [guard] {
    if (guard) guard->schedule();
  };
}

}  // namespace fondaris::qt
