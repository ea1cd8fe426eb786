// The floor for the window's own costs: the same controls at the same pixels, written the plain
// way, with no speech, no frame query and no pictures read from files.
#include "phrases/PhraseRow.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTime>
#include <QTimer>
#include <QWidget>

namespace {

// The texts the window is designed with.
const char* const Help[5] = {
    "Instructions:",
    R"(Enter "E" for Elapsed Time or "A" for Actual Time in first column.)",
    R"(Enter Elapsed or Actual Time in format "HH:MM:SS" in second column.)",
    R"(Enter phrase to be spoken in third column (e.g., "This is a test" or "c:\windows\media\tada.wav").)",
    R"(A phrase can be tested by typing in last row and clicking the "Say This Now" button.)",
};

constexpr int px(int twips) {
    return (twips + 7) / 15;
}

template <typename Control>
Control* place(Control* control, int left, int top, int width, int height) {
    control->setGeometry(px(left), px(top), px(width), px(height));
    return control;
}

QComboBox* list(const QStringList& entries, const QString& text, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->addItems(entries);
    combo->setEditText(text);
    return combo;
}

QPixmap hourglass() {
    QPixmap picture(45, 89);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setBrush(QColor(192, 160, 64));
    painter.drawPolygon(QPolygon({{2, 2}, {42, 2}, {22, 44}, {42, 86}, {2, 86}, {22, 44}}));
    return picture;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Same controls"));
    window.setFont(QFont(QStringLiteral("Arial"), 8));
    window.setGeometry(px(540), px(660), px(10365), px(1900));

    place(new QPushButton(QStringLiteral("Clear Phrases"), &window), 8760, 6840, 1335, 375);
    place(list({QStringLiteral("Small Time"), QStringLiteral("Big Time"),
                QStringLiteral("Show Phrases")},
               QStringLiteral("Small Time"), &window),
          6240, 360, 1455, 315);
    place(list({QStringLiteral("Up"), QStringLiteral("Down")}, QStringLiteral("Up"), &window), 4080,
          360, 855, 315);
    place(new QLineEdit(QStringLiteral("00:00:00"), &window), 5160, 360, 855, 285);
    place(new QPushButton(QStringLiteral("Help"), &window), 1200, 360, 735, 375);
    QFont clockFont(QStringLiteral("Arial"), 18);
    clockFont.setBold(true);
    auto* timer = place(new QLineEdit(QStringLiteral("timer"), &window), 240, 840, 1725, 495);
    auto* time = place(new QLineEdit(QStringLiteral("time"), &window), 2160, 840, 1725, 495);
    timer->setFont(clockFont);
    time->setFont(clockFont);
    for (int i = 0; i < 10; ++i) {
        const int top = 1560 + 480 * i;
        place(new QLineEdit(DefaultPhraseRows()[i].phrase, &window), 1680, top, 8400, 285);
        place(new QLineEdit(DefaultPhraseRows()[i].time, &window), 600, top, 975, 285);
        place(new QLineEdit(DefaultPhraseRows()[i].kind, &window), 240, top, 255, 285);
    }
    place(new QLineEdit(QStringLiteral("This is a test"), &window), 1680, 6360, 8400, 285);
    place(new QPushButton(QStringLiteral("Say This Now"), &window), 240, 6360, 1335, 255);
    place(list({}, QStringLiteral("cboSelectVoice"), &window), 2160, 360, 1725, 315);
    place(new QPushButton(QStringLiteral("Reset"), &window), 240, 360, 735, 375);

    auto* picture = place(new QLabel(&window), 9000, 120, 675, 1335);
    picture->setPixmap(hourglass());
    place(new QLabel(QStringLiteral("Display Mode"), &window), 6240, 120, 1455, 255);
    place(new QLabel(QStringLiteral("Timer Mode"), &window), 4080, 120, 855, 255);
    place(new QLabel(QStringLiteral("Timer Start"), &window), 5160, 120, 855, 255);
    place(new QLabel(QStringLiteral("Voice Selector"), &window), 2160, 120, 1695, 255);
    for (int i = 0; i < 5; ++i)
        place(new QLabel(QString::fromUtf8(Help[i]), &window), 360, 6720 + 240 * i,
              i == 0 ? 975 : 8535, 255);

    const QTime started = QTime::currentTime();
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout, &window, [=] {
        const QTime now = QTime::currentTime();
        time->setText(now.toString(QStringLiteral("HH:mm:ss")));
        timer->setText(
            QTime(0, 0).addSecs(started.secsTo(now)).toString(QStringLiteral("HH:mm:ss")));
    });
    ticks.start(100);
    window.show();
    return application.exec();
}
