#include "ui/choose_player_dialog.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "app/choose_player_model.h"
#include "resources/strings.h"
#include "ui/dialog_units.h"
#include "ui/ui_text.h"

ChoosePlayerDialog::ChoosePlayerDialog(ChoosePlayerModel& model, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), model_(model)
{
    applyDialogLook(*this);
    const DialogUnits du(font());
    setFixedSize(du.size(133, 130));

    figureLine_ = new QLabel(this);
    figureLine_->setGeometry(du.rect(1, 5, 125, 10));
    list_ = new QListWidget(this);
    list_->setGeometry(du.rect(7, 21, 63, 81));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    bowlingFigures_ = new QLabel(this);
    bowlingFigures_->setGeometry(du.rect(74, 20, 52, 10));

    ok_ = new QPushButton(uiText(str::OkButton), this);
    ok_->setGeometry(du.rect(7, 109, 34, 14));
    ok_->setDefault(true);
    declare_ = new QPushButton(uiText(str::DeclareButton), this);
    declare_->setGeometry(du.rect(49, 109, 34, 14));
    options_ = new QPushButton(uiText(str::OptionsButton), this);
    options_->setGeometry(du.rect(92, 109, 34, 14));

    declare_->setEnabled(model_.allowDeclare != 0);
    model_.fillRows();
    setWindowTitle(utf8(model_.caption()));
    for (int row = 0; row < model_.rowCount(); ++row)
        list_->addItem(utf8(model_.rowText(row)));
    if (model_.selectedRow() >= 0) list_->setCurrentRow(model_.selectedRow());
    showFigures();
    list_->setFocus();

    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        model_.select(row);
        showFigures();
    });
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(declare_, &QPushButton::clicked, this, [this] {
        model_.declare();
        accept();
    });
    connect(options_, &QPushButton::clicked, this, [this] { model_.openOptions(); });
}

void ChoosePlayerDialog::placeTopRightAt(const QPoint& corner)
{
    const QPoint topLeft(corner.x() - frameGeometry().width(), corner.y());
    if (topLeft.x() < 0 && topLeft.y() < 0) return;
    move(topLeft);
}

void ChoosePlayerDialog::showFigures()
{
    const int row = model_.selectedRow();
    if (row < 0) return;
    figureLine_->setText(utf8(model_.figureLine(row)));
    bowlingFigures_->setText(utf8(model_.bowlingFigures(row)));
}

void ChoosePlayerDialog::done(int result)
{
    model_.acceptSelection();
    QDialog::done(result);
}
