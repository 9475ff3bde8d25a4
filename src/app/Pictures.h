#pragma once

#include <QPixmap>
#include <QSize>

// The program's own pictures, drawn from the SVG files of its resources.
enum class Picture { Logo, About, Icon };

QPixmap renderPicture(Picture picture, QSize size);
QString picturePath(Picture picture);
