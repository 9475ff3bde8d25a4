#pragma once

#include <QObject>

// Shows every tool-tip hint of the program for 10 s. The status line shows
// the hints through the toolkit's status tips (see controls/Hint.h).
class HintDisplay : public QObject {
    Q_OBJECT

public:
    static constexpr int HintHidePauseMs = 10000;

    explicit HintDisplay(QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
