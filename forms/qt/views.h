#pragma once

#include <QWidget>
#include <memory>

namespace fondaris::forms {
class TfrmVertagsdaten;
}

// One code-built view per form. Widgets that stand for controls carry the control's name as
// objectName; captions and hints designed here are taken over by controls that have none.
namespace fondaris::qt {

std::unique_ptr<QWidget> makeStartmaskeView();
std::unique_ptr<QWidget> makeVermittlerView();
std::unique_ptr<QWidget> makeAngebotsdatenView();
// From its Designer file; the view code adds the chart of the illustration.
std::unique_ptr<QWidget> makeVertragsdatenView(forms::TfrmVertagsdaten& form);
// Designer files: angebotsdialog_view.ui, pruefung_view.ui.
std::unique_ptr<QWidget> makeAngebotsdialogView();
std::unique_ptr<QWidget> makePruefungView();

}  // namespace fondaris::qt
