#pragma once
// The about box: the program's version, who made it and a link to its documentation.
// Shown modally, owned by the window that currently has the screen, on the system menu
// command ID_ABOUT of the main bar or the player window.
#include <QDialog>
#include <QString>
#include "app/core/program_identity.h"

class LinkLabel;

// System menu command that shows the about box.
inline constexpr int ID_ABOUT = shared_command::ID_ABOUT;

class AboutBox : public QDialog {
    Q_OBJECT

  public:
    // Control ids of the box; each control's tooltip is the string of the same number.
    enum ControlId {
        IconId = 1037,
        OkId = 1,
        LinkId = 1034,
        VersionId = 1036,
        CreditId = 1035,
    };

    explicit AboutBox(QWidget* owner = nullptr);

    // Shows the box modally over `owner` and returns when it is closed.
    static void showFor(QWidget* owner);

    // The control with the given id, or null.
    QWidget* control(int id) const;
    LinkLabel* link() const { return link_; }

  private:
    LinkLabel* link_;
};

// The tooltip string of a control of the about box, cut to the 79 bytes a tooltip holds;
// empty for a control without one.
QString aboutToolTip(int controlId);

// Where the link points: the program's README beside the program file, in its installed
// documentation folder or at the top of the build's source tree; empty when none exists.
QString findReadme(const QString& programDir);
