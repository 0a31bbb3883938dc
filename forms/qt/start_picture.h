#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

namespace fondaris::qt {

// The entry of `folder` whose name equals `name` without regard to letter case, as a full path;
// empty when there is none.
QString findStartPicture(const QString& name, const QString& folder);

// The start picture: an existing path as it is, otherwise a name looked up in the working
// directory (PNG, JPEG or BMP). Null when there is no such picture or it cannot be read.
QPixmap loadStartPicture(const QString& nameOrPath);

// The built-in picture: a sample "Fondaris" logo drawn in the brand colour.
QPixmap sampleLogo(QSize size);

}  // namespace fondaris::qt
