#include "app/Pictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

QString picturePath(Picture picture) {
    switch (picture) {
        case Picture::Logo:
            return QStringLiteral(":/varnel/logo.svg");
        case Picture::About:
            return QStringLiteral(":/varnel/about.svg");
        case Picture::Icon:
            break;
    }
    return QStringLiteral(":/varnel/varnel.svg");
}

QPixmap renderPicture(Picture picture, QSize size) {
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(picturePath(picture));
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}
