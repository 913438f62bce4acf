#include "app/Logo.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>

namespace parvel {

QPixmap DrawParvelLogo() {
    QPixmap pixmap(kLogoWidth, kLogoHeight);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    // Track: sleepers, then two rails along the bottom.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(139, 94, 60));
    for (int x = 2; x < kLogoWidth; x += 9) p.drawRect(x, 24, 5, 7);
    p.setBrush(QColor(90, 90, 100));
    p.drawRect(0, 25, kLogoWidth, 2);
    p.drawRect(0, 29, kLogoWidth, 2);

    // Decoder chip with its pins, standing on the track.
    const QRect chip(6, 4, 30, 16);
    p.setPen(QPen(QColor(160, 160, 160), 1));
    for (int i = 0; i < 4; ++i) {
        const int x = chip.left() + 5 + i * 7;
        p.drawLine(x, chip.top() - 3, x, chip.top());
        p.drawLine(x, chip.bottom(), x, chip.bottom() + 3);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 40, 48));
    p.drawRoundedRect(chip, 2, 2);
    p.setBrush(QColor(120, 120, 130));
    p.drawEllipse(QPoint(chip.left() + 5, chip.top() + 5), 2, 2);
    p.setPen(QColor(230, 230, 230));
    QFont small("Sans Serif");
    small.setPixelSize(7);
    small.setBold(true);
    p.setFont(small);
    p.drawText(chip.adjusted(0, 3, 0, 0), Qt::AlignCenter, "PIC");

    // The name.
    QFont name("Sans Serif");
    name.setPixelSize(20);
    name.setBold(true);
    p.setFont(name);
    QLinearGradient shade(0, 2, 0, 22);
    shade.setColorAt(0, QColor(20, 70, 160));
    shade.setColorAt(1, QColor(10, 40, 100));
    p.setPen(QPen(QBrush(shade), 1));
    p.drawText(QRect(44, 0, kLogoWidth - 46, 24), Qt::AlignLeft | Qt::AlignVCenter, "HEX Parvel");
    p.end();
    return pixmap;
}

}  // namespace parvel
