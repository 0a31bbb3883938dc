#pragma once

#include <QStringList>
#include <QWidget>
#include <memory>
#include <span>

#include "forms/form_set.h"

// Each view is a Qt Designer file (forms/qt/*_view.ui): widgets that stand for controls carry
// the control's name as objectName, widgets that stand for none have names starting with "_".
// Captions and hints designed there are taken over by controls that have none.
namespace fondaris::qt {

class QtPresenter;

std::unique_ptr<QWidget> makeStartmaskeView();
std::unique_ptr<QWidget> makeVermittlerView();
std::unique_ptr<QWidget> makeAngebotsdatenView();
std::unique_ptr<QWidget> makeAngebotsdialogView();
std::unique_ptr<QWidget> makePruefungView();
std::unique_ptr<QWidget> makeVertragsdatenView();
// The chart of the contract form's illustration, which a Designer file cannot hold.
void addValueChart(forms::FormSet& forms, QWidget& view);

// Which view shows which form: the one list the program and the tests bind from.
struct FormView {
  forms::Form& (*form)(forms::FormSet& forms);
  std::unique_ptr<QWidget> (*make)();
  // What the view code adds beyond the Designer file, once the view is made.
  void (*complete)(forms::FormSet& forms, QWidget& view) = nullptr;
};
std::span<const FormView> formViews();

// Makes the view of every form in the list and hands it to `presenter`. When a view does not fit
// its form or holds texts of its own (captions belong to the form), nothing is bound and every
// such problem comes back as one line naming view and form.
QStringList addViews(forms::FormSet& forms, QtPresenter& presenter,
                     std::span<const FormView> views = formViews());
// The same for the program: each view is made when its form is first shown, so the first window
// does not wait for the others. A view that does not fit its form then ends the program with
// those lines on standard error (the tests make every view at once and check them all).
void addViewsOnDemand(forms::FormSet& forms, QtPresenter& presenter,
                      std::span<const FormView> views = formViews());

}  // namespace fondaris::qt
