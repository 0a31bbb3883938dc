#include "forms/qt/start_picture.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "core/files.h"

namespace fondaris::qt {

QString findStartPicture(const QString& name, const QString& folder) {
  if (name.isEmpty()) return {};
  const QDir dir(folder);
  for (const QString& entry : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
    if (entry.compare(name, Qt::CaseInsensitive) == 0) return dir.filePath(entry);
  return {};
}

QPixmap loadStartPicture(const QString& nameOrPath) {
  if (nameOrPath.isEmpty()) return {};
  QString path = nameOrPath;
  if (!QFileInfo(path).isAbsolute() || !QFileInfo::exists(path))
    path = findStartPicture(QFileInfo(nameOrPath).fileName(),
                            QString::fromStdString(core::workingDirectory()));
  if (path.isEmpty()) return {};
  return QPixmap(path);
}

QPixmap sampleLogo(QSize size) {
  const QColor brand(14, 52, 91);
  QPixmap pixmap(size);
  pixmap.fill(Qt::white);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const int w = size.width(), h = size.height();

  QLinearGradient sky(0, 0, 0, h);
  sky.setColorAt(0, QColor(232, 239, 247));
  sky.setColorAt(1, Qt::white);
  p.fillRect(pixmap.rect(), sky);

  // A rising curve over three bars: growth of a savings plan.
  const int base = int(h * 0.62);
  const int barWidth = std::max(8, w / 16);
  const int left = w / 2 - barWidth * 5 / 2;
  for (int i = 0; i < 3; ++i) {
    const int barHeight = int(h * (0.14 + 0.1 * i));
    p.fillRect(left + i * barWidth * 2, base - barHeight, barWidth, barHeight,
               QColor(14 + 40 * i, 52 + 40 * i, 91 + 40 * i));
  }
  QPainterPath curve;
  curve.moveTo(w * 0.2, base - h * 0.05);
  curve.cubicTo(w * 0.45, base - h * 0.1, w * 0.6, base - h * 0.3, w * 0.8, base - h * 0.48);
  p.setPen(QPen(QColor(196, 150, 40), std::max(2, h / 60), Qt::SolidLine, Qt::RoundCap));
  p.drawPath(curve);

  QFont title("DejaVu Sans");
  title.setPixelSize(std::max(12, h / 6));
  title.setBold(true);
  p.setFont(title);
  p.setPen(brand);
  p.drawText(QRect(0, base + h / 40, w, h / 5), Qt::AlignCenter, "Fondaris");

  QFont small("DejaVu Sans");
  small.setPixelSize(std::max(8, h / 18));
  p.setFont(small);
  p.setPen(QColor(90, 100, 115));
  p.drawText(QRect(0, base + h / 5 + h / 40, w, h / 10), Qt::AlignCenter,
             "Beispiel-Logo \u2013 Fondssparen mit Plan");
  p.setPen(QPen(brand, 1));
  p.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
  return pixmap;
}

}  // namespace fondaris::qt
