#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <functional>
#include <optional>
#include <utility>

namespace fondaris::qt::test {

// Answers every message box by key, as an agent would: the first one with `firstKey`, any
// further one with Escape. A key pressed in a box is released over the window below, where the
// keyboard is once the box has gone. Records each box's text and what `look` sees behind it.
class BoxAnswerer {
 public:
  BoxAnswerer(QWidget& windowBelow, Qt::Key firstKey, std::function<QString()> look)
      : windowBelow_(windowBelow), firstKey_(firstKey), look_(std::move(look)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { answer(); });
    timer_.start(5);
  }

  QStringList texts;
  QStringList behind;
  // A key still down when a box opens on its press: released while the box is up.
  std::optional<Qt::Key> held;

 private:
  void answer() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || box->property("answered").toBool() || !box->isVisible()) return;
    box->setProperty("answered", true);
    texts << box->text();
    behind << look_();
    if (held) QTest::keyRelease(windowBelow_.windowHandle(), *std::exchange(held, std::nullopt));
    const Qt::Key key = texts.size() == 1 ? firstKey_ : Qt::Key_Escape;
    QTest::keyPress(box->windowHandle(), key);
    QTimer::singleShot(0, &timer_, [this, key] { releaseBelow(key); });
  }
  // The release comes once the window below has the keyboard again.
  void releaseBelow(Qt::Key key) {
    QWidget* below = &windowBelow_;
    (void)QTest::qWaitFor([below] { return QApplication::activeWindow() == below; }, 1000);
    QTest::keyRelease(below->windowHandle(), key);
  }

  QWidget& windowBelow_;
  Qt::Key firstKey_;
  std::function<QString()> look_;
  QTimer timer_;
};

}  // namespace fondaris::qt::test
