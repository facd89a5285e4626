#pragma once
// The file dialogs of the settings sheet's other-settings page.
#include <QString>
#include <optional>

class QWidget;

// The folder browser, opened at `initial`; nothing when cancelled.
std::optional<QString> chooseFolder(QWidget* owner, const QString& initial);

// "Filter list select dialog": picks the file that receives the pipeline report. The file
// need not exist (the user is asked whether to create it; it is neither created nor opened
// here); a name typed without extension gets ".fil". Nothing when cancelled.
std::optional<QString> chooseFilterListFile(QWidget* owner);
