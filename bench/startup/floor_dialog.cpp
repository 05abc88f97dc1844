// The floor of the start-up benchmark: the least a Qt Widgets program does to
// put a dialog on screen (an application, one dialog with a caption, a label,
// an edit box and a button, its modal loop).
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QDialog dialog;
  dialog.setWindowTitle("Floor dialog");
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QLabel("Pressure"));
  layout->addWidget(new QLineEdit("0.0"));
  auto* exit = new QPushButton("Exit");
  QObject::connect(exit, &QPushButton::clicked, &dialog, &QDialog::accept);
  layout->addWidget(exit);
  dialog.exec();
  return 0;
}
