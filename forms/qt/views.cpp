#include "forms/qt/views.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <QLabel>
#include <QLineEdit>

#include "forms/angebotsdaten/tfrm_angebotsdaten.h"
#include "forms/angebotsdialog/tfrm_angebotsdialog.h"
#include "forms/pruefung/tfrm_pruefung.h"
#include "forms/qt/binder.h"
#include "forms/qt/qt_presenter.h"
#include "forms/qt/view_kit.h"
#include "forms/startmaske/tfrm_startmaske.h"
#include "forms/vermittler/tfrm_vermittler.h"
#include "forms/vertragsdaten/tfrm_vertragsdaten.h"
#include "ui_angebotsdaten_view.h"
#include "ui_angebotsdialog_view.h"
#include "ui_pruefung_view.h"
#include "ui_startmaske_view.h"
#include "ui_vermittler_view.h"
#include "ui_vertragsdaten_view.h"

namespace fondaris::qt {

namespace {

template <class Design>
std::unique_ptr<QWidget> fromDesign(bool dataForm) {
  auto window = std::make_unique<QWidget>();
  Design design;
  design.setupUi(window.get());
  // Widths in characters and the shared look are beyond what a Designer file can say.
  kit::applyCharWidths(*window);
  kit::scrollUpAndDownOnly(*window);
  if (dataForm) window->setStyleSheet(kit::formStyleSheet());
  return window;
}

}  // namespace

std::unique_ptr<QWidget> makeStartmaskeView() {
  return fromDesign<Ui::frmStartmaske>(false);
}

std::unique_ptr<QWidget> makeVermittlerView() {
  return fromDesign<Ui::frmVermittler>(true);
}

std::unique_ptr<QWidget> makeAngebotsdatenView() {
  return fromDesign<Ui::frmAngebotsdaten>(true);
}

std::unique_ptr<QWidget> makeAngebotsdialogView() {
  auto window = fromDesign<Ui::frmAngebotsdialog>(true);
  // Enter in an account field finishes it as leaving does.
  for (const char* account : {"edZF_Konto", "edZP_Konto", "edZB_Konto"})
    if (auto* edit = window->findChild<QLineEdit*>(account))
      QObject::connect(edit, &QLineEdit::returnPressed, edit, [edit] {
        QWidget* next = edit->nextInFocusChain();
        while (next != edit &&
               (!(next->focusPolicy() & Qt::TabFocus) || !next->isVisible() || !next->isEnabled()))
          next = next->nextInFocusChain();
        next->setFocus(Qt::TabFocusReason);
      });
  return window;
}

std::unique_ptr<QWidget> makePruefungView() {
  return fromDesign<Ui::frmPruefung>(true);
}

std::unique_ptr<QWidget> makeVertragsdatenView() {
  auto window = fromDesign<Ui::frmVertragsdaten>(true);
  // The design's helper widgets stand for no control.
  for (QWidget* w : window->findChildren<QWidget*>())
    if (w->objectName().startsWith("qt_v_")) w->setObjectName(QString());
  // The long heading over the narrow column of additional yield wraps; its lines are counted
  // into the window's smallest height, which a wrapping label does not do by itself.
  if (auto* heading = window->findChild<QLabel*>("lbME"))
    heading->setMinimumHeight(4 * heading->fontMetrics().lineSpacing());
  return window;
}

std::span<const FormView> formViews() {
  static const FormView views[] = {
      {[](forms::FormSet& a) -> forms::Form& { return *a.frmStartmaske; }, makeStartmaskeView},
      {[](forms::FormSet& a) -> forms::Form& { return *a.frmVermittler; }, makeVermittlerView},
      {[](forms::FormSet& a) -> forms::Form& { return *a.frmAngebotsdaten; },
       makeAngebotsdatenView},
      {[](forms::FormSet& a) -> forms::Form& { return *a.frmAngebotsdialog; },
       makeAngebotsdialogView},
      {[](forms::FormSet& a) -> forms::Form& { return *a.frmPruefung; }, makePruefungView},
      {[](forms::FormSet& a) -> forms::Form& { return *a.frmVertagsdaten; }, makeVertragsdatenView,
       addValueChart},
  };
  return views;
}

namespace {

// The view of one entry, completed; what does not fit its form is added to `problems`.
std::unique_ptr<QWidget> checkedView(const FormView& entry, forms::FormSet& forms,
                                     QStringList& problems) {
  forms::Form& form = entry.form(forms);
  std::unique_ptr<QWidget> view = entry.make();
  if (entry.complete) entry.complete(forms, *view);
  for (const QString& p : Binder::mismatches(form, *view) + Binder::textsInView(form, *view))
    problems << QString("Ansicht %1 / Formular %2: %3")
                    .arg(view->objectName(), QString::fromStdString(form.className()), p);
  return view;
}

}  // namespace

QStringList addViews(forms::FormSet& forms, QtPresenter& presenter,
                     std::span<const FormView> views) {
  std::vector<std::pair<forms::Form*, std::unique_ptr<QWidget>>> made;
  QStringList problems;
  for (const FormView& entry : views)
    made.emplace_back(&entry.form(forms), checkedView(entry, forms, problems));
  if (!problems.isEmpty()) return problems;
  for (auto& [form, view] : made) presenter.add(*form, std::move(view));
  return {};
}

void addViewsOnDemand(forms::FormSet& forms, QtPresenter& presenter,
                      std::span<const FormView> views) {
  for (const FormView& entry : views)
    presenter.addOnDemand(entry.form(forms), [&forms, entry] {
      QStringList problems;
      std::unique_ptr<QWidget> view = checkedView(entry, forms, problems);
      if (problems.isEmpty()) return view;
      // A view that does not fit its form is the program's own fault: no form may run with
      // controls its view does not show.
      for (const QString& p : problems)
        std::fprintf(stderr, "Fondaris: Ansicht passt nicht zum Formular: %s\n", qPrintable(p));
      std::fflush(stderr);
      std::_Exit(1);
    });
}

}  // namespace fondaris::qt
