#include "app/Aboutinfo.h"

#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>

#include "app/Pictures.h"
#include "app/ProgramInfo.h"

namespace {

constexpr QSize PictureSize(400, 260);

QLabel* makeLine(QWidget& parent, const char* name) {
    auto* label = new QLabel(&parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

}  // namespace

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(PictureSize);

    auto* picture = makeLine(*this, "Image1");
    picture->setPixmap(renderPicture(Picture::About, PictureSize));
    Label1 = makeLine(*this, "Label1");
    Label1->setText(ProgramTitle);
    Label1->setStyleSheet(QStringLiteral("color: white; font-size: 26pt; font-weight: bold;"));
    CloseLabel = makeLine(*this, "CloseLabel");
    CloseLabel->setText(QStringLiteral("Click into window to close"));
    CloseLabel->setStyleSheet(QStringLiteral("color: #d0dcea; font-size: 8pt;"));

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(picture, 0, 0);
    layout->addWidget(Label1, 0, 0, Qt::AlignCenter);
    layout->addWidget(CloseLabel, 0, 0, Qt::AlignRight | Qt::AlignBottom);
    layout->setContentsMargins(0, 0, 6, 4);
    Label1->installEventFilter(this);
    CloseLabel->installEventFilter(this);
}

void TAboutForm::ShowBuild() {
    CloseLabel->setText(QStringLiteral("Build: ") + BuildVersion);
}

void TAboutForm::MakeSplash() {
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    CloseLabel->hide();
    SetOpacityLevel(0);
}

void TAboutForm::SetOpacityLevel(int level) {
    setWindowOpacity(static_cast<qreal>(level) / OpaqueLevel);
    if (isVisible())
        repaint();
    emit opacityLevelChanged(level);
}

// The two text lines swallow clicks so that only the picture closes the box.
bool TAboutForm::eventFilter(QObject* watched, QEvent* event) {
    const bool onLine = watched == Label1 || watched == CloseLabel;
    const bool isClick = event->type() == QEvent::MouseButtonPress ||
                         event->type() == QEvent::MouseButtonRelease ||
                         event->type() == QEvent::MouseButtonDblClick;
    return (onLine && isClick) || QDialog::eventFilter(watched, event);
}

void TAboutForm::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        accept();
    }
}
