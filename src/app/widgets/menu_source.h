#pragma once
// The window that has the screen fills the tray menu and its own context menu through
// this interface. Each action it appends carries its command id (QAction::data) and,
// when triggered, delivers that command to the window that filled it.
class QMenu;

class MenuSource {
  public:
    virtual ~MenuSource() = default;
    virtual void fillMenu(QMenu& menu) = 0;
};
