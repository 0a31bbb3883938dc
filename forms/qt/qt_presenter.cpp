#include "forms/qt/qt_presenter.h"

#include <QApplication>
#include <QEventLoop>
#include <cstdio>
#include <utility>

#include "forms/controls/form.h"
#include "forms/qt/key_codes.h"

namespace fondaris::qt {

QtPresenter::QtPresenter() {
  // Forms are hidden and shown, never closed by Qt; the main form's close ends the program.
  QApplication::setQuitOnLastWindowClosed(false);
}

QtPresenter::~QtPresenter() = default;

Binder& QtPresenter::add(forms::Form& form, std::unique_ptr<QWidget> view) {
  auto* binder = new Binder(form, *view, [this] { refreshAll(); });
  view->hide();
  views_[&form] = View{std::move(view), binder, &form, nullptr};
  return *binder;
}

void QtPresenter::addOnDemand(forms::Form& form, ViewMaker make) {
  views_[&form] = View{nullptr, nullptr, &form, std::move(make)};
}

QtPresenter::View* QtPresenter::made(const forms::Form& form) {
  auto it = views_.find(&form);
  if (it == views_.end()) return nullptr;
  View& entry = it->second;
  if (!entry.window && entry.make) {
    std::unique_ptr<QWidget> window = std::exchange(entry.make, nullptr)();
    if (!window) return nullptr;
    entry.binder = new Binder(*entry.form, *window, [this] { refreshAll(); });
    window->hide();
    entry.window = std::move(window);
  }
  return entry.window ? &entry : nullptr;
}

Binder* QtPresenter::binder(const forms::Form& form) {
  const View* entry = made(form);
  return entry ? entry->binder : nullptr;
}

QWidget* QtPresenter::view(const forms::Form& form) {
  const View* entry = made(form);
  return entry ? entry->window.get() : nullptr;
}

bool QtPresenter::viewMade(const forms::Form& form) const {
  auto it = views_.find(&form);
  return it != views_.end() && it->second.window;
}

void QtPresenter::refreshAll() {
  if (refreshing_) return;
  refreshing_ = true;
  // A view not made yet is refreshed when it is shown.
  for (auto& [form, v] : views_)
    if (v.binder) v.binder->refresh();
  refreshing_ = false;
  if (!modal_.empty()) {
    forms::Form* form = modal_.back().first;
    if (form->modalResult != forms::ModalResult::None || !form->visible())
      modal_.back().second->quit();
  }
}

void QtPresenter::refresh(forms::Form& form) {
  if (Binder* b = binder(form)) b->refresh();
}

void QtPresenter::formShown(forms::Form& form) {
  QWidget* window = view(form);
  if (!window) {
    std::fprintf(stderr, "Fondaris: keine Ansicht für %s\n", form.className().c_str());
    return;
  }
  Binder* b = binder(form);
  b->refresh();
  b->applyGeometry();
  window->show();
  window->raise();
  window->activateWindow();
}

void QtPresenter::formHidden(forms::Form& form) {
  if (QWidget* window = view(form)) window->hide();
}

forms::ModalResult QtPresenter::runModal(forms::Form& form) {
  QWidget* window = view(form);
  if (!window) return forms::ModalResult::Cancel;
  keepDialogKeysInTheirDialog();
  const Qt::WindowModality before = window->windowModality();
  window->setWindowModality(Qt::ApplicationModal);
  Binder* b = binder(form);
  b->refresh();
  b->applyGeometry();
  window->show();
  window->activateWindow();
  QEventLoop loop;
  modal_.emplace_back(&form, &loop);
  if (form.modalResult == forms::ModalResult::None) loop.exec();
  modal_.pop_back();
  window->hide();
  window->setWindowModality(before);
  return form.modalResult == forms::ModalResult::None ? forms::ModalResult::Cancel
                                                      : form.modalResult;
}

void QtPresenter::quit() {
  for (auto& [form, loop] : modal_) loop->quit();
  // exit() rather than quit(): quit() would first try to close every window.
  QCoreApplication::exit(0);
}

}  // namespace fondaris::qt
