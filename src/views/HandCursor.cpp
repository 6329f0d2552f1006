#include "views/HandCursor.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace mirado {

namespace {

// A right hand seen from the back: index finger up (its tip at the hot spot), three
// folded fingers and the thumb to the left, white with a black outline.
constexpr const char* kHandOutline = R"(<svg xmlns="http://www.w3.org/2000/svg"
 width="32" height="32" viewBox="0 0 32 32">
 <path d="M10 18 V6.5 A2.4 2.4 0 0 1 14.8 6.5 V13 A2.2 2.2 0 0 1 19.2 13 V14
          A2.2 2.2 0 0 1 23.6 14 V15.5 A2.1 2.1 0 0 1 27.8 15.5 V22.5
          Q27.8 28.2 22.5 30.5 H14.5 Q11.5 29.8 9.5 26 L4.8 19.8
          A1.9 1.9 0 0 1 7.6 17.3 Z"
       fill="white" stroke="black" stroke-width="1.3" stroke-linejoin="round"/>
 <path d="M14.8 13 V18.5 M19.2 14 V19 M23.6 15.5 V19.5" fill="none" stroke="black"
       stroke-width="1"/>
</svg>)";

} // namespace

QCursor MakeHandCursor() {
    QPixmap pixmap(kHandCursorSize, kHandCursorSize);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer{QByteArray(kHandOutline)};
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    return QCursor(pixmap, kHandHotSpotX, kHandHotSpotY);
}

} // namespace mirado
