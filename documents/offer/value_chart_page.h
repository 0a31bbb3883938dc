#pragma once

#include "documents/offer/value_chart.h"
#include "documents/pdf/pdf_binding.h"

namespace fondaris::documents {

// Draws the chart in lines and text onto the page being edited, below the head that the
// template's third page carries. Answers the sum of the drawing calls' answers.
int drawValueChart(PdfBinding& pdf, const ValueChartData& chart);

}  // namespace fondaris::documents
