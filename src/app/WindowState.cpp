#include "app/WindowState.h"

#include "app/MainFrame.h"

#include <QGuiApplication>
#include <QScreen>
#include <QToolBar>

#include <algorithm>
#include <array>
#include <utility>

namespace mirado {

namespace {

constexpr std::array<std::pair<ToolBarSide, Qt::ToolBarArea>, 4> kAreas{{
    {ToolBarSide::Top, Qt::TopToolBarArea},
    {ToolBarSide::Bottom, Qt::BottomToolBarArea},
    {ToolBarSide::Left, Qt::LeftToolBarArea},
    {ToolBarSide::Right, Qt::RightToolBarArea},
}};

QToolBar* MainToolBar(const CMainFrame& frame) {
    return frame.findChild<QToolBar*>(QStringLiteral("toolbar"));
}

ToolBarSide SideOfArea(Qt::ToolBarArea area) {
    for (const auto& [side, entry] : kAreas)
        if (entry == area)
            return side;
    return ToolBarSide::Top;
}

Qt::ToolBarArea AreaOfSide(ToolBarSide side) {
    for (const auto& [entry, area] : kAreas)
        if (entry == side)
            return area;
    return Qt::TopToolBarArea;
}

bool IsOnAScreen(const QPoint& point) {
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->availableGeometry().contains(point))
            return true;
    return false;
}

} // namespace

WindowPlacement CurrentWindowPlacement(const CMainFrame& frame) {
    const bool maximized = frame.isMaximized() || frame.isFullScreen();
    const QRect normal = maximized ? frame.normalGeometry() : frame.geometry();
    WindowPlacement placement;
    placement.x = normal.x();
    placement.y = normal.y();
    placement.width = normal.width();
    placement.height = normal.height();
    placement.maximized = maximized;
    if (const QToolBar* toolBar = MainToolBar(frame))
        placement.toolBarSide = SideOfArea(frame.toolBarArea(toolBar));
    return placement;
}

void ApplyWindowPlacement(CMainFrame& frame, const WindowPlacement& placement) {
    const QSize size(std::max(frame.minimumWidth(), placement.width),
                     std::max(frame.minimumHeight(), placement.height));
    const QPoint position(placement.x, placement.y);
    // The title bar must be reachable: its left end lies on some screen.
    if (IsOnAScreen(position))
        frame.setGeometry(QRect(position, size));
    else
        frame.resize(size);
    if (placement.maximized)
        frame.setWindowState(frame.windowState() | Qt::WindowMaximized);
    if (QToolBar* toolBar = MainToolBar(frame))
        frame.addToolBar(AreaOfSide(placement.toolBarSide), toolBar);
}

void InstallWindowState(CMainFrame& frame, CMiradoSettings& settings) {
    if (const std::optional<WindowPlacement> stored = settings.LoadWindowPlacement())
        ApplyWindowPlacement(frame, *stored);
    QObject::connect(&frame, &CMainFrame::Closing, &frame, [&frame, &settings] {
        settings.SaveWindowPlacement(CurrentWindowPlacement(frame));
    });
}

} // namespace mirado
