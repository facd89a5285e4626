#include "app/widgets/about_box.h"

#include "app/core/program_identity.h"
#include "app/core/text_cut.h"
#include "app/widgets/app_icons.h"
#include "app/widgets/dialog_units.h"
#include "app/widgets/link_label.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>

namespace {

constexpr std::size_t kToolTipBytes = 79;  // a tooltip holds 80 bytes with its terminator
constexpr int kIconSize = 32;

const char* const kCaption = QT_TRANSLATE_NOOP("AboutBox", "tavik Vornelのﾊﾞｰｼﾞｮﾝ情報");
const char* const kVersion = kProgramVersionText;
const char* const kCredit = "vorn developers";
const char* const kLinkText = "README";

void place(QWidget* control, int id, const QRect& geometry) {
    control->setObjectName(QStringLiteral("control%1").arg(id));
    control->setProperty("controlId", id);
    control->setGeometry(geometry);
    const QString tip = aboutToolTip(id);
    if (!tip.isEmpty())
        control->setToolTip(tip);
}

QLineEdit* readOnlyEdit(const QString& text, QWidget* parent) {
    auto* edit = new QLineEdit(text, parent);
    edit->setReadOnly(true);
    edit->setCursorPosition(0);
    return edit;
}

}  // namespace

QString aboutToolTip(int controlId) {
    const char* text = nullptr;
    switch (controlId) {
        case AboutBox::LinkId:
            text = QT_TRANSLATE_NOOP("AboutBox", "クリックするとvorn developersのREADMEを開きます");
            break;
        case AboutBox::CreditId:
            text = QT_TRANSLATE_NOOP("AboutBox", "このプログラムはvorn developersが作りました");
            break;
        case AboutBox::VersionId:
            text = QT_TRANSLATE_NOOP("AboutBox", "あなたのVornelとして是非ご使用ください(^^)");
            break;
        case AboutBox::IconId:
            text = QT_TRANSLATE_NOOP("AboutBox", "vorn developersのアイコンです");
            break;
        default:
            return {};
    }
    return QString::fromStdString(
        cutUtf8(QCoreApplication::translate("AboutBox", text).toStdString(), kToolTipBytes));
}

QString findReadme(const QString& programDir) {
    const QDir dir(programDir);
    for (const char* candidate :
         {"README.md", "../share/doc/vorn/README.md", "../README.md", "../../README.md"}) {
        const QFileInfo info(dir.filePath(QString::fromLatin1(candidate)));
        if (info.isFile() && info.isReadable())
            return info.canonicalFilePath();
    }
    return {};
}

AboutBox::AboutBox(QWidget* owner) : QDialog(owner) {
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QCoreApplication::translate("AboutBox", kCaption));
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setFont(dialogFont());
    const DialogUnits du(font());
    setFixedSize(du.x(190), du.y(55));

    // Made in tab order; the OK button, the first that takes the focus, keeps it.
    auto* icon = new QLabel(this);
    icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    icon->setPixmap(appIconPixmap(kIconSize));
    place(icon, IconId, QRect(du.x(4), du.y(17), kIconSize, kIconSize));

    auto* ok = new QPushButton(QCoreApplication::translate("AboutBox", "OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    place(ok, OkId, du.rect(136, 7, 50, 14));

    link_ = new LinkLabel(QString::fromUtf8(kLinkText), this);
    const QString readme = findReadme(QCoreApplication::applicationDirPath());
    if (readme.isEmpty()) {
        link_->setEnabled(false);
    } else {
        link_->setAddress(QUrl::fromLocalFile(readme));
    }
    place(link_, LinkId, du.rect(51, 36, 66, 11));

    place(readOnlyEdit(QString::fromUtf8(kVersion), this), VersionId, du.rect(39, 5, 91, 12));
    place(readOnlyEdit(QString::fromUtf8(kCredit), this), CreditId, du.rect(39, 20, 91, 12));
}

void AboutBox::showFor(QWidget* owner) {
    AboutBox box(owner);
    box.exec();
}

QWidget* AboutBox::control(int id) const {
    return findChild<QWidget*>(QStringLiteral("control%1").arg(id), Qt::FindDirectChildrenOnly);
}
