#include "forms/qt/qt_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

#include "forms/qt/key_codes.h"

namespace fondaris::qt {

namespace {

QString qs(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QWidget* dialogParent() {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  if (QWidget* active = QApplication::activeWindow()) return active;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w->isWindow()) return w;
  return nullptr;
}

// Gives the keyboard back to the window the dialog came from; without a window manager
// nobody else does.
void giveBackFocus(QWidget* parent) {
  if (parent && parent->isVisible()) parent->activateWindow();
}

}  // namespace

QtDialogs::QtDialogs(std::function<void()> showViews) : showViews_(std::move(showViews)) {}

QWidget* QtDialogs::parentForADialog() const {
  keepDialogKeysInTheirDialog();
  if (showViews_) showViews_();
  return dialogParent();
}

void QtDialogs::message(std::string_view text, std::string_view caption) {
  QMessageBox box(QMessageBox::NoIcon, qs(caption), qs(text), QMessageBox::Ok, parentForADialog());
  box.setTextFormat(Qt::PlainText);
  box.exec();
  giveBackFocus(box.parentWidget());
}

bool QtDialogs::askYesNo(std::string_view text, std::string_view caption) {
  QMessageBox box(QMessageBox::Question, qs(caption), qs(text), QMessageBox::Yes | QMessageBox::No,
                  parentForADialog());
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(QMessageBox::Yes);
  const bool yes = box.exec() == QMessageBox::Yes;
  giveBackFocus(box.parentWidget());
  return yes;
}

std::optional<std::string> QtDialogs::inputText(std::string_view caption, std::string_view prompt,
                                                std::string_view initial) {
  QInputDialog dialog(parentForADialog());
  dialog.setWindowTitle(qs(caption));
  dialog.setLabelText(qs(prompt));
  dialog.setTextValue(qs(initial));
  dialog.setInputMode(QInputDialog::TextInput);
  const bool accepted = dialog.exec() == QDialog::Accepted;
  giveBackFocus(dialog.parentWidget());
  if (!accepted) return std::nullopt;
  return dialog.textValue().toStdString();
}

std::optional<std::string> QtDialogs::openFileName(std::string_view title, std::string_view folder,
                                                   std::string_view filter) {
  QWidget* parent = parentForADialog();
  const QString name = QFileDialog::getOpenFileName(parent, qs(title), qs(folder), qs(filter));
  giveBackFocus(parent);
  if (name.isEmpty()) return std::nullopt;
  return QDir::toNativeSeparators(name).toStdString();
}

std::optional<std::string> QtDialogs::saveFileName(std::string_view title, std::string_view folder,
                                                   std::string_view filter,
                                                   std::string_view suggestedName) {
  QString start = qs(folder);
  if (!suggestedName.empty()) start = QDir(start).filePath(qs(suggestedName));
  QWidget* parent = parentForADialog();
  const QString name = QFileDialog::getSaveFileName(parent, qs(title), start, qs(filter));
  giveBackFocus(parent);
  if (name.isEmpty()) return std::nullopt;
  return QDir::toNativeSeparators(name).toStdString();
}

bool installGermanTranslations() {
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  static QTranslator translator;
  if (!translator.load(QLocale(QLocale::German), "qtbase", "_",
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    return false;
  return QCoreApplication::installTranslator(&translator);
}

}  // namespace fondaris::qt
