#include "ui/about_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "resources/strings.h"
#include "ui/dialog_units.h"
#include "ui/qt_platform.h"
#include "ui/ui_text.h"

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent, kDialogFlags)
{
    applyDialogLook(*this);
    setWindowTitle(tr("About Pelmora"));
    const DialogUnits du(font());

    auto* icon = new QLabel(this);
    icon->setPixmap(applicationIcon().pixmap(32, 32));
    icon->setAccessibleName(tr("Pelmora icon"));

    auto* ok = new QPushButton(uiText(str::OkButton), this);
    ok->setDefault(true);
    ok->setMinimumWidth(du.x(34));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->setHorizontalSpacing(du.x(6));
    layout->addWidget(icon, 0, 0, 4, 1, Qt::AlignTop);
    const QString lines[] = {
        uiText(str::AboutVersion),
        tr("A cricket match simulator. Free software under the MIT License."),
        tr("Copyright (c) 2026 The Pelmora developers."),
        uiText(str::AboutContact),
    };
    int row = 0;
    for (const QString& line : lines) {
        auto* label = new QLabel(line, this);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(label, row++, 1);
    }
    layout->addWidget(ok, 0, 2, Qt::AlignTop);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
