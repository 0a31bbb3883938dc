#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>
#include <array>
#include <string>

#include "documents/offer/value_chart.h"
#include "forms/qt/view_kit.h"
#include "forms/qt/views.h"
#include "forms/vertragsdaten/tfrm_vertragsdaten.h"

namespace fondaris::qt {

namespace {

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
      const documents::ChartColour& colour = documents::kSeriesColours[r];
      series_[r]->setColor(QColor(colour.red, colour.green, colour.blue));
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
    const forms::ComboBox* rates[] = {&form_.cb_WE1, &form_.cb_WE2, &form_.cb_WE3, &form_.cb_WE4};
    std::array<std::string, 4> rateTexts;
    for (int r = 0; r < 4; ++r) rateTexts[r] = rates[r]->text();
    const documents::ValueChartData figures =
        documents::valueChartData(form_.illustration(), form_.illustratedYears(), rateTexts);
    for (int r = 0; r < 4; ++r) {
      QList<QPointF> points;
      for (const documents::ChartPoint& p : figures.series[r])
        points.append(QPointF(p.year, p.value));
      series_[r]->replace(points);
      series_[r]->setName(QString::fromStdString(figures.names[r]));
    }
    years_->setRange(1, figures.lastYear);
    years_->setTickType(QValueAxis::TicksDynamic);
    years_->setTickAnchor(0);
    years_->setTickInterval(figures.yearStep);
    for (const QString& label : amounts_->categoriesLabels()) amounts_->remove(label);
    amounts_->setStartValue(0);
    for (const documents::ChartTick& tick : figures.amountTicks)
      amounts_->append(QString::fromStdString(tick.label) + (tick.value == 0 ? " " : ""),
                       tick.value);
    amounts_->setRange(0, figures.top);
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
