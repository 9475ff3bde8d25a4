#pragma once

#include <QColor>
#include <QWidget>

// The round status lamp.
class StatusLamp : public QWidget {
    Q_OBJECT

public:
    static inline const QColor Red{0xFF, 0x00, 0x00};
    static inline const QColor Yellow{0xFF, 0xFF, 0x00};
    static inline const QColor Green{0x00, 0x80, 0x00};

    explicit StatusLamp(const QString& name, QWidget* parent = nullptr);

    void setColour(const QColor& colour);
    QColor colour() const { return colour_; }
    QSize sizeHint() const override { return {18, 18}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor colour_ = Red;
};
