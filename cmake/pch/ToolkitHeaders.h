// The toolkit headers behind the platform layer's drawing and controls,
// precompiled once for the platform library (see cmake/RyxLibrary.cmake).
#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QWidget>
