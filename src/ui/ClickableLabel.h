#pragma once

#include <QLabel>

// A caption that answers a click, as the instruction lines do.
class ClickableLabel final : public QLabel {
    Q_OBJECT
public:
    explicit ClickableLabel(const QString& caption, QWidget* parent);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
