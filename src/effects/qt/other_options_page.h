#pragma once
// The "その他" page of the settings sheet: edits OtherOptions in place when the sheet is
// confirmed. Its "..." buttons pick the song list folder and the pipeline report file.
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "app/core/app_settings.h"
#include "effects/qt/settings_page.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;

// The dialogs the page opens. Each returns the chosen path, or nothing when the user
// cancelled. The defaults are the program's own file dialogs; tests replace them.
struct PathChoosers {
    // A folder, starting at `initial`.
    std::function<std::optional<QString>(QWidget* owner, const QString& initial)> folder;
    // The file that receives the pipeline report; it need not exist yet.
    std::function<std::optional<QString>(QWidget* owner)> filterList;

    static PathChoosers system();
};

class OtherOptionsPage : public SettingsPage {
    Q_OBJECT

  public:
    static constexpr int kStartAndPlayCheck = 1023;
    static constexpr int kEndAndPlayCheck = 1025;
    static constexpr int kNoTaskTrayCheck = 1024;
    static constexpr int kRenewRadio = 1030;
    static constexpr int kAddWhenDifferentRadio = 1031;
    static constexpr int kAlwaysAddRadio = 1032;
    static constexpr int kSearchExtentEdit = 1015;
    static constexpr int kListFolderEdit = 1019;
    static constexpr int kBrowseFolderButton = 1020;
    static constexpr int kFilterReportEdit = 1021;
    static constexpr int kBrowseFilterButton = 1022;

    explicit OtherOptionsPage(OtherOptions& options, PathChoosers choosers = PathChoosers::system(),
                              QWidget* parent = nullptr);

    // The index of the checked song list button (0 to 2), -1 when none is checked.
    int addTypeChoice() const { return addTypeChoice_; }

  protected:
    void build() override;
    void apply() override;

  private:
    // A text edit shown from a stored string. Text the user left alone goes back with its
    // original bytes, so a stored path that is not valid UTF-8 survives the sheet.
    struct TextField {
        QLineEdit* edit = nullptr;
        std::string original;
        QString shown;

        void show(QLineEdit* target, const std::string& value);
        std::string value() const;
    };

    void browseFolder();
    void browseFilterList();

    OtherOptions* options_;
    PathChoosers choosers_;
    int addTypeChoice_ = -1;

    QCheckBox* startAndPlay_ = nullptr;
    QCheckBox* endAndPlay_ = nullptr;
    QCheckBox* noTaskTray_ = nullptr;
    QButtonGroup* addType_ = nullptr;
    TextField searchExtent_;
    TextField listFolder_;
    TextField filterReport_;
};
