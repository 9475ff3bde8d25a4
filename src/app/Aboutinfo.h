#pragma once

#include <QDialog>

class QLabel;

// The about box: a picture that fills the window, the title line over it and
// the build line at the bottom. A click on the picture closes it; a click on
// one of the two lines does not. The same window, without border and build
// line, is the start-up splash.
class TAboutForm : public QDialog {
    Q_OBJECT

public:
    static constexpr int OpaqueLevel = 255;

    explicit TAboutForm(QWidget* parent = nullptr);

    // The build line: "Build: " and the program's file version.
    void ShowBuild();
    // Turns the window into the splash: no border, no build line, transparent.
    void MakeSplash();
    // Opacity in 256 levels, 0 transparent to 255 opaque; repaints at once.
    void SetOpacityLevel(int level);

    QLabel* Label1 = nullptr;
    QLabel* CloseLabel = nullptr;

signals:
    void opacityLevelChanged(int level);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};
