// The toolkit's floor: the least a Qt Widgets clock can do, a label that a 100 ms timer keeps
// at the current time. The clock's costs are read against this one's.

#include <QApplication>
#include <QLabel>
#include <QTime>
#include <QTimer>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QLabel label;
  const auto show_time = [&label] { label.setText(QTime::currentTime().toString("hh:mm:ss")); };
  QTimer timer;
  timer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer, &QTimer::timeout, show_time);
  timer.start(100);
  show_time();
  label.show();
  return app.exec();
}
