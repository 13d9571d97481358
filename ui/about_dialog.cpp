#include "ui/about_dialog.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "resources/strings.h"
#include "ui/dialog_units.h"
#include "ui/qt_platform.h"
#include "ui/ui_text.h"

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent, kDialogFlags)
{
    applyDialogLook(*this);
    setWindowTitle(uiText(str::AboutCaption));
    const DialogUnits du(font());
    setFixedSize(du.size(236, 198));

    auto* icon = new QLabel(this);
    icon->setPixmap(applicationIcon().pixmap(32, 32));
    icon->setGeometry(du.x(7), du.y(7), 32, 32);

    auto* version = new QLabel(uiText(str::AboutVersion), this);
    version->setGeometry(du.rect(40, 10, 150, 8));
    auto* contact = new QLabel(uiText(str::AboutContact), this);
    contact->setGeometry(du.rect(40, 24, 189, 8));

    auto* ok = new QPushButton(uiText(str::OkButton), this);
    ok->setGeometry(du.rect(195, 7, 34, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    usage_ = new QPlainTextEdit(uiText(str::Usage), this);
    usage_->setReadOnly(true);
    usage_->setGeometry(du.rect(7, 38, 222, 153));
}
