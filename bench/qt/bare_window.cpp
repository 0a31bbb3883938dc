// The floor for the program's start: a Qt program that shows one label and nothing else.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QLabel label("Fondaris");
  label.show();
  return QApplication::exec();
}
