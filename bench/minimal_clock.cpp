// A QLabel rewritten by a 100 ms timer: the reference the program's own costs are set against.
#include <QApplication>
#include <QLabel>
#include <QTime>
#include <QTimer>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QLabel clock;
    clock.setWindowTitle(QStringLiteral("Minimal clock"));
    clock.resize(691, 127);
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout, &clock, [&clock] {
        clock.setText(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
    });
    ticks.start(100);
    clock.show();
    return application.exec();
}
